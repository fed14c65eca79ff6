// The automation seam and the simulated failure switches.
#include "platform/automation.h"

#include <array>
#include <cstring>
#include <iterator>

#include "platform/platform_internal.h"

namespace {
Automation* s_automation = nullptr;
bool s_counting = false;
FrameWork s_lastFrame;
}  // namespace

void SetAutomation(Automation* automation) {
    s_automation = automation;
}
Automation* GetAutomation() {
    return s_automation;
}

PlatformFaults& GetPlatformFaults() {
    static PlatformFaults faults;
    return faults;
}

SpeedLevers& GetSpeedLevers() {
    static SpeedLevers levers;
    return levers;
}

namespace {
struct LeverEntry {
    const char* name;
    bool SpeedLevers::*field;
};
const LeverEntry kLevers[] = {
    {"processorMipmaps", &SpeedLevers::processorMipmaps},
    {"hiddenBackFaces", &SpeedLevers::hiddenBackFaces},
    {"opaqueVertexAlpha", &SpeedLevers::opaqueVertexAlpha},
    {"skipUnchangedUploads", &SpeedLevers::skipUnchangedUploads},
    {"programBinaries", &SpeedLevers::programBinaries},
    {"offscreenChunks", &SpeedLevers::offscreenChunks},
    {"idleCompilerCode", &SpeedLevers::idleCompilerCode},
    {"largeHeapPages", &SpeedLevers::largeHeapPages},
};
}  // namespace

bool SetSpeedLever(const char* name, bool on) {
    for (const LeverEntry& e : kLevers) {
        if (std::strcmp(e.name, name) == 0) {
            GetSpeedLevers().*e.field = on;
            return true;
        }
    }
    return false;
}

const char* const* SpeedLeverNames() {
    static const auto names = [] {
        std::array<const char*, std::size(kLevers) + 1> all{};
        for (size_t i = 0; i < std::size(kLevers); ++i) all[i] = kLevers[i].name;
        return all;
    }();
    return names.data();
}

void SetFrameWorkCounting(bool on) {
    s_counting = on;
}
bool FrameWorkCounting() {
    return s_counting;
}
const FrameWork& LastFrameWork() {
    return s_lastFrame;
}
void platform::RecordFrameWork(const FrameWork& work) {
    s_lastFrame = work;
}
