// Shared helpers for the tests: files and folders, the one reader of BMP, PNG and JSON files, and
// running the game or the demo runner as a child process.
#pragma once
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

// Makes a fresh empty folder, enters it, and returns to the previous folder (removing it) at the end.
class ScopedTempDir {
public:
    ScopedTempDir();
    ~ScopedTempDir();
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::string previous_;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// Lines of text (without their line feeds), empty lines dropped.
std::vector<std::string> Lines(const std::string& text);
// The file parsed as JSON; a discarded value when it is missing or no JSON.
nlohmann::json ReadJson(const std::string& path);

// A picture as 0xRRGGBB pixels, rows from the top: read from a PNG file or a BMP (24-bit or 8-bit).
struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> rgb;
    bool Valid() const { return width > 0 && height > 0; }
    uint32_t At(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
    // Whether any pixel in [x0, x1) x [y0, y1) differs from the other picture's.
    bool RegionDiffers(const Picture& other, int x0, int y0, int x1, int y1) const;
};
Picture ReadPng(const std::string& path);
Picture ReadBmp(const uint8_t* data, size_t size);
// The depth of a BMP file (24 or 8), 0 when it is none.
int BmpBits(const uint8_t* data, size_t size);
// BMP files made in memory, bottom-up, pixels given top row first: 24-bit as 0xRRGGBB, 8-bit as
// palette indices.
std::vector<uint8_t> MakeBmp24(int width, int height, const std::vector<uint32_t>& rgb);
std::vector<uint8_t> MakeBmp8(int width, int height, const std::vector<uint32_t>& palette,
                              const std::vector<uint8_t>& indices);

// A child process: the game or the demo runner in a folder of its own, with a chosen environment and
// a time limit.
struct ProcessResult {
    bool started = false;
    bool timedOut = false;  // killed at the time limit
    int signal = 0;         // the signal that ended it, 0 when it exited
    int exitCode = -1;
    std::string out, err;
    bool EndedCleanly() const { return started && !timedOut && signal == 0; }
    std::string Describe() const;
};

struct ProcessSpec {
    std::vector<std::string> argv;
    std::string folder;                                    // working folder of the child
    std::vector<std::pair<std::string, std::string>> set;  // environment variables to set
    std::vector<std::string> unset;                        // and to remove
    double timeoutSeconds = 300.0;
    bool asUnprivileged = false;  // when run by root, run the child as nobody so permissions apply
};
ProcessResult RunProcess(const ProcessSpec& spec);

// A fresh folder laid out like the runnable folder: config.ini (given text, or the shipped one when
// config is null), models/ and sounds/ linked to the built content unless left out, and out/ (any
// user may write it) for the demo's shots and dumps.
class GameFolder {
public:
    explicit GameFolder(const char* config = nullptr, bool withModels = true, bool withSounds = true);
    ~GameFolder();
    GameFolder(const GameFolder&) = delete;
    GameFolder& operator=(const GameFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    // out/NAME.json parsed; a discarded value when missing.
    nlohmann::json Dump(const std::string& name) const { return ReadJson(File("out/" + name + ".json")); }
    Picture Shot(const std::string& name) const { return ReadPng(File("out/" + name + ".png")); }
    // The demo runner on a script (written into the folder), headless, sound into nothing.
    ProcessSpec DemoSpec(const std::string& script, std::vector<std::string> extra = {}) const;

private:
    std::string path_;
};

inline std::string GameExe() {
    return std::string(VOLTRANA_GAME_DIR) + "/voltrana";
}
