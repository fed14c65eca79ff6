// A long run at 80 frames per second through every screen with random play: it must end cleanly
// and hold its memory steady between frame 10,000 and frame 100,000.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>
#include <string>

#include "game/level_table.h"
#include "menu/level_passwords.h"
#include "support/test_support.h"

namespace {

// The run's back buffer, and the places clicked on it: menu places from the virtual 800 x 600 screen,
// the level dialog's from the screen centre. The dialog's OK is clicked low in its rectangle, below the
// main menu's exit button, so that a click meant for the dialog can never end the run if the game is
// elsewhere.
constexpr int kWidth = 640, kHeight = 480;
struct Point {
    int x, y;
};
constexpr auto Menu = [](float x, float y) {
    return Point{int(x * kWidth / 800.0f), int(y * kHeight / 600.0f)};
};
constexpr auto Dialog = [](int x, int y) { return Point{kWidth / 2 + x, kHeight / 2 + y}; };
constexpr Point kNewGame = Menu(479, 181), kPassword = Menu(511, 237.5f), kCredits = Menu(542, 295),
                kOptions = Menu(576, 354), kOptionsOk = Menu(602, 461), kOptionsCancel = Menu(649, 500),
                kEmpty = Menu(100, 100), kDialogRestart = Dialog(-165, 128), kDialogExit = Dialog(0, 128),
                kDialogOk = Dialog(115, 145);
constexpr Point kOptionValues[] = {Menu(577, 225), Menu(577, 309), Menu(573, 389)};

// A demo script of `end` frames that wanders through every screen and plays levels with random input.
// Each visit leaves a dump named after the screen it means to be on ("credits-3"). Memory is reported
// in the main menu: as "early" the first time it is up after frame `early`, after every further 10,000
// frames, and as "end" after the last frame; then the script quits.
struct SoakScript {
    std::mt19937 rng;
    long end, f = 0;
    int visits = 0;
    std::ostringstream out;

    int Rand(int lo, int hi) { return lo + static_cast<int>(rng() % static_cast<uint32_t>(hi - lo + 1)); }
    void Line(const std::string& text, long wait = 0) {
        out << f << ' ' << text << '\n';
        f += wait;
    }
    static std::string At(Point p) { return std::to_string(p.x) + " " + std::to_string(p.y); }
    void Click(Point p, long wait = 0) {
        Line("mouse " + At(p), 2);
        Line("click " + At(p), 3 + wait);
    }
    void Checkpoint(const std::string& screen) { Line("dump " + screen + "-" + std::to_string(++visits), 1); }
    void Hold(const std::string& key, long frames, const std::string& kind = "key ") {
        Line(kind + key + " down", frames);
        Line(kind + key + " up", 2);
    }

