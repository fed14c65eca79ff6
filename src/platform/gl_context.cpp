// The OpenGL 3.3 core context, made on the main window when the Direct3D object is created.
#include <SDL.h>

#include "platform/platform_internal.h"

namespace platform {
namespace {

SDL_GLContext s_context = nullptr;
int s_references = 0;
uint32_t s_generation = 0;

}  // namespace

bool AcquireGlContext() {
    if (s_context) {
        ++s_references;
        return true;
    }
    SDL_Window* window = MainWindow();
    if (!window) return false;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    s_context = SDL_GL_CreateContext(window);
    if (!s_context) return false;
    if (SDL_GL_MakeCurrent(window, s_context) != 0) {
        SDL_GL_DeleteContext(s_context);
        s_context = nullptr;
        return false;
    }
    SDL_GL_SetSwapInterval(0);  // presentation never waits for the retrace
    ++s_generation;
    s_references = 1;
    return true;
}

void ReleaseGlContext() {
    if (!s_context || s_references <= 0) return;
    if (--s_references == 0) DestroyGlContext();
}

void DestroyGlContext() {
    if (!s_context) return;
    SDL_GL_MakeCurrent(MainWindow(), nullptr);
    SDL_GL_DeleteContext(s_context);
    s_context = nullptr;
    s_references = 0;
    ++s_generation;  // every object made in the old context is now orphaned
}

bool GlContextAlive(uint32_t generation) {
    return s_context != nullptr && generation == s_generation;
}
uint32_t GlContextGeneration() {
    return s_generation;
}

int GlSwapInterval() {
    return SDL_GL_GetSwapInterval();
}

GlObjectCounts& LiveGlObjects() {
    static GlObjectCounts counts;
    return counts;
}

uint32_t& GlBindingEpoch() {
    static uint32_t epoch = 0;
    return epoch;
}

}  // namespace platform
