// State shared between the stand-ins inside src/platform (never included by the game).
#pragma once
#include <cstdint>

#include "platform/win32.h"

struct SDL_Window;
struct FrameWork;

namespace platform {

// Starts SDL's video subsystem once; false when there is no display (or no usable driver).
bool EnsureVideo();
// True when the video driver shows nothing (offscreen or dummy): message boxes are only recorded.
bool VideoIsHeadless();

// The one game window, or nullptr.
SDL_Window* MainWindow();
HWND MainWindowHandle();

// The back buffer the device renders; the mouse is mapped into it.
void SetBackBufferSize(int width, int height);
void GetBackBufferSize(int& width, int& height);
// The window's real size: in the units of mouse positions (points) and of its drawable (pixels).
// Refreshed on every window event and, in case a change went unannounced, every half second.
void RefreshWindowGeometry();
void GetWindowGeometry(int& pointWidth, int& pointHeight, int& pixelWidth, int& pixelHeight);
// Full screen on the desktop, or a resizable window of the back buffer's size (Alt+Enter).
void SetFullscreen(bool fullscreen);
bool IsFullscreen();
// Once the window is on the screen: places it where no window manager would, and reads its size.
void SettleShownWindow();

// From now on a lost display connection goes to the handler set with SetDisplayLostHandler.
void WatchDisplayConnection(SDL_Window* window);

// Shows the back buffer (an OpenGL framebuffer of the given size) in the window, letterboxed into
// its real drawable, and swaps. Leaves the framebuffer bound for drawing.
void BlitToWindow(unsigned framebuffer, int width, int height);
// Where the back buffer lands in a window (or drawable) of the given size: aspect kept, centred.
void LetterboxRect(int outerWidth, int outerHeight, int& x, int& y, int& width, int& height);
// A point of the window (in mouse units) as a back-buffer pixel, not clamped to the back buffer.
void WindowPointToBackBuffer(int pointX, int pointY, int pointWidth, int pointHeight, int pixelWidth,
                             int pixelHeight, int& x, int& y);

// The OpenGL context on the main window, shared by reference counting between the Direct3D object
// and its devices. Objects made in a context remember its generation and free their GL names only
// while that same context is still alive (textures may outlive the device at exit).
bool AcquireGlContext();
void ReleaseGlContext();
bool GlContextAlive(uint32_t generation);
uint32_t GlContextGeneration();
void DestroyGlContext();
// The context's swap interval: 0, swaps never wait for the display's retrace.
int GlSwapInterval();

// The OpenGL objects the platform holds now, and the bytes of storage it asked OpenGL for (textures
// with their mip levels, vertex buffers, the back buffer). A steady frame loop keeps both flat.
struct GlObjectCounts {
    int64_t textures = 0;
    int64_t buffers = 0;
    int64_t programs = 0;
    int64_t renderbuffers = 0;
    int64_t bytes = 0;
    int64_t mipChains = 0;  // ever: each texture makes its chain once, at its first mipmapped draw
};
GlObjectCounts& LiveGlObjects();
// Bumped whenever a texture or buffer name is made, deleted or bound outside the device, so the
// device forgets what it believes is bound (a deleted name may come back for a new object).
uint32_t& GlBindingEpoch();

// Called by the device when it presents a frame it counted.
void RecordFrameWork(const FrameWork& work);

}  // namespace platform
