// The keyboard by position: each SDL scancode (a USB usage id) reads as the DirectInput key at that
// place on the keyboard, so the key at the Y position is DIK_Y on every layout.
#include <gtest/gtest.h>

#include "platform/dik_codes.h"
#include "platform/dinput.h"

TEST(KeyCodes, ScancodesReadAsTheKeysAtTheirPositions) {
    // Usage ids 4 to 29 are the letters A to Z.
    const int letters[26] = {DIK_A, DIK_B, DIK_C, DIK_D, DIK_E, DIK_F, DIK_G, DIK_H, DIK_I,
                             DIK_J, DIK_K, DIK_L, DIK_M, DIK_N, DIK_O, DIK_P, DIK_Q, DIK_R,
                             DIK_S, DIK_T, DIK_U, DIK_V, DIK_W, DIK_X, DIK_Y, DIK_Z};
    for (int i = 0; i < 26; ++i) EXPECT_EQ(platform::DikFromScancode(4 + i), letters[i]) << char('A' + i);
    const int keys[][2] = {{30, DIK_1},         {39, DIK_0},       {40, DIK_RETURN},    {41, DIK_ESCAPE},
                           {42, DIK_BACK},      {43, DIK_TAB},     {44, DIK_SPACE},     {79, DIK_RIGHT},
                           {80, DIK_LEFT},      {81, DIK_DOWN},    {82, DIK_UP},        {88, DIK_NUMPADENTER},
                           {224, DIK_LCONTROL}, {225, DIK_LSHIFT}, {228, DIK_RCONTROL}, {229, DIK_RSHIFT},
                           {58, 0x3B},          {69, 0x58}};  // F1, F12
    for (const auto& k : keys) EXPECT_EQ(platform::DikFromScancode(k[0]), k[1]) << "usage id " << k[0];
    EXPECT_EQ(platform::DikFromScancode(0), -1);
    EXPECT_EQ(platform::DikFromScancode(511), -1);
}
