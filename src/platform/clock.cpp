// Performance counter and millisecond clock over SDL, or the automation's virtual clock.
#include <SDL.h>

#include "platform/automation.h"
#include "platform/win32.h"

namespace {

uint64_t StartCounter() {
    static const uint64_t start = SDL_GetPerformanceCounter();
    return start;
}

// Taken when the program starts, so timeGetTime counts from then.
const uint64_t s_startCounter = StartCounter();

}  // namespace

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
    if (!count) return FALSE;
    if (Automation* a = GetAutomation()) {
        count->QuadPart = a->PerformanceCounter();
    } else {
        count->QuadPart = static_cast<int64_t>(SDL_GetPerformanceCounter());
    }
    return TRUE;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    if (!frequency) return FALSE;
    if (Automation* a = GetAutomation()) {
        frequency->QuadPart = a->PerformanceFrequency();
    } else {
        frequency->QuadPart = static_cast<int64_t>(SDL_GetPerformanceFrequency());
    }
    return TRUE;
}

DWORD timeGetTime() {
    if (Automation* a = GetAutomation()) return a->Milliseconds();
    (void)s_startCounter;
    uint64_t elapsed = SDL_GetPerformanceCounter() - StartCounter();
    uint64_t frequency = SDL_GetPerformanceFrequency();
    if (frequency == 0) return 0;
    return static_cast<DWORD>(elapsed / frequency * 1000 + (elapsed % frequency) * 1000 / frequency);
}
