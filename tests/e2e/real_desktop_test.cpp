// The real game on a real X server (Xvfb), with no window manager and with openbox, driven the way
// xdotool and touchpads drive it: presses and clicks that go down and up at once. Screen grabs are
// compared, through the letterbox, with the demo runner's shots of the same screens.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <sstream>

#include "e2e/e2e_harness.h"

namespace {

// Xvfb's screen: 5:4, so a 4:3 picture has bars above and below.
const int kScreenWidth = 1280, kScreenHeight = 1024;

std::string Output(const std::string& command) {
    return RunProcess({{"/bin/sh", "-c", command}, ".", {}, {}, 120}).out;
}

// Polls until the condition holds or the seconds pass (generous: CI machines are busy).
bool WaitFor(const std::function<bool()>& condition, double seconds = 60) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    for (; !condition(); usleep(100000))
        if (std::chrono::steady_clock::now() > end) return false;
    return true;
}

// A program in the background on the display, silent, started in the folder and ended with the test.
// The shell execs it, so that the signals reach the program itself.
struct Child {
    Child(const std::string& command, const std::string& display, const std::string& folder = ".") {
        const std::string line = "export DISPLAY=" + display +
                                 " ALSOFT_DRIVERS=null; unset SDL_VIDEODRIVER WAYLAND_DISPLAY; cd '" +
                                 folder + "' && exec " + command + " >/dev/null 2>&1";
        if ((pid_ = fork()) == 0) execl("/bin/sh", "sh", "-c", line.c_str(), nullptr), _exit(127);
    }
    ~Child() {
        if (pid_ < 0) return;  // the fork failed; kill(-1) would reach every process of ours
        kill(pid_, SIGTERM);   // Xvfb then removes its lock and socket; after two seconds, SIGKILL
        for (int i = 0; waitpid(pid_, nullptr, WNOHANG) == 0; ++i) {
            if (i == 100) kill(pid_, SIGKILL);
            usleep(20000);
        }
    }
    pid_t pid_ = -1;
};

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
};

// An X server of its own, with openbox on it or with no window manager at all.
struct Desktop {
    // A busy machine now and then loses a server or a window manager at its start: up to three tries,
    // each on a display number of its own. -noreset: an X server resets when its last client leaves
    // (here the probe, when there is no window manager) and refuses the game while it does.
    explicit Desktop(bool windowManager, const std::string& serverOptions = "") {
        int n = 90 + getpid() % 400;
        auto up = [&](const char* check) { return WaitFor([&] { return !X(check).empty(); }, 30); };
        for (int attempt = 0; attempt < 3 && !ready; ++attempt, ++n) {
            manager_.reset(), server_.reset();
            while (access(("/tmp/.X11-unix/X" + std::to_string(n)).c_str(), F_OK) == 0 ||
                   access(("/tmp/.X" + std::to_string(n) + "-lock").c_str(), F_OK) == 0)
                ++n;
            display = std::to_string(n).insert(0, 1, ':');  // ":" + ... trips a false GCC 12 warning
            server_ = std::make_unique<Child>(
                "Xvfb " + display + " -noreset -screen 0 1280x1024x24 " + serverOptions, display);
            ready = up("xdpyinfo >/dev/null 2>&1 && echo up");
            if (!ready || !windowManager) continue;
            manager_ = std::make_unique<Child>("openbox", display);
            ready = up("xprop -root _NET_SUPPORTING_WM_CHECK | grep 'window id'");
        }
    }
    std::string X(const std::string& command) const {
        return Output("export DISPLAY=" + display + "; " + command);
    }

    // The game window's place on the screen; empty while it is not viewable.
    Rect GameWindow() const {
        std::istringstream info(
            X("id=$(xdotool search --onlyvisible --name 'ZRM7 - Voltrana' | head -1); [ -n \"$id\" ] && "
              "xwininfo -id $id | awk '/Absolute upper-left|Width:|Height:/ {print $NF}'"));
        Rect r;
        info >> r.x >> r.y >> r.width >> r.height;
        return info ? r : Rect{};
    }

    // The whole screen, through a PNG file of 8 bits a channel.
    Picture Grab() const {
        const std::string file = "/tmp/voltrana-grab" + display.substr(1) + ".png";
        X("xwd -root -silent | xwdtopnm 2>/dev/null | pnmdepth 255 | pnmtopng >" + file);
        const Picture p = ReadPng(file);
        std::remove(file.c_str());
        return p;
    }

