// The size the game window really has on the desktop, and the switch between full screen and a
// window. The picture is letterboxed into the real drawable and the mouse is mapped through the same
// rectangle, so what SDL believes about the window must not be trusted blindly: on X11 a window
// manager may ignore the full-screen request (or there may be none), and SDL then reports the
// desktop's size for a window that kept its own.
#include <SDL.h>
#include <SDL_syswm.h>
#ifdef SDL_VIDEO_DRIVER_X11
#include <X11/Xatom.h>
#endif

#include <algorithm>

#include "platform/platform_internal.h"

namespace platform {
namespace {

struct Geometry {
    int pointWidth = 0;  // the window in the units mouse positions come in
    int pointHeight = 0;
    int pixelWidth = 0;  // its drawable in pixels (more than points on a HiDPI screen)
    int pixelHeight = 0;
    Uint32 refreshedAt = 0;
};

Geometry s_geometry;
bool s_fullscreen = false;

// Long enough that asking the X server costs nothing per frame, short enough that a resize the
// window system forgot to announce is picked up at once to the eye.
constexpr Uint32 kRefreshMillis = 500;

#ifdef SDL_VIDEO_DRIVER_X11
bool X11Window(SDL_Window* window, Display*& display, Window& handle) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
    display = info.info.x11.display;
    handle = info.info.x11.window;
    return display != nullptr;
}

// A window manager announces itself on the root window; without one nobody acts on a full-screen
// request, and the game moves and sizes its window itself.
bool X11HasWindowManager(Display* display) {
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None) return false;
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW,
                                          &type, &format, &items, &after, &data);
    const bool found = status == Success && type == XA_WINDOW && items == 1;
    if (data) XFree(data);
    return found;
}
#endif

// With no window manager: full screen covers the display the window is on; a window gets the
// back buffer's size, centred on it.
void PlaceWithoutWindowManager(SDL_Window* window) {
#ifdef SDL_VIDEO_DRIVER_X11
    Display* display = nullptr;
    Window handle = 0;
    if (!X11Window(window, display, handle) || X11HasWindowManager(display)) return;
    SDL_Rect bounds{0, 0, 0, 0};
    if (SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(window)), &bounds) != 0) return;
    int width = bounds.w, height = bounds.h, x = bounds.x, y = bounds.y;
    if (!s_fullscreen) {
        GetBackBufferSize(width, height);
        width = std::min(width, bounds.w);
        height = std::min(height, bounds.h);
        x = bounds.x + (bounds.w - width) / 2;
        y = bounds.y + (bounds.h - height) / 2;
    }
    XMoveResizeWindow(display, handle, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XRaiseWindow(display, handle);
    XSetInputFocus(display, handle, RevertToParent, CurrentTime);
    XSync(display, False);
#else
    (void)window;
#endif
}

}  // namespace

void RefreshWindowGeometry() {
    SDL_Window* window = MainWindow();
    if (!window) return;
    Geometry g;
    SDL_GetWindowSize(window, &g.pointWidth, &g.pointHeight);
    SDL_GL_GetDrawableSize(window, &g.pixelWidth, &g.pixelHeight);
#ifdef SDL_VIDEO_DRIVER_X11
    // X11 has no scaling between points and pixels; the server knows the window's true size.
    Display* display = nullptr;
    Window handle = 0;
    XWindowAttributes attributes;
    if (X11Window(window, display, handle) && XGetWindowAttributes(display, handle, &attributes)) {
        g.pointWidth = g.pixelWidth = attributes.width;
        g.pointHeight = g.pixelHeight = attributes.height;
    }
#endif
    g.refreshedAt = SDL_GetTicks();
    s_geometry = g;
}

void GetWindowGeometry(int& pointWidth, int& pointHeight, int& pixelWidth, int& pixelHeight) {
    if (s_geometry.pixelWidth <= 0 || SDL_GetTicks() - s_geometry.refreshedAt >= kRefreshMillis)
        RefreshWindowGeometry();
    pointWidth = s_geometry.pointWidth;
    pointHeight = s_geometry.pointHeight;
    pixelWidth = s_geometry.pixelWidth;
    pixelHeight = s_geometry.pixelHeight;
}

void SetFullscreen(bool fullscreen) {
    SDL_Window* window = MainWindow();
    s_fullscreen = fullscreen;
    // Before the window is shown its creation flags already say which it is.
    if (!window || VideoIsHeadless() || !(SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN)) return;
    if (fullscreen) {
        SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        SDL_SetWindowFullscreen(window, 0);
        int width = 0, height = 0;
        GetBackBufferSize(width, height);
        SDL_SetWindowSize(window, width, height);
        SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
    PlaceWithoutWindowManager(window);
    RefreshWindowGeometry();
}

bool IsFullscreen() {
    return s_fullscreen;
}

void SettleShownWindow() {
    SDL_Window* window = MainWindow();
    if (!window || VideoIsHeadless()) return;
    PlaceWithoutWindowManager(window);
    RefreshWindowGeometry();
    // A window manager may map the window at its own size first and make it full screen a moment
    // later: the loading frame waits for that (for half a second at most, as a manager may refuse),
    // so it is not drawn at a size the window is about to lose.
    SDL_Rect bounds{0, 0, 0, 0};
    if (!s_fullscreen || SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(window)), &bounds) != 0)
        return;
    const Uint32 start = SDL_GetTicks();
    while (SDL_GetTicks() - start < 500 &&
           (s_geometry.pointWidth != bounds.w || s_geometry.pointHeight != bounds.h)) {
        SDL_Delay(5);
        SDL_PumpEvents();
        RefreshWindowGeometry();
    }
}

}  // namespace platform