    void Credits() {
        Click(kCredits, Rand(40, 200));
        Checkpoint("credits");
        const int way = Rand(0, 2);
        way == 2 ? Click(kEmpty, 60) : Line(way ? "tap RETURN" : "tap ESCAPE", 60);
    }
    void Options() {
        Click(kOptions, 40);
        Checkpoint("options");
        for (int i = Rand(0, 6); i > 0; --i) Click(kOptionValues[Rand(0, 2)], Rand(5, 30));
        const int way = Rand(0, 2);
        if (way == 0) Click(kOptionsOk, 60), Click(kEmpty);  // writes config.ini, closes the restart notice
        if (way == 1) Click(kOptionsCancel);
        if (way == 2) Line("tap ESCAPE", 2);
        f += 60;
    }
    // Types `level`'s password, or when 0 a random level's or random letters (sometimes cancelled);
    // true when the typed word starts a level.
    bool Password(int level = 0) {
        Click(kPassword, 30);
        const bool forced = level > 0, valid = forced || Rand(0, 2) == 0;
        std::string word = kLevelPasswordWords[(forced ? level : Rand(1, kLevelCount)) - 1];
        if (!valid)
            for (char& c : word) c = static_cast<char>('A' + Rand(0, 25));
        for (int i = Rand(0, 2); i > 0; --i) Line("tap BACK", 4);  // a little editing first
        for (char c : word) Line("tap " + std::string(1, c), 6);
        Checkpoint("password");
        const bool cancel = !forced && Rand(0, 4) == 0;
        Hold(cancel ? "ESCAPE" : "RETURN", 3);
        f += 40;
        if (!cancel && !valid) Click(kEmpty, 40);  // closes the invalid-password notice
        return !cancel && valid;
    }
    void Play() {
        f += 400;  // the fade-in, then the level dialog
        Click(Rand(0, 1) ? kDialogOk : kDialogRestart, 20);
        Checkpoint("play");
        static const char* kKeys[] = {"UP", "DOWN", "LEFT", "RIGHT", "RCONTROL", "RSHIFT", "F"};
        for (int round = Rand(5, 40); round > 0 && f < end - 1500; --round) {
            const int what = Rand(0, 7);
            Point p{};
            if (what == 0)  // a left click anywhere but on the main menu's exit button (with a margin)
                do p = {Rand(5, kWidth - 6), Rand(5, kHeight - 6)};
                while (p.x * 800 > 470 * kWidth && p.x * 800 < 740 * kWidth && p.y * 600 > 375 * kHeight &&
                       p.y * 600 < 447 * kHeight);
            if (what == 0) Click(p);
            if (what == 1) {                         // a push with the right button at a random point
                const int y = Rand(0, kHeight - 1);  // drawn first, as the script always was
                Line("mouse " + At({Rand(0, kWidth - 1), y}), 1);
                Hold("right", Rand(5, 80), "button ");
            }
            if (what == 2) Line("tap SPACE", Rand(2, 20));
            if (what == 3)
                Line("tap ESCAPE", 20), Click(Rand(0, 3) ? kDialogRestart : kDialogOk, 20);  // restart
            if (what > 3) Hold(kKeys[Rand(0, 6)], Rand(5, 50));
            f += Rand(0, 30);
        }
        Line("tap ESCAPE", 20);
        Click(kDialogExit, 250);  // fades back to the main menu
        Checkpoint("menu");
    }

