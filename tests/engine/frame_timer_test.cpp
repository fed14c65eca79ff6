#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/frame_timer.h"
#include "platform/automation.h"

namespace {

// A clock the test moves by hand: each sample returns the current time, then adds `step`.
class ManualClock : public Automation {
public:
    int64_t now = 0;
    int64_t step = 0;
    int samples = 0;
    int64_t PerformanceCounter() override {
        ++samples;
        const int64_t t = now;
        now += step;
        return t;
    }
    int64_t PerformanceFrequency() override { return 1000000; }
    uint32_t Milliseconds() override { return static_cast<uint32_t>(now / 1000); }
    bool BeforeFrame() override { return true; }
    void AfterPresent() override {}
    void KeyboardState(uint8_t keys[256]) override { std::fill(keys, keys + 256, 0); }
    void MouseState(int& x, int& y, bool& l, bool& r) override { x = y = 0, l = r = false; }
};

bool s_gameMode = false;
bool GameMode() {
    return s_gameMode;
}

class FrameTimerTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetAutomation(&clock);
        g_capFrameRate = GameMode;
    }
    void TearDown() override {
        SetAutomation(nullptr);
        g_capFrameRate = nullptr;
        g_fps = 1000.0f;
        g_fpsWhole = 1000;
    }
    // One frame whose work takes `workUs` microseconds; the cap's spinning advances 100 us a sample.
    void Frame(int64_t workUs) {
        clock.step = 0;
        FrameBegin();
        clock.now += workUs;
        clock.step = 100;
        FrameEnd();
    }
    ManualClock clock;
};

TEST_F(FrameTimerTest, BeforeTheFirstFrameScalingUsesAThousandFps) {
    g_fps = 1000.0f;
    EXPECT_FLOAT_EQ(FrameStep(1.0f), 0.03f);
    EXPECT_FLOAT_EQ(FrameMillis(5.0f), 5.0f);
}

TEST_F(FrameTimerTest, GameModeCapsAtEightyByWaiting) {
    s_gameMode = true;
    const int64_t start = clock.now;
    Frame(5000);
    EXPECT_LE(g_fps, 80.0f);
    EXPECT_GT(g_fps, 79.0f);
    EXPECT_TRUE(g_fpsWhole == 79 || g_fpsWhole == 80);
    EXPECT_GE(clock.now - start, 12500);  // the frame lasted at least 12.5 ms
}

TEST_F(FrameTimerTest, SlowGameFrameIsNotDelayed) {
    s_gameMode = true;
    Frame(50000);
    EXPECT_FLOAT_EQ(g_fps, 20.0f);
    EXPECT_EQ(g_fpsWhole, 20);
    EXPECT_EQ(clock.samples, 2);  // begin and one end sample: no waiting
    EXPECT_FLOAT_EQ(FrameStep(0.05f), 0.075f);
}

TEST_F(FrameTimerTest, MenuFramesAreNotCapped) {
    s_gameMode = false;
    Frame(2000);
    EXPECT_FLOAT_EQ(g_fps, 500.0f);
    EXPECT_FLOAT_EQ(FrameMillis(0.0007f), 0.0014f);
}

TEST_F(FrameTimerTest, AStalledFrameCountsAsATenthOfASecondAtMost) {
    Frame(4000000);
    EXPECT_FLOAT_EQ(g_fps, 0.25f);  // shown as measured
    EXPECT_FLOAT_EQ(FrameStep(1.5f), 4.5f);
    EXPECT_FLOAT_EQ(FrameMillis(1.0f), 100.0f);
    Frame(100000);  // ten frames a second: scaled as measured
    EXPECT_FLOAT_EQ(FrameStep(1.0f), 3.0f);
}

TEST_F(FrameTimerTest, AClockThatDidNotMoveDoesNotDivideByZero) {
    s_gameMode = false;
    Frame(0);
    EXPECT_TRUE(std::isfinite(g_fps));
}

}  // namespace
