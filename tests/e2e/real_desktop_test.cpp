// The real game on a real X server (Xvfb), with no window manager and with openbox, driven the way
// xdotool and touchpads drive it: presses and clicks that go down and up at once. Window grabs are
// compared with the demo runner's shots of the same screens.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <thread>

#include "e2e/e2e_harness.h"

namespace {

const int kScreenWidth = 1280, kScreenHeight = 1024;  // 5:4, so a 4:3 picture has bars above and below

std::string Output(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
        pclose(p);
    }
    return out;
}

bool Have(const char* program) {
    return !Output(std::string("command -v ") + program + " 2>/dev/null").empty();
}

void Pause(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Polls until the condition holds or the seconds pass (generous: CI machines are busy).
bool WaitFor(const std::function<bool()>& condition, double seconds = 30) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        Pause(100);
    }
    return condition();
}

// A child process in the background, killed at the end of the test.
class Child {
public:
    Child(const std::vector<std::string>& argv, const std::string& folder, const std::string& display) {
        pid_ = fork();
        if (pid_ != 0) return;
        if (!folder.empty() && chdir(folder.c_str()) != 0) _exit(127);
        setenv("DISPLAY", display.c_str(), 1);
        setenv("ALSOFT_DRIVERS", "null", 1);
        unsetenv("SDL_VIDEODRIVER");
        unsetenv("WAYLAND_DISPLAY");
        freopen("/dev/null", "w", stdout);
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    ~Child() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        for (int i = 0; i < 50 && waitpid(pid_, nullptr, WNOHANG) == 0; ++i) Pause(20);
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    bool Running() const { return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0; }

private:
    pid_t pid_ = -1;
};

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
};

