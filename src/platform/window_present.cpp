// Presenting the back buffer in the real window: letterboxed into the window's drawable as it is
// now, with black bars beside or above the picture.
#include <SDL.h>
#include <epoxy/gl.h>

#include "platform/platform_internal.h"

namespace platform {
namespace {

int s_presentedWidth = 0;
int s_presentedHeight = 0;

void BlitOnce(GLuint framebuffer, int width, int height, int drawableWidth, int drawableHeight) {
    int x, y, w, h;
    LetterboxRect(drawableWidth, drawableHeight, x, y, w, h);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    const bool exact = w == width && h == height;
    // The framebuffer's bottom row is the picture's bottom row, in both buffers.
    glBlitFramebuffer(0, 0, width, height, x, drawableHeight - y - h, x + w, drawableHeight - y,
                      GL_COLOR_BUFFER_BIT, exact ? GL_NEAREST : GL_LINEAR);
    SDL_GL_SwapWindow(MainWindow());
}

}  // namespace

void BlitToWindow(unsigned framebuffer, int width, int height) {
    int pointWidth, pointHeight, drawableWidth, drawableHeight;
    GetWindowGeometry(pointWidth, pointHeight, drawableWidth, drawableHeight);
    BlitOnce(framebuffer, width, height, drawableWidth, drawableHeight);
    // OpenGL's window buffers take a new size only at the swap after the window changed: the first
    // picture after a change went into buffers of the old size. Drawn again, it lands right at once
    // (what matters for a frame that stays, like the loading screen).
    if (drawableWidth != s_presentedWidth || drawableHeight != s_presentedHeight) {
        BlitOnce(framebuffer, width, height, drawableWidth, drawableHeight);
        s_presentedWidth = drawableWidth;
        s_presentedHeight = drawableHeight;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
}

}  // namespace platform
