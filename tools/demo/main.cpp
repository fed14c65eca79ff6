// voltrana-demo SCRIPT [--out DIR] [--fps F] [--seed N] [--frames N] [--timedemo] [--window] [--lang sk|en]
//                [--without LEVER]...
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "demo/demo_runner.h"
#include "demo/script.h"
#include "platform/desktop.h"
#include "platform/language.h"

namespace {

int Usage(const char* message) {
    std::fprintf(stderr, "voltrana-demo: %s\n", message);
    std::fprintf(stderr,
                 "usage: voltrana-demo SCRIPT [--out DIR] [--fps F] [--seed N] [--frames N] [--timedemo] "
                 "[--window] [--lang sk|en] [--without LEVER]...\n");
    return 2;
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, static_cast<size_t>(p * (values.size() - 1) + 0.5));
    return values[index];
}

}  // namespace

int main(int argc, char** argv) {
    std::string scriptPath;  // the one argument that is not an option, before or after them
    DemoOptions options;
    const char* language = nullptr;  // the desktop's unless --lang names one
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](const char* what) -> const char* {
            if (i + 1 >= argc) return nullptr;
            (void)what;
            return argv[++i];
        };
        char* end = nullptr;
        if (arg == "--out") {
            const char* v = value("DIR");
            if (!v) return Usage("--out needs a folder");
            options.outDir = v;
        } else if (arg == "--fps") {
            const char* v = value("F");
            if (!v || (options.fps = std::strtod(v, &end), *end != '\0') ||
                !(options.fps > 0.0 && options.fps < 1e6))
                return Usage("--fps needs a positive number");
        } else if (arg == "--seed") {
            const char* v = value("N");
            if (!v || (options.seed = static_cast<uint32_t>(std::strtoul(v, &end, 10)), *end != '\0'))
                return Usage("--seed needs a whole number");
        } else if (arg == "--frames") {
            const char* v = value("N");
            if (!v || (options.maxFrames = std::strtol(v, &end, 10), *end != '\0') || options.maxFrames < 0)
                return Usage("--frames needs a whole number");
        } else if (arg == "--timedemo") {
            options.timedemo = true;
        } else if (arg == "--window") {
            options.window = true;
        } else if (arg == "--without") {
            const char* v = value("LEVER");
            if (!v || !SetSpeedLever(v, false)) return Usage("--without needs the name of a speed lever");
        } else if (arg == "--lang") {
            Language named;
            if (!(language = value("sk|en")) || !ParseLanguageName(language, named))
                return Usage("--lang takes sk or en");
        } else if (scriptPath.empty() && arg.rfind("--", 0) != 0) {
            scriptPath = arg;
        } else {
            return Usage(("unknown option " + arg).c_str());
        }
    }
    if (scriptPath.empty()) return Usage("no script given");

    std::ifstream in(scriptPath, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "%s: cannot read the script\n", scriptPath.c_str());
        return 2;
    }
    std::ostringstream text;
    text << in.rdbuf();
    Script script;
    std::string error;
    if (!ParseScript(text.str(), script, error)) {
        std::fprintf(stderr, "%s:%s\n", scriptPath.c_str(), error.c_str());
        return 2;
    }

    if (options.window)
        SetStartWindowed(true);
    else
        setenv("SDL_VIDEODRIVER", "offscreen", 0);

    SetGameLanguage(ChooseLanguage(language));
    DemoRunner runner(std::move(script), options);
    const int status = runner.Run();
    for (const std::string& problem : runner.Errors())
        std::fprintf(stderr, "voltrana-demo: %s\n", problem.c_str());

    if (options.timedemo) {
        const FrameTimes& t = runner.Times();
        const double seconds = runner.SecondsElapsed();
        struct rusage usage {};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("frames %ld seconds %.3f fps %.1f\n", runner.FramesRendered(), seconds,
                    seconds > 0 ? runner.FramesRendered() / seconds : 0.0);
        std::printf("frame time median %.2f ms p99 %.2f ms\n", Percentile(t.frameMs, 0.5),
                    Percentile(t.frameMs, 0.99));
        std::printf("work time median %.2f ms p99 %.2f ms\n", Percentile(t.workMs, 0.5),
                    Percentile(t.workMs, 0.99));
        if (!t.gameWorkMs.empty()) {
            std::printf("game-mode work time median %.2f ms p99 %.2f ms frames %zu\n",
                        Percentile(t.gameWorkMs, 0.5), Percentile(t.gameWorkMs, 0.99), t.gameWorkMs.size());
        }
        if (t.gamePixels > 0) {
            std::printf("game-mode fragments drawn per pixel %.2f draw calls per frame %.0f\n",
                        static_cast<double>(t.gameFragmentsDrawn) / t.gamePixels,
                        static_cast<double>(t.gameDrawCalls) / t.gameFramesCounted);
            std::printf("game-mode processor time per frame %.2f ms, the game's thread %.2f ms\n",
                        t.gameCpuMs / t.gameFramesCounted, t.gameMainThreadCpuMs / t.gameFramesCounted);
        }
        if (runner.StartupMs() >= 0.0) std::printf("start-up to first frame %.0f ms\n", runner.StartupMs());
        std::printf("peak memory %.1f MiB\n", usage.ru_maxrss / 1024.0);
    }
    if (!runner.Errors().empty() && status == 0) return 1;
    return status;
}
