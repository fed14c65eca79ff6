// The game in hostile surroundings: no audio device, no display, a folder it cannot write, missing
// content, nonsense settings. It either runs with what it has or stops with one clear line; it never
// crashes and never hangs.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "support/test_support.h"

namespace {

// A small, quick set-up: 640 x 480, the low-detail town, sound on.
const char* const kSmallConfig =
    "SceneDetail 2\nScreenWidth 640\nScreenHeight 480\nScreenFormat 1\nSoundEnabled 1";

// Past the intros into level 1, its dialog closed, a few pushes, the dialog's exit back to the main
// menu. Pixels of a 640 x 480 back buffer.
const std::string kPlayAndLeave =
    "2 tap SPACE\n4 tap SPACE\n6 tap SPACE\n8 mouse 383 145\n10 click 383 145\n"  // new game
    "60 click 520 380\n"                                                          // the level dialog's OK
    "62 mouse 300 300\n63 button right down\n80 button right up\n82 key UP down\n95 key UP up\n"
    "100 tap SPACE\n105 tap ESCAPE\n110 click 320 368\n";  // the dialog's exit: fade back to the menu

// Runs the demo; it must end cleanly with status 0 and dump `name` on the main menu.
void ExpectPlays(const GameFolder& folder, const ProcessSpec& spec, const std::string& what,
                 const char* name = "end") {
    const ProcessResult r = RunProcess(spec);
    EXPECT_TRUE(r.EndedCleanly() && r.exitCode == 0) << what << ": " << r.Describe();
    const nlohmann::json dump = folder.Dump(name);
    EXPECT_TRUE(dump.is_object() && dump["screens"]["mainMenu"] == 1) << what << ": " << r.Describe();
}

// The content linked file by file, with FIFOs that nobody writes in place of the given files.
void LinkContentWithFifos(const GameFolder& folder, std::initializer_list<const char*> fifos) {
    namespace fs = std::filesystem;
    for (const char* kind : {"models", "sounds"}) {
        fs::create_directory(folder.File(kind));
        for (const auto& e : fs::directory_iterator(fs::path(VOLTRANA_GAME_DIR) / kind))
            fs::create_symlink(e.path(), fs::path(folder.File(kind)) / e.path().filename());
    }
    for (const char* name : fifos) fs::remove(folder.File(name)), mkfifo(folder.File(name).c_str(), 0644);
}

// The null audio driver is what every scripted run uses; here an unknown one, content left out, and
// FIFOs that nobody writes in place of a model, the town and a sound.
TEST(BadEnvironment, PlaysOnWithAnUnknownAudioDriverWithoutModelsOrSoundsAndWithFifosForFiles) {
    const struct {
        const char* what;
        bool models, sounds;
    } cases[] = {{"an unknown audio driver", true, true},
                 {"no models", false, true},
                 {"no sounds", true, false},
                 {"FIFOs", false, false}};
    for (const auto& c : cases) {
        GameFolder folder(kSmallConfig, c.models, c.sounds);
        if (!c.models && !c.sounds)
            LinkContentWithFifos(folder, {"models/karosa.shd", "models/scenelo.geo", "sounds/klik.wav"});
        ProcessSpec spec = folder.DemoSpec(kPlayAndLeave + "170 dump end\n171 quit\n");
        if (c.models && c.sounds)
            spec.set.insert(spec.set.end(),
                            {{"ALSOFT_DRIVERS", "no-such-driver"}, {"SDL_AUDIODRIVER", "no-such"}});
        ExpectPlays(folder, spec, c.what);
        const std::string log = ReadFileBytes(folder.File("log.txt"));
        EXPECT_EQ(log.find("Subor sa nenasiel") != std::string::npos, !c.models) << c.what;
        EXPECT_EQ(log.find("klik.wav sa nepodarilo nacitat") != std::string::npos, !c.sounds) << c.what;
    }
}

TEST(BadEnvironment, WithoutADisplayTheGameStopsWithOneLine) {
    for (const bool unknownDriver : {true, false}) {
        GameFolder folder;
        WriteFileBytes(folder.File("log.txt"), "a previous run's log\n");
        ProcessSpec spec{
            {GameExe()}, folder.path(), {}, {"SDL_VIDEODRIVER", "DISPLAY", "WAYLAND_DISPLAY"}, 60};
        if (unknownDriver) spec = {{GameExe()}, folder.path(), {{"SDL_VIDEODRIVER", "invalid"}}, {}, 60};
        // A runtime folder as a login session has one, so that the Wayland probe fails quietly.
        spec.set.insert(spec.set.end(), {{"ALSOFT_DRIVERS", "null"}, {"XDG_RUNTIME_DIR", folder.path()}});
        const ProcessResult r = RunProcess(spec);
        SCOPED_TRACE(unknownDriver ? "an unknown video driver" : "no X or Wayland display");
        ASSERT_TRUE(r.EndedCleanly()) << r.Describe();
        EXPECT_NE(r.exitCode, 0);
        ASSERT_EQ(Lines(r.err).size(), 1u) << r.Describe();
        EXPECT_NE(r.err.find("voltrana"), std::string::npos) << r.err;
        // The log tells this run's story: the banner and why it stopped.
        const std::string log = ReadFileBytes(folder.File("log.txt"));
        EXPECT_EQ(log.rfind("********************************************\n", 0), 0u) << log;
        EXPECT_NE(log.find("Nepodarilo sa vytvorit okno"), std::string::npos) << log;
    }
}

// Options, then its OK: config.ini cannot be written, the notice shows, a click closes it.
TEST(BadEnvironment, ReadOnlyFolderStillPlaysAndTheOptionsScreenReturnsToTheMenu) {
    GameFolder folder(kSmallConfig);
    const std::string config = ReadFileBytes(folder.File("config.ini"));
    ProcessSpec spec =
        folder.DemoSpec(kPlayAndLeave +
                        "175 mouse 461 283\n180 click 461 283\n185 mouse 482 369\n190 click 482 369\n"
                        "192 dump notice\n200 click 100 100\n210 dump end\n211 quit\n");
    chmod(folder.path().c_str(), 0555);
    spec.asUnprivileged = true;
    ExpectPlays(folder, spec, "read-only"), chmod(folder.path().c_str(), 0755);
    EXPECT_FALSE(FileExists(folder.File("log.txt")));
    EXPECT_EQ(ReadFileBytes(folder.File("config.ini")), config);
    const nlohmann::json notice = folder.Dump("notice"), end = folder.Dump("end");
    ASSERT_TRUE(notice.is_object() && end.is_object());
    EXPECT_TRUE(notice["messageShown"] == 1 && notice["messageKind"] == 0) << notice;
    EXPECT_TRUE(end["frame"] == 210 && end["screens"]["options"] == 0 && end["messageShown"] == 0) << end;
}

// Each runs into the first level and back out of its fade.
TEST(BadEnvironment, NonsenseSettingsFallBackToPlayableOnes) {
    std::string binary(4096, '\0');
    for (int i = 0; i < 4096; ++i) binary[i] = static_cast<char>((i * 7919 + 13) & 0xff);
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
        GameFolder folder;
        WriteFileBytes(folder.File("config.ini"), config);
        const ProcessResult r =
            RunProcess(folder.DemoSpec("2 tap SPACE\n4 tap SPACE\n6 tap SPACE\n10 click 383 145\n"
                                       "40 dump end\n41 quit\n"));
        SCOPED_TRACE(config.size() > 200 ? "binary config" : config);
        ASSERT_TRUE(r.EndedCleanly()) << r.Describe();
        EXPECT_EQ(r.exitCode, 0) << r.Describe();
        EXPECT_TRUE(folder.Dump("end").is_object()) << r.Describe();
    }
}

}  // namespace
