// Window, messages, automation seams, input, code page 1250 and the device's defensive edges.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/automation.h"
#include "platform/cp1250.h"
#include "platform/dinput.h"
#include "render_helpers.h"

namespace {

class ScriptedAutomation : public Automation {
public:
    int64_t PerformanceCounter() override { return counter; }
    int64_t PerformanceFrequency() override { return 2400000; }
    uint32_t Milliseconds() override { return 1234; }
    bool BeforeFrame() override {
        ++frames;
        return keepRunning;
    }
    void AfterPresent() override { ++presents; }
    void KeyboardState(uint8_t keys[256]) override {
        std::memset(keys, 0, 256);
        keys[DIK_Y] = 0x80;
    }
    void MouseState(int& x, int& y, bool& left, bool& right) override {
        x = mouseX;
        y = mouseY;
        left = true;
        right = false;
    }

    int64_t counter = 4800000;
    bool keepRunning = true;
    int frames = 0;
    int presents = 0;
    int mouseX = 5;
    int mouseY = 7;
};

int s_destroyMessages = 0;
LRESULT QuittingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ++s_destroyMessages;
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class Shell : public ::testing::Test {
protected:
    void TearDown() override {
        SetAutomation(nullptr);
        GetPlatformFaults() = PlatformFaults{};
        DestroyTestDevice();
    }
};

TEST_F(Shell, ClosingThroughTheAutomationDestroysTheWindowAndQuits) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = QuittingWindowProc;
    wc.lpszClassName = "ZRM7 - Voltrana";
    ASSERT_TRUE(RegisterClassExA(&wc));
    HWND window = CreateWindowExA(WS_EX_APPWINDOW, "ZRM7 - Voltrana", "ZRM7 - Voltrana", WS_POPUP, 0, 0, 320,
                                  200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(CreateWindowExA(0, "unknown class", "x", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    ShowWindow(window, SW_SHOWDEFAULT);

    ScriptedAutomation automation;
    SetAutomation(&automation);
    MSG msg{};
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));  // empty queue: a frame may run
    EXPECT_EQ(automation.frames, 1);

    automation.keepRunning = false;
    s_destroyMessages = 0;
    int guard = 0;
    while (msg.message != WM_QUIT && guard++ < 10) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(s_destroyMessages, 1);
    SetAutomation(nullptr);
    DestroyWindow(window);
    EXPECT_EQ(s_destroyMessages, 1);  // one WM_DESTROY per window
    UnregisterClassA("ZRM7 - Voltrana", nullptr);
}

TEST_F(Shell, ClocksCursorAndInputComeFromTheAutomation) {
    ASSERT_TRUE(CreateTestDevice(64, 48));
    ScriptedAutomation automation;
    SetAutomation(&automation);
    LARGE_INTEGER counter{}, frequency{};
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    EXPECT_EQ(counter.QuadPart, 4800000);
    EXPECT_EQ(frequency.QuadPart, 2400000);
    EXPECT_EQ(timeGetTime(), 1234u);

    POINT p{};
    GetCursorPos(&p);
    ScreenToClient(g_hWnd, &p);
    EXPECT_EQ(p.x, 5);
    EXPECT_EQ(p.y, 7);
    automation.mouseX = 500;  // outside the back buffer: clamped to its last pixel
    automation.mouseY = -3;
    GetCursorPos(&p);
    EXPECT_EQ(p.x, 63);
    EXPECT_EQ(p.y, 0);

    IDirectInput8A* input = nullptr;
    ASSERT_EQ(DirectInput8Create(nullptr, DIRECTINPUT_VERSION, IID_IDirectInput8A,
                                 reinterpret_cast<void**>(&input), nullptr),
              S_OK);
    IDirectInputDevice8A* keyboard = nullptr;
    IDirectInputDevice8A* mouse = nullptr;
    ASSERT_EQ(input->CreateDevice(GUID_SysKeyboard, &keyboard, nullptr), S_OK);
    ASSERT_EQ(input->CreateDevice(GUID_SysMouse, &mouse, nullptr), S_OK);
    keyboard->SetDataFormat(&c_dfDIKeyboard);
    mouse->SetDataFormat(&c_dfDIMouse);
    uint8_t keys[256];
    EXPECT_TRUE(FAILED(keyboard->GetDeviceState(256, keys)));  // not acquired yet
    keyboard->Acquire();
    mouse->Acquire();
    ASSERT_EQ(keyboard->GetDeviceState(256, keys), S_OK);
    EXPECT_EQ(keys[DIK_Y], 0x80);
    EXPECT_EQ(keys[DIK_Z], 0);
    EXPECT_TRUE(FAILED(keyboard->GetDeviceState(16, keys)));
    EXPECT_TRUE(FAILED(keyboard->GetDeviceState(256, nullptr)));
    DIMOUSESTATE state{};
    ASSERT_EQ(mouse->GetDeviceState(sizeof(state), &state), S_OK);
    EXPECT_EQ(state.rgbButtons[0], 0x80);
    EXPECT_EQ(state.rgbButtons[1], 0);
    keyboard->Release();
    mouse->Release();
    input->Release();

    g_pDevice->Present(nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(automation.presents, 1);
}

TEST_F(Shell, WithoutAutomationTheRealKeyboardIsReadUpWhenNothingIsHeld) {
    ASSERT_TRUE(CreateTestDevice(64, 48));
    IDirectInput8A* input = nullptr;
    ASSERT_EQ(DirectInput8Create(nullptr, DIRECTINPUT_VERSION, IID_IDirectInput8A,
                                 reinterpret_cast<void**>(&input), nullptr),
              S_OK);
    IDirectInputDevice8A* keyboard = nullptr;
    ASSERT_EQ(input->CreateDevice(GUID_SysKeyboard, &keyboard, nullptr), S_OK);
    keyboard->Acquire();
    uint8_t keys[256];
    std::memset(keys, 0xAA, sizeof(keys));
    ASSERT_EQ(keyboard->GetDeviceState(256, keys), S_OK);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(keys[i], 0) << i;
    LARGE_INTEGER a{}, b{};
    QueryPerformanceCounter(&a);
    QueryPerformanceCounter(&b);
    EXPECT_GE(b.QuadPart, a.QuadPart);
    keyboard->Release();
    input->Release();
}

TEST_F(Shell, SimulatedFailures) {
    GetPlatformFaults().failDirectInput = true;
    void* input = reinterpret_cast<void*>(1);
    EXPECT_TRUE(
        FAILED(DirectInput8Create(nullptr, DIRECTINPUT_VERSION, IID_IDirectInput8A, &input, nullptr)));
    EXPECT_EQ(input, nullptr);

    GetPlatformFaults() = PlatformFaults{};
    GetPlatformFaults().failDirect3DCreate = true;
    EXPECT_FALSE(CreateTestDevice(64, 48));

    // The first device creation fails, the retry succeeds (the 16-bit fallback).
    GetPlatformFaults() = PlatformFaults{};
    GetPlatformFaults().failDeviceCreations = 1;
    EXPECT_FALSE(CreateTestDevice(64, 48));
    EXPECT_EQ(GetPlatformFaults().failDeviceCreations, 0);
    EXPECT_TRUE(CreateTestDevice(64, 48, D3DFMT_A1R5G5B5));

    const int before = MessageBoxCount();
    MessageBoxA(nullptr,
                "Va\x9A"
                "a karta",
                "ERROR", MB_OK);
    EXPECT_EQ(MessageBoxCount(), before + 1);
    EXPECT_STREQ(LastMessageBoxText(),
                 "Va\x9A"
                 "a karta");
}

TEST_F(Shell, DeviceRefusesBadCallsWithoutCrashing) {
    ASSERT_TRUE(CreateTestDevice(32, 32));
    IDirect3DVertexBuffer9* buffer = reinterpret_cast<IDirect3DVertexBuffer9*>(1);
    EXPECT_TRUE(FAILED(
        g_pDevice->CreateVertexBuffer(0, D3DUSAGE_WRITEONLY, 0x152, D3DPOOL_DEFAULT, &buffer, nullptr)));
    EXPECT_EQ(buffer, nullptr);
    DWORD value = 0;
    EXPECT_TRUE(FAILED(g_pDevice->SetRenderState(static_cast<D3DRENDERSTATETYPE>(5000), 1)));
    EXPECT_TRUE(FAILED(g_pDevice->GetRenderState(D3DRS_LIGHTING, nullptr)));
    EXPECT_TRUE(FAILED(g_pDevice->SetSamplerState(99, D3DSAMP_MINFILTER, 1)));
    EXPECT_TRUE(
        FAILED(g_pDevice->GetTextureStageState(0, static_cast<D3DTEXTURESTAGESTATETYPE>(99), &value)));
    EXPECT_TRUE(FAILED(g_pDevice->SetTexture(99, nullptr)));
    EXPECT_TRUE(FAILED(g_pDevice->SetLight(0, nullptr)));
    EXPECT_TRUE(FAILED(g_pDevice->GetLight(77, reinterpret_cast<D3DLIGHT9*>(&value))));
    EXPECT_TRUE(FAILED(g_pDevice->SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(17), nullptr)));
    EXPECT_TRUE(FAILED(g_pDevice->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, nullptr, 28)));
    EXPECT_TRUE(FAILED(g_pDevice->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1)));  // no stream
    EXPECT_TRUE(FAILED(g_pDevice->ReadBackBuffer(nullptr, 32, 32)));

    // Drawing past the end of a vertex buffer is refused rather than read.
    ASSERT_EQ(g_pDevice->CreateVertexBuffer(3 * sizeof(ColoredVertex), D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY,
                                            0x152, D3DPOOL_DEFAULT, &buffer, nullptr),
              S_OK);
    EXPECT_EQ(buffer->GetLength(), 3 * sizeof(ColoredVertex));
    void* data = nullptr;
    EXPECT_TRUE(FAILED(buffer->Lock(200, 0, &data, 0)));
    ASSERT_EQ(buffer->Lock(0, 0, &data, D3DLOCK_DISCARD | D3DLOCK_NOOVERWRITE), S_OK);
    const ColoredVertex v[3] = {{-1, -1, 0.5f, 0, 0, -1, 0xFFFF0000u, 0, 0},
                                {0, 1, 0.5f, 0, 0, -1, 0xFFFF0000u, 0, 0},
                                {1, -1, 0.5f, 0, 0, -1, 0xFFFF0000u, 0, 0}};
    std::memcpy(data, v, sizeof(v));
    ASSERT_EQ(buffer->Unlock(), S_OK);
    g_pDevice->SetStreamSource(0, buffer, 0, sizeof(ColoredVertex));
    g_pDevice->SetFVF(0x152);
    g_pDevice->SetRenderState(D3DRS_LIGHTING, FALSE);
    D3DMATRIX identity{};
    identity._11 = identity._22 = identity._33 = identity._44 = 1;
    g_pDevice->SetTransform(D3DTS_PROJECTION, &identity);
    ClearTo(0xFF000000u);
    const UINT callsBefore = g_pDevice->GetDrawCallCount();
    EXPECT_TRUE(FAILED(g_pDevice->DrawPrimitive(D3DPT_TRIANGLELIST, 1, 1)));
    EXPECT_TRUE(FAILED(g_pDevice->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2)));
    EXPECT_TRUE(FAILED(g_pDevice->DrawPrimitive(D3DPT_TRIANGLELIST, 0xFFFFFFF0u, 1)));
    EXPECT_EQ(g_pDevice->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), S_OK);
    EXPECT_EQ(g_pDevice->GetDrawCallCount(), callsBefore + 1);
    EXPECT_EQ(ReadPixel(16, 16), 0xFFFF0000u);
    g_pDevice->SetStreamSource(0, nullptr, 0, 0);
    buffer->Release();
}