    void Keys(const std::string& keys) const { X("xdotool key " + keys); }
    void Mouse(int x, int y, const char* then = "") const {
        X("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) + then);
    }

    std::string display;
    bool ready = false;
    std::unique_ptr<Child> server_, manager_;
};

// Where an 800 x 600 picture lands, letterboxed, in a window.
Rect Letterbox(const Rect& window) {
    const double scale = std::min(window.width / 800.0, window.height / 600.0);
    const int width = static_cast<int>(800 * scale + 0.5), height = static_cast<int>(600 * scale + 0.5);
    return {window.x + (window.width - width) / 2, window.y + (window.height - height) / 2, width, height};
}

// Mean difference per channel between a region of the shot and the same region of the grab, sampled
// at pixel centres through the letterbox; 255 when the region is not on the screen.
double MeanDifference(const Picture& grab, const Rect& picture, const Picture& shot, Rect region) {
    double sum = 0, count = 0;
    for (int y = region.y; y < region.y + region.height; y += 2)
        for (int x = region.x; x < region.x + region.width; x += 2) {
            const int gx = picture.x + static_cast<int>((x + 0.5) * picture.width / 800.0);
            const int gy = picture.y + static_cast<int>((y + 0.5) * picture.height / 600.0);
            if (gx < 0 || gy < 0 || gx >= grab.width || gy >= grab.height) return 255;
            for (int shift : {0, 8, 16})
                sum += std::abs(int((grab.At(gx, gy) >> shift) & 255) - int((shot.At(x, y) >> shift) & 255));
            count += 3;
        }
    return count ? sum / count : 255;
}

// The bars of the window outside the picture are black.
bool BarsAreBlack(const Picture& grab, const Rect& window, const Rect& picture) {
    for (int y = window.y; y < window.y + window.height; y += 3)
        for (int x = window.x; x < window.x + window.width; x += 7) {
            const bool inPicture = x >= picture.x && x < picture.x + picture.width && y >= picture.y &&
                                   y < picture.y + picture.height;
            if (!inPicture && x < grab.width && y < grab.height && (grab.At(x, y) & 0xF0F0F0) != 0)
                return false;
        }
    return true;
}

// The demo runner's shot of the main menu (cursor at the top left) or of level 1's dialog, made once.
const Picture& ShotOf(bool dialog, bool english = false) {
    static Picture shots[2][2];
    Picture& shot = shots[dialog][english];
    if (shot.Valid()) return shot;
    ScriptBuilder s;
    s.Mouse(0, 0, 0).SkipIntro();
    if (dialog) s.Click(22, kNewGameX, kNewGameY).Mouse(24, 0, 0);
    s.Shot(dialog ? 80 : 20, "shot").Add(dialog ? 81 : 21, "quit");
    GameFolder folder(ConfigText(2).c_str());
    RunDemo(folder, s, english ? std::vector<std::string>{"--lang", "en"} : std::vector<std::string>{});
    return shot = folder.Shot("shot");
}

class RealDesktop : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* tool : {"Xvfb", "openbox", "xdotool", "xwd", "xwdtopnm", "pnmtopng", "xwininfo",
                                 "xdpyinfo", "xprop", "xmessage"})
            if (Output(std::string("command -v ") + tool).empty())
                GTEST_SKIP() << tool << " is missing (scripts/install-deps.sh installs it)";
        ASSERT_TRUE(ShotOf(false).Valid());
    }

    // The real game in a fresh folder with the given config.ini, until its window shows.
    void Start(Desktop& desktop, const std::string& config, const std::string& options = "") {
        ASSERT_TRUE(desktop.ready) << "the X server or openbox did not start on " << desktop.display;
        folder_ = std::make_unique<GameFolder>(config.c_str());
        english_ = options.find("--lang en") != std::string::npos;
        const std::string exe = GameExe();  // "'" + GameExe() trips the same false GCC 12 warning
        game_ = std::make_unique<Child>("'" + exe + "' " + options, desktop.display, folder_->path());
        ASSERT_TRUE(WaitFor([&] { return desktop.GameWindow().width > 0; }))
            << "no game window; log.txt:\n"
            << ReadFileBytes(folder_->File("log.txt"));
    }

    // The intro screens skipped with instant Space presses, the cursor parked at the picture's corner.
    bool ReachMainMenu(Desktop& desktop, Rect& window) {
        window = desktop.GameWindow();
        desktop.Mouse(window.x, window.y);
        // The window shows while the game is still loading, and a busy machine loads slowly: Space is
        // tapped until the menu is there (on the menu itself Space does nothing).
        for (int taps = 0; taps < 40 && !MenuFillsTheWindow(desktop, window, 0.4); ++taps)
            desktop.Keys("space");
        return MenuFillsTheWindow(desktop, window);
    }

    // The grab shows the main menu letterboxed into the window, with black bars.
    bool MenuFillsTheWindow(Desktop& desktop, Rect& window, double seconds = 60) {
        auto fills = [&] {
            window = desktop.GameWindow();
            const Picture grab = desktop.Grab();
            const Rect picture = Letterbox(window);
            return grab.Valid() && BarsAreBlack(grab, window, picture) &&
                   MeanDifference(grab, picture, ShotOf(false, english_), {0, 0, 800, 600}) < 6;
        };
        return WaitFor(fills, seconds);
    }

    std::unique_ptr<GameFolder> folder_;
    std::unique_ptr<Child> game_;
    bool english_ = false;
};

