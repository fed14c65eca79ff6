// The game in hostile surroundings: no audio device, no display, a folder it cannot write, missing
// content, nonsense settings. It either runs with what it has or stops with one clear line; it never
// crashes and never hangs.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <nlohmann/json.hpp>
#include <string>

#include "support/test_support.h"

namespace {

// A small, quick set-up: 640 x 480, the low-detail town, sound on.
const char* const kSmallConfig =
    "SceneDetail 2\nScreenWidth 640\nScreenHeight 480\nScreenFormat 1\nSoundEnabled 1";

// Past the intros into level 1, its dialog closed, a few pushes, the dialog's exit back to the main
// menu, then a dump. Pixels of a 640 x 480 back buffer.
const char* const kPlayAndLeave =
    "2 tap SPACE\n4 tap SPACE\n6 tap SPACE\n8 mouse 383 145\n10 click 383 145\n"  // new game
    "60 click 520 380\n"                                                          // the level dialog's OK
    "62 mouse 300 300\n63 button right down\n80 button right up\n82 key UP down\n95 key UP up\n100 tap "
    "SPACE\n"
    "105 tap ESCAPE\n110 click 320 368\n"  // the dialog's exit: fade back to the menu
    "170 dump end\n171 quit\n";
// Into the first level and out again, for settings that may not run at all.
const char* const kShortPlay =
    "2 tap SPACE\n4 tap SPACE\n6 tap SPACE\n10 click 383 145\n40 dump end\n41 quit\n";

TEST(BadEnvironment, PlaysOnWithTheNullAudioDriverAndWithAnUnknownOne) {
    for (const char* driver : {"null", "no-such-driver"}) {
        GameFolder folder(kSmallConfig);
        ProcessSpec spec = folder.DemoSpec(kPlayAndLeave);
        spec.set.push_back({"ALSOFT_DRIVERS", driver});
        spec.set.push_back({"SDL_AUDIODRIVER", driver});
        const ProcessResult r = RunProcess(spec);
        ASSERT_TRUE(r.EndedCleanly()) << driver << ": " << r.Describe();
        EXPECT_EQ(r.exitCode, 0) << driver << ": " << r.Describe();
        const nlohmann::json dump = folder.Dump("end");
        ASSERT_TRUE(dump.is_object()) << driver;
        EXPECT_EQ(dump["screens"]["mainMenu"], 1) << driver;
    }
}

TEST(BadEnvironment, WithoutADisplayTheGameStopsWithOneLine) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> set;
        std::vector<std::string> unset;
    };
    const Case cases[] = {
        {"an unknown video driver", {{"SDL_VIDEODRIVER", "invalid"}}, {}},
        {"no X or Wayland display", {}, {"SDL_VIDEODRIVER", "DISPLAY", "WAYLAND_DISPLAY"}},
    };
    for (const Case& c : cases) {
        GameFolder folder;
        WriteFileBytes(folder.File("log.txt"), "a previous run's log\n");
        ProcessSpec spec;
        spec.argv = {GameExe()};
        spec.folder = folder.path();
        spec.set = c.set;
        spec.set.push_back({"ALSOFT_DRIVERS", "null"});
        // A runtime folder as a login session has one, so that the Wayland probe fails quietly.
        spec.set.push_back({"XDG_RUNTIME_DIR", folder.path()});
        spec.unset = c.unset;
        spec.timeoutSeconds = 60;
        const ProcessResult r = RunProcess(spec);
        ASSERT_TRUE(r.EndedCleanly()) << c.what << ": " << r.Describe();
        EXPECT_NE(r.exitCode, 0) << c.what;
        ASSERT_EQ(Lines(r.err).size(), 1u) << c.what << ": " << r.Describe();
        EXPECT_NE(r.err.find("voltrana"), std::string::npos) << c.what << ": " << r.err;
        // The log tells this run's story: the banner and why it stopped.
        const std::string log = ReadFileBytes(folder.File("log.txt"));
        EXPECT_EQ(log.rfind("********************************************\n", 0), 0u)
            << c.what << ": " << log;
        EXPECT_NE(log.find("Nepodarilo sa vytvorit okno"), std::string::npos) << c.what << ": " << log;
    }
}

