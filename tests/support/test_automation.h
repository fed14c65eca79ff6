// A scripted stand-in for the clock, the keyboard and the mouse that the platform reads: a test sets
// what the next samples return. Each sample of the counter returns `now`, then moves it on by `step`.
#pragma once
#include <cstdint>
#include <cstring>

#include "platform/automation.h"

class TestAutomation : public Automation {
public:
    TestAutomation() { SetAutomation(this); }
    ~TestAutomation() override { SetAutomation(nullptr); }
    int64_t PerformanceCounter() override { return ++samples, now += step, now - step; }
    int64_t PerformanceFrequency() override { return 1000000; }
    uint32_t Milliseconds() override { return static_cast<uint32_t>(now / 1000); }
    bool BeforeFrame() override { return keepRunning; }
    void AfterPresent() override { ++presents; }
    void KeyboardState(uint8_t out[256]) override { std::memcpy(out, keys, 256); }
    void MouseState(int& x, int& y, bool& l, bool& r) override {
        x = mouseX, y = mouseY, l = left, r = right;
    }

    int64_t now = 0, step = 0;
    int samples = 0, presents = 0;
    bool keepRunning = true;
    uint8_t keys[256] = {};
    int mouseX = 0, mouseY = 0;
    bool left = false, right = false;
};