TEST_F(RealDesktop,
       WithoutAWindowManagerFullScreenFillsTheDisplayInputWorksAWindowIsCentredAndItsEndEndsTheGame) {
    Desktop desktop(false);
    Start(desktop, ConfigText(2));
    Rect window;
    ASSERT_TRUE(ReachMainMenu(desktop, window)) << "the main menu does not fill the screen";
    EXPECT_TRUE(window.width == kScreenWidth && window.height == kScreenHeight) << window.width;

    const Rect picture = Letterbox(window);
    auto clickAt = [&](int x, int y) {  // a back-buffer point, on the screen
        desktop.Mouse(picture.x + (2 * x + 1) * picture.width / 1600,
                      picture.y + (2 * y + 1) * picture.height / 1200, " click 1");
    };
    // The dialog's title and text, away from the buttons that light up under the cursor.
    auto dialogShows = [&] {
        const Picture grab = desktop.Grab();
        return grab.Valid() && MeanDifference(grab, picture, ShotOf(true), {250, 190, 300, 100}) < 8;
    };
    clickAt(kNewGameX, kNewGameY);
    ASSERT_TRUE(WaitFor(dialogShows)) << "an instant click on the new-game button was lost";
    clickAt(kDialogOkX, kDialogY);
    EXPECT_TRUE(WaitFor([&] { return !dialogShows(); })) << "an instant click on OK was lost";
    desktop.Keys("Escape");
    EXPECT_TRUE(WaitFor(dialogShows)) << "an instant Escape was lost";
    // Alt+Enter: a window of the back buffer's size, centred on the display.
    desktop.Keys("alt+Return");
    EXPECT_TRUE(
        WaitFor([&] { return (window = desktop.GameWindow()).width == 800 && window.height == 600; }));
    EXPECT_TRUE(window.x == (kScreenWidth - 800) / 2 && window.y == (kScreenHeight - 600) / 2) << window.x;

    // The X server ends under the game: the game ends with status 1, and its log says why.
    desktop.server_.reset();
    int status = -1;
    EXPECT_TRUE(WaitFor([&] { return waitpid(game_->pid_, &status, WNOHANG) == game_->pid_; }));
    if (status != -1) game_->pid_ = -1;  // reaped
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
    EXPECT_NE(ReadFileBytes(folder_->File("log.txt")).find("\nSpojenie s obrazovkou " + desktop.display),
              std::string::npos);
}

