#include <gtest/gtest.h>

#include "engine/engine.h"
#include "support/device_fixture.h"

TEST(DeviceClear, FillsTheWholeBackBufferWithTheColour) {
    ASSERT_TRUE(CreateTestDevice(64, 48));
    g_pDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF336699u, 1.0f, 0);
    EXPECT_EQ(ReadPixel(0, 0), 0xFF336699u);
    EXPECT_EQ(ReadPixel(63, 47), 0xFF336699u);
    DestroyTestDevice();
}
