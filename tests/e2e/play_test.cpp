// Levels played like a player would, checked dump by dump: the fade and the level dialog, a level
// driven out with the keyboard while the camera turns and zooms and a frame stalls, passwords into a
// night and a day level, the last level into the closing screen, and day and night as they look.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "e2e/e2e_harness.h"

namespace {

using nlohmann::json;

// New game, the dialog's gap, RESTART, Escape and EXIT back to the menu; again, OK, and the level
// completed into level 2 (night), then level 2 into level 3 (by day, with only the day loop).
TEST(Play, NewGameTheLevelDialogAndTheNextLevel) {
    ScriptBuilder s;
    s.SkipIntro().Click(10, kNewGameX, kNewGameY).Tap(20, "ESCAPE").Dump(21, "fading");
    s.Dump(51, "fadeLast").Dump(52, "dialog");  // clicked at 10: the fade's 43rd step passes 1
    s.Hold(60, 64, "UP").Dump(70, "driven");    // bus 0 driven a little under the dialog
    s.Tap(75, "ESCAPE").Click(80, 314, kDialogY).Dump(81, "gap");  // a quick Escape at 100
    s.Click(90, kDialogRestartX, kDialogY).Dump(91, "restart").Hold(100, 100, "ESCAPE").Dump(101, "escape");
    s.Click(110, kDialogExitX, kDialogY).Dump(111, "exit").Dump(165, "menuAgain");
    // The fade out ended a step below 0, so this fade in takes one frame more.
    s.Click(180, kNewGameX, kNewGameY).Dump(224, "dialogAgain");
    s.Click(230, kDialogOkX, kDialogY).Dump(231, "ok");
    s.Complete(240).Dump(240, "complete").Tap(250, "ESCAPE").Dump(251, "fadingOut");
    s.Dump(290, "level2").Dump(340, "dialog2").Click(345, kDialogOkX, kDialogY).Complete(355);
    s.Dump(405, "level3").Add(406, "quit");
    GameFolder folder(ConfigText(2).c_str());
    RunDemo(folder, s);
    ExpectDumps(folder, R"({
        "fading": {"/active": 0, "/fadingIn": 1, "/levelDialogShown": 0, "/currentLevel": 1, "/isNight": 0,
                   "screen": "mainMenu", "plays den": 1, "/sounds/looping": ["sounds/den.wav"],
                   "/world/busCount": 6, "/world/obstacleCount": 2},
        "fadeLast": {"/fadingIn": 1, "/fadeValue": 0.98},
        "dialog": {"/fadingIn": 0, "/levelDialogShown": 1},
        "gap": {"/levelDialogShown": 1, "/sounds/played": []},
        "restart": {"/levelDialogShown": 0, "/fadingIn": 0, "plays start": 1,
                    "/sounds/looping": ["sounds/den.wav"],
                    "/world/buses/0/position/0": -10.1, "/world/buses/0/position/2": 9.92,
                    "/world/buses/0/speed": 0.0, "/world/selectedBus": 0},
        "escape": {"/levelDialogShown": 1},
        "exit": {"/levelDialogShown": 0, "/fadingToMenu": 1, "plays klik": 1},
        "menuAgain": {"/active": 1, "screen": "mainMenu", "/sounds/looping": []},
        "dialogAgain": {"/levelDialogShown": 1}, "ok": {"/levelDialogShown": 0, "plays start": 1},
        "complete": {"/fadingToNextLevel": 1, "plays konec": 1},
        "fadingOut": {"/levelDialogShown": 0, "plays konec": 0},
        "level2": {"/currentLevel": 2, "/isNight": 1, "/fadingIn": 1, "/sounds/looping": ["sounds/noc.wav"],
                   "plays klik": 0, "/world/busCount": 7, "/world/obstacleCount": 4},
        "dialog2": {"/levelDialogShown": 1},
        "level3": {"/currentLevel": 3, "/isNight": 0, "/sounds/looping": ["sounds/den.wav"]}
    })");
    EXPECT_LT(folder.Dump("driven")["world"]["buses"][0]["position"][2].get<double>(), 9.0)
        << "bus 0 did not move";
}

