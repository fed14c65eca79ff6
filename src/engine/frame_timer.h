// Frame timing: the frame rate of the last frame, the 80 fps cap in game mode, and the two scaling
// operations through which every motion is made independent of the frame rate.
#pragma once
#include <cstdint>

extern int64_t g_frameStart;
extern int64_t g_frameNow;
extern int64_t g_frameFrequency;
extern float g_fps;
extern int32_t g_fpsWhole;
// The cap applies while this returns true (game mode); set by start-up, tests set it directly.
extern bool (*g_capFrameRate)();

void FrameBegin();
void FrameEnd();
float FrameStep(float x);
float FrameMillis(float x);
