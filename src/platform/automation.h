// Seams through which the demo runner and the tests drive the real game: a virtual clock, scripted
// keyboard and mouse, hooks between frames, and switches that simulate a failing environment.
#pragma once
#include <cstdint>

class Automation {
public:
    virtual ~Automation() = default;
    // Replaces QueryPerformanceCounter/Frequency and timeGetTime.
    virtual int64_t PerformanceCounter() = 0;
    virtual int64_t PerformanceFrequency() = 0;
    virtual uint32_t Milliseconds() = 0;
    // Called by PeekMessageA when the queue is empty, just before the next frame is rendered.
    // Returning false closes the window (as the player closing it would).
    virtual bool BeforeFrame() = 0;
    // Called by Present after the frame reached the back buffer (and the window).
    virtual void AfterPresent() = 0;
    // The keyboard as 256 DIK-indexed bytes (bit 7 set = down) and the mouse in back-buffer pixels.
    virtual void KeyboardState(uint8_t keys[256]) = 0;
    virtual void MouseState(int& x, int& y, bool& left, bool& right) = 0;
};

// Installs (or, with nullptr, removes) the automation. Not owned.
void SetAutomation(Automation* automation);
Automation* GetAutomation();

// A press seen between two frames (a key or button event from the window system, or a scripted one):
// the next read of the keyboard or mouse shows it down even if it was already released, so a tap
// shorter than a frame counts as held for exactly one frame.
void LatchKeyPress(int dikCode);
void LatchButtonPress(int button);  // 0 left, 1 right

// Test switches for failures the real hardware would produce.
struct PlatformFaults {
    int failDeviceCreations = 0;  // the next n CreateDevice calls fail
    bool failDirect3DCreate = false;
    bool failDirectInput = false;
};
PlatformFaults& GetPlatformFaults();

// Message boxes shown so far (tests read them; they are also shown, unless headless).
const char* LastMessageBoxText();
int MessageBoxCount();
