// The scripted runner itself, and what a normal start leaves in log.txt.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "e2e/e2e_harness.h"

namespace {

// A short headless run: a shot and a dump of the last frame, at the given screen size.
void ExpectShotAndDump(int width, int height) {
    DemoConfig config;
    config.width = width;
    config.height = height;
    DemoRun run(config);
    ASSERT_EQ(run.Run("59 shot last\n59 dump last\n", {"--frames", "60"}), 0) << run.errors();
    int w = 0, h = 0;
    ASSERT_TRUE(ReadPngSize(run.ShotPath("last"), w, h));
    EXPECT_EQ(w, width);
    EXPECT_EQ(h, height);
    const Picture shot = run.Shot("last");
    ASSERT_TRUE(shot.Valid());
    // The first intro screen is up: not a black or empty picture.
    bool lit = false;
    for (size_t i = 0; i < shot.rgba.size() && !lit; i += 4)
        lit = shot.rgba[i] + shot.rgba[i + 1] + shot.rgba[i + 2] > 60;
    EXPECT_TRUE(lit);
    const nlohmann::json dump = run.Dump("last");
    ASSERT_TRUE(dump.is_object());
    EXPECT_EQ(dump["frame"], 59);
    EXPECT_EQ(dump["fps"], 30.0);
    EXPECT_EQ(dump["active"], 1);
    EXPECT_EQ(dump["screens"]["intro1"], 1);
}

}  // namespace

TEST(Runner, HeadlessRunWritesAShotOfTheScreenSizeAndADump640) {
    ExpectShotAndDump(640, 480);
}

TEST(Runner, HeadlessRunWritesAShotOfTheScreenSizeAndADump800) {
    ExpectShotAndDump(800, 600);
}

TEST(Runner, MalformedScriptLineStopsBeforeTheGameWithScriptAndLine) {
    DemoRun run;
    EXPECT_EQ(run.Run("# a comment\n10 tap SPACE\n\n20 jump high\n30 dump x\n"), 2);
    EXPECT_NE(run.errors().find(run.dir() + "/script.txt:4:"), std::string::npos) << run.errors();
    EXPECT_FALSE(run.HasDump("x"));
    // The game never started: no log was written.
    EXPECT_EQ(run.File("log.txt"), "");

    DemoRun unknownKey;
    EXPECT_EQ(unknownKey.Run("10 tap SPACEBAR\n"), 2);
    EXPECT_NE(unknownKey.errors().find("script.txt:1:"), std::string::npos) << unknownKey.errors();
}

TEST(Runner, TimedemoReportsGameModeFramesApartFromMenuFrames) {
    // The intro and the menu only: no game-mode figure.
    DemoRun menuOnly;
    const auto before = std::chrono::steady_clock::now();
    ASSERT_EQ(menuOnly.Run("40 quit\n", {"--timedemo"}), 0) << menuOnly.errors();
    const double wholeRunMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - before).count();
    const std::string menuReport = menuOnly.File("stdout.txt");
    EXPECT_NE(menuReport.find("work time median"), std::string::npos) << menuReport;
    EXPECT_EQ(menuReport.find("game-mode"), std::string::npos) << menuReport;
    // The start-up figure is in milliseconds and lies within the run (the process's start is known
    // to a clock tick, 10 ms).
    const size_t startup = menuReport.find("start-up to first frame ");
    ASSERT_NE(startup, std::string::npos) << menuReport;
    double startupMs = -1;
    ASSERT_EQ(std::sscanf(menuReport.c_str() + startup, "start-up to first frame %lf ms", &startupMs), 1);
    EXPECT_GT(startupMs, 0.0);
    EXPECT_LE(startupMs, wholeRunMs + 20.0);

    // Into level 5 by its password, then a while in the game.
    ScriptBuilder script;
    script.Tap(2, "SPACE").Tap(5, "SPACE").Tap(8, "SPACE").Mouse(10, 511, 237).Click(12, 511, 237);
    const int typed = script.Type(16, "KUCUR");
    script.Tap(typed + 1, "RETURN").Quit(typed + 80);
    DemoRun game;
    ASSERT_EQ(game.Run(script.Text(), {"--timedemo"}), 0) << game.errors();
    const std::string report = game.File("stdout.txt");
    long frames = 0;
    size_t gameFrames = 0;
    ASSERT_EQ(std::sscanf(report.c_str(), "frames %ld", &frames), 1) << report;
    const size_t at = report.find("game-mode work time median");
    ASSERT_NE(at, std::string::npos) << report;
    const size_t count = report.find("frames ", at);
    ASSERT_NE(count, std::string::npos) << report;
    ASSERT_EQ(std::sscanf(report.c_str() + count, "frames %zu", &gameFrames), 1) << report;
    EXPECT_GT(gameFrames, 0u);
    EXPECT_LT(gameFrames, static_cast<size_t>(frames));
}

