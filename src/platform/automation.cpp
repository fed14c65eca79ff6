// The automation seam and the simulated failure switches.
#include "platform/automation.h"

#include <cstring>

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

bool SetSpeedLever(const char* name, bool on) {
    struct Entry {
        const char* name;
        bool SpeedLevers::*field;
    };
    static const Entry kLevers[] = {
        {"processorMipmaps", &SpeedLevers::processorMipmaps},
        {"hiddenBackFaces", &SpeedLevers::hiddenBackFaces},
        {"opaqueVertexAlpha", &SpeedLevers::opaqueVertexAlpha},
        {"skipUnchangedUploads", &SpeedLevers::skipUnchangedUploads},
    };
    for (const Entry& e : kLevers) {
        if (std::strcmp(e.name, name) == 0) {
            GetSpeedLevers().*e.field = on;
            return true;
        }
    }
    return false;
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