// Level 1 solved with Space and the arrows alone, while the arrows, the right Ctrl and Shift and the
// mouse at the edges turn and zoom the camera; F shows the frame rate in game mode only.
// Taps and clicks go down and up within one frame, as xdotool or a touchpad's tap sends them (the
// third Space in the lot is held for two frames and still picks one bus), and a frame stalls for four
// seconds while bus 3 drives.
TEST(Play, KeyboardSolvesLevelOneWhileTheCameraMovesAndAFrameStalls) {
    const int f = 70;  // the first frame at which the keys drive bus 0
    ScriptBuilder s;
    for (int t : {2, 4, 6, f, f + 2}) s.Hold(t, t, "SPACE");
    s.Hold(f + 4, f + 6, "SPACE").Dump(7, "menu").Shot(7, "menu").Hold(8, 9, "F").Shot(8, "menuF");
    s.QuickClick(10, kNewGameX, kNewGameY).Dump(52, "dialog");
    // OK on the level dialog; the same click also reaches the lot under it.
    s.QuickClick(60, kDialogOkX, kDialogY).Mouse(62, 400, 560).Dump(62, "ok");
    s.Shot(63, "game").Hold(64, 65, "F").Shot(64, "gameF").Shot(65, "gameAgain");
    for (int t : {81, 158, 160, 162, 239, 316, 318, 320, 322}) s.Tap(f + t, "SPACE");
    s.Add(86, "stall 4000").Dump(86, "stall");
    s.Hold(f + 6, f + 51, "DOWN").Hold(f + 83, f + 128, "UP").Hold(f + 164, f + 209, "UP");
    s.Hold(f + 241, f + 286, "DOWN").Hold(f + 324, f + 369, "UP");
    s.Dump(f + 4, "picked3").Dump(f + 81, "picked4").Dump(f + 322, "picked0").Dump(f + 368, "end");
    s.Dump(70, "start").Hold(71, 81, "RIGHT").Dump(85, "right").Hold(90, 140, "RCONTROL").Dump(100, "rising");
    s.Dump(140, "raised").Hold(145, 150, "RCONTROL").Dump(150, "raisedAgain").Hold(160, 200, "RSHIFT");
    s.Dump(200, "lowered").Mouse(210, 799, 300).Dump(219, "rightEdge").Mouse(220, 798, 300);
    s.Dump(229, "shortOfEdge").Mouse(230, 0, 300).Hold(230, 240, "RIGHT").Dump(239, "leftEdgeAndRight");
    s.Mouse(240, 400, 599).Hold(240, 244, "LEFT").Dump(244, "bottomEdge").Mouse(245, 400, 598);
    s.Dump(249, "shortOfBottom").Mouse(250, 400, 560).Add(f + 370, "quit");
    GameFolder folder(ConfigText(2).c_str());
    RunDemo(folder, s);
    // The yaw starts at -2 and turns by 0.05 a frame; the distance changes by 5 a frame.
    ExpectDumps(folder, R"({
        "menu": {"screen": "mainMenu"}, "dialog": {"/levelDialogShown": 1},
        "ok": {"/levelDialogShown": 0, "/world/selectedBus": 0}, "stall": {"/fps": 0.25},
        "picked3": {"/world/selectedBus": 3}, "picked4": {"/world/selectedBus": 4},
        // The bus driven with UP crashes twice, the one driven with DOWN three times: the held arrow
        // arms the crash sound again after each crash.
        "picked0": {"/world/selectedBus": 0, "plays konec": 0, "plays naraz1": 4, "plays naraz2": 1},
        "end": {"/currentLevel": 1, "/fadingToNextLevel": 1, "plays konec": 1},
        "start": {"/camera/yaw": -2.0, "/camera/distance": 120.0, "/camera/eye/0": -181.86,
                  "/camera/eye/1": 180.0, "/camera/eye/2": -83.23},
        "right": {"/camera/yaw": -2.5},  // held for frames 71 to 80
        "rising": {"/camera/distance": 175.0},
        // 265 gives an eye at 397.5, still below 400: one more step to 270 (405), then it stops.
        "raised": {"/camera/distance": 270.0, "/camera/eye/1": 405.0},
        "raisedAgain": {"/camera/distance": 270.0},
        // 115 gives an eye at 172.5, still above 165: one more step to 110 (165), then it stops.
        "lowered": {"/camera/distance": 110.0, "/camera/eye/1": 165.0},
        "rightEdge": {"/camera/yaw": -3.0}, "shortOfEdge": {"/camera/yaw": -3.0},
        "leftEdgeAndRight": {"/camera/yaw": -3.0},  // the two cancel
        "bottomEdge": {"/camera/distance": 135.0, "/camera/yaw": -2.8},  // and the left arrow for 4 frames
        "shortOfBottom": {"/camera/distance": 135.0}
    })");
    EXPECT_LT(folder.Dump("end")["world"]["buses"][0]["corners"][0][1].get<double>(), -75.0);
    // The stalled frame moves bus 3 a tenth of a second at most: three steps of a thirtieth, plus the
    // speed gained in that frame; then and after the drive every bus is on the lot, none overlapping.
    const json before = folder.Dump("right"), stall = folder.Dump("stall"), after = folder.Dump("picked4");
    const json& bus = before["world"]["buses"][3];
    const double speed = std::fabs(bus["speed"].get<double>());
    ASSERT_GT(speed, 1.0) << "bus 3 was not driving when the stall came";
    const json &p0 = bus["position"], &p1 = stall["world"]["buses"][3]["position"];
    const double moved =
        std::hypot(p1[0].get<double>() - p0[0].get<double>(), p1[2].get<double>() - p0[2].get<double>());
    EXPECT_LE(moved, 3.0 * (speed + 0.7) + 0.01) << "the stalled frame moved bus 3 by " << moved;
    auto footprint = [](const json& bus) {  // {minX, maxX, minZ, maxZ}
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
                EXPECT_FALSE(std::min(a[1], b[1]) - std::max(a[0], b[0]) > 6 &&
                             std::min(a[3], b[3]) - std::max(a[2], b[2]) > 6)
                    << "buses " << i << " and " << j << " overlap";
            }
        }
    }
    // "FPS: 30 " at (20, 20) in the 12-pixel font, only in game mode, and no further down.
    const Picture menu = folder.Shot("menu"), menuF = folder.Shot("menuF"), game = folder.Shot("game"),
                  gameF = folder.Shot("gameF"), gameAgain = folder.Shot("gameAgain");
    ASSERT_TRUE(menu.Valid() && menuF.Valid() && game.Valid() && gameF.Valid() && gameAgain.Valid());
    EXPECT_FALSE(menuF.RegionDiffers(menu, 15, 15, 90, 40));
    EXPECT_FALSE(game.RegionDiffers(gameAgain, 15, 15, 90, 40)) << "the corner changes by itself";
    EXPECT_TRUE(gameF.RegionDiffers(game, 15, 15, 90, 40));
    const auto white = [](const Picture& p, int n = 0) {  // white pixels where the text goes
        for (int y = 15; y < 40; ++y)
            for (int x = 15; x < 90; ++x) n += (p.At(x, y) & 0xFFFFFF) == 0xFFFFFF;
        return n;
    };
    EXPECT_TRUE(white(game) == 0 && white(gameF) > 20) << white(game) << " " << white(gameF);
    EXPECT_FALSE(gameF.RegionDiffers(game, 15, 45, 90, 90)) << "the text reaches too far down";
}