TEST(Runner, MissingScriptExitsWithStatusTwo) {
    DemoRun run;
    EXPECT_EQ(run.RunFile(run.dir() + "/no-such-script.txt"), 2);
    EXPECT_NE(run.errors().find("no-such-script.txt"), std::string::npos) << run.errors();
}

TEST(StartLog, NormalStartWritesBannerSettingsDeviceAndInputLinesInOrder) {
    DemoConfig config;
    config.sound = 0;
    DemoRun run(config);
    ASSERT_EQ(run.Run("", {"--frames", "2"}), 0) << run.errors();
    const std::string log = run.File("log.txt");

    const std::string stars(44, '*');
    const std::string bannerHead = stars + "\n<<<<<<<<<<<<<<<Z.R.M.7 Engine>>>>>>>>>>>>>>>\n" + stars + "\n";
    ASSERT_EQ(log.compare(0, bannerHead.size(), bannerHead), 0) << log.substr(0, 300);
    // Then a credit line of the maker's choosing and the closing asterisks with an empty line.
    size_t at = bannerHead.size();
    const size_t creditEnd = log.find('\n', at);
    ASSERT_NE(creditEnd, std::string::npos);
    EXPECT_GT(creditEnd, at) << "the credit line is empty";
    at = creditEnd + 1;
    ASSERT_EQ(log.compare(at, stars.size() + 2, stars + "\n\n"), 0) << log.substr(at, 60);
    at += stars.size() + 2;

    const size_t versionEnd = log.find('\n', at);
    const std::string version = log.substr(at, versionEnd - at);
    EXPECT_EQ(version.rfind("Voltrana v1.16", 0), 0u) << version;
    at = versionEnd + 1;

    const std::string expected =
        ">>>Inicializijem ENGINE\n"
        "Nastavenia:\n"
        "   Sirka: 800  Vyska: 600\n"
        "   Windowed: 0 \n"
        "   Max: 800.00  Min: 10.00\n"
        "   BackColor: 0.000000 0.000000 0.000000\n"
        "   Format Obrazovky: 21 \n"
        "   Format Textur: 21 \n"
        "g_pD3D vytvorene\n"
        "inicializacia g_pD3D uspesna\n"
        "Nastavujem Direct Input\n"
        "   m_pDirectInput vytvoreny\n"
        "   Klavesnica nastavena\n"
        "   Format klavesnice nastaveny\n"
        "   cooperative level pre klavesnicu nastaveny\n"
        "   Acquire klavesnica\n"
        "   Mys nastavena\n"
        "   Format myse nastavena\n"
        "   cooperative level pre mys nastaveny\n"
        "   Acquire mys\n";
    EXPECT_EQ(log.substr(at, expected.size()), expected);
    EXPECT_EQ(log.find("Inicializujem Zvuk"), std::string::npos);
}

TEST(StartLog, SoundOnLogsTheAudioStartAndASecondStartReplacesTheLog) {
    DemoRun run;  // sound on
    ASSERT_EQ(run.Run("", {"--frames", "1"}), 0) << run.errors();
    const std::string first = run.File("log.txt");
    EXPECT_NE(first.find("   Acquire mys\n"), std::string::npos);
    EXPECT_NE(first.find("Inicializujem Zvuk\n"), std::string::npos);
    ASSERT_EQ(run.Run("", {"--frames", "1"}), 0) << run.errors();
    EXPECT_EQ(run.File("log.txt"), first);
}