    std::string Build(long early) {
        for (int i = 0; i < 3; ++i) Line("tap SPACE", Rand(60, 400));  // each intro skipped or run out
        f += 200;
        // Every screen once, with a level by night and one by day, before the early memory sample:
        // what is built on first use (the renderer's programs for either light, the screens' textures)
        // is then in place when memory is compared.
        Credits();
        Options();
        int night = 1;
        while (night < kLevelCount && kLevels[night - 1].light != LevelLight::Night) ++night;
        if (Password(night)) Play();
        Click(kNewGame), Play();
        // Every visit begins and ends in the main menu, so the samples compare the same screen. No
        // visit starts in the last frames, so that the run ends at rest there.
        for (long sample = early; f < end - 1500;) {
            if (f >= sample)
                Line(sample == early ? "memory early" : "memory at" + std::to_string(sample + 1)),
                    sample += 10000;
            const int visit = Rand(0, 4);
            if (visit == 0) Credits();
            if (visit == 1) Options();
            if (visit == 2 && Password()) Play();
            if (visit > 2) Click(kNewGame), Play();
        }
        f = end - 1;
        Line("memory end");
        Line("dump end", 1);
        Line("quit");
        return out.str();
    }
};

TEST(Soak, RandomPlayForAHundredThousandFramesEndsCleanlyWithSteadyMemory) {
    // VOLTRANA_SOAK_FRAMES shortens the run when trying the test out by hand.
    long frames = 100000;
    if (const char* env = std::getenv("VOLTRANA_SOAK_FRAMES")) frames = std::max(10000L, std::atol(env));
    // The early memory sample: after frame 10,000, or half-way through a run shortened by hand (before
    // frame 10,000 the driver may still be settling, so such a run can report growth that is none).
    const long early = std::min(9999L, frames / 2);
    // The small screen and the low-detail town keep the run short on a software renderer.
    GameFolder folder("SceneDetail 2\nScreenWidth 640\nScreenHeight 480\nScreenFormat 1\nSoundEnabled 1");
    ProcessSpec spec = folder.DemoSpec(SoakScript{std::mt19937(20240601), frames, 0, 0, {}}.Build(early),
                                       {"--fps", "80", "--seed", "7"});
    spec.timeoutSeconds = 4800;
    const ProcessResult r = RunProcess(spec);
    ASSERT_TRUE(r.EndedCleanly() && r.exitCode == 0) << r.Describe() << r.err;
    const nlohmann::json end = folder.Dump("end");
    ASSERT_TRUE(end.is_object() && end["frame"] == frames - 1) << "the run ended early";
    EXPECT_TRUE(end["active"] == 1 && end["screens"]["mainMenu"] == 1) << "the run must end in the main menu";

    // Where the checkpoints found the game: every kind of visit happened, and nearly every one found
    // the screen the script meant (random play may finish a level and shift a few).
    std::map<std::string, int> visits, hits;
    bool night = false, day = false;  // a level played by either light before the early sample
    for (const auto& entry : std::filesystem::directory_iterator(folder.File("out"))) {
        const std::string name = entry.path().stem().string(), kind = name.substr(0, name.find('-'));
        if (kind == "end") continue;
        const nlohmann::json d = ReadJson(entry.path().string());
        ASSERT_TRUE(d.is_object()) << name;
        const bool hit = kind == "play" ? d["active"] == 0 && d["levelDialogShown"] == 0
                                        : d["active"] == 1 &&
                                              d["screens"].value(kind == "menu" ? "mainMenu" : kind, 0) == 1;
        if (kind == "play" && hit && d["frame"] < early) (d["isNight"] == 1 ? night : day) = true;
        ++visits[kind], hits[kind] += hit;
    }
    // A shortened run (CI's 20,000 frames) makes fewer visits of each kind than the full one.
    for (const char* kind : {"credits", "options", "password", "play", "menu"}) {
        EXPECT_GE(visits[kind], frames >= 100000 ? 5 : 2) << kind;
        EXPECT_GE(hits[kind] * 10, visits[kind] * 9) << kind << ": " << hits[kind] << " of " << visits[kind];
    }
    // Memory is compared from a point where both lights have been drawn: what the renderer builds on
    // first use does not count as growth.
    EXPECT_TRUE(night && day) << "no level by night and by day before the early sample";

    // "memory NAME frame F rss BYTES heap BYTES" lines of the runner's output: frame, rss, heap by name.
    std::map<std::string, std::array<long long, 3>> samples;
    for (const std::string& line : Lines(r.out)) {
        char name[32];
        std::array<long long, 3> s;
        if (std::sscanf(line.c_str(), "memory %31s frame %lld rss %lld heap %lld", name, &s[0], &s[1],
                        &s[2]) == 4)
            samples[name] = s, std::printf("soak: %s\n", line.c_str());
    }
    ASSERT_TRUE(samples.count("early") && samples.count("end")) << r.out;
    const auto [frameA, rssA, heapA] = samples["early"];
    const auto [frameB, rssB, heapB] = samples["end"];
    EXPECT_TRUE(frameA >= early && frameA < early + 5000) << frameA;  // the first main menu after 10,000
    EXPECT_EQ(frameB, frames - 1);
    const double rssGrowth = (rssB - rssA) / 1048576.0, heapGrowth = (heapB - heapA) / 1048576.0;
    std::printf("soak: resident %.2f MiB -> %.2f MiB (%+.3f MiB), heap %+.3f MiB over %lld frames\n",
                rssA / 1048576.0, rssB / 1048576.0, rssGrowth, heapGrowth, frameB - frameA);
    EXPECT_LT(rssGrowth, 1.0);
    EXPECT_LT(heapGrowth, 1.0);
}

}  // namespace
