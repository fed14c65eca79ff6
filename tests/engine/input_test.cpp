#include <gtest/gtest.h>

#include <cstring>

#include "engine/input.h"

namespace {

// A scripted DirectInput device: the test sets what the next read returns.
class FakeDevice : public IDirectInputDevice8A {
public:
    uint8_t keys[256] = {};
    DIMOUSESTATE mouse{};
    bool fail = false;
    HRESULT SetDataFormat(const DIDATAFORMAT*) override { return S_OK; }
    HRESULT SetCooperativeLevel(HWND, DWORD) override { return S_OK; }
    HRESULT Acquire() override { return S_OK; }
    HRESULT Unacquire() override { return S_OK; }
    HRESULT GetDeviceState(DWORD size, void* data) override {
        if (fail) return E_FAIL;
        if (size == 256) std::memcpy(data, keys, 256);
        else if (size == sizeof(DIMOUSESTATE)) std::memcpy(data, &mouse, sizeof mouse);
        return S_OK;
    }
    unsigned long Release() override { return 0; }
};

class InputTest : public ::testing::Test {
protected:
    void SetUp() override {
        input.m_pKeyboard = &keyboard;
        input.m_pMouse = &mouse;
    }
    void TearDown() override {
        input.m_pKeyboard = nullptr;
        input.m_pMouse = nullptr;
    }
    FakeDevice keyboard;
    FakeDevice mouse;
    Input input;
};

TEST_F(InputTest, AHeldKeyIsPressedInItsFirstFrameOnly) {
    keyboard.keys[DIK_SPACE] = 0x80;
    for (int frame = 0; frame < 10; ++frame) {
        input.ReadKeyboard();
        EXPECT_EQ(input.keyDown[DIK_SPACE], 1);
        EXPECT_EQ(input.keyPressed[DIK_SPACE], frame == 0 ? 1 : 0) << "frame " << frame;
    }
    keyboard.keys[DIK_SPACE] = 0;
    input.ReadKeyboard();
    EXPECT_EQ(input.keyDown[DIK_SPACE], 0);
    EXPECT_EQ(input.keyPressed[DIK_SPACE], 0);
    keyboard.keys[DIK_SPACE] = 0x80;
    input.ReadKeyboard();
    EXPECT_EQ(input.keyPressed[DIK_SPACE], 1);
}

TEST_F(InputTest, OnlyBitSevenCounts) {
    keyboard.keys[DIK_A] = 0x7F;
    keyboard.keys[DIK_B] = 0xFF;
    input.ReadKeyboard();
    EXPECT_EQ(input.keyDown[DIK_A], 0);
    EXPECT_EQ(input.keyDown[DIK_B], 1);
}

TEST_F(InputTest, AFailedKeyboardReadKeepsTheKeysHeld) {
    keyboard.keys[DIK_UP] = 0x80;
    input.ReadKeyboard();
    keyboard.fail = true;
    input.ReadKeyboard();
    EXPECT_EQ(input.keyDown[DIK_UP], 1);
    EXPECT_EQ(input.keyPressed[DIK_UP], 0);
}

TEST_F(InputTest, BothButtonsPressedTogetherForOneFrame) {
    mouse.mouse.rgbButtons[0] = 0x80;
    mouse.mouse.rgbButtons[1] = 0x80;
    input.ReadMouse();
    EXPECT_EQ(input.mousePressed[0], 1);
    EXPECT_EQ(input.mousePressed[1], 1);
    EXPECT_EQ(input.mouseDown[0], 1);
    EXPECT_EQ(input.mouseDown[1], 1);
    input.ReadMouse();
    EXPECT_EQ(input.mousePressed[0], 0);
    EXPECT_EQ(input.mousePressed[1], 0);
    EXPECT_EQ(input.mouseDown[1], 1);
    mouse.mouse.rgbButtons[0] = 0;
    input.ReadMouse();
    EXPECT_EQ(input.mouseDown[0], 0);
    EXPECT_EQ(input.mouseDown[1], 1);
}

TEST_F(InputTest, AFailedMouseReadReleasesTheButtons) {
    mouse.mouse.rgbButtons[1] = 0x80;
    input.ReadMouse();
    mouse.fail = true;
    input.ReadMouse();
    EXPECT_EQ(input.mouseDown[1], 0);
    EXPECT_EQ(input.mousePressed[1], 0);
}

TEST(InputWithoutDevices, TablesStayZero) {
    Input input;
    input.ReadKeyboard();
    input.ReadMouse();
    for (int i = 0; i < 256; ++i) ASSERT_EQ(input.keyDown[i], 0);
    EXPECT_EQ(input.mouseDown[0], 0);
}

}  // namespace
