// The options screen: values cycle on clicks, OK writes config.ini, STORNO and Escape write nothing.
#include <gtest/gtest.h>

#include "e2e/e2e_harness.h"

using nlohmann::json;

namespace {

const int kOptionsX = 576, kOptionsY = 354;  // MOŽNOSTI in the main menu
const int kResolutionX = 577, kResolutionY = 225;
const int kDetailX = 577, kDetailY = 309;
const int kSoundX = 573, kSoundY = 389;
const int kOkX = 602, kOkY = 461;
const int kCancelX = 649, kCancelY = 500;

ScriptBuilder ToMainMenu() {
    ScriptBuilder s;
    s.Tap(2, "SPACE").Tap(4, "SPACE").Tap(6, "SPACE");
    return s;
}

TEST(Options, StornoAndEscapeLeaveWithoutWritingButKeepTheChoices) {
    DemoConfig config;  // detail 1, 800 × 600, sound on
    DemoRun run(config);
    ScriptBuilder s = ToMainMenu();
    s.Click(10, kOptionsX, kOptionsY).Dump(11, "open");
    s.Click(14, kResolutionX, kResolutionY).Dump(14, "changed");
    s.Click(18, kCancelX, kCancelY).Dump(18, "storno");
    s.Click(22, kOptionsX, kOptionsY).Dump(23, "again");
    s.Tap(26, "ESCAPE").Dump(26, "escape").Quit(30);
    ASSERT_EQ(run.Run(s.Text()), 0) << run.errors();

    const json open = run.Dump("open");
    EXPECT_EQ(open["screens"]["options"], 1);
    EXPECT_EQ(open["screens"]["mainMenu"], 0);
    EXPECT_EQ(open["resolutionIndex"], 1);
    EXPECT_EQ(open["sceneDetail"], 1);
    EXPECT_EQ(open["soundEnabled"], 1);
    EXPECT_EQ(run.Dump("changed")["resolutionIndex"], 2);
    const json storno = run.Dump("storno");
    EXPECT_EQ(storno["screens"]["mainMenu"], 1);
    EXPECT_EQ(storno["screens"]["options"], 0);
    EXPECT_EQ(storno["messageShown"], 0);
    EXPECT_EQ(CountPlays(storno, "sounds/klik.wav"), 1);
    EXPECT_EQ(run.Dump("again")["resolutionIndex"], 2) << "an abandoned choice is shown again";
    const json escape = run.Dump("escape");
    EXPECT_EQ(escape["screens"]["mainMenu"], 1);
    EXPECT_EQ(escape["screens"]["options"], 0);
    EXPECT_EQ(escape["messageShown"], 0);
    EXPECT_EQ(CountPlays(escape, "sounds/klik.wav"), 1);
    EXPECT_EQ(run.File("config.ini"), config.Text());
}

TEST(Options, ValuesCycleAndOkWritesTheFileWithTheRestartNotice) {
    DemoConfig config;
    DemoRun run(config);
    ScriptBuilder s = ToMainMenu();
    s.Click(10, kOptionsX, kOptionsY);
    int f = 14;
    for (int i = 0; i < 3; ++i, f += 2)
        s.Click(f, kResolutionX, kResolutionY).Dump(f, "res" + std::to_string(i));
    for (int i = 0; i < 2; ++i, f += 2) s.Click(f, kDetailX, kDetailY).Dump(f, "detail" + std::to_string(i));
    for (int i = 0; i < 3; ++i, f += 2) s.Click(f, kSoundX, kSoundY).Dump(f, "sound" + std::to_string(i));
    s.Click(f, kResolutionX, kResolutionY);
    f += 2;
    s.Click(f, kOkX, kOkY).Dump(f, "ok").Dump(f + 1, "okNext");
    // The restart notice lasts two seconds; the sound is still on in this run.
    s.Dump(f + 55, "noticeLate").Dump(f + 65, "noticeGone");
    s.Mouse(f + 70, 479, 181).Dump(f + 72, "hoverAfter").Quit(f + 74);
    ASSERT_EQ(run.Run(s.Text()), 0) << run.errors();

    EXPECT_EQ(run.Dump("res0")["resolutionIndex"], 2);
    EXPECT_EQ(run.Dump("res1")["resolutionIndex"], 0);
    EXPECT_EQ(run.Dump("res2")["resolutionIndex"], 1) << "three clicks come back";
    EXPECT_EQ(run.Dump("detail0")["sceneDetail"], 2);
    EXPECT_EQ(run.Dump("detail1")["sceneDetail"], 0);
    EXPECT_EQ(run.Dump("sound0")["soundEnabled"], 0);
    EXPECT_EQ(run.Dump("sound1")["soundEnabled"], 1) << "two clicks come back";
    EXPECT_EQ(run.Dump("sound2")["soundEnabled"], 0);

    const json ok = run.Dump("ok");
    EXPECT_EQ(ok["screens"]["mainMenu"], 1);
    EXPECT_EQ(ok["screens"]["options"], 0);
    EXPECT_EQ(ok["messageShown"], 1);
    EXPECT_EQ(ok["messageKind"], 0);
    EXPECT_EQ(run.Dump("okNext")["messageShown"], 1) << "the confirming click closed the notice";
    EXPECT_EQ(run.Dump("noticeLate")["messageShown"], 1);
    EXPECT_EQ(run.Dump("noticeGone")["messageShown"], 0);
    EXPECT_EQ(CountPlays(run.Dump("hoverAfter"), "sounds/klik.wav"), 1) << "the running game kept its sound";

    EXPECT_EQ(run.File("config.ini"),
              "SceneDetail 0\nScreenWidth 1024\nScreenHeight 768\nScreenFormat 1\nSoundEnabled 0");
}

}  // namespace
