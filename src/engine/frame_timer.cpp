#include "engine/frame_timer.h"

#include <algorithm>

#include "platform/win32.h"

int64_t g_frameStart = 0;
int64_t g_frameNow = 0;
int64_t g_frameFrequency = 0;
float g_fps = 1000.0f;
int32_t g_fpsWhole = 1000;
bool (*g_capFrameRate)() = nullptr;

namespace {
void MeasureFrame() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    g_frameFrequency = frequency.QuadPart;
    g_frameNow = now.QuadPart;
    int64_t elapsed = g_frameNow - g_frameStart;
    if (elapsed <= 0) elapsed = 1;  // a clock that did not move must not divide by zero
    g_fps =
        static_cast<float>(static_cast<long double>(g_frameFrequency) / static_cast<long double>(elapsed));
    g_fpsWhole = static_cast<int32_t>(g_fps);
}
}  // namespace

void FrameBegin() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    g_frameStart = now.QuadPart;
}

void FrameEnd() {
    MeasureFrame();
    // Game mode holds the frame rate at 80 by spinning on the counter.
    while (g_fps > 80.0f && g_capFrameRate && g_capFrameRate()) MeasureFrame();
}

// A stalled frame (a suspended laptop, a dragged window, a machine swapping) counts as a tenth of a
// second at most, so nothing moves more than a few steps at once; at 10 frames a second or more the
// rate is used as measured.
constexpr float kSlowestRate = 10.0f;

float FrameStep(float x) {
    return 30.0f / std::max(g_fps, kSlowestRate) * x;
}

float FrameMillis(float x) {
    return 1000.0f / std::max(g_fps, kSlowestRate) * x;
}