TEST_F(Shell, StatesReadBackAsSetAndStartAtDirect3DDefaults) {
    ASSERT_TRUE(CreateTestDevice(32, 32));
    DWORD value = 0;
    g_pDevice->GetRenderState(D3DRS_CULLMODE, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DCULL_CCW));
    g_pDevice->GetRenderState(D3DRS_LIGHTING, &value);
    EXPECT_EQ(value, 1u);
    g_pDevice->GetTextureStageState(1, D3DTSS_COLOROP, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DTOP_DISABLE));
    g_pDevice->GetTextureStageState(1, D3DTSS_TEXCOORDINDEX, &value);
    EXPECT_EQ(value, 1u);
    g_pDevice->GetSamplerState(0, D3DSAMP_ADDRESSU, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DTADDRESS_WRAP));

    g_pDevice->SetRenderState(D3DRS_ALPHAREF, 1);
    g_pDevice->GetRenderState(D3DRS_ALPHAREF, &value);
    EXPECT_EQ(value, 1u);
    g_pDevice->SetSamplerState(1, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
    g_pDevice->GetSamplerState(1, D3DSAMP_MIPFILTER, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DTEXF_LINEAR));
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_POINT;
    light.Range = 177;
    light.Attenuation0 = 1.4f;
    g_pDevice->SetLight(1, &light);
    g_pDevice->LightEnable(1, TRUE);
    D3DLIGHT9 back{};
    ASSERT_EQ(g_pDevice->GetLight(1, &back), S_OK);
    EXPECT_EQ(back.Range, 177.0f);
    BOOL enabled = FALSE;
    g_pDevice->GetLightEnable(1, &enabled);
    EXPECT_TRUE(enabled);
    D3DMATRIX m{};
    m._11 = 2;
    m._44 = 1;
    g_pDevice->SetTransform(D3DTS_VIEW, &m);
    D3DMATRIX got{};
    g_pDevice->GetTransform(D3DTS_VIEW, &got);
    EXPECT_EQ(got._11, 2.0f);
    g_pDevice->SetFVF(0x212);
    g_pDevice->GetFVF(&value);
    EXPECT_EQ(value, 0x212u);
}

