// The window, its class and the message queue over SDL2.
#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <string>

#include "platform/automation.h"
#include "platform/bitmap_resources.h"
#include "platform/bmp_decoder.h"
#include "platform/cp1250.h"
#include "platform/desktop.h"
#include "platform/dik_codes.h"
#include "platform/platform_internal.h"

struct HWND__ {
    int unused;
};

namespace {

constexpr int kIconResource = 107;

struct WindowState {
    SDL_Window* window = nullptr;
    WNDPROC proc = nullptr;
    int backBufferWidth = 640;
    int backBufferHeight = 480;
    bool destroyDelivered = false;
    std::deque<MSG> queue;
    int cursorCounter = 0;
};

WindowState s_state;
HWND__ s_handle{};
std::map<std::string, WNDCLASSEXA> s_classes;
bool s_videoTried = false;
bool s_videoReady = false;
bool s_startWindowed = false;
std::string s_windowFailure;

HWND Handle() {
    return &s_handle;
}

void Post(UINT message, WPARAM wParam = 0) {
    MSG msg{};
    msg.hwnd = message == WM_QUIT ? nullptr : Handle();
    msg.message = message;
    msg.wParam = wParam;
    s_state.queue.push_back(msg);
}

// Closing the window: one WM_DESTROY, as Windows sends once per window.
void PostDestroy() {
    if (s_state.destroyDelivered) return;
    s_state.destroyDelivered = true;
    Post(WM_DESTROY);
}

void SetIconFromResources(SDL_Window* window) {
    const BitmapResource* resource = FindBitmapResource(kIconResource);
    if (!resource) return;
    DecodedImage image;
    if (!DecodeBmp(resource->data, resource->size, image)) return;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(image.argb.data(), image.width, image.height,
                                                              32, image.width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!surface) return;
    SDL_SetWindowIcon(window, surface);
    SDL_FreeSurface(surface);
}

bool AltHeld(Uint16 modifiers) {
    return (modifiers & KMOD_ALT) != 0;
}

void HandleSdlEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            if (s_state.window) PostDestroy();
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
                if (s_state.window) PostDestroy();
            } else {
                platform::RefreshWindowGeometry();
            }
            break;
        case SDL_KEYDOWN:
            if (event.key.repeat) break;
            if (AltHeld(event.key.keysym.mod) && (event.key.keysym.scancode == SDL_SCANCODE_RETURN ||
                                                  event.key.keysym.scancode == SDL_SCANCODE_KP_ENTER)) {
                platform::SetFullscreen(!platform::IsFullscreen());
            } else if (const int dik = platform::DikFromScancode(event.key.keysym.scancode); dik >= 0) {
                LatchKeyPress(dik);
            }
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.button == SDL_BUTTON_LEFT) LatchButtonPress(0);
            if (event.button.button == SDL_BUTTON_RIGHT) LatchButtonPress(1);
            break;
        default:
            break;
    }
}

void PumpSdlEvents() {
    if (!s_videoReady) return;
    SDL_Event event;
    while (SDL_PollEvent(&event)) HandleSdlEvent(event);
}

// A minimised window shows nothing: until the desktop brings it back (or closes it), wait for its
// events instead of drawing frames nobody sees. The game's clock treats the pause as one long frame.
void WaitWhileMinimised() {
    while (s_videoReady && s_state.window && s_state.queue.empty() &&
           (SDL_GetWindowFlags(s_state.window) & SDL_WINDOW_MINIMIZED)) {
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, 250)) HandleSdlEvent(event);
    }
}

}  // namespace

