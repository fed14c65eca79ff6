#include "app/win_main.h"

#include <cstdio>
#include <string>

#include "app/globals.h"
#include "engine/config.h"
#include "engine/engine.h"
#include "engine/frame_timer.h"
#include "engine/input.h"
#include "engine/light_set.h"
#include "engine/log.h"
#include "engine/sound.h"
#include "game/random.h"
#include "menu/menu.h"
#include "menu/resource_set.h"
#include "platform/desktop.h"
#include "render/scene.h"

namespace {

const char* const kClassName = "ZRM7 - Voltrana";

// The display went away under the game: the process ends, and the log and stderr say why.
void ReportDisplayLost(const char* display) {
    LogWriteF("Spojenie s obrazovkou %s sa prerusilo, hra konci", display);
    std::fprintf(stderr, "voltrana: the display %s went away; the game ends\n", display);
}

bool InGameMode() {
    return g_menu.active == 0;
}

void FillEngineSettings() {
    g_engine.width = static_cast<uint32_t>(ScreenWidth);
    g_engine.height = static_cast<uint32_t>(ScreenHeight);
    g_engine.windowed = 0;
    if (ScreenFormat == 0) {
        g_engine.screenFormat = D3DFMT_R5G6B5;
        g_engine.textureFormat = D3DFMT_A1R5G5B5;
    } else if (ScreenFormat == 1) {
        g_engine.screenFormat = D3DFMT_A8R8G8B8;
        g_engine.textureFormat = D3DFMT_A8R8G8B8;
    } else {
        g_engine.screenFormat = D3DFMT_UNKNOWN;
        g_engine.textureFormat = D3DFMT_UNKNOWN;
    }
    g_engine.nearPlane = 10.0f;
    g_engine.farPlane = 800.0f;
    g_engine.backgroundColor = MakeColorRGB(0.0f, 0.0f, 0.0f);
}

void LoadTownScene() {
    switch (SceneDetail) {
        case 0:
            g_scene.Load("models/scenehi.geo");
            break;
        case 1:
            g_scene.Load("models/sceneme.geo");
            break;
        case 2:
            g_scene.Load("models/scenelo.geo");
            break;
        default:
            break;  // any other detail value plays without a town
    }
}

void AddLights() {
    g_lightSet.Allocate(2);
    g_lightSet.AddDirectionalLight(MakeVector(1.5f, -1.0f, 1.5f), Color4{2, 2, 2, 2},
                                   Color4{0.2f, 0.2f, 0.2f, 0.2f}, Color4{1, 1, 1, 1});
    g_lightSet.AddPointLight(MakeVector(-20.0f, 50.0f, -10.0f), Color4{2, 2, 1, 2}, Color4{0, 0, 0, 0},
                             Color4{0.5f, 0.5f, 0.5f, 0.5f}, 1.4f, 177.0f);
}

void Shutdown() {
    g_scene.Release();
    g_lightSet.ReleaseRecords();
    g_input.Release();
    SoundShutdown();
    g_engine.Release();
    UnregisterClassA(kClassName, GetModuleHandleA(nullptr));
}

}  // namespace

void SetDefaultRenderStates() {
    g_engine.SetZBuffer(1);
    g_engine.SetTextureFilter(0, D3DTEXF_LINEAR);
    g_engine.SetTextureFilter(1, D3DTEXF_LINEAR);
    g_engine.SetCullMode(D3DCULL_NONE);
    g_engine.SetShadeMode(D3DSHADE_GOURAUD);
    g_engine.SetMipFilter(0, 1);
    g_engine.SetMipFilter(1, 1);
}

LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int WinMain(HINSTANCE instance, HINSTANCE, char*, int) {
    WNDCLASSEXA wc{};
    wc.cbSize = 48;
    wc.style = CS_CLASSDC;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(107));
    wc.lpszClassName = kClassName;
    wc.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(107));
    RegisterClassExA(&wc);
    SetDisplayLostHandler(ReportDisplayLost);

    // A setting the file does not give in a usable form (or no file at all) takes its default, so
    // that a broken config.ini never stops the game.
    ReadConfig();
    ApplyConfigFallbacks();
    FillEngineSettings();

    g_hWnd = CreateWindowExA(WS_EX_APPWINDOW, kClassName, kClassName,
                             WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, ScreenWidth, ScreenHeight,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    g_hInstance = instance;
    if (!g_hWnd) {
        // The log is otherwise made by the device's start-up: replace the previous run's log, so
        // that it does not tell an old story.
        LogInit();
        // No display at all, or one that cannot give an OpenGL window (an X server without GLX).
        const std::string reason = WindowFailureReason();
        if (reason.empty()) {
            LogWrite("Nepodarilo sa vytvorit okno: ziadna obrazovka (je nastaveny DISPLAY?)");
            std::fprintf(stderr, "voltrana: cannot open a window (no display available?)\n");
        } else {
            LogWriteF("Nepodarilo sa vytvorit okno OpenGL: %s", reason.c_str());
            std::fprintf(stderr, "voltrana: the display gives no OpenGL window (%s)\n", reason.c_str());
        }
        UnregisterClassA(kClassName, GetModuleHandleA(nullptr));
        return 1;
    }

    const bool deviceReady = g_engine.Init();
    LogConfigFallbacks();
    if (!deviceReady) {
        // The message box has told the player (and the log the details); without a device there is
        // nothing to run. A message box may not show on every system, so say it on stderr too.
        std::fprintf(
            stderr,
            "voltrana: cannot start the graphics device at %d x %d, ScreenFormat %d (see config.ini)\n",
            ScreenWidth, ScreenHeight, ScreenFormat);
        Shutdown();
        return 1;
    }
    // The device may have fallen back to a size it can make; the options screen starts from it.
    ScreenWidth = static_cast<int32_t>(g_engine.width);
    ScreenHeight = static_cast<int32_t>(g_engine.height);

    SetDefaultRenderStates();
    g_engine.textureMipLevels = 0;
    gameSrand(timeGetTime());
    g_input.Init();
    // The window is shown before the loading frame, so that the player sees it while loading.
    ShowWindow(g_hWnd, SW_SHOWDEFAULT);
    UpdateWindow(g_hWnd);
    ShowLoadingScreen();
    SoundStartup();
    g_smallFont.Create(12, 700, "Arial");
    g_cursorPanel.Create(32.0f, 32.0f, 1);
    g_cursorPanel.AddFrame(180, MakeColor(0.0f, 1.0f, 0.0f, 1.0f));
    LoadTownScene();
    g_menu.Setup();
    g_resources.Load();
    AddLights();
    g_capFrameRate = InGameMode;

    MSG msg{};
    while (msg.message != WM_QUIT) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else {
            RenderFrame();
        }
    }

    Shutdown();
    return 0;
}
