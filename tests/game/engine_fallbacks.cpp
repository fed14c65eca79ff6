// Weak stand-ins for the few engine routines the game world calls, so these tests link whether or
// not the engine's own definitions are in the library; the real ones win when present.
#include "engine/engine.h"
#include "engine/frame_timer.h"
#include "engine/light_set.h"

__attribute__((weak)) float g_fps = 1000.0f;
__attribute__((weak)) float FrameStep(float x) {
    return 30.0f / g_fps * x;
}
__attribute__((weak)) void Engine::BlendAlpha() {}
__attribute__((weak)) void Engine::BlendOff() {}
__attribute__((weak)) LightSet::~LightSet() {}