namespace platform {

bool EnsureVideo() {
    if (s_videoTried) return s_videoReady;
    s_videoTried = true;
    // With no display SDL falls back to its offscreen driver on its own, and the game would run
    // unseen for ever; a headless driver is used only when SDL_VIDEODRIVER asks for it.
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    const bool onScreen = !asked || !*asked;
    // An X server refuses connections for a moment while it resets (as it does when its last client
    // leaves): with a display named, the start is tried again for about two seconds.
    const char* display = std::getenv("DISPLAY");
    const int tries = onScreen && display && *display ? 10 : 1;
    for (int attempt = 0; attempt < tries && !s_videoReady; ++attempt) {
        if (attempt > 0) SDL_Delay(200);
        s_videoReady = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
        if (s_videoReady && onScreen && VideoIsHeadless()) {
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            s_videoReady = false;
        }
    }
    if (s_videoReady) SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    return s_videoReady;
}

bool VideoIsHeadless() {
    const char* driver = s_videoReady ? SDL_GetCurrentVideoDriver() : nullptr;
    if (!driver) driver = std::getenv("SDL_VIDEODRIVER");
    if (!driver) return !s_videoReady && s_videoTried;
    return std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
}

SDL_Window* MainWindow() {
    return s_state.window;
}
HWND MainWindowHandle() {
    return s_state.window ? Handle() : nullptr;
}

void SetBackBufferSize(int width, int height) {
    if (width > 0 && height > 0) {
        s_state.backBufferWidth = width;
        s_state.backBufferHeight = height;
    }
}

void GetBackBufferSize(int& width, int& height) {
    width = s_state.backBufferWidth;
    height = s_state.backBufferHeight;
}

void LetterboxRect(int outerWidth, int outerHeight, int& x, int& y, int& width, int& height) {
    const double scale = std::min(static_cast<double>(outerWidth) / s_state.backBufferWidth,
                                  static_cast<double>(outerHeight) / s_state.backBufferHeight);
    width = static_cast<int>(s_state.backBufferWidth * scale + 0.5);
    height = static_cast<int>(s_state.backBufferHeight * scale + 0.5);
    x = (outerWidth - width) / 2;
    y = (outerHeight - height) / 2;
}

void WindowPointToBackBuffer(int pointX, int pointY, int pointWidth, int pointHeight, int pixelWidth,
                             int pixelHeight, int& x, int& y) {
    int rx, ry, rw, rh;
    LetterboxRect(pixelWidth, pixelHeight, rx, ry, rw, rh);
    x = y = 0;
    if (rw <= 0 || rh <= 0 || pointWidth <= 0 || pointHeight <= 0) return;
    // The point's centre to drawable pixels, then through the letterbox into back-buffer pixels.
    const double px = (pointX + 0.5) * pixelWidth / pointWidth;
    const double py = (pointY + 0.5) * pixelHeight / pointHeight;
    x = static_cast<int>(std::floor((px - rx) * s_state.backBufferWidth / rw));
    y = static_cast<int>(std::floor((py - ry) * s_state.backBufferHeight / rh));
}

}  // namespace platform

void SetStartWindowed(bool windowed) {
    s_startWindowed = windowed;
}

const char* WindowFailureReason() {
    return s_windowFailure.c_str();
}

WORD RegisterClassExA(const WNDCLASSEXA* wc) {
    if (!wc || !wc->lpszClassName || IS_INTRESOURCE(wc->lpszClassName)) return 0;
    WNDCLASSEXA copy = *wc;
    auto it = s_classes.insert_or_assign(std::string(wc->lpszClassName), copy).first;
    it->second.lpszClassName = it->first.c_str();
    return 1;
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE) {
    if (!className || IS_INTRESOURCE(className)) return FALSE;
    return s_classes.erase(className) ? TRUE : FALSE;
}

HMODULE GetModuleHandleA(LPCSTR) {
    static HINSTANCE__* const module = reinterpret_cast<HINSTANCE__*>(static_cast<uintptr_t>(0x400000));
    return module;
}

HICON LoadIconA(HINSTANCE, LPCSTR name) {
    // The icon is applied to the window when it is created; the handle only names it.
    if (!IS_INTRESOURCE(name)) return nullptr;
    return reinterpret_cast<HICON>(reinterpret_cast<uintptr_t>(name));
}

HWND CreateWindowExA(DWORD, LPCSTR className, LPCSTR title, DWORD, int, int, int width, int height, HWND,
                     HMENU, HINSTANCE, void*) {
    s_windowFailure.clear();
    if (s_state.window) return nullptr;  // the game has exactly one window
    if (!className || IS_INTRESOURCE(className)) return nullptr;
    auto it = s_classes.find(className);
    if (it == s_classes.end()) return nullptr;
    if (!platform::EnsureVideo()) return nullptr;
    if (width <= 0 || height <= 0) {
        width = 640;
        height = 480;
    }
    // The picture is letterboxed into whatever the window becomes, so the window never needs to be
    // larger than the display (a hand-edited size may ask for more than X can make).
    SDL_Rect bounds{0, 0, 0, 0};
    const int backBufferWidth = width, backBufferHeight = height;
    if (SDL_GetDisplayBounds(0, &bounds) == 0 && bounds.w > 0 && bounds.h > 0) {
        width = std::min(width, bounds.w);
        height = std::min(height, bounds.h);
    }
    const bool windowed = s_startWindowed || platform::VideoIsHeadless();
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_RESIZABLE;
    if (!windowed) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    std::string utf8Title = title ? Cp1250ToUtf8(title) : std::string();
    SDL_Window* window = SDL_CreateWindow(utf8Title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          width, height, flags);
    s_windowFailure = window ? "" : SDL_GetError();
    if (!window) return nullptr;
    s_state.window = window;
    s_state.proc = it->second.lpfnWndProc;
    s_state.backBufferWidth = backBufferWidth;
    s_state.backBufferHeight = backBufferHeight;
    s_state.destroyDelivered = false;
    s_state.queue.clear();
    SetIconFromResources(window);
    platform::WatchDisplayConnection(window);
    platform::SetFullscreen(!windowed);
    return Handle();
}