TEST(KeyNames, RoundTripAndKnowTheScriptNames) {
    for (int code = 0; code < 256; ++code) {
        const char* name = DikName(code);
        if (name) {
            EXPECT_EQ(DikFromName(name), code) << name;
        }
    }
    EXPECT_EQ(DikFromName("ESCAPE"), DIK_ESCAPE);
    EXPECT_EQ(DikFromName("NUMPADENTER"), DIK_NUMPADENTER);
    EXPECT_EQ(DikFromName("RCONTROL"), DIK_RCONTROL);
    EXPECT_EQ(DikFromName("BACK"), DIK_BACK);
    EXPECT_EQ(DikFromName("Y"), DIK_Y);
    EXPECT_EQ(DikFromName("0"), DIK_0);
    EXPECT_STREQ(DikName(DIK_DOWN), "DOWN");
    EXPECT_STREQ(DikName(DIK_LSHIFT), "LSHIFT");
    EXPECT_EQ(DikFromName("DIK_A"), -1);
    EXPECT_EQ(DikFromName("a"), -1);
    EXPECT_EQ(DikFromName(nullptr), -1);
    EXPECT_EQ(DikName(0), nullptr);
    EXPECT_EQ(DikName(-5), nullptr);
}

TEST(CodePage1250, MapsTheSlovakLetters) {
    EXPECT_EQ(Cp1250ToCodePoint(0x8A), U'\u0160');  // Š
    EXPECT_EQ(Cp1250ToCodePoint(0x9E), U'\u017E');  // ž
    EXPECT_EQ(Cp1250ToCodePoint(0xE1), U'\u00E1');  // á
    EXPECT_EQ(Cp1250ToCodePoint(0xED), U'\u00ED');  // í
    EXPECT_EQ(Cp1250ToCodePoint(0xF4), U'\u00F4');  // ô
    EXPECT_EQ(Cp1250ToCodePoint(0xFD), U'\u00FD');  // ý
    EXPECT_EQ(Cp1250ToCodePoint('A'), U'A');
    EXPECT_EQ(Cp1250ToUtf8("Moment pros\xED"
                           "m"),
              "Moment pros\xC3\xADm");
    // Every assigned byte survives the trip through UTF-8.
    std::string all;
    for (int b = 1; b < 256; ++b)
        if (Cp1250ToCodePoint(static_cast<unsigned char>(b)) != 0xFFFD) all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp1250(Cp1250ToUtf8(all)), all);
    EXPECT_EQ(Utf8ToCp1250("Va\xC5\xA1"
                           "a"),
              "Va\x9A"
              "a");
    // Characters outside the code page and broken UTF-8 become '?', never a crash.
    EXPECT_EQ(Utf8ToCp1250("\xE2\x98\x83"), "?");
    EXPECT_EQ(Utf8ToCp1250("a\xC5"), "a?");
    EXPECT_EQ(Utf8ToCp1250("\xFF"
                           "b"),
              "?b");
}

}  // namespace
