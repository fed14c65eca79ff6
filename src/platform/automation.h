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

// What the device did for the last frame it presented, counted while counting is on (the timedemo
// turns it on). Fragments are counted as they pass the depth and alpha tests, so a pixel painted
// over three times counts three.
struct FrameWork {
    uint64_t fragmentsDrawn = 0;
    uint32_t drawCalls = 0;  // draw calls the game made
    uint32_t pixels = 0;     // pixels of the back buffer
};
void SetFrameWorkCounting(bool on);
bool FrameWorkCounting();
const FrameWork& LastFrameWork();

// The device's speed levers, each on unless switched off. None of them changes a picture beyond a
// rounding (the rendering tests switch each off in turn to prove it); the switches are there for those
// tests and to measure what each lever gives.
struct SpeedLevers {
    // Mip chains made on the processor: no blit programs to compile.
    bool processorMipmaps = true;
    // Back faces that cannot show are culled (closed opaque meshes seen from outside).
    bool hiddenBackFaces = true;
    // Vertex colours checked for alpha 255, so that an alpha test that cannot fail is left out.
    bool opaqueVertexAlpha = true;
    // A refilled vertex buffer that holds what it held already is not uploaded again.
    bool skipUnchangedUploads = true;
    // Linked shader programs kept between runs as program binaries, loaded instead of compiled.
    bool programBinaries = true;
    // The runs of a big draw's triangles that lie wholly outside the view are not drawn.
    bool offscreenChunks = true;
    // The shader compiler's code pages are let go of after every frame; the next compile reads them back.
    bool idleCompilerCode = true;
    // The C heap grown once in 2 MiB pages before the driver starts, its freed blocks reused.
    bool largeHeapPages = true;
};
SpeedLevers& GetSpeedLevers();
// Switches the lever called `name` (its field name above); false when there is no such lever.
bool SetSpeedLever(const char* name, bool on);
// The levers' names, ending with nullptr.
const char* const* SpeedLeverNames();

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
