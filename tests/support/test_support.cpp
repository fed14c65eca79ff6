#include "support/test_support.h"

#include <fcntl.h>
#include <png.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include "platform/bmp_decoder.h"

namespace fs = std::filesystem;

namespace {

std::string MakeTempFolder(const char* stem) {
    std::string pattern = (fs::temp_directory_path() / (std::string(stem) + "-XXXXXX")).string();
    return mkdtemp(pattern.data()) ? pattern : "";
}

uint32_t Le(const uint8_t* p, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | p[i];
    return v;
}

void Put(std::vector<uint8_t>& b, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b.push_back((v >> (8 * i)) & 0xFF);
}

// A bottom-up BMP of `bits` 24 or 8: pixels given top row first, as 0xRRGGBB or as palette indices.
std::vector<uint8_t> MakeBmp(int width, int height, int bits, const std::vector<uint32_t>& palette,
                             const std::vector<uint32_t>& pixels) {
    const int bytes = bits / 8, row = (width * bytes + 3) / 4 * 4;
    const uint32_t offset = 14 + 40 + uint32_t(palette.size()) * 4, image = uint32_t(row * height);
    std::vector<uint8_t> b = {'B', 'M'};
    // File size, reserved, pixel offset; header size, width, height, one plane and the depth, no
    // compression, image size, resolution, palette entries, important colours.
    for (uint32_t v : {offset + image, 0u, offset, 40u, uint32_t(width), uint32_t(height),
                       uint32_t(bits) << 16 | 1, 0u, image, 2835u, 2835u, uint32_t(palette.size()), 0u})
        Put(b, v, 4);
    for (uint32_t c : palette) Put(b, c & 0xFFFFFF, 4);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) Put(b, pixels[size_t(y) * width + x], bytes);
        b.resize(b.size() + row - width * bytes, 0);
    }
    return b;
}

}  // namespace

ScopedTempDir::ScopedTempDir() : path_(MakeTempFolder("voltrana-test")), previous_(fs::current_path()) {
    fs::current_path(path_);
}

ScopedTempDir::~ScopedTempDir() {
    std::error_code ec;
    fs::current_path(previous_, ec);
    fs::remove_all(path_, ec);
}

std::string ReadFileBytes(const std::string& path) {
    return {std::istreambuf_iterator<char>(std::ifstream(path, std::ios::binary).rdbuf()), {}};
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

bool FileExists(const std::string& path) {
    return fs::exists(path);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) lines.push_back(line);
    return lines;
}

nlohmann::json ReadJson(const std::string& path) {
    return nlohmann::json::parse(ReadFileBytes(path), nullptr, false);
}

bool Picture::RegionDiffers(const Picture& other, int x0, int y0, int x1, int y1) const {
    if (width != other.width || height != other.height) return true;
    for (int y = std::max(0, y0); y < std::min(height, y1); ++y)
        for (int x = std::max(0, x0); x < std::min(width, x1); ++x)
            if (At(x, y) != other.At(x, y)) return true;
    return false;
}

Picture ReadPng(const std::string& path) {
    Picture picture;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return picture;
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return picture;  // frees it
    picture.width = int(image.width), picture.height = int(image.height);
    for (size_t i = 0; i + 2 < pixels.size(); i += 3)
        picture.rgb.push_back(uint32_t{pixels[i]} << 16 | uint32_t{pixels[i + 1]} << 8 | pixels[i + 2]);
    return picture;
}

int BmpBits(const uint8_t* data, size_t size) {
    return size < 54 || data[0] != 'B' || data[1] != 'M' ? 0 : static_cast<int>(Le(data + 28, 2));
}

Picture ReadBmp(const uint8_t* data, size_t size) {
    Picture picture;
    DecodedImage image;
    if (!DecodeBmp(data, size, image)) return picture;
    picture.width = image.width, picture.height = image.height;
    for (uint32_t argb : image.argb) picture.rgb.push_back(argb & 0xFFFFFF);
    return picture;
}

std::vector<uint8_t> MakeBmp24(int width, int height, const std::vector<uint32_t>& rgb) {
    return MakeBmp(width, height, 24, {}, rgb);
}

