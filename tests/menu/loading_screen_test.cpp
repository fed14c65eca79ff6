// The loading frame on a real device: "Moment prosím" in white on black, placed from the screen centre.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "engine/engine.h"
#include "menu/resource_set.h"
#include "support/device_fixture.h"

namespace {

TEST(LoadingScreenTest, WhiteTextOnBlackStartsLeftOfAndAboveTheCentre) {
    const struct { int width, height, left, top; } sizes[] = {{640, 480, 224, 226}, {1024, 768, 416, 370}};
    for (const auto& s : sizes) {
        ASSERT_TRUE(CreateTestDevice(s.width, s.height));
        ShowLoadingScreen();
        std::vector<uint8_t> rgba(static_cast<size_t>(s.width) * s.height * 4);
        ASSERT_TRUE(SUCCEEDED(g_pDevice->ReadBackBuffer(rgba.data(), s.width, s.height)));
        int minX = s.width, minY = s.height, maxX = -1, maxY = -1;
        bool onlyGrey = true;
        for (int y = 0; y < s.height; ++y) {
            for (int x = 0; x < s.width; ++x) {
                const uint8_t* p = &rgba[(static_cast<size_t>(y) * s.width + x) * 4];
                if (p[0] != p[1] || p[1] != p[2]) onlyGrey = false;
                if (p[0] < 128) continue;
                minX = std::min(minX, x);
                minY = std::min(minY, y);
                maxX = std::max(maxX, x);
                maxY = std::max(maxY, y);
            }
        }
        EXPECT_TRUE(onlyGrey) << "white text on black only";
        ASSERT_GE(maxX, 0) << "the text shows";
        // The glyphs start just inside the text's top-left point (side bearing, internal leading).
        EXPECT_GE(minX, s.left);
        EXPECT_LE(minX, s.left + 6);
        EXPECT_GE(minY, s.top);
        EXPECT_LE(minY, s.top + 14);
        // About 190 pixels wide at height 35 ("Moment prosím" in Arial bold), whatever the screen.
        EXPECT_GT(maxX - minX, 150);
        EXPECT_LT(maxX - minX, 260);
        EXPECT_LT(maxY - minY, 40);
        DestroyTestDevice();
    }
}

TEST(LoadingScreenTest, WithoutADeviceNothingHappens) {
    DestroyTestDevice();
    ShowLoadingScreen();
    SUCCEED();
}

}  // namespace
