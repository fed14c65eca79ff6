// The keyboard and the mouse as the game reads them each frame, through the platform's devices: held
// and pressed-this-frame, presses shorter than a frame, failed reads, and the cursor on the back buffer.
#include <gtest/gtest.h>

#include "engine/input.h"
#include "support/device_fixture.h"
#include "support/test_automation.h"

namespace {

class InputTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateTestDevice(64, 48));
        input.Init();
        ASSERT_TRUE(input.m_pKeyboard && input.m_pMouse);
    }
    void TearDown() override {
        input.Release();
        DestroyTestDevice();
    }
    TestAutomation automation;
    Input input;
};

TEST_F(InputTest, KeysArePressedInTheirFirstFrameAndFailedReadsKeepThemHeld) {
    const struct {
        uint8_t raw;  // Space as the keyboard reports it
        bool latched, acquired;
        uint8_t down, pressed;
    } frames[] = {
        {0x80, false, true, 1, 1},   // goes down: pressed in its first frame only
        {0x80, false, true, 1, 0},   //
        {0x00, false, false, 1, 0},  // a failed read keeps it held, not released and pressed again
        {0x7F, false, true, 0, 0},   // only bit 7 counts
        {0x00, true, true, 1, 1},    // down and up between two frames: held for one frame
        {0x00, false, true, 0, 0},   //
        {0xFF, false, true, 1, 1},   //
    };
    int n = 0;
    for (const auto& f : frames) {
        automation.keys[DIK_SPACE] = f.raw;
        if (f.latched) LatchKeyPress(DIK_SPACE);
        f.acquired ? input.m_pKeyboard->Acquire() : input.m_pKeyboard->Unacquire();
        input.ReadKeyboard();
        EXPECT_EQ(input.keyDown[DIK_SPACE], f.down) << "frame " << n;
        EXPECT_EQ(input.keyPressed[DIK_SPACE], f.pressed) << "frame " << n++;
    }
    // Alt+Enter belongs to the window, not to the game.
    automation.keys[DIK_RMENU] = automation.keys[DIK_RETURN] = 0x80;
    input.ReadKeyboard();
    EXPECT_EQ(input.keyDown[DIK_RETURN], 0);
}

TEST_F(InputTest, ButtonsArePressedInTheirFirstFrameAndFailedReadsReleaseThem) {
    const struct {
        bool left, right, latchedLeft, acquired;
        uint8_t down[2], pressed[2];
    } frames[] = {
        {true, true, false, true, {1, 1}, {1, 1}},  // both together
        {true, true, false, true, {1, 1}, {0, 0}},  {false, true, false, true, {0, 1}, {0, 0}},
        {false, false, true, true, {1, 0}, {1, 0}},  // a click between two frames
        {false, true, false, true, {0, 1}, {0, 1}}, {false, true, false, false, {0, 0}, {0, 0}},
    };
    int n = 0;
    for (const auto& f : frames) {
        automation.left = f.left, automation.right = f.right;
        if (f.latchedLeft) LatchButtonPress(0);
        f.acquired ? input.m_pMouse->Acquire() : input.m_pMouse->Unacquire();
        input.ReadMouse();
        for (int b = 0; b < 2; ++b) {
            EXPECT_EQ(input.mouseDown[b], f.down[b]) << "frame " << n << " button " << b;
            EXPECT_EQ(input.mousePressed[b], f.pressed[b]) << "frame " << n << " button " << b;
        }
        ++n;
    }
    // The cursor in back-buffer pixels, kept on the buffer.
    for (auto [x, y, seenX, seenY] : {std::tuple{5, 7, 5, 7}, {500, -3, 63, 0}}) {
        automation.mouseX = x, automation.mouseY = y;
        input.ReadMouse();
        EXPECT_EQ(input.mousePos.x, seenX);
        EXPECT_EQ(input.mousePos.y, seenY);
    }
}

TEST(InputWithoutDevices, ReadsNothing) {
    Input input;
    input.ReadKeyboard();
    input.ReadMouse();
    for (int i = 0; i < 256; ++i) ASSERT_EQ(input.keyDown[i], 0);
    EXPECT_EQ(input.mouseDown[0], 0);
}

}  // namespace