// One X server of its own, optionally with openbox on it.
class Desktop {
public:
    explicit Desktop(bool windowManager) {
        for (int n = 90 + getpid() % 400;; ++n) {
            if (access(("/tmp/.X11-unix/X" + std::to_string(n)).c_str(), F_OK) != 0 &&
                access(("/tmp/.X" + std::to_string(n) + "-lock").c_str(), F_OK) != 0) {
                display_ = ":" + std::to_string(n);
                break;
            }
        }
        const std::string size = std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight) + "x24";
        server_ = std::make_unique<Child>(
            std::vector<std::string>{"Xvfb", display_, "-screen", "0", size, "-nolisten", "tcp"}, "",
            display_);
        ready_ = WaitFor([&] { return !X("xdpyinfo >/dev/null 2>&1 && echo ok").empty(); }, 60);
        if (ready_ && windowManager) {
            manager_ = std::make_unique<Child>(std::vector<std::string>{"openbox"}, "", display_);
            ready_ = WaitFor(
                [&] {
                    return X("xprop -root _NET_SUPPORTING_WM_CHECK").find("window id") != std::string::npos;
                },
                60);
        }
    }
    bool ready() const { return ready_; }
    const std::string& display() const { return display_; }

    // A shell command run against this display.
    std::string X(const std::string& command) const { return Output("DISPLAY=" + display_ + " " + command); }

    // The game window's place on the screen, or an empty rectangle while it is not viewable.
    Rect GameWindow() const {
        const std::string id =
            X("xdotool search --onlyvisible --name 'ZRM7 - Voltrana' 2>/dev/null | head -1");
        if (id.empty()) return {};
        std::istringstream info(X("xwininfo -id " + id));
        Rect r;
        for (std::string line; std::getline(info, line);) {
            auto value = [&](const char* key) {
                const size_t at = line.find(key);
                return at == std::string::npos ? -1 : std::atoi(line.c_str() + at + std::strlen(key));
            };
            if (int v = value("Absolute upper-left X:"); v >= 0) r.x = v;
            if (int v = value("Absolute upper-left Y:"); v >= 0) r.y = v;
            if (int v = value("Width:"); v >= 0) r.width = v;
            if (int v = value("Height:"); v >= 0) r.height = v;
        }
        return r;
    }

    // The whole screen as RGBA.
    Picture Grab() const {
        const std::string ppm = X("xwd -root -silent | xwdtopnm 2>/dev/null");
        Picture p;
        std::istringstream in(ppm);
        std::string magic;
        int maxValue = 0;
        in >> magic >> p.width >> p.height >> maxValue;
        in.get();
        if (magic != "P6" || maxValue <= 0 || maxValue > 65535 || p.width <= 0) return Picture{};
        p.rgba.resize(static_cast<size_t>(p.width) * p.height * 4, 255);
        for (size_t i = 0; i < static_cast<size_t>(p.width) * p.height; ++i)
            for (int c = 0; c < 3; ++c) {
                int v = in.get();
                if (maxValue > 255) v = (v << 8) | in.get();  // xwdtopnm writes 16 bits a channel
                p.rgba[i * 4 + c] = static_cast<uint8_t>(v * 255 / maxValue);
            }
        return in ? p : Picture{};
    }

    void Keys(const std::string& keys) const { X("xdotool key " + keys); }
    void ClickAt(int x, int y) const {
        X("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1");
    }
    void MoveTo(int x, int y) const { X("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y)); }

private:
    std::string display_;
    std::unique_ptr<Child> server_, manager_;
    bool ready_ = false;
};

// Where an 800 × 600 picture lands, letterboxed, in a window.
Rect Letterbox(const Rect& window) {
    const double scale = std::min(window.width / 800.0, window.height / 600.0);
    Rect r;
    r.width = static_cast<int>(800 * scale + 0.5);
    r.height = static_cast<int>(600 * scale + 0.5);
    r.x = window.x + (window.width - r.width) / 2;
    r.y = window.y + (window.height - r.height) / 2;
    return r;
}

// Mean difference per channel between the shot's region [x0, x1) × [y0, y1) and the same region
// of the picture in the grab, sampled at pixel centres through the letterbox.
double MeanDifference(const Picture& grab, const Rect& picture, const Picture& shot, int x0, int y0, int x1,
                      int y1) {
    double sum = 0;
    long count = 0;
    for (int y = y0; y < y1; y += 2)
        for (int x = x0; x < x1; x += 2) {
            const int gx = picture.x + static_cast<int>((x + 0.5) * picture.width / 800.0);
            const int gy = picture.y + static_cast<int>((y + 0.5) * picture.height / 600.0);
            if (gx < 0 || gy < 0 || gx >= grab.width || gy >= grab.height) return 255;
            for (int c = 0; c < 3; ++c) sum += std::abs(grab.At(gx, gy)[c] - shot.At(x, y)[c]);
            count += 3;
        }
    return count ? sum / count : 255;
}

bool BarsAreBlack(const Picture& grab, const Rect& window, const Rect& picture) {
    for (int x = window.x; x < window.x + window.width; x += 7)
        for (int y : {window.y, picture.y - 1, picture.y + picture.height, window.y + window.height - 1}) {
            if (y < window.y || y >= window.y + window.height ||
                (y >= picture.y && y < picture.y + picture.height))
                continue;
            const uint8_t* p = grab.At(x, y);
            if (p[0] + p[1] + p[2] > 12) return false;
        }
    return true;
}

// The screens to compare with, shot by the demo runner: the main menu (cursor at the top left) and,
// once a test asks for it, level 1's dialog.
Picture ShotOf(const std::string& name, bool dialog) {
    ScriptBuilder s;
    s.Mouse(0, 0, 0).Tap(2, "SPACE").Tap(4, "SPACE").Tap(6, "SPACE");
    if (dialog)
        s.Click(22, 479, 181).Mouse(24, 0, 0).Shot(80, name).Quit(81);
    else
        s.Shot(20, name).Quit(21);
    DemoConfig config;
    config.sceneDetail = 2;
    DemoRun run(config);
    return run.Run(s.Text()) == 0 ? run.Shot(name) : Picture{};
}
const Picture& MenuShot() {
    static const Picture shot = ShotOf("menu", false);
    return shot;
}
const Picture& DialogShot() {
    static const Picture shot = ShotOf("dialog", true);
    return shot;
}

// The level dialog's title and text, away from the buttons that light up under the cursor.
const int kDialogX0 = 250, kDialogY0 = 190, kDialogX1 = 550, kDialogY1 = 290;

class RealDesktop : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* tool :
             {"Xvfb", "openbox", "xdotool", "xwd", "xwdtopnm", "xwininfo", "xdpyinfo", "xprop"})
            if (!Have(tool))
                GTEST_SKIP() << tool << " is not installed (scripts/install-deps.sh installs it)";
        ASSERT_TRUE(MenuShot().Valid());
    }

    // Starts the real game in a fresh folder with the given config.ini text.
    void Start(Desktop& desktop, const std::string& config, std::vector<std::string> options = {}) {
        ASSERT_TRUE(desktop.ready()) << "the X server or openbox did not start on " << desktop.display();
        folder_ = std::make_unique<DemoRun>();
        std::ofstream(folder_->dir() + "/config.ini", std::ios::binary | std::ios::trunc) << config;
        options.insert(options.begin(), std::string(VOLTRANA_GAME_DIR) + "/voltrana");
        game_ = std::make_unique<Child>(options, folder_->dir(), desktop.display());
        ASSERT_TRUE(WaitFor([&] { return desktop.GameWindow().width > 0; })) << "no game window";
    }

    // Intro screens skipped with instant Space presses, the cursor parked at the picture's corner.
    // True once the grab shows the main menu filling the window, letterboxed.
    bool ReachMainMenu(Desktop& desktop, Rect& window) {
        WaitFor([&] {
            window = desktop.GameWindow();
            return window.width > 0;
        });
        desktop.MoveTo(window.x, window.y);
        Pause(1500);
        for (int i = 0; i < 3; ++i) {
            desktop.Keys("space");
            Pause(400);
        }
        return MenuShows(desktop, window);
    }

    bool MenuShows(Desktop& desktop, Rect& window) {
        return WaitFor([&] {
            window = desktop.GameWindow();
            const Picture grab = desktop.Grab();
            const Rect picture = Letterbox(window);
            return grab.Valid() && BarsAreBlack(grab, window, picture) &&
                   MeanDifference(grab, picture, MenuShot(), 0, 0, 800, 600) < 6;
        });
    }

    std::unique_ptr<DemoRun> folder_;
    std::unique_ptr<Child> game_;
};

