// The keyboard and the mouse as the game reads them each frame, through the platform's devices: held
// and pressed-this-frame, presses shorter than a frame, failed reads, and the cursor on the back buffer.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

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
    void TearDown() override { input.Release(), DestroyTestDevice(); }
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
        // Codes outside the key table are ignored.
        if (f.latched) LatchKeyPress(DIK_SPACE), LatchKeyPress(-1), LatchKeyPress(256);
        f.acquired ? input.m_pKeyboard->Acquire() : input.m_pKeyboard->Unacquire();
        input.ReadKeyboard();
        EXPECT_EQ(std::pair(input.keyDown[DIK_SPACE], input.keyPressed[DIK_SPACE]),
                  std::pair(f.down, f.pressed))
            << "frame " << n++;
    }
    // Alt+Enter belongs to the window, not to the game.
    automation.keys[DIK_RMENU] = automation.keys[DIK_RETURN] = 0x80;
    input.ReadKeyboard();
    EXPECT_EQ(input.keyDown[DIK_RETURN], 0);
}

TEST_F(InputTest, ButtonsArePressedInTheirFirstFrameAndFailedReadsReleaseThem) {
    // Left, right, a click of the left button between two frames, acquired; then down and pressed, left
    // and right.
    const bool frames[][8] = {
        {1, 1, 0, 1, 1, 1, 1, 1},  // both together
        {1, 1, 0, 1, 1, 1, 0, 0}, {0, 1, 0, 1, 0, 1, 0, 0}, {0, 0, 1, 1, 1, 0, 1, 0},
        {0, 1, 0, 1, 0, 1, 0, 1}, {0, 1, 0, 0, 0, 0, 0, 0},  // a failed read releases both
    };
    for (int n = 0; n < 6; ++n) {
        const bool* f = frames[n];
        automation.left = f[0], automation.right = f[1];
        if (f[2]) LatchButtonPress(0);
        f[3] ? input.m_pMouse->Acquire() : input.m_pMouse->Unacquire();
        input.ReadMouse();
        const bool seen[4] = {bool(input.mouseDown[0]), bool(input.mouseDown[1]), bool(input.mousePressed[0]),
                              bool(input.mousePressed[1])};
        EXPECT_TRUE(std::equal(seen, seen + 4, f + 4)) << "frame " << n;
    }
    // The cursor in back-buffer pixels, kept on the buffer.
    for (auto [x, y, seenX, seenY] : {std::tuple{5, 7, 5, 7}, {500, -3, 63, 0}}) {
        automation.mouseX = x, automation.mouseY = y;
        input.ReadMouse();
        EXPECT_EQ(std::pair(input.mousePos.x, input.mousePos.y), std::pair(float(seenX), float(seenY)));
    }
    Input none;  // never initialised: reads nothing
    none.ReadKeyboard(), none.ReadMouse();
    EXPECT_TRUE(std::count(none.keyDown, none.keyDown + 256, 0) == 256 && none.mouseDown[0] == 0);
}

}  // namespace
