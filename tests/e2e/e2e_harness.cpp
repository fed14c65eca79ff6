#include "e2e/e2e_harness.h"

#include <fcntl.h>
#include <png.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

std::string DemoConfig::Text() const {
    char text[200];
    std::snprintf(text, sizeof text,
                  "SceneDetail %d\nScreenWidth %d\nScreenHeight %d\nScreenFormat %d\nSoundEnabled %d",
                  sceneDetail, width, height, format, sound);
    return text;
}

bool Picture::RegionDiffers(const Picture& other, int x0, int y0, int x1, int y1) const {
    if (width != other.width || height != other.height) return true;
    for (int y = std::max(0, y0); y < std::min(height, y1); ++y)
        for (int x = std::max(0, x0); x < std::min(width, x1); ++x)
            if (std::memcmp(At(x, y), other.At(x, y), 4) != 0) return true;
    return false;
}

bool ReadPngSize(const std::string& path, int& width, int& height) {
    std::ifstream in(path, std::ios::binary);
    unsigned char header[24];
    if (!in.read(reinterpret_cast<char*>(header), sizeof header)) return false;
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (std::memcmp(header, kSignature, 8) != 0 || std::memcmp(header + 12, "IHDR", 4) != 0) return false;
    auto be32 = [&](int at) {
        return static_cast<int>((uint32_t{header[at]} << 24) | (uint32_t{header[at + 1]} << 16) |
                                (uint32_t{header[at + 2]} << 8) | uint32_t{header[at + 3]});
    };
    width = be32(16);
    height = be32(20);
    return true;
}

Picture ReadPng(const std::string& path) {
    Picture picture;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return picture;
    image.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return picture;
    }
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.rgba = std::move(pixels);
    return picture;
}

ScriptBuilder& ScriptBuilder::Add(int frame, const std::string& command) {
    text_ += std::to_string(frame) + " " + command + "\n";
    return *this;
}

ScriptBuilder& ScriptBuilder::Mouse(int frame, int x, int y) {
    return Add(frame, "mouse " + std::to_string(x) + " " + std::to_string(y));
}

ScriptBuilder& ScriptBuilder::Click(int frame, int x, int y) {
    return Add(frame, "click " + std::to_string(x) + " " + std::to_string(y));
}

int ScriptBuilder::Type(int frame, const std::string& word) {
    for (char c : word) {
        Tap(frame, std::string(1, c));
        frame += 2;
    }
    return frame;
}

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

}  // namespace

DemoRun::DemoRun(const DemoConfig& config) {
    std::string pattern = (fs::temp_directory_path() / "voltrana-e2e-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    dir_ = made ? made : pattern;
    outDir_ = dir_ + "/out";
    std::error_code ec;
    fs::create_directory_symlink(fs::path(VOLTRANA_GAME_DIR) / "models", fs::path(dir_) / "models", ec);
    fs::create_directory_symlink(fs::path(VOLTRANA_GAME_DIR) / "sounds", fs::path(dir_) / "sounds", ec);
    std::ofstream(dir_ + "/config.ini", std::ios::binary) << config.Text();
}

DemoRun::~DemoRun() {
    if (std::getenv("VOLTRANA_E2E_KEEP")) {
        std::fprintf(stderr, "kept the run folder %s\n", dir_.c_str());
        return;
    }
    std::error_code ec;
    fs::remove_all(dir_, ec);
}

int DemoRun::Run(const std::string& scriptText, std::vector<std::string> args, int timeoutSeconds) {
    const std::string path = dir_ + "/script.txt";
    std::ofstream(path, std::ios::binary) << scriptText;
    return RunFile(path, std::move(args), timeoutSeconds);
}

int DemoRun::RunFile(const std::string& scriptPath, std::vector<std::string> args, int timeoutSeconds) {
    bool hasOut = false;
    for (size_t i = 0; i + 1 < args.size(); ++i)
        if (args[i] == "--out") {
            hasOut = true;
            outDir_ = args[i + 1];
        }
    if (!hasOut) {
        args.push_back("--out");
        args.push_back(outDir_);
    }
    std::vector<std::string> argvText = {VOLTRANA_DEMO_EXE, scriptPath};
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argvText) argv.push_back(a.data());
    argv.push_back(nullptr);

    const std::string errPath = dir_ + "/stderr.txt";
    const std::string outPath = dir_ + "/stdout.txt";
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0) return status_ = -1;
    if (pid == 0) {
        if (chdir(dir_.c_str()) != 0) _exit(127);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (err < 0 || out < 0) _exit(127);
        dup2(err, 2);
        dup2(out, 1);
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("ALSOFT_DRIVERS", "null", 1);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int wstatus = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    for (;;) {
        const pid_t done = waitpid(pid, &wstatus, WNOHANG);
        if (done == pid) break;
        if (done < 0) return status_ = -1;
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &wstatus, 0);
            stderr_ = ReadAll(errPath) + "\n(killed after " + std::to_string(timeoutSeconds) + " s)";
            return status_ = -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    stderr_ = ReadAll(errPath);
    status_ = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    return status_;
}

bool DemoRun::HasDump(const std::string& name) const {
    return fs::exists(outDir_ + "/" + name + ".json");
}

nlohmann::json DemoRun::Dump(const std::string& name) const {
    const std::string text = ReadAll(outDir_ + "/" + name + ".json");
    nlohmann::json value = nlohmann::json::parse(text, nullptr, false);
    if (value.is_discarded()) return nlohmann::json();
    return value;
}

std::string DemoRun::File(const std::string& name) const {
    return ReadAll(dir_ + "/" + name);
}

std::string ScriptPath(const std::string& name) {
    return std::string(VOLTRANA_SOURCE_DIR) + "/tests/e2e/scripts/" + name;
}

int VirtualX(double x, int width) {
    return static_cast<int>(std::lround(x * width / 800.0));
}
int VirtualY(double y, int height) {
    return static_cast<int>(std::lround(y * height / 600.0));
}

int CountPlays(const nlohmann::json& dump, const std::string& file) {
    int count = 0;
    if (!dump.is_object()) return 0;
    for (const auto& e : dump["sounds"]["played"])
        if (e["file"] == file) ++count;
    return count;
}
