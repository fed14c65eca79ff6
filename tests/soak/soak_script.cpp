#include "soak/soak_script.h"

#include <random>
#include <sstream>
#include <string>

#include "game/level_table.h"
#include "menu/level_passwords.h"

namespace {

// Places the script clicks at. Menu places are in the virtual 800 x 600 screen, scaled to the back
// buffer; the level dialog's are pixels from the screen centre.
struct Point {
    float x, y;
    bool dialog;
};
constexpr Point kNewGame{479, 181, false}, kPassword{511, 237.5f, false}, kCredits{542, 295, false};
constexpr Point kOptions{576, 354, false};
constexpr Point kResolutionValue{577, 225, false}, kDetailValue{577, 309, false},
    kSoundValue{573, 389, false};
constexpr Point kOptionsOk{602, 461, false}, kOptionsCancel{649, 500, false};
// The level dialog's buttons; OK is clicked low in its rectangle, below the main menu's exit button,
// so that a click meant for the dialog can never end the run if the game is elsewhere.
constexpr Point kDialogRestart{-165, 128, true}, kDialogExit{0, 128, true}, kDialogOk{115, 145, true};
constexpr Point kEmpty{100, 100, false};

int FirstNightLevel() {
    for (int level = 1; level <= kLevelCount; ++level)
        if (kLevels[level - 1].light == LevelLight::Night) return level;
    return 1;
}

class Writer {
public:
    Writer(uint32_t seed, long end, int width, int height)
        : rng_(seed), end_(end), width_(width), height_(height) {}

    // No visit starts in the last frames, so that the run ends at rest in the main menu.
    bool Full() const { return f_ >= end_ - 1500; }
    void Wait(long frames) { f_ += frames; }
    int Rand(int lo, int hi) { return lo + static_cast<int>(rng_() % static_cast<uint32_t>(hi - lo + 1)); }
    void Line(const std::string& text) { out_ << f_ << ' ' << text << '\n'; }
    std::string Pixel(Point p) const {
        const int x = p.dialog ? width_ / 2 + static_cast<int>(p.x) : static_cast<int>(p.x * width_ / 800.0f);
        const int y =
            p.dialog ? height_ / 2 + static_cast<int>(p.y) : static_cast<int>(p.y * height_ / 600.0f);
        return std::to_string(x) + " " + std::to_string(y);
    }
    // The main menu's exit button (virtual 606, 411 and 243 x 53, with a margin), where no click may land.
    bool OnExitButton(int x, int y) const {
        const float vx = x * 800.0f / width_, vy = y * 600.0f / height_;
        return vx > 470 && vx < 740 && vy > 375 && vy < 447;
    }
    void Click(Point p) {
        Line("mouse " + Pixel(p));
        Wait(2);
        Line("click " + Pixel(p));
        Wait(3);
    }
    // A dump in the middle of a visit, named after the screen: the test checks where the run was.
    // It is taken after its frame, so the script's next input comes a frame later.
    void Checkpoint(const std::string& screen) {
        Line("dump " + screen + "-" + std::to_string(++visits_));
        Wait(1);
    }
    void Tap(const std::string& key, long after) {
        Line("tap " + key);
        Wait(after);
    }
    void Hold(const std::string& key, long frames) {
        Line("key " + key + " down");
        Wait(frames);
        Line("key " + key + " up");
        Wait(2);
    }

    void Credits() {
        Click(kCredits);
        Wait(Rand(40, 200));
        Checkpoint("credits");
        const int way = Rand(0, 2);
        if (way == 0)
            Tap("ESCAPE", 60);
        else if (way == 1)
            Tap("RETURN", 60);
        else
            Click(kEmpty), Wait(60);
    }

    void Options() {
        Click(kOptions);
        Wait(40);
        Checkpoint("options");
        for (int i = Rand(0, 6); i > 0; --i) {
            const Point values[] = {kResolutionValue, kDetailValue, kSoundValue};
            Click(values[Rand(0, 2)]);
            Wait(Rand(5, 30));
        }
        const int way = Rand(0, 2);
        if (way == 0) {
            Click(kOptionsOk);  // writes config.ini and raises the restart notice
            Wait(60);
            Click(kEmpty);
        } else if (way == 1) {
            Click(kOptionsCancel);
        } else {
            Tap("ESCAPE", 2);
        }
        Wait(60);
    }