BOOL ShowWindow(HWND window, int) {
    if (window != Handle() || !s_state.window) return FALSE;
    if (SDL_GetWindowFlags(s_state.window) & SDL_WINDOW_SHOWN) return TRUE;
    SDL_ShowWindow(s_state.window);
    SDL_RaiseWindow(s_state.window);
    platform::SettleShownWindow();
    return TRUE;
}

BOOL UpdateWindow(HWND window) {
    return window == Handle() && s_state.window ? TRUE : FALSE;
}

BOOL DestroyWindow(HWND window) {
    if (window != Handle() || !s_state.window) return FALSE;
    WNDPROC proc = s_state.proc;
    if (proc && !s_state.destroyDelivered) {
        s_state.destroyDelivered = true;
        proc(Handle(), WM_DESTROY, 0, 0);
    }
    platform::DestroyGlContext();
    SDL_DestroyWindow(s_state.window);
    s_state.window = nullptr;
    s_state.proc = nullptr;
    // Messages for the window go with it; a posted WM_QUIT stays.
    std::deque<MSG> kept;
    for (const MSG& m : s_state.queue)
        if (m.message == WM_QUIT) kept.push_back(m);
    s_state.queue.swap(kept);
    return TRUE;
}

BOOL PeekMessageA(MSG* msg, HWND, UINT, UINT, UINT remove) {
    if (!msg) return FALSE;
    if (s_state.queue.empty()) PumpSdlEvents();
    if (s_state.queue.empty() && !GetAutomation()) WaitWhileMinimised();
    if (s_state.queue.empty()) {
        Automation* automation = GetAutomation();
        if (automation && !automation->BeforeFrame()) {
            if (s_state.window && !s_state.destroyDelivered) {
                PostDestroy();
            } else {
                Post(WM_QUIT);  // no window left to close: end the loop all the same
            }
        }
    }
    if (s_state.queue.empty()) return FALSE;
    *msg = s_state.queue.front();
    if (remove & PM_REMOVE) s_state.queue.pop_front();
    return TRUE;
}

BOOL TranslateMessage(const MSG*) {
    return FALSE;
}

LRESULT DispatchMessageA(const MSG* msg) {
    if (!msg || msg->hwnd != Handle() || !s_state.proc) return 0;
    return s_state.proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT DefWindowProcA(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

void PostQuitMessage(int exitCode) {
    Post(WM_QUIT, static_cast<WPARAM>(exitCode));
}

int ShowCursor(BOOL show) {
    // The game hides the cursor every frame: the count stops at a bound instead of wrapping after
    // days in a menu (and showing the cursor again).
    constexpr int kCountLimit = 1 << 16;
    s_state.cursorCounter = std::clamp(s_state.cursorCounter + (show ? 1 : -1), -kCountLimit, kCountLimit);
    if (s_videoReady) SDL_ShowCursor(s_state.cursorCounter >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return s_state.cursorCounter;
}

BOOL GetCursorPos(POINT* point) {
    if (!point) return FALSE;
    int x = 0;
    int y = 0;
    if (Automation* automation = GetAutomation()) {
        bool left = false;
        bool right = false;
        automation->MouseState(x, y, left, right);
    } else if (s_state.window) {
        int mouseX = 0, mouseY = 0;
        SDL_GetMouseState(&mouseX, &mouseY);
        int pointWidth, pointHeight, pixelWidth, pixelHeight;
        platform::GetWindowGeometry(pointWidth, pointHeight, pixelWidth, pixelHeight);
        platform::WindowPointToBackBuffer(mouseX, mouseY, pointWidth, pointHeight, pixelWidth, pixelHeight, x,
                                          y);
    }
    point->x = std::clamp(x, 0, s_state.backBufferWidth - 1);
    point->y = std::clamp(y, 0, s_state.backBufferHeight - 1);
    return TRUE;
}

// GetCursorPos already answers in back-buffer pixels of the one window.
BOOL ScreenToClient(HWND, POINT* point) {
    return point ? TRUE : FALSE;
}
