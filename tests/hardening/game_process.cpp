#include "hardening/game_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>

#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

const uid_t kNobody = 65534;

std::string MakeTempFolder(const char* stem) {
    std::string pattern = (fs::temp_directory_path() / (std::string(stem) + "-XXXXXX")).string();
    char* made = mkdtemp(pattern.data());
    return made ? made : "";
}

}  // namespace

std::string DemoExe() {
    return VOLTRANA_DEMO_EXE;
}
std::string GameExe() {
    return std::string(VOLTRANA_GAME_DIR) + "/voltrana";
}

ProcessResult RunProcess(const ProcessSpec& spec) {
    ProcessResult result;
    const std::string outDir = MakeTempFolder("voltrana-proc");
    if (outDir.empty()) return result;
    const std::string outPath = outDir + "/out", errPath = outDir + "/err";

    const pid_t pid = fork();
    if (pid < 0) return result;
    if (pid == 0) {
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int in = open("/dev/null", O_RDONLY);
        if (out < 0 || err < 0 || in < 0) _exit(126);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        if (chdir(spec.folder.c_str()) != 0) _exit(126);
        for (const auto& [name, value] : spec.set) setenv(name.c_str(), value.c_str(), 1);
        for (const std::string& name : spec.unset) unsetenv(name.c_str());
        if (spec.asUnprivileged && geteuid() == 0) {
            // Root may write anywhere; as nobody the folder's permissions are what the game meets.
            setenv("HOME", "/nonexistent", 1);
            setenv("MESA_SHADER_CACHE_DISABLE", "true", 1);
            if (setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(126);
        }
        std::vector<char*> argv;
        for (const std::string& a : spec.argv) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }

    result.started = true;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(spec.timeoutSeconds);
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (std::chrono::steady_clock::now() > deadline) {
            result.timedOut = true;
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!result.timedOut) {
        if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
        if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    }
    result.out = ReadFileBytes(outPath);
    result.err = ReadFileBytes(errPath);
    std::error_code ec;
    fs::remove_all(outDir, ec);
    return result;
}

GameFolder::GameFolder(const char* config, bool withModels, bool withSounds) {
    path_ = MakeTempFolder("voltrana-hardening");
    const fs::path game = VOLTRANA_GAME_DIR;
    if (config)
        WriteFileBytes(File("config.ini"), config);
    else
        fs::copy_file(game / "config.ini", File("config.ini"));
    if (withModels) fs::create_directory_symlink(game / "models", File("models"));
    if (withSounds) fs::create_directory_symlink(game / "sounds", File("sounds"));
    // The demo's shots and dumps go to out/, which any user may write.
    fs::create_directory(File("out"));
    chmod(File("out").c_str(), 0777);
}

GameFolder::~GameFolder() {
    std::error_code ec;
    chmod(path_.c_str(), 0755);
    fs::remove_all(path_, ec);
}

std::string GameFolder::WriteScript(const std::string& text) const {
    const std::string path = File("script.txt");
    WriteFileBytes(path, text);
    chmod(path.c_str(), 0644);
    return path;
}

ProcessSpec DemoSpec(const GameFolder& folder, const std::string& script, std::vector<std::string> extra) {
    ProcessSpec spec;
    spec.argv = {DemoExe(), script, "--out", folder.File("out")};
    for (std::string& e : extra) spec.argv.push_back(std::move(e));
    spec.folder = folder.path();
    spec.set = {{"ALSOFT_DRIVERS", "null"}, {"SDL_VIDEODRIVER", "offscreen"}, {"SDL_AUDIODRIVER", "dummy"}};
    return spec;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) lines.push_back(line);
    return lines;
}