    // Types `level`'s password, or when 0 a random level's or random letters (sometimes cancelled);
    // returns true when the typed word starts a level.
    bool Password(int level = 0) {
        Click(kPassword);
        Wait(30);
        const bool forced = level > 0;
        const bool valid = forced || Rand(0, 2) == 0;
        if (level == 0) level = Rand(1, kLevelCount);
        std::string word = kLevelPasswordWords[level - 1];
        if (!valid)
            for (char& c : word) c = static_cast<char>('A' + Rand(0, 25));
        for (int i = Rand(0, 2); i > 0; --i) Tap("BACK", 4);  // a little editing first
        for (char c : word) Tap(std::string(1, c), 6);
        Checkpoint("password");
        if (!forced && Rand(0, 4) == 0) {
            Hold("ESCAPE", 3);  // cancelled after all
            Wait(40);
            return false;
        }
        Hold("RETURN", 3);
        Wait(40);
        if (valid) return true;
        Click(kEmpty);  // closes the invalid-password notice
        Wait(40);
        return false;
    }

    void RandomClickInGame() {
        int x, y;
        do {
            x = Rand(5, width_ - 6);
            y = Rand(5, height_ - 6);
        } while (OnExitButton(x, y));
        Line("mouse " + std::to_string(x) + " " + std::to_string(y));
        Wait(2);
        Line("click " + std::to_string(x) + " " + std::to_string(y));
        Wait(3);
    }

    void Play() {
        Wait(400);  // the fade-in, then the level dialog
        Click(Rand(0, 1) ? kDialogOk : kDialogRestart);
        Wait(20);
        Checkpoint("play");
        for (int round = Rand(5, 40); round > 0 && !Full(); --round) {
            switch (Rand(0, 7)) {
                case 0:
                    RandomClickInGame();
                    break;
                case 1: {  // push with the right button at a random point
                    Line("mouse " + std::to_string(Rand(0, width_ - 1)) + " " +
                         std::to_string(Rand(0, height_ - 1)));
                    Wait(1);
                    Line("button right down");
                    Wait(Rand(5, 80));
                    Line("button right up");
                    Wait(2);
                    break;
                }
                case 2:
                    Hold(Rand(0, 1) ? "UP" : "DOWN", Rand(5, 60));
                    break;
                case 3:
                    Tap("SPACE", Rand(2, 20));
                    break;
                case 4:
                    Hold(Rand(0, 1) ? "LEFT" : "RIGHT", Rand(5, 50));
                    break;
                case 5:
                    Hold(Rand(0, 1) ? "RCONTROL" : "RSHIFT", Rand(5, 50));
                    break;
                case 6:
                    Hold("F", Rand(5, 30));
                    break;
                default:  // restart the level from its dialog
                    Tap("ESCAPE", 20);
                    Click(Rand(0, 3) ? kDialogRestart : kDialogOk);
                    Wait(20);
                    break;
            }
            Wait(Rand(0, 30));
        }
        Tap("ESCAPE", 20);
        Click(kDialogExit);  // fades back to the main menu
        Wait(250);
        Checkpoint("menu");
    }

    std::string Build(long earlyFrame) {
        // The intro screens, each skipped or left to run out.
        for (int i = 0; i < 3; ++i) Tap("SPACE", Rand(60, 400));
        Wait(200);
        // Every screen once, with a level by night and one by day, before the early memory sample:
        // what is built on first use (the renderer's programs for either light, the screens'
        // textures) is then in place when memory is compared.
        Credits();
        Options();
        if (Password(FirstNightLevel())) Play();
        Click(kNewGame);
        Play();
        // Memory is sampled in the main menu (where every visit begins and ends), the first time it
        // is up after frame `earlyFrame` and after every further 10,000 frames, so that samples
        // compare the same screen.
        long nextSample = earlyFrame;
        while (!Full()) {
            if (f_ >= nextSample) {
                Line(nextSample == earlyFrame ? "memory early"
                                              : "memory at" + std::to_string(nextSample + 1));
                nextSample += 10000;
            }
            switch (Rand(0, 4)) {
                case 0:
                    Credits();
                    break;
                case 1:
                    Options();
                    break;
                case 2:
                    if (Password()) Play();
                    break;
                default:
                    Click(kNewGame);
                    Play();
                    break;
            }
        }
        f_ = end_ - 1;
        Line("memory end");
        Line("dump end");
        Wait(1);
        Line("quit");
        return out_.str();
    }

private:
    std::mt19937 rng_;
    long end_;
    int width_, height_;
    long f_ = 0;
    int visits_ = 0;
    std::ostringstream out_;
};

}  // namespace

std::string MakeSoakScript(uint32_t seed, long frames, long earlyFrame, int width, int height) {
    return Writer(seed, frames, width, height).Build(earlyFrame);
}
