#include "demo/demo_runner.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <malloc.h>
#include <time.h>
#include <unistd.h>

#include "app/win_main.h"
#include "demo/png_writer.h"
#include "engine/engine.h"
#include "engine/sound.h"
#include "menu/menu.h"

namespace {

// Divisible by the usual frame rates, so a frame lasts a whole number of ticks.
const int64_t kVirtualFrequency = 2400000;

DemoRunner* s_runner = nullptr;

// Seconds since boot at which this process started, from /proc/self/stat (clock ticks), or -1.
double ProcessStartSeconds() {
    std::ifstream in("/proc/self/stat");
    std::string stat;
    std::getline(in, stat);
    // The command name, in parentheses, may hold spaces; the fields are counted after its end.
    const size_t close = stat.rfind(')');
    if (close == std::string::npos) return -1.0;
    std::istringstream fields(stat.substr(close + 1));
    // The fields after the name begin at field 3; field 22 is the start time.
    std::string skipped;
    for (int i = 3; i < 22; ++i) fields >> skipped;
    unsigned long long startTicks = 0;
    if (!(fields >> startTicks)) return -1.0;
    const long ticksPerSecond = sysconf(_SC_CLK_TCK);
    return ticksPerSecond > 0 ? static_cast<double>(startTicks) / ticksPerSecond : -1.0;
}

// Processor time of the whole process (every thread) or of the calling thread, in milliseconds.
double CpuMs(clockid_t clock) {
    timespec now{};
    if (clock_gettime(clock, &now) != 0) return 0.0;
    return static_cast<double>(now.tv_sec) * 1e3 + now.tv_nsec / 1e6;
}

double SecondsSinceBoot() {
    timespec now{};
    if (clock_gettime(CLOCK_BOOTTIME, &now) != 0) return -1.0;
    return static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9;
}

void SoundPlayed(const Sound& sound, uint8_t looped) {
    if (s_runner) s_runner->OnSoundPlayed(sound.file ? sound.file : "", looped != 0);
}

void SoundStopped(const Sound& sound) {
    if (s_runner) s_runner->OnSoundStopped(sound.file ? sound.file : "");
}

}  // namespace

DemoRunner::DemoRunner(Script script, DemoOptions options) : options_(std::move(options)) {
    for (const ScriptEvent& e : script.events) {
        if (e.kind == ScriptEvent::Quit) {
            if (quitFrame_ < 0 || e.frame < quitFrame_) quitFrame_ = e.frame;
        } else if (e.kind == ScriptEvent::Shot || e.kind == ScriptEvent::Dump ||
                   e.kind == ScriptEvent::Memory) {
            outputEvents_.push_back(e);
        } else {
            inputEvents_.push_back(e);
        }
    }
    const double fps = options_.fps > 0.0 ? options_.fps : 30.0;
    ticksPerFrame_ = std::max<int64_t>(1, std::llround(kVirtualFrequency / fps));
    realStart_ = RealTicks();
    if (options_.timedemo) SetFrameWorkCounting(true);
}

DemoRunner::~DemoRunner() {
    if (options_.timedemo) SetFrameWorkCounting(false);
    if (GetAutomation() == this) SetAutomation(nullptr);
    if (s_runner == this) s_runner = nullptr;
}