std::vector<uint8_t> MakeBmp8(int width, int height, const std::vector<uint32_t>& palette,
                              const std::vector<uint8_t>& indices) {
    return MakeBmp(width, height, 8, palette, std::vector<uint32_t>(indices.begin(), indices.end()));
}

std::string ProcessResult::Describe() const {
    return "exit " + std::to_string(exitCode) + " signal " + std::to_string(signal) +
           (timedOut ? " TIMED OUT" : "") + "\nstderr:\n" + err;
}

ProcessResult RunProcess(const ProcessSpec& spec) {
    ProcessResult result;
    const std::string outDir = MakeTempFolder("voltrana-proc");
    const std::string outPath = outDir + "/out", errPath = outDir + "/err";
    std::fflush(nullptr);
    const pid_t pid = outDir.empty() ? -1 : fork();
    if (pid < 0) return result;
    // The child leads a process group of its own, so that a time limit ends whatever it started too
    // (the X server that xvfb-run starts, for one).
    if (pid == 0) {
        setpgid(0, 0);
        const int fds[3] = {open("/dev/null", O_RDONLY), open(outPath.c_str(), O_WRONLY | O_CREAT, 0644),
                            open(errPath.c_str(), O_WRONLY | O_CREAT, 0644)};
        for (int i = 0; i < 3; ++i)
            if (fds[i] < 0 || dup2(fds[i], i) < 0) _exit(126);
        if (chdir(spec.folder.c_str()) != 0) _exit(126);
        for (const auto& [name, value] : spec.set) setenv(name.c_str(), value.c_str(), 1);
        for (const std::string& name : spec.unset) unsetenv(name.c_str());
        if (spec.asUnprivileged && geteuid() == 0) {
            // Root may write anywhere; as nobody the folder's permissions are what the game meets.
            setenv("HOME", "/nonexistent", 1);
            setenv("MESA_SHADER_CACHE_DISABLE", "true", 1);
            if (setgid(65534) != 0 || setuid(65534) != 0) _exit(126);
        }
        std::vector<char*> argv;
        for (const std::string& a : spec.argv) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    setpgid(pid, pid);
    result.started = true;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(spec.timeoutSeconds);
    int status = 0;
    for (; waitpid(pid, &status, WNOHANG) != pid; std::this_thread::sleep_for(std::chrono::milliseconds(20)))
        if (!result.timedOut && std::chrono::steady_clock::now() > deadline)
            result.timedOut = true, kill(-pid, SIGKILL);
    if (!result.timedOut && WIFSIGNALED(status)) result.signal = WTERMSIG(status);  // not the limit's kill
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    result.out = ReadFileBytes(outPath), result.err = ReadFileBytes(errPath);
    std::error_code ec;
    fs::remove_all(outDir, ec);
    return result;
}

GameFolder::GameFolder(const char* config, bool withModels, bool withSounds) {
    path_ = MakeTempFolder("voltrana-game");
    const fs::path game = VOLTRANA_GAME_DIR;
    config ? WriteFileBytes(File("config.ini"), config)
           : void(fs::copy_file(game / "config.ini", File("config.ini")));
    if (withModels) fs::create_directory_symlink(game / "models", File("models"));
    if (withSounds) fs::create_directory_symlink(game / "sounds", File("sounds"));
    fs::create_directory(File("out"));
    chmod(File("out").c_str(), 0777);
}

GameFolder::~GameFolder() {
    std::error_code ec;
    chmod(path_.c_str(), 0755);
    fs::remove_all(path_, ec);
}

ProcessSpec GameFolder::DemoSpec(const std::string& script, std::vector<std::string> extra) const {
    WriteFileBytes(File("script.txt"), script);
    chmod(File("script.txt").c_str(), 0644);
    ProcessSpec spec;
    spec.argv = {VOLTRANA_DEMO_EXE, File("script.txt"), "--out", File("out")};
    spec.argv.insert(spec.argv.end(), extra.begin(), extra.end());
    spec.folder = path_;
    spec.set = {{"ALSOFT_DRIVERS", "null"}, {"SDL_VIDEODRIVER", "offscreen"}, {"SDL_AUDIODRIVER", "dummy"}};
    return spec;
}
