// The frame rate from the performance counter, the 80 fps cap of game mode, and the scaling of every
// motion by it, with a stalled frame counting as a tenth of a second at most.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/frame_timer.h"
#include "support/test_automation.h"

namespace {

bool s_gameMode = false;

TEST(FrameTimer, MeasuresCapsGameModeAtEightyAndBoundsTheStep) {
    TestAutomation clock;  // a million ticks a second
    g_capFrameRate = [] { return s_gameMode; };
    g_fps = 1000.0f;  // before the first frame
    EXPECT_FLOAT_EQ(FrameStep(1.0f), 0.03f);
    EXPECT_FLOAT_EQ(FrameMillis(5.0f), 5.0f);
    const struct {
        bool gameMode;
        int64_t workUs;
        float fps, step, millis;  // g_fps, FrameStep(1), FrameMillis(1)
        int samples;              // counter samples in the frame: more means the cap waited
    } frames[] = {
        {true, 5000, 80.0f, 0.375f, 12.5f, 77},    // waits out 12.5 ms (the cap samples every 100 us)
        {true, 50000, 20.0f, 1.5f, 50.0f, 2},      // a slow game frame is not delayed
        {false, 2000, 500.0f, 0.06f, 2.0f, 2},     // menu frames are not capped
        {false, 100000, 10.0f, 3.0f, 100.0f, 2},   // ten frames a second: scaled as measured
        {false, 4000000, 0.25f, 3.0f, 100.0f, 2},  // a stall: shown as measured, moves a tenth of a second
    };
    for (const auto& f : frames) {
        s_gameMode = f.gameMode;
        clock.step = 0, clock.samples = 0, FrameBegin();
        clock.now += f.workUs, clock.step = 100, FrameEnd();  // the cap samples the counter while it waits
        EXPECT_NEAR(g_fps, f.fps, f.fps * 0.01f) << f.workUs;
        EXPECT_TRUE(g_fps <= 80.0f || !f.gameMode) << f.workUs;
        EXPECT_EQ(g_fpsWhole, static_cast<int>(g_fps)) << f.workUs;
        EXPECT_NEAR(FrameStep(1.0f), f.step, f.step * 0.01f) << f.workUs;
        EXPECT_NEAR(FrameMillis(1.0f), f.millis, f.millis * 0.01f) << f.workUs;
        EXPECT_NEAR(clock.samples, f.samples, 1) << f.workUs;
    }
    // A counter that did not move does not divide by zero.
    clock.step = 0, FrameBegin(), FrameEnd();
    EXPECT_TRUE(std::isfinite(g_fps));
    g_capFrameRate = nullptr, g_fps = 1000.0f, g_fpsWhole = 1000;
}

}  // namespace
