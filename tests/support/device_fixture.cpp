// A real device for rendering tests: SDL's offscreen driver (EGL on Mesa llvmpipe) unless the
// environment chose another, one window per test and a device of the requested size.
#include "support/device_fixture.h"

#include <cstdlib>
#include <vector>

#include "engine/engine.h"
#include "platform/win32.h"

bool CreateTestDevice(int width, int height, D3DFORMAT textureFormat) {
    DestroyTestDevice();
    setenv("SDL_VIDEODRIVER", "offscreen", 0);  // keeps a driver the environment already chose
    const char* name = "Voltrana test window";
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc), wc.lpfnWndProc = DefWindowProcA, wc.lpszClassName = name;
    wc.hInstance = GetModuleHandleA(nullptr);
    RegisterClassExA(&wc);
    g_hWnd = CreateWindowExA(0, name, name, WS_POPUP, 0, 0, width, height, nullptr, nullptr, wc.hInstance,
                             nullptr);
    g_pD3D = g_hWnd ? Direct3DCreate9(D3D_SDK_VERSION) : nullptr;
    const D3DFORMAT screenFormat = textureFormat == D3DFMT_A1R5G5B5 ? D3DFMT_R5G6B5 : D3DFMT_A8R8G8B8;
    D3DPRESENT_PARAMETERS params{};
    params.BackBufferWidth = UINT(width), params.BackBufferHeight = UINT(height);
    params.BackBufferFormat = screenFormat, params.SwapEffect = D3DSWAPEFFECT_DISCARD;
    params.EnableAutoDepthStencil = TRUE, params.AutoDepthStencilFormat = D3DFMT_D16;
    params.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    if (!g_pD3D ||
        FAILED(g_pD3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, g_hWnd,
                                    D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params, &g_pDevice)) ||
        !g_pDevice) {
        g_pDevice = nullptr;
        DestroyTestDevice();
        return false;
    }
    g_engine.width = uint32_t(width), g_engine.height = uint32_t(height);
    g_engine.screenFormat = screenFormat, g_engine.textureFormat = textureFormat;
    g_engine.nearPlane = 10.0f, g_engine.farPlane = 800.0f;
    g_engine.viewport = D3DVIEWPORT9{0, 0, DWORD(width), DWORD(height), 10.0f, 800.0f};
    return true;
}

void DestroyTestDevice() {
    if (g_pDevice) g_pDevice->Release();
    if (g_pD3D) g_pD3D->Release();
    if (g_hWnd) DestroyWindow(g_hWnd);
    g_pDevice = nullptr, g_pD3D = nullptr, g_hWnd = nullptr;
}

Screen ReadScreen() {
    Screen screen;
    const int w = static_cast<int>(g_engine.width), h = static_cast<int>(g_engine.height);
    std::vector<uint8_t> rgba(static_cast<size_t>(w) * h * 4);
    if (!g_pDevice || FAILED(g_pDevice->ReadBackBuffer(rgba.data(), w, h))) return screen;
    screen.width = w, screen.height = h;
    for (size_t i = 0; i < rgba.size(); i += 4)
        screen.argb.push_back(uint32_t{rgba[i + 3]} << 24 | uint32_t{rgba[i]} << 16 | rgba[i + 1] << 8 |
                              rgba[i + 2]);
    return screen;
}

uint32_t ReadPixel(int x, int y) {
    const Screen screen = ReadScreen();
    return x < 0 || y < 0 || x >= screen.width || y >= screen.height ? 0 : screen.At(x, y);
}

DWORD DeviceState(char kind, DWORD stage, DWORD state) {
    DWORD v = 0xDEAD;
    if (kind == 'r') g_pDevice->GetRenderState(static_cast<D3DRENDERSTATETYPE>(state), &v);
    if (kind == 't') g_pDevice->GetTextureStageState(stage, static_cast<D3DTEXTURESTAGESTATETYPE>(state), &v);
    if (kind == 's') g_pDevice->GetSamplerState(stage, static_cast<D3DSAMPLERSTATETYPE>(state), &v);
    return v;
}