const char* const kConfig =
    "SceneDetail 2\nScreenWidth 800\nScreenHeight 600\nScreenFormat 1\nSoundEnabled 1";

TEST_F(RealDesktop, WithoutAWindowManagerFullScreenFillsTheDisplayAndInstantInputWorks) {
    Desktop desktop(false);
    Start(desktop, kConfig);
    Rect window;
    ASSERT_TRUE(ReachMainMenu(desktop, window)) << "the main menu is not what fills the screen";
    EXPECT_EQ(window.width, kScreenWidth);
    EXPECT_EQ(window.height, kScreenHeight);

    const Rect picture = Letterbox(window);
    auto at = [&](int x, int y) {  // a back-buffer point on the screen
        return std::pair{picture.x + (x * picture.width + picture.width / 2) / 800,
                         picture.y + (y * picture.height + picture.height / 2) / 600};
    };
    auto dialogShows = [&] {
        const Picture grab = desktop.Grab();
        return grab.Valid() &&
               MeanDifference(grab, picture, DialogShot(), kDialogX0, kDialogY0, kDialogX1, kDialogY1) < 8;
    };
    const auto [newGameX, newGameY] = at(479, 181);
    desktop.ClickAt(newGameX, newGameY);
    ASSERT_TRUE(WaitFor(dialogShows)) << "an instant click on NOVÁ HRA did not start the game";
    const auto [okX, okY] = at(565, 428);
    desktop.ClickAt(okX, okY);
    EXPECT_TRUE(WaitFor([&] { return !dialogShows(); })) << "an instant click on OK did not close the dialog";
    desktop.Keys("Escape");
    EXPECT_TRUE(WaitFor(dialogShows)) << "an instant Escape did not open the level dialog";
    EXPECT_TRUE(game_->Running());
}

TEST_F(RealDesktop, WithOpenboxAltEnterSwitchesBetweenFullScreenAndAWindow) {
    Desktop desktop(true);
    Start(desktop, kConfig);
    Rect window;
    ASSERT_TRUE(ReachMainMenu(desktop, window));
    EXPECT_EQ(window.width, kScreenWidth);
    EXPECT_EQ(window.height, kScreenHeight);

    desktop.Keys("alt+Return");
    EXPECT_TRUE(WaitFor([&] {
        window = desktop.GameWindow();
        return window.width == 800 && window.height == 600;
    })) << "Alt+Enter did not give an 800 x 600 window";
    desktop.MoveTo(window.x, window.y);
    EXPECT_TRUE(MenuShows(desktop, window)) << "the picture does not fill the window";

    desktop.X("xdotool search --name 'ZRM7 - Voltrana' windowsize 1000 500");
    EXPECT_TRUE(WaitFor([&] { return desktop.GameWindow().width == 1000; }));
    EXPECT_TRUE(MenuShows(desktop, window)) << "the picture does not follow a resized window";

    desktop.Keys("alt+Return");
    EXPECT_TRUE(WaitFor([&] { return desktop.GameWindow().width == kScreenWidth; }));
    desktop.MoveTo(0, 0);
    EXPECT_TRUE(MenuShows(desktop, window));
}

TEST_F(RealDesktop, WindowOptionAndAnEmptyConfigStartAWindowAtTheDefaultSize) {
    Desktop desktop(true);
    Start(desktop, "", {"--window"});
    Rect window;
    ASSERT_TRUE(ReachMainMenu(desktop, window));
    EXPECT_EQ(window.width, 800);
    EXPECT_EQ(window.height, 600);
    const std::string log = folder_->File("log.txt");
    for (const char* key : {"SceneDetail", "ScreenWidth", "ScreenHeight", "ScreenFormat", "SoundEnabled"})
        EXPECT_NE(log.find(std::string("chyba hodnota ") + key), std::string::npos) << log;
}

}  // namespace
