// The speed levers of the device leave the pictures as they are: a level by day and one by night at
// high detail, with every lever on and with all of them switched off, match within a mean of one level
// per channel and with at most 0.5% of the pixels off by more than 24 levels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "e2e/e2e_harness.h"
#include "platform/automation.h"

namespace {

TEST(SpeedLevers, NoLeverChangesTheLevelsByDayOrByNight) {
    // Level 1 by day and level 5 by night, the camera turned a little, at 10 frames a second so that
    // the fades pass in a few frames.
    ScriptBuilder s;
    s.SkipIntro().Click(12, kNewGameX, kNewGameY).Click(35, kDialogOkX, kDialogY).Mouse(37, 400, 300);
    s.Hold(40, 50, "RIGHT").Shot(52, "day").Tap(54, "ESCAPE").Click(56, kDialogExitX, kDialogY);
    s.Click(75, kPasswordX, kPasswordY).Tap(s.Type(77, "KUCUR"), "RETURN").Click(110, kDialogOkX, kDialogY);
    s.Mouse(112, 400, 300).Hold(115, 125, "LEFT").Shot(127, "night").Add(128, "quit");
    const std::string config = ConfigText(0);
    GameFolder all(config.c_str()), none(config.c_str());
    std::vector<std::string> withoutAny = {"--fps", "10"};
    for (const char* const* lever = SpeedLeverNames(); *lever; ++lever)
        withoutAny.insert(withoutAny.end(), {"--without", *lever});
    RunDemo(all, s, {"--fps", "10"});
    RunDemo(none, s, withoutAny);
    for (const char* shot : {"day", "night"}) {
        const Picture a = all.Shot(shot), b = none.Shot(shot);
        ASSERT_TRUE(a.Valid() && b.Valid() && a.rgb.size() == b.rgb.size()) << shot;
        // The mean difference of the worst channel, and the pixels with some channel off by more than 24.
        double sums[3] = {0, 0, 0}, off = 0;
        for (size_t i = 0; i < a.rgb.size(); ++i) {
            int worst = 0;
            for (int c = 0; c < 3; ++c) {
                const int d = std::abs(int((a.rgb[i] >> 8 * c) & 255) - int((b.rgb[i] >> 8 * c) & 255));
                sums[c] += d, worst = std::max(worst, d);
            }
            off += worst > 24;
        }
        EXPECT_LE(*std::max_element(sums, sums + 3) / a.rgb.size(), 1.0) << shot;
        EXPECT_LE(off / a.rgb.size(), 0.005) << shot;
        // The buses stand in the middle of the screen: their light roofs and sides fill much of its middle
        // ninth, where the empty lot would be dark asphalt with thin lines.
        int light = 0;
        for (int y = 200; y < 400; ++y)
            for (int x = 266; x < 532; ++x) {
                const uint32_t p = a.At(x, y);
                light += (p & 255) > 150 && ((p >> 8) & 255) > 150 && ((p >> 16) & 255) > 150;
            }
        EXPECT_GT(light, 10000) << shot;
    }
}

}  // namespace
