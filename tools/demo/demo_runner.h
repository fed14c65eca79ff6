// Runs the real game with a virtual clock and scripted input, taking shots and dumps on the way.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "demo/dump.h"
#include "demo/script.h"
#include "platform/automation.h"

struct DemoOptions {
    std::string outDir = "demo-out";
    double fps = 30.0;
    uint32_t seed = 1;
    long maxFrames = -1;
    bool timedemo = false;
    bool window = false;
};

struct FrameTimes {
    std::vector<double> frameMs;     // start of one frame to the start of the next
    std::vector<double> workMs;      // start of a frame to the first sample of its end, before the cap's wait
    std::vector<double> gameWorkMs;  // the same, for the frames drawn in game mode only
    // Sums over the game-mode frames of what the device counted (FrameWork) and of processor time.
    uint64_t gameFragmentsDrawn = 0;
    uint64_t gamePixels = 0;
    uint64_t gameDrawCalls = 0;
    uint64_t gameFramesCounted = 0;
    double gameCpuMs = 0.0;            // every thread of the process
    double gameMainThreadCpuMs = 0.0;  // the game's own thread
};

class DemoRunner : public Automation {
public:
    DemoRunner(Script script, DemoOptions options);
    ~DemoRunner() override;

    // Runs WinMain under this runner; returns its exit status.
    int Run();
    long FramesRendered() const { return frame_; }
    const FrameTimes& Times() const { return times_; }
    double SecondsElapsed() const;
    // Milliseconds from the process's start to the first frame presented by the game loop (the first
    // intro frame), or a negative number when it could not be measured.
    double StartupMs() const { return startupMs_; }
    // Problems met while writing shots and dumps (empty when all went well).
    const std::vector<std::string>& Errors() const { return errors_; }

    int64_t PerformanceCounter() override;
    int64_t PerformanceFrequency() override;
    uint32_t Milliseconds() override;
    bool BeforeFrame() override;
    void AfterPresent() override;
    void KeyboardState(uint8_t keys[256]) override;
    void MouseState(int& x, int& y, bool& left, bool& right) override;

    // Sound bookkeeping (called from the sound observer).
    void OnSoundPlayed(const std::string& file, bool loop);
    void OnSoundStopped(const std::string& file);

private:
    int64_t RealTicks() const;
    void ApplyEvents();
    void WriteShot(const std::string& name);
    void WriteDump(const std::string& name, long frame);
    void ReportMemory(const std::string& name, long frame);
    void FlushDumps(long completedFrame);

    std::vector<ScriptEvent> inputEvents_;   // keys, mouse, buttons
    std::vector<ScriptEvent> outputEvents_;  // shots and dumps
    long quitFrame_ = -1;
    DemoOptions options_;
    size_t nextInput_ = 0;
    size_t nextOutput_ = 0;
    long frame_ = 0;            // frames completed (presented)
    bool inFrame_ = false;      // between BeforeFrame and the frame's Present
    bool framesBegun_ = false;  // the first frame has begun: the clock counts frames from here
    int samplesThisFrame_ = 0;
    int64_t virtualNow_ = 0;
    int64_t stallTicks_ = 0;  // added to the end of the current frame by a stall
    int64_t ticksPerFrame_ = 0;
    int64_t frameStartTicks_ = 0;
    double frameStartCpuMs_ = 0.0;
    double frameStartThreadCpuMs_ = 0.0;
    int64_t realStart_ = 0;
    uint8_t keys_[256] = {};
    bool mouseSet_ = false;
    int mouseX_ = 0, mouseY_ = 0;
    bool buttons_[2] = {false, false};
    std::vector<std::pair<std::string, long>> pendingDumps_;
    std::vector<SoundEvent> played_;
    std::vector<std::string> looping_;
    FrameTimes times_;
    double startupMs_ = -1.0;
    std::vector<std::string> errors_;
};
