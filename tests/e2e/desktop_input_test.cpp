// What a real desktop sends that a scripted player rarely does: taps and clicks shorter than a frame,
// and a frame that stalls for seconds in the middle of a drive.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "e2e/e2e_harness.h"

using nlohmann::json;

namespace {

TEST(DesktopInput, QuickTapsAndClicksCountAndAStallMovesOnlyAFewSteps) {
    ScriptBuilder s;
    // Down and up within one frame, as xdotool or a touchpad's tap sends them.
    auto quickTap = [&](int frame, const char* key) { s.Hold(frame, frame, key); };
    auto quickClick = [&](int frame, int x, int y) {
        s.Mouse(frame, x, y).Add(frame, "button left down").Add(frame, "button left up");
    };
    for (int f : {2, 4, 6}) quickTap(f, "SPACE");  // the three intro screens
    s.Dump(7, "menu");
    quickClick(10, kNewGameX, kNewGameY);
    quickClick(60, kDialogOkX, kDialogY);
    s.Dump(61, "playing");
    quickTap(70, "ESCAPE");
    s.Dump(70, "escape");
    quickClick(75, kDialogOkX, kDialogY);
    // Bus 3 driven back along its free lane towards the wall, with a four-second stall on the way.
    s.Mouse(76, 400, 560);
    for (int f : {78, 80, 82}) quickTap(f, "SPACE");
    s.Hold(84, 129, "DOWN").Dump(93, "beforeStall").Add(94, "stall 4000").Dump(94, "stall");
    s.Dump(140, "after").Add(141, "quit");
    GameFolder folder(ConfigText(2).c_str());
    RunDemo(folder, s);
    ExpectDumps(folder, R"({"menu": {"screen": "mainMenu"}, "playing": {"/active": 0, "/levelDialogShown": 0},
                            "escape": {"/levelDialogShown": 1}, "stall": {"/fps": 0.25}})");

    const json before = folder.Dump("beforeStall"), stall = folder.Dump("stall"),
               after = folder.Dump("after");
    ASSERT_EQ(before["world"]["selectedBus"], 3) << "a quick Space in the level was lost";
    const json& bus = before["world"]["buses"][3];
    const double speed = std::fabs(bus["speed"].get<double>());
    ASSERT_GT(speed, 1.0) << "bus 3 was not driving when the stall came";
    const json &p0 = bus["position"], &p1 = stall["world"]["buses"][3]["position"];
    const double moved =
        std::hypot(p1[0].get<double>() - p0[0].get<double>(), p1[2].get<double>() - p0[2].get<double>());
    // A tenth of a second at most: three steps of a thirtieth, plus the speed gained in that frame.
    EXPECT_LE(moved, 3.0 * (speed + 0.7) + 0.01) << "the stalled frame moved bus 3 by " << moved;
    // Every bus stays on the lot, none overlaps another: footprints as {minX, maxX, minZ, maxZ}.
    auto footprint = [](const json& bus) {
        std::array<double, 4> f{1e9, -1e9, 1e9, -1e9};
        for (const auto& c : bus["corners"])
            for (int axis : {0, 1}) {
                f[2 * axis] = std::min(f[2 * axis], c[axis].get<double>());
                f[2 * axis + 1] = std::max(f[2 * axis + 1], c[axis].get<double>());
            }
        return f;
    };
    for (const json* dump : {&stall, &after}) {
        const json& buses = (*dump)["world"]["buses"];
        for (size_t i = 0; i < buses.size(); ++i) {
            const auto a = footprint(buses[i]);
            EXPECT_TRUE(a[0] >= -81 && a[1] <= 81 && a[2] >= -81 && a[3] <= 81) << "bus " << i;
            for (size_t j = i + 1; j < buses.size(); ++j) {
                const auto b = footprint(buses[j]);
                const bool overlap = std::min(a[1], b[1]) - std::max(a[0], b[0]) > 6 &&
                                     std::min(a[3], b[3]) - std::max(a[2], b[2]) > 6;
                EXPECT_FALSE(overlap) << "buses " << i << " and " << j << " overlap";
            }
        }
    }
}

}  // namespace
