// What a real desktop sends that a scripted player rarely does: taps and clicks shorter than a frame,
// and a frame that stalls for seconds in the middle of a drive.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "e2e/e2e_harness.h"

using nlohmann::json;

namespace {

// Down and up within one frame, as xdotool or a touchpad's tap sends them.
void QuickTap(ScriptBuilder& s, int frame, const std::string& key) {
    s.Hold(frame, frame, key);
}
void QuickClick(ScriptBuilder& s, int frame, int x, int y) {
    s.Mouse(frame, x, y).Add(frame, "button left down").Add(frame, "button left up");
}

struct Footprint {
    double minX, maxX, minZ, maxZ;
};
Footprint FootprintOf(const json& bus) {
    Footprint f{1e9, -1e9, 1e9, -1e9};
    for (const auto& c : bus["corners"]) {
        f.minX = std::min(f.minX, c[0].get<double>());
        f.maxX = std::max(f.maxX, c[0].get<double>());
        f.minZ = std::min(f.minZ, c[1].get<double>());
        f.maxZ = std::max(f.maxZ, c[1].get<double>());
    }
    return f;
}

TEST(DesktopInput, QuickTapsAndClicksCountAndAStallMovesOnlyAFewSteps) {
    ScriptBuilder s;
    for (int f : {2, 4, 6}) QuickTap(s, f, "SPACE");  // the three intro screens
    s.Dump(7, "menu");
    QuickClick(s, 10, 479, 181);              // NOVÁ HRA
    QuickClick(s, 60, 400 + 165, 300 + 128);  // OK on the level dialog
    s.Dump(61, "playing");
    QuickTap(s, 70, "ESCAPE");
    s.Dump(70, "escape");
    QuickClick(s, 75, 400 + 165, 300 + 128);
    // Bus 3 driven back along its free lane towards the wall, with a four-second stall on the way.
    s.Mouse(76, 400, 560);
    for (int f : {78, 80, 82}) QuickTap(s, f, "SPACE");
    s.Hold(84, 129, "DOWN")
        .Dump(93, "beforeStall")
        .Add(94, "stall 4000")
        .Dump(94, "stall")
        .Dump(140, "after");
    s.Add(141, "quit");
    GameFolder folder(ConfigText(2).c_str());
    RunDemo(folder, s);
    ExpectDumps(folder, {{"menu", "screen", "mainMenu"},       // three quick Spaces on the intro screens
                         {"playing", "/active", 0},            // a quick click on the new-game button
                         {"playing", "/levelDialogShown", 0},  // a quick click on OK
                         {"escape", "/levelDialogShown", 1}});

    const json before = folder.Dump("beforeStall"), stall = folder.Dump("stall"),
               after = folder.Dump("after");
    EXPECT_NEAR(stall["fps"].get<double>(), 0.25, 0.01);
    ASSERT_EQ(before["world"]["selectedBus"], 3) << "a quick Space in the level was lost";
    const json& bus = before["world"]["buses"][3];
    const double speed = std::fabs(bus["speed"].get<double>());
    ASSERT_GT(speed, 1.0) << "bus 3 was not driving when the stall came";
    const auto& p0 = bus["position"];
    const auto& p1 = stall["world"]["buses"][3]["position"];
    const double moved =
        std::hypot(p1[0].get<double>() - p0[0].get<double>(), p1[2].get<double>() - p0[2].get<double>());
    // A tenth of a second at most: three steps of a thirtieth, plus the speed gained in that frame.
    EXPECT_LE(moved, 3.0 * (speed + 0.7) + 0.01) << "the stalled frame moved bus 3 by " << moved;
    for (const json* dump : {&stall, &after}) {
        const json& buses = (*dump)["world"]["buses"];
        for (size_t i = 0; i < buses.size(); ++i) {
            const Footprint a = FootprintOf(buses[i]);
            EXPECT_TRUE(a.minX >= -81 && a.maxX <= 81 && a.minZ >= -81 && a.maxZ <= 81) << "bus " << i;
            for (size_t j = i + 1; j < buses.size(); ++j) {
                const Footprint b = FootprintOf(buses[j]);
                const double overlapX = std::min(a.maxX, b.maxX) - std::max(a.minX, b.minX);
                const double overlapZ = std::min(a.maxZ, b.maxZ) - std::max(a.minZ, b.minZ);
                EXPECT_FALSE(overlapX > 6 && overlapZ > 6) << "buses " << i << " and " << j << " overlap";
            }
        }
    }
}

}  // namespace