int64_t DemoRunner::RealTicks() const {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double DemoRunner::SecondsElapsed() const {
    if (options_.timedemo) return (RealTicks() - realStart_) / 1e9;
    return static_cast<double>(virtualNow_) / kVirtualFrequency;
}

int DemoRunner::Run() {
    s_runner = this;
    g_soundObserver.played = SoundPlayed;
    g_soundObserver.stopped = SoundStopped;
    SetAutomation(this);
    const int status = WinMain(nullptr, nullptr, const_cast<char*>(""), SW_SHOWDEFAULT);
    // A dump asked for the very last frame is written once the game has stopped.
    FlushDumps(frame_);
    SetAutomation(nullptr);
    g_soundObserver = SoundObserver{};
    s_runner = nullptr;
    return status;
}

int64_t DemoRunner::PerformanceFrequency() {
    return options_.timedemo ? 1000000000 : kVirtualFrequency;
}

int64_t DemoRunner::PerformanceCounter() {
    if (options_.timedemo) {
        const int64_t now = RealTicks();
        if (framesBegun_ && samplesThisFrame_++ == 1) {
            const double ms = (now - frameStartTicks_) / 1e6;
            times_.workMs.push_back(ms);
            if (g_menu.active == 0) times_.gameWorkMs.push_back(ms);
        }
        return now;
    }
    // The first sample of a frame is its start; the second, its end one frame later; every further
    // sample (the frame-rate cap spinning) moves the clock on by a small step.
    if (framesBegun_) {
        const int sample = samplesThisFrame_++;
        if (sample == 1) {
            virtualNow_ += ticksPerFrame_ + stallTicks_;
            stallTicks_ = 0;
        } else if (sample > 1)
            virtualNow_ += std::max<int64_t>(1, ticksPerFrame_ / 64);
    }
    return virtualNow_;
}

uint32_t DemoRunner::Milliseconds() {
    // Start-up seeds the random generator from this clock: it reads the seed.
    if (!framesBegun_) return options_.seed;
    const double ms =
        options_.timedemo ? (RealTicks() - realStart_) / 1e6 : virtualNow_ * 1000.0 / kVirtualFrequency;
    return options_.seed + static_cast<uint32_t>(ms);
}

void DemoRunner::ApplyEvents() {
    while (nextInput_ < inputEvents_.size() && inputEvents_[nextInput_].frame <= frame_) {
        const ScriptEvent& e = inputEvents_[nextInput_++];
        switch (e.kind) {
            case ScriptEvent::KeyDown:
                keys_[e.key] = 0x80;
                LatchKeyPress(e.key);
                break;
            case ScriptEvent::KeyUp:
                keys_[e.key] = 0;
                break;
            case ScriptEvent::Mouse:
                mouseSet_ = true;
                mouseX_ = e.x;
                mouseY_ = e.y;
                break;
            case ScriptEvent::ButtonDown:
                buttons_[e.button] = true;
                LatchButtonPress(e.button);
                break;
            case ScriptEvent::ButtonUp:
                buttons_[e.button] = false;
                break;
            case ScriptEvent::Stall:  // on the virtual clock only; a timedemo measures real frames
                stallTicks_ += static_cast<int64_t>(e.x) * kVirtualFrequency / 1000;
                break;
            default:
                break;
        }
    }
}

bool DemoRunner::BeforeFrame() {
    FlushDumps(frame_ - 1);
    if (options_.maxFrames >= 0 && frame_ >= options_.maxFrames) return false;
    if (quitFrame_ >= 0 && frame_ >= quitFrame_) return false;
    ApplyEvents();
    const int64_t now = options_.timedemo ? RealTicks() : virtualNow_;
    if (framesBegun_ && options_.timedemo) times_.frameMs.push_back((now - frameStartTicks_) / 1e6);
    frameStartTicks_ = now;
    if (options_.timedemo) {
        frameStartCpuMs_ = CpuMs(CLOCK_PROCESS_CPUTIME_ID);
        frameStartThreadCpuMs_ = CpuMs(CLOCK_THREAD_CPUTIME_ID);
    }
    inFrame_ = true;
    framesBegun_ = true;
    samplesThisFrame_ = 0;
    return true;
}

void DemoRunner::AfterPresent() {
    if (!inFrame_) return;  // the loading screen's frame is not one of the script's frames
    if (options_.timedemo && g_menu.active == 0) {
        const FrameWork& work = LastFrameWork();
        times_.gameFragmentsDrawn += work.fragmentsDrawn;
        times_.gamePixels += work.pixels;
        times_.gameDrawCalls += work.drawCalls;
        ++times_.gameFramesCounted;
        times_.gameCpuMs += CpuMs(CLOCK_PROCESS_CPUTIME_ID) - frameStartCpuMs_;
        times_.gameMainThreadCpuMs += CpuMs(CLOCK_THREAD_CPUTIME_ID) - frameStartThreadCpuMs_;
    }
    while (nextOutput_ < outputEvents_.size() && outputEvents_[nextOutput_].frame <= frame_) {
        const ScriptEvent& e = outputEvents_[nextOutput_++];
        if (e.kind == ScriptEvent::Shot)
            WriteShot(e.name);
        else if (e.kind == ScriptEvent::Memory)
            ReportMemory(e.name, frame_);
        else
            pendingDumps_.emplace_back(e.name, frame_);
    }
    if (frame_ == 0) {
        const double started = ProcessStartSeconds(), now = SecondsSinceBoot();
        if (started >= 0.0 && now >= started) startupMs_ = (now - started) * 1000.0;
    }
    ++frame_;
    inFrame_ = false;
}

void DemoRunner::FlushDumps(long completedFrame) {
    auto it = pendingDumps_.begin();
    while (it != pendingDumps_.end()) {
        if (it->second <= completedFrame) {
            WriteDump(it->first, it->second);
            it = pendingDumps_.erase(it);
        } else {
            ++it;
        }
    }
}

void DemoRunner::KeyboardState(uint8_t keys[256]) {
    std::copy(keys_, keys_ + 256, keys);
}

void DemoRunner::MouseState(int& x, int& y, bool& left, bool& right) {
    if (!mouseSet_) {
        mouseX_ = static_cast<int>(g_engine.width / 2);
        mouseY_ = static_cast<int>(g_engine.height / 2);
        mouseSet_ = true;
    }
    x = mouseX_;
    y = mouseY_;
    left = buttons_[0];
    right = buttons_[1];
}

void DemoRunner::OnSoundPlayed(const std::string& file, bool loop) {
    played_.push_back(SoundEvent{frame_, file, loop});
    looping_.erase(std::remove(looping_.begin(), looping_.end(), file), looping_.end());
    if (loop) looping_.push_back(file);
}

void DemoRunner::OnSoundStopped(const std::string& file) {
    looping_.erase(std::remove(looping_.begin(), looping_.end(), file), looping_.end());
}

void DemoRunner::WriteShot(const std::string& name) {
    const int w = static_cast<int>(g_engine.width);
    const int h = static_cast<int>(g_engine.height);
    if (!g_pDevice || w <= 0 || h <= 0) {
        errors_.push_back("shot " + name + ": no device");
        return;
    }
    std::vector<uint8_t> rgba(static_cast<size_t>(w) * h * 4);
    if (FAILED(g_pDevice->ReadBackBuffer(rgba.data(), w, h))) {
        errors_.push_back("shot " + name + ": the back buffer could not be read");
        return;
    }
    std::error_code ec;
    std::filesystem::create_directories(options_.outDir, ec);
    const std::string path = options_.outDir + "/" + name + ".png";
    if (!WritePng(path, rgba.data(), w, h)) errors_.push_back("shot " + name + ": cannot write " + path);
}

void DemoRunner::WriteDump(const std::string& name, long frame) {
    std::error_code ec;
    std::filesystem::create_directories(options_.outDir, ec);
    const std::string path = options_.outDir + "/" + name + ".json";
    std::ofstream out(path, std::ios::trunc);
    out << DumpState(frame, played_, looping_).dump(2) << "\n";
    if (!out) errors_.push_back("dump " + name + ": cannot write " + path);
    played_.clear();
}

void DemoRunner::ReportMemory(const std::string& name, long frame) {
    // Resident set size from /proc (pages), and the bytes the C heap has handed out and not got back.
    long residentPages = -1;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        long totalPages = 0;
        if (std::fscanf(f, "%ld %ld", &totalPages, &residentPages) != 2) residentPages = -1;
        std::fclose(f);
    }
    const long long rss =
        residentPages < 0 ? -1 : static_cast<long long>(residentPages) * sysconf(_SC_PAGESIZE);
    const struct mallinfo2 heap = mallinfo2();
    const long long heapInUse = static_cast<long long>(heap.uordblks) + static_cast<long long>(heap.hblkhd);
    std::printf("memory %s frame %ld rss %lld heap %lld\n", name.c_str(), frame, rss, heapInUse);
    std::fflush(stdout);
    if (rss < 0) errors_.push_back("memory " + name + ": /proc/self/statm could not be read");
}
