// The speed levers of the device leave the pictures as they are: a level by day and one by night at
// low detail, with every lever on and with all of them switched off, match within a mean of one level
// per channel and with at most 0.5% of the pixels off by more than 24 levels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>

#include "e2e/e2e_harness.h"
#include "platform/automation.h"

namespace {

// Level 1 by day and level 5 (password KUCUR) by night, the camera turned a little, at 10 frames a
// second so that the fades pass in a few frames.
const char kScript[] = R"(2 tap SPACE
4 tap SPACE
6 tap SPACE
12 click 479 181
35 click 565 428
37 mouse 400 300
40 key RIGHT down
50 key RIGHT up
52 shot day
54 tap ESCAPE
56 click 400 428
75 click 511 238
77 tap K
79 tap U
81 tap C
83 tap U
85 tap R
87 tap RETURN
110 click 565 428
112 mouse 400 300
115 key LEFT down
125 key LEFT up
127 shot night
128 quit
)";

// Mean absolute difference per channel (the largest of the three) and the share of pixels that some
// channel has off by more than 24.
void Compare(const Picture& a, const Picture& b, double& mean, double& offShare) {
    double sums[3] = {0, 0, 0};
    size_t off = 0;
    const size_t pixels = a.rgb.size();
    for (size_t i = 0; i < pixels; ++i) {
        int worst = 0;
        for (int c = 0; c < 3; ++c) {
            const int shift = 16 - 8 * c;
            const int d = std::abs(int((a.rgb[i] >> shift) & 255) - int((b.rgb[i] >> shift) & 255));
            sums[c] += d;
            worst = std::max(worst, d);
        }
        if (worst > 24) ++off;
    }
    mean = std::max({sums[0], sums[1], sums[2]}) / pixels;
    offShare = static_cast<double>(off) / pixels;
}

ScriptBuilder Script() {
    ScriptBuilder script;
    std::istringstream lines(kScript);
    int frame = 0;
    std::string command;
    while (lines >> frame && std::getline(lines >> std::ws, command)) script.Add(frame, command);
    return script;
}

TEST(SpeedLevers, NoLeverChangesTheLevelsByDayOrByNight) {
    const std::string config = ConfigText(0);
    GameFolder all(config.c_str()), none(config.c_str());
    std::vector<std::string> withoutAny = {"--fps", "10"};
    for (const char* const* lever = SpeedLeverNames(); *lever; ++lever) {
        withoutAny.push_back("--without");
        withoutAny.push_back(*lever);
    }
    RunDemo(all, Script(), {"--fps", "10"});
    RunDemo(none, Script(), withoutAny);
    for (const char* shot : {"day", "night"}) {
        const Picture a = all.Shot(shot), b = none.Shot(shot);
        ASSERT_TRUE(a.Valid() && b.Valid() && a.width == b.width && a.height == b.height) << shot;
        double mean = 0, offShare = 0;
        Compare(a, b, mean, offShare);
        EXPECT_LE(mean, 1.0) << shot;
        EXPECT_LE(offShare, 0.005) << shot;
    }
}

}  // namespace