TEST(BadEnvironment, ReadOnlyFolderStillPlaysAndTheOptionsScreenReturnsToTheMenu) {
    GameFolder folder(kSmallConfig);
    const std::string config = ReadFileBytes(folder.File("config.ini"));
    // Options, then its OK: the file cannot be written, the notice shows, a click closes it.
    const std::string script =
        std::string(kPlayAndLeave).substr(0, std::string(kPlayAndLeave).find("170 dump")) +
        "175 mouse 461 283\n180 click 461 283\n185 mouse 482 369\n190 click 482 369\n192 dump notice\n"
        "200 click 100 100\n210 dump end\n211 quit\n";
    ProcessSpec spec = folder.DemoSpec(script);
    chmod(folder.path().c_str(), 0555);
    spec.asUnprivileged = true;
    const ProcessResult r = RunProcess(spec);
    chmod(folder.path().c_str(), 0755);
    ASSERT_TRUE(r.EndedCleanly()) << r.Describe();
    EXPECT_EQ(r.exitCode, 0) << r.Describe();
    EXPECT_FALSE(FileExists(folder.File("log.txt")));
    EXPECT_EQ(ReadFileBytes(folder.File("config.ini")), config);
    const nlohmann::json notice = folder.Dump("notice");
    ASSERT_TRUE(notice.is_object()) << r.Describe();
    EXPECT_EQ(notice["messageShown"], 1);
    EXPECT_EQ(notice["messageKind"], 0);
    const nlohmann::json dump = folder.Dump("end");
    ASSERT_TRUE(dump.is_object()) << r.Describe();
    EXPECT_EQ(dump["frame"], 210);
    EXPECT_EQ(dump["screens"]["mainMenu"], 1);
    EXPECT_EQ(dump["screens"]["options"], 0);
    EXPECT_EQ(dump["messageShown"], 0);
}

TEST(BadEnvironment, MissingModelsOrSoundsStillPlay) {
    for (const bool models : {false, true}) {
        GameFolder folder(kSmallConfig, models, !models);
        const ProcessResult r = RunProcess(folder.DemoSpec(kPlayAndLeave));
        ASSERT_TRUE(r.EndedCleanly()) << (models ? "no sounds: " : "no models: ") << r.Describe();
        EXPECT_EQ(r.exitCode, 0) << r.Describe();
        const nlohmann::json dump = folder.Dump("end");
        ASSERT_TRUE(dump.is_object());
        EXPECT_EQ(dump["screens"]["mainMenu"], 1);
        const std::string log = ReadFileBytes(folder.File("log.txt"));
        if (!models) {
            EXPECT_NE(log.find("Subor sa nenasiel"), std::string::npos);
        }
    }
}

TEST(BadEnvironment, NonsenseSettingsFallBackToPlayableOnes) {
    const std::string binary = [] {
        std::string bytes;
        for (int i = 0; i < 4096; ++i) bytes.push_back(static_cast<char>((i * 7919 + 13) & 0xff));
        return bytes;
    }();
    const std::string configs[] = {
        "SceneDetail 0\nScreenWidth 0\nScreenHeight 0\nScreenFormat 1\nSoundEnabled 1",
        "SceneDetail 0\nScreenWidth 100000\nScreenHeight 100000\nScreenFormat 1\nSoundEnabled 1",
        "SceneDetail -3\nScreenWidth 800\nScreenHeight 600\nScreenFormat 1\nSoundEnabled 1",
        "SceneDetail 1\nScreenWidth 800\nScreenHeight 600\nScreenFormat 7\nSoundEnabled 1",
        "SceneDetail 99999999999\nScreenWidth -2147483648\nScreenHeight 2147483647\nScreenFormat -1\n"
        "SoundEnabled 4294967296",
        "SceneDetail 2\nScreenWidth -800\nScreenHeight -600\nScreenFormat 0\nSoundEnabled -1",
        "SceneDetail 2\nScreenWidth 1\nScreenHeight 1\nScreenFormat 0\nSoundEnabled 0",
        "",
        binary,
    };
    for (const std::string& config : configs) {
        GameFolder folder(config.c_str());
        if (config.size() != std::string(config.c_str()).size())
            WriteFileBytes(folder.File("config.ini"), config);
        const ProcessResult r = RunProcess(folder.DemoSpec(kShortPlay));
        SCOPED_TRACE(config.size() > 200 ? "binary config" : config);
        ASSERT_TRUE(r.EndedCleanly()) << r.Describe();
        EXPECT_EQ(r.exitCode, 0) << r.Describe();
        EXPECT_TRUE(folder.Dump("end").is_object()) << r.Describe();
    }
}

}  // namespace