// Mean brightness of the picture below the level dialog, where the lot and the town show.
double Brightness(const Picture& p) {
    double sum = 0;
    for (int y = 490; y < 590; ++y)
        for (int x = 100; x < 700; ++x)
            for (int shift : {0, 8, 16}) sum += (p.At(x, y) >> shift) & 255;
    return sum / (600.0 * 100.0 * 3.0);
}

// Level 5 by its password at night, back to the menu, level 25 by its password by day, completed:
// the closing screen with the outro, the intro again on a key, and EXIT.
TEST(Play, PasswordsIntoANightAndADayLevelAndTheLastLevelToTheEnd) {
    ScriptBuilder s;
    s.SkipIntro().Click(10, kPasswordX, kPasswordY).Tap(s.Type(14, "KUCUR"), "RETURN").Dump(24, "kucur");
    s.Shot(80, "night").Click(85, kDialogExitX, kDialogY).Click(140, kPasswordX, kPasswordY);
    s.Tap(s.Type(144, "KAVUH"), "RETURN").Dump(154, "level25");
    s.Shot(210, "day").Click(215, kDialogOkX, kDialogY);
    s.Complete(225).Dump(225, "complete").Dump(315, "closing").Dump(316, "closingLater");
    s.Tap(330, "SPACE").Dump(330, "introAgain").Tap(332, "SPACE").Tap(334, "SPACE").Tap(336, "SPACE");
    s.Dump(337, "menu").Click(340, kExitX, kExitY).Dump(360, "never");
    GameFolder folder(ConfigText(2).c_str());
    RunDemo(folder, s);
    ExpectDumps(folder, R"({
        "kucur": {"/active": 0, "/fadingIn": 1, "/currentLevel": 5, "/isNight": 1, "/world/busCount": 16,
                  "/world/obstacleCount": 7, "screen": "mainMenu", "/messageShown": 0, "plays noc": 1,
                  "/sounds/looping": ["sounds/noc.wav"]},
        "level25": {"/currentLevel": 25, "/isNight": 0, "/sounds/looping": ["sounds/den.wav"]},
        "complete": {"plays konec": 1},
        "closing": {"/active": 1, "screen": "closing", "/fadingIn": 0, "/fadingToNextLevel": 0,
                    "/currentLevel": 26, "plays outro": 1, "/sounds/looping": []},
        "closingLater": {"plays outro": 0}, "introAgain": {"screen": "intro1", "/sounds/played": []},
        "menu": {"screen": "mainMenu"}
    })");
    EXPECT_FALSE(folder.Dump("never").is_object()) << "the program went on after EXIT";
    // The same view of the lot: the sun lights the day, only the lamp the night, which still lights the lot
    // (by the sun, the night's materials would leave it nearly black).
    const Picture night = folder.Shot("night"), day = folder.Shot("day");
    ASSERT_TRUE(night.Valid() && day.Valid());
    EXPECT_GT(Brightness(day), Brightness(night) + 20.0);
    EXPECT_GT(Brightness(night), Brightness(day) / 2);
}

}  // namespace
