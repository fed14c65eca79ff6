// The scripted runner itself, shots at every screen size, and what a normal start leaves in log.txt.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <regex>

#include "e2e/e2e_harness.h"

namespace {

TEST(Runner, BadScriptsOrOptionsStopBeforeTheGameWithStatusTwoAndTheirLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"# a comment\n10 tap SPACE\n\n20 jump high\n30 dump x\n", "script.txt:4:"},
        {"10 tap SPACEBAR\n", "script.txt:1:"},
        {nullptr, "no-such-script.txt"},
        {"10 quit\n", "--without needs the name of a speed lever"}};
    for (const auto& [script, message] : cases) {
        GameFolder folder(ConfigText().c_str());
        ProcessSpec spec = folder.DemoSpec(
            script ? script : "",
            *message == '-' ? std::vector<std::string>{"--without", "none"} : std::vector<std::string>{});
        if (!script) spec.argv[1] = folder.File("no-such-script.txt");
        const ProcessResult r = RunProcess(spec);
        EXPECT_EQ(r.exitCode, 2) << message;
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
        EXPECT_FALSE(FileExists(folder.File("log.txt"))) << "the game started";
    }
}

// At 1024 x 768 a click on the new-game button scaled from 800 x 600 opens the level dialog.
TEST(Runner, ShotsHaveTheScreenSizeAndClicksScaleWithIt) {
    ScriptBuilder s;
    s.SkipIntro().Click(25, kNewGameX * 1024 / 800, kNewGameY * 768 / 600).Shot(75, "dialog");
    GameFolder folder(ConfigText(2, 1024, 768).c_str());
    RunDemo(folder, s.Dump(75, "dialog").Add(76, "quit"));
    ExpectDumps(folder, R"({"dialog": {"/levelDialogShown": 1, "/fps": 30.0}})");
    const Picture shot = folder.Shot("dialog");
    ASSERT_EQ(shot.width, 1024);
    EXPECT_EQ(shot.height, 768);
    EXPECT_NE(shot.At(512, 284), 0u) << "no dialog in the middle";
}

TEST(Runner, TimedemoReportsStartUpAndGameModeFramesApart) {
    // Into level 5 by its password, then a while in the game.
    ScriptBuilder s;
    s.SkipIntro().Mouse(10, kPasswordX, kPasswordY).Click(12, kPasswordX, kPasswordY);
    s.Tap(s.Type(16, "KUCUR") + 1, "RETURN").Add(100, "quit");
    GameFolder folder(ConfigText(2).c_str());
    const auto before = std::chrono::steady_clock::now();
    const ProcessResult r = RunDemo(folder, s, {"--timedemo"});
    const double runMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - before).count();
    // The number after `label` on or after the first line that starts with `line`; -1 when missing.
    auto number = [&](const char* line, const std::string& label) {
        const size_t at = r.out.find(label, r.out.find(line));
        return at == std::string::npos ? -1.0 : std::atof(r.out.c_str() + at + label.size());
    };
    const double frames = number("frames", "frames "), gameFrames = number("game-mode work", "frames ");
    const double startupMs = number("start-up", "start-up to first frame ");
    EXPECT_GT(startupMs, 0.0) << r.out;
    EXPECT_LE(startupMs, runMs + 20.0);  // the process's start is known to a clock tick
    EXPECT_GT(gameFrames, 0.0) << r.out;
    EXPECT_GT(number("game-mode fragments", "per pixel "), 0.5) << r.out;
    EXPECT_LT(gameFrames, frames);
}

TEST(StartLog, BannerSettingsDeviceAndInputLinesInOrderReplacedAtTheNextStart) {
    GameFolder folder(ConfigText(1, 800, 600, 0).c_str());
    RunDemo(folder, ScriptBuilder(), {"--frames", "2"});
    const std::string log = ReadFileBytes(folder.File("log.txt"));
    // The banner in asterisks, a credit line of the maker's choosing, an empty line, the version.
    const std::regex banner(
        R"(\*{44}\n<{15}Z\.R\.M\.7 Engine>{15}\n\*{44}\n[^\n]+\n\*{44}\n\nVoltrana v1\.16[^\n]*\n)");
    std::smatch head;
    ASSERT_TRUE(std::regex_search(log, head, banner, std::regex_constants::match_continuous)) << log;
    const std::string expected =
        ">>>Inicializijem ENGINE\nNastavenia:\n   Sirka: 800  Vyska: 600\n   Windowed: 0 \n"
        "   Max: 800.00  Min: 10.00\n   BackColor: 0.000000 0.000000 0.000000\n   Format Obrazovky: 21 \n"
        "   Format Textur: 21 \ng_pD3D vytvorene\ninicializacia g_pD3D uspesna\nNastavujem Direct Input\n"
        "   m_pDirectInput vytvoreny\n   Klavesnica nastavena\n   Format klavesnice nastaveny\n"
        "   cooperative level pre klavesnicu nastaveny\n   Acquire klavesnica\n   Mys nastavena\n"
        "   Format myse nastavena\n   cooperative level pre mys nastaveny\n   Acquire mys\n";
    EXPECT_EQ(log.substr(head.length(), expected.size()), expected);
    EXPECT_TRUE(log.find("Inicializujem Zvuk") == std::string::npos &&
                log.find(" Subor: models/sceneme.geo\n") != std::string::npos)
        << "sound is off; the medium-detail town is loaded";

    // With sound on and 16 bits a pixel the audio start and the 16-bit formats are logged, and a second
    // start writes the same log anew.
    WriteFileBytes(folder.File("config.ini"),
                   std::regex_replace(ConfigText(), std::regex("Format 1"), "Format 0"));
    RunDemo(folder, ScriptBuilder(), {"--frames", "1"});
    const std::string first = ReadFileBytes(folder.File("log.txt"));
    EXPECT_TRUE(first.find("   Acquire mys\n") < first.find("Inicializujem Zvuk\n") &&
                first.find("   Format Obrazovky: 23 \n   Format Textur: 25 \n") != std::string::npos)
        << first;
    RunDemo(folder, ScriptBuilder(), {"--frames", "1"});
    EXPECT_EQ(ReadFileBytes(folder.File("log.txt")), first);
}

}  // namespace
