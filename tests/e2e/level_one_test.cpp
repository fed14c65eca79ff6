// Level 1 played from the main menu to completion with the keyboard alone: Space picks the bus,
// the up and down arrows drive it.
#include <gtest/gtest.h>

#include "e2e/e2e_harness.h"

using nlohmann::json;

namespace {

// The known solution, in frames after the first frame F at which the keys drive bus 0 (30 fps).
void AddSolution(ScriptBuilder& s, int f) {
    auto space = [&](std::initializer_list<int> frames) {
        for (int t : frames) s.Tap(f + t, "SPACE");
    };
    auto hold = [&](const char* key, int from, int to) { s.KeyDown(f + from, key).KeyUp(f + to, key); };
    space({0, 2, 4});  // bus 3
    hold("DOWN", 6, 51);
    space({81});  // bus 4
    hold("UP", 83, 128);
    space({158, 160, 162});  // bus 1
    hold("UP", 164, 209);
    space({239});  // bus 2
    hold("DOWN", 241, 286);
    space({316, 318, 320, 322});  // bus 0
    hold("UP", 324, 369);
}

TEST(LevelOne, KeyboardAloneDrivesBus0OutOfTheLot) {
    const int kFirst = 70;
    ScriptBuilder s;
    s.Tap(2, "SPACE").Tap(4, "SPACE").Tap(6, "SPACE");
    s.Click(10, 479, 181);  // NOVÁ HRA
    s.Dump(52, "dialog");
    // OK on the level dialog; the same click also reaches the lot under it.
    s.Click(60, 400 + 165, 300 + 128).Mouse(62, 400, 560).Dump(62, "ok");
    AddSolution(s, kFirst);
    s.Dump(kFirst + 4, "picked3").Dump(kFirst + 81, "picked4").Dump(kFirst + 322, "picked0");
    s.Dump(kFirst + 368, "end").Quit(kFirst + 370);
    DemoRun run;
    ASSERT_EQ(run.Run(s.Text()), 0) << run.errors();

    ASSERT_EQ(run.Dump("dialog")["levelDialogShown"], 1);
    const json ok = run.Dump("ok");
    ASSERT_EQ(ok["levelDialogShown"], 0);
    ASSERT_EQ(ok["world"]["selectedBus"], 0) << "the OK click picked another bus";
    EXPECT_EQ(run.Dump("picked3")["world"]["selectedBus"], 3);
    EXPECT_EQ(run.Dump("picked4")["world"]["selectedBus"], 4);
    EXPECT_EQ(run.Dump("picked0")["world"]["selectedBus"], 0);

    const json end = run.Dump("end");
    EXPECT_EQ(end["currentLevel"], 1);
    EXPECT_EQ(end["fadingToNextLevel"], 1);
    EXPECT_LT(end["world"]["buses"][0]["corners"][0][1].get<double>(), -75.0);
    int konec = 0;
    for (const char* name : {"ok", "picked3", "picked4", "picked0"})
        konec += CountPlays(run.Dump(name), "sounds/konec.wav");
    EXPECT_EQ(konec, 0) << "completed before bus 0 was driven out";
    ASSERT_EQ(CountPlays(end, "sounds/konec.wav"), 1);
    for (const auto& e : end["sounds"]["played"])
        if (e["file"] == "sounds/konec.wav") {
            EXPECT_GE(e["frame"].get<int>(), kFirst + 324) << "completed before the last drive";
        }
}

}  // namespace
