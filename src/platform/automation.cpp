// The automation seam and the simulated failure switches.
#include "platform/automation.h"

#include "platform/platform_internal.h"

namespace {
Automation* s_automation = nullptr;
}

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
