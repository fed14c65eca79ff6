// Weak stand-ins for the engine routines the menus call, so these tests link whether or not the
// engine's own definitions are in the library; the real ones win when present. Blending is a no-op
// here: the tests run without a device.
#include <cstdarg>
#include <cstdio>

#include "engine/config.h"
#include "engine/engine.h"
#include "engine/frame_timer.h"
#include "engine/light_set.h"
#include "engine/log.h"

#define WEAK __attribute__((weak))

WEAK float g_fps = 1000.0f;
WEAK float FrameStep(float x) {
    return 30.0f / g_fps * x;
}
WEAK float FrameMillis(float x) {
    return 1000.0f / g_fps * x;
}
WEAK void Engine::BlendAlpha() {}
WEAK void Engine::BlendOff() {}
WEAK void Engine::SetLighting(uint8_t) {}
WEAK void Engine::SetSpecular(uint8_t) {}
WEAK void Engine::SetUnlitTextureStages() {}
WEAK LightSet::~LightSet() {}
WEAK void LogWrite(const char*) {}
WEAK void LogWriteF(const char*, ...) {}

WEAK bool WriteConfig(int32_t sceneDetail, int32_t resolutionIndex, int32_t soundEnabled) {
    static const int kWidths[] = {640, 800, 1024};
    static const int kHeights[] = {480, 600, 768};
    if (resolutionIndex < 0 || resolutionIndex > 2) return false;
    FILE* file = std::fopen("config.ini", "w");
    if (file == nullptr) return false;
    std::fprintf(file, "SceneDetail %d\nScreenWidth %d\nScreenHeight %d\nScreenFormat 1\nSoundEnabled %d",
                 sceneDetail, kWidths[resolutionIndex], kHeights[resolutionIndex], soundEnabled);
    std::fclose(file);
    return true;
}
