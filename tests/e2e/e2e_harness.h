// Runs voltrana-demo like a player would: in a fresh folder with its own config.ini, the game's
// models and sounds linked in, a script of inputs, and the dumps, shots and log read back afterwards.
#pragma once
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

// The five settings written to the run's config.ini.
struct DemoConfig {
    int sceneDetail = 1;
    int width = 800;
    int height = 600;
    int format = 1;
    int sound = 1;
    // The file as the options screen writes it.
    std::string Text() const;
};

// An RGBA picture read from a shot.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;
    bool Valid() const { return width > 0 && height > 0; }
    const uint8_t* At(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
    // Whether any pixel in [x0, x1) × [y0, y1) differs from the other picture's.
    bool RegionDiffers(const Picture& other, int x0, int y0, int x1, int y1) const;
};

// Width and height from a PNG file's header; false when it is no PNG.
bool ReadPngSize(const std::string& path, int& width, int& height);
// Decodes a PNG file into RGBA; an invalid picture when it cannot.
Picture ReadPng(const std::string& path);

// Builds a script line by line.
class ScriptBuilder {
public:
    ScriptBuilder& Add(int frame, const std::string& command);
    ScriptBuilder& Tap(int frame, const std::string& key) { return Add(frame, "tap " + key); }
    ScriptBuilder& KeyDown(int frame, const std::string& key) { return Add(frame, "key " + key + " down"); }
    ScriptBuilder& KeyUp(int frame, const std::string& key) { return Add(frame, "key " + key + " up"); }
    ScriptBuilder& Mouse(int frame, int x, int y);
    ScriptBuilder& Click(int frame, int x, int y);
    ScriptBuilder& Shot(int frame, const std::string& name) { return Add(frame, "shot " + name); }
    ScriptBuilder& Dump(int frame, const std::string& name) { return Add(frame, "dump " + name); }
    ScriptBuilder& Quit(int frame) { return Add(frame, "quit"); }
    // Types a word on the password screen: one letter every other frame from `frame`; returns the
    // frame after the last letter's release.
    int Type(int frame, const std::string& word);
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

// One run of the demo in its own temporary folder (removed afterwards unless VOLTRANA_E2E_KEEP is set).
class DemoRun {
public:
    explicit DemoRun(const DemoConfig& config = DemoConfig{});
    ~DemoRun();
    DemoRun(const DemoRun&) = delete;
    DemoRun& operator=(const DemoRun&) = delete;

    // Runs the demo on a script file with extra arguments (--out is added: dir()/out unless given).
    // Returns the exit status (-1 if it could not run or was killed after the time limit).
    int RunFile(const std::string& scriptPath, std::vector<std::string> args = {}, int timeoutSeconds = 600);
    // Writes the text as dir()/script.txt and runs it.
    int Run(const std::string& scriptText, std::vector<std::string> args = {}, int timeoutSeconds = 600);

    const std::string& dir() const { return dir_; }
    std::string outDir() const { return outDir_; }
    int status() const { return status_; }
    const std::string& errors() const { return stderr_; }

    // out/NAME.json parsed; a null value when missing or unreadable.
    nlohmann::json Dump(const std::string& name) const;
    bool HasDump(const std::string& name) const;
    std::string ShotPath(const std::string& name) const { return outDir_ + "/" + name + ".png"; }
    Picture Shot(const std::string& name) const { return ReadPng(ShotPath(name)); }
    // The bytes of a file of the run's folder (log.txt, config.ini).
    std::string File(const std::string& name) const;

private:
    std::string dir_;
    std::string outDir_;
    int status_ = -1;
    std::string stderr_;
};

// A fixed script of tests/e2e/scripts.
std::string ScriptPath(const std::string& name);

// A pixel of the back buffer for a point of the virtual 800 × 600 menu screen.
int VirtualX(double x, int width);
int VirtualY(double y, int height);

// Every sound of `played` arrays of the dumps whose file is `file`.
int CountPlays(const nlohmann::json& dump, const std::string& file);
