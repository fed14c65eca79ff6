// Shots of every screen into build/e2e-shots/WIDTHxHEIGHT, to be looked at; the test checks that each
// was written at the screen's size.
#include <gtest/gtest.h>

#include <filesystem>

#include "e2e/e2e_harness.h"

namespace {

std::string ShotsDir(int width, int height) {
    return std::string(VOLTRANA_GAME_DIR) + "/../e2e-shots/" + std::to_string(width) + "x" +
           std::to_string(height);
}

void ExpectShots(const std::string& dir, int width, int height, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        int w = 0, h = 0;
        ASSERT_TRUE(ReadPngSize(dir + "/" + name + ".png", w, h)) << name;
        EXPECT_EQ(w, width) << name;
        EXPECT_EQ(h, height) << name;
    }
}

TEST(Shots, EveryScreenAt800x600) {
    const std::string dir = ShotsDir(800, 600);
    std::filesystem::remove_all(dir);
    DemoRun run;
    ASSERT_EQ(run.RunFile(ScriptPath("shots.txt"), {"--out", dir}), 0) << run.errors();
    ExpectShots(dir, 800, 600,
                {"intro1", "intro2", "intro3", "mainmenu", "credits", "options", "password", "message",
                 "dialog", "day", "night", "closing"});
    EXPECT_EQ(run.Dump("closing")["screens"]["closing"], 1);
}

// The main menu and the level dialog at the two other screen sizes.
void MenuAndDialog(int width, int height) {
    const std::string dir = ShotsDir(width, height);
    std::filesystem::remove_all(dir);
    DemoConfig config;
    config.width = width;
    config.height = height;
    ScriptBuilder s;
    s.Tap(2, "SPACE").Tap(4, "SPACE").Tap(6, "SPACE");
    s.Mouse(10, VirtualX(479, width), VirtualY(181, height)).Shot(20, "mainmenu");
    s.Click(25, VirtualX(479, width), VirtualY(181, height)).Shot(75, "dialog").Dump(75, "dialog").Quit(76);
    DemoRun run(config);
    ASSERT_EQ(run.Run(s.Text(), {"--out", dir}), 0) << run.errors();
    ExpectShots(dir, width, height, {"mainmenu", "dialog"});
    EXPECT_EQ(run.Dump("dialog")["levelDialogShown"], 1);
}

TEST(Shots, MainMenuAndDialogAt640x480) {
    MenuAndDialog(640, 480);
}

TEST(Shots, MainMenuAndDialogAt1024x768) {
    MenuAndDialog(1024, 768);
}

}  // namespace
