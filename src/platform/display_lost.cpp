// The X server ending under the game (the session closed, a remote desktop dropped): Xlib cannot go
// on and would end the process with its own line on stderr. The game says what happened first.
#include <SDL.h>
#include <SDL_syswm.h>
#include <unistd.h>

#include "platform/desktop.h"
#include "platform/platform_internal.h"

namespace {

void (*s_handler)(const char*) = nullptr;

#ifdef SDL_VIDEO_DRIVER_X11
// Nothing can be drawn or closed any more, and Xlib must not be called again: the process ends
// here, without running exit handlers that would talk to the lost display.
int OnConnectionLost(Display* display) {
    if (s_handler) s_handler(DisplayString(display));
    _exit(1);
}
#endif

}  // namespace

void SetDisplayLostHandler(void (*handler)(const char* display)) {
    s_handler = handler;
}

namespace platform {

void WatchDisplayConnection(SDL_Window* window) {
#ifdef SDL_VIDEO_DRIVER_X11
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11)
        XSetIOErrorHandler(OnConnectionLost);
#else
    (void)window;
#endif
}

}  // namespace platform