// An X server without GLX: the game stops at once, and its one line names OpenGL, not a missing display.
TEST_F(RealDesktop, WithoutGlxTheGameSaysTheDisplayGivesNoOpenGlWindow) {
    Desktop desktop(false, "-extension GLX");
    ASSERT_TRUE(desktop.ready) << desktop.display;
    GameFolder folder;
    const ProcessResult r = RunProcess({{GameExe()},
                                        folder.path(),
                                        {{"DISPLAY", desktop.display}, {"ALSOFT_DRIVERS", "null"}},
                                        {"SDL_VIDEODRIVER", "WAYLAND_DISPLAY"},
                                        60});
    EXPECT_TRUE(r.EndedCleanly() && r.exitCode == 1) << r.Describe();
    EXPECT_EQ(r.err, "voltrana: the display gives no OpenGL window (GLX is not supported)\n");
    EXPECT_NE(ReadFileBytes(folder.File("log.txt")).find("\nNepodarilo sa vytvorit okno OpenGL: GLX"),
              std::string::npos);
}

// With openbox: --window and an empty config.ini give an 800 x 600 window and log every default, --lang en
// names the buttons in English; Alt+Enter goes to full screen, which stays when another window takes the
// focus, and back; a resized window letterboxes the picture; minimised, the game rests.
TEST_F(RealDesktop, WithOpenboxTheWindowAndLanguageOptionsAltEnterFocusLossAResizeAndMinimising) {
    Desktop desktop(true);
    Start(desktop, "", "--window --lang en");
    Rect window;
    ASSERT_TRUE(ReachMainMenu(desktop, window));
    EXPECT_TRUE(window.width == 800 && window.height == 600) << window.width << " x " << window.height;
    const Rect buttons{380, 165, 200, 90};  // new game and password, whose words differ most
    const Picture grab = desktop.Grab();
    EXPECT_LT(MeanDifference(grab, Letterbox(window), ShotOf(false, true), buttons),
              MeanDifference(grab, Letterbox(window), ShotOf(false), buttons) / 3);
    const std::string log = ReadFileBytes(folder_->File("log.txt"));
    for (const char* key : {"SceneDetail", "ScreenWidth", "ScreenHeight", "ScreenFormat", "SoundEnabled"})
        EXPECT_NE(log.find(std::string("chyba hodnota ") + key), std::string::npos) << log;

    auto sized = [&](int width, int height) {  // waits for the window to take that size
        return WaitFor(
            [&] { return (window = desktop.GameWindow()).width == width && window.height == height; });
    };
    desktop.Keys("alt+Return");
    EXPECT_TRUE(sized(kScreenWidth, kScreenHeight));
    desktop.Mouse(0, 0);
    EXPECT_TRUE(MenuFillsTheWindow(desktop, window)) << "in full screen";
    {  // another window taking the focus leaves the full-screen game on the screen
        Child message("xmessage -center focus", desktop.display);
        EXPECT_TRUE(
            WaitFor([&] { return desktop.X("xdotool getwindowfocus getwindowname") == "xmessage\n"; }));
        sleep(1);
        EXPECT_EQ(desktop.GameWindow().width, kScreenWidth) << "minimised when it lost the focus";
    }
    desktop.X("xdotool search --name 'ZRM7 - Voltrana' windowactivate");

    desktop.Keys("alt+Return");
    EXPECT_TRUE(sized(800, 600));
    desktop.Mouse(window.x, window.y);
    EXPECT_TRUE(MenuFillsTheWindow(desktop, window)) << "back in a window";

    desktop.X("xdotool search --name 'ZRM7 - Voltrana' windowsize 1000 500");
    EXPECT_TRUE(sized(1000, 500));
    EXPECT_TRUE(MenuFillsTheWindow(desktop, window)) << "after a resize to 1000 x 500";

    // Minimised, the game waits instead of drawing (the menu alone keeps a core busy); restored, it draws.
    desktop.X("xdotool search --name 'ZRM7 - Voltrana' windowminimize");
    EXPECT_TRUE(WaitFor([&] { return desktop.GameWindow().width == 0; }));
    const auto ticks = [&] {  // processor time of the game, in 1/100 s
        long user = 0, system = 0;
        std::sscanf(ReadFileBytes("/proc/" + std::to_string(game_->pid_) + "/stat").c_str(),
                    "%*d %*s %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %ld %ld", &user, &system);
        return user + system;
    };
    const long before = ticks();
    sleep(2);
    EXPECT_LT(ticks() - before, 20) << "of 200 in two seconds while minimised";
    desktop.X("xdotool search --name 'ZRM7 - Voltrana' windowactivate");
    EXPECT_TRUE(MenuFillsTheWindow(desktop, window)) << "restored";
}

}  // namespace
