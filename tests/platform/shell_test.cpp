// The device's states and its defensive edges, the key names of the scripts, the keyboard by position
// (each SDL scancode, a USB usage id, reads as the DirectInput key at that place on the keyboard, so the
// key at the Y position is DIK_Y on every layout), and code page 1250.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "platform/cp1250.h"
#include "platform/dik_codes.h"
#include "platform/dinput.h"
#include "platform/platform_internal.h"
#include "render_helpers.h"

namespace {

// Set states read back as set is checked through the engine's operations (RenderStates).
TEST(DeviceStates, StartAtDirect3DDefaultsAndRefuseWhatNoGameDoes) {
    ASSERT_TRUE(CreateTestDevice(32, 32));
    const DWORD defaults[][4] = {{'r', 0, D3DRS_CULLMODE, D3DCULL_CCW},
                                 {'r', 0, D3DRS_LIGHTING, 1},
                                 {'t', 1, D3DTSS_COLOROP, D3DTOP_DISABLE},
                                 {'t', 1, D3DTSS_TEXCOORDINDEX, 1},
                                 {'s', 0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP}};
    for (auto [kind, stage, state, value] : defaults) EXPECT_EQ(DeviceState(char(kind), stage, state), value);
    DWORD v = 0;
    D3DMATRIX m{};
    // Calls no game makes are refused, never crash.
    IDirect3DVertexBuffer9* buffer = reinterpret_cast<IDirect3DVertexBuffer9*>(1);
    const std::function<HRESULT()> refused[] = {
        [&] { return g_pDevice->CreateVertexBuffer(0, 0, 0x152, D3DPOOL_DEFAULT, &buffer, nullptr); },
        [&] { return g_pDevice->CreateVertexBuffer(257u << 20, 0, 0x152, D3DPOOL_DEFAULT, &buffer, nullptr); },
        [] { return g_pDevice->SetRenderState(static_cast<D3DRENDERSTATETYPE>(5000), 1); },
        [] { return g_pDevice->GetRenderState(D3DRS_LIGHTING, nullptr); },
        [] { return g_pDevice->SetSamplerState(99, D3DSAMP_MINFILTER, 1); },
        [&] { return g_pDevice->GetTextureStageState(0, D3DTSS_MAX, &v); },
        [] { return g_pDevice->SetTexture(99, nullptr); },
        [] { return g_pDevice->SetLight(0, nullptr); },
        [&] { return g_pDevice->GetLight(77, reinterpret_cast<D3DLIGHT9*>(&m)); },
        [] { return g_pDevice->SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(17), nullptr); },
        [] { return g_pDevice->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, nullptr, 28); },
        [] { return g_pDevice->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1); },  // no stream
        [] { return g_pDevice->ReadBackBuffer(nullptr, 32, 32); },
    };
    for (size_t i = 0; i < std::size(refused); ++i) EXPECT_TRUE(FAILED(refused[i]())) << "call " << i;
    EXPECT_EQ(buffer, nullptr);

    // Locking or drawing past the end of a vertex buffer is refused rather than done.
    ASSERT_EQ(g_pDevice->CreateVertexBuffer(3 * sizeof(ColoredVertex), D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY,
                                            0x152, D3DPOOL_DEFAULT, &buffer, nullptr),
              S_OK);
    void* data = nullptr;
    EXPECT_TRUE(FAILED(buffer->Lock(200, 0, &data, 0)) && FAILED(buffer->Lock(1, buffer->GetLength(), &data, 0)) &&
                FAILED(buffer->Lock(0, 0, nullptr, 0)));
    ASSERT_EQ(buffer->Lock(0, 0, &data, D3DLOCK_DISCARD), S_OK);
    const ColoredVertex triangle[3] = {{-1, -1, 0.5f, 0, 0, -1, 0xFFFF0000u},
                                       {0, 1, 0.5f, 0, 0, -1, 0xFFFF0000u},
                                       {1, -1, 0.5f, 0, 0, -1, 0xFFFF0000u}};
    std::memcpy(data, triangle, sizeof triangle);
    buffer->Unlock(), g_pDevice->SetStreamSource(0, buffer, 0, sizeof(ColoredVertex));
    g_pDevice->SetFVF(0x152), g_pDevice->SetRenderState(D3DRS_LIGHTING, FALSE);
    D3DXMATRIX identity;
    for (auto t : {D3DTS_VIEW, D3DTS_PROJECTION}) g_pDevice->SetTransform(t, D3DXMatrixIdentity(&identity));
    ClearTo(0xFF000000u);
    const UINT before = g_pDevice->GetDrawCallCount();
    for (auto [first, count] : {std::pair{1u, 1u}, {0xFFFFFFF0u, 1u}, {0u, 2u}})
        EXPECT_TRUE(FAILED(g_pDevice->DrawPrimitive(D3DPT_TRIANGLELIST, first, count)));
    EXPECT_EQ(g_pDevice->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), S_OK);
    EXPECT_EQ(g_pDevice->GetDrawCallCount(), before + 1);
    EXPECT_EQ(ReadPixel(16, 16), 0xFFFF0000u);
    g_pDevice->SetStreamSource(0, nullptr, 0, 0), buffer->Release();
    DestroyTestDevice();
}

TEST(Keys, NamesRoundTripAndScancodesReadAsTheKeysAtTheirPositions) {
    for (int code = 0; code < 256; ++code)
        EXPECT_TRUE(!DikName(code) || DikFromName(DikName(code)) == code) << code;
    const char* names[] = {"ESCAPE", "NUMPADENTER", "RCONTROL", "BACK", "Y", "0", "DOWN", "DIK_A", "a"};
    const int codes[] = {DIK_ESCAPE, DIK_NUMPADENTER, DIK_RCONTROL, DIK_BACK, DIK_Y, DIK_0, DIK_DOWN, -1, -1};
    for (size_t i = 0; i < std::size(names); ++i) EXPECT_EQ(DikFromName(names[i]), codes[i]) << names[i];
    EXPECT_TRUE(DikFromName(nullptr) == -1 && DikName(-5) == nullptr);
    // Usage ids 4 to 29 are the letters A to Z.
    const int letters[26] = {DIK_A, DIK_B, DIK_C, DIK_D, DIK_E, DIK_F, DIK_G, DIK_H, DIK_I,
                             DIK_J, DIK_K, DIK_L, DIK_M, DIK_N, DIK_O, DIK_P, DIK_Q, DIK_R,
                             DIK_S, DIK_T, DIK_U, DIK_V, DIK_W, DIK_X, DIK_Y, DIK_Z};
    for (int i = 0; i < 26; ++i) EXPECT_EQ(platform::DikFromScancode(4 + i), letters[i]) << char('A' + i);
    const int keys[][2] = {{30, DIK_1},         {39, DIK_0},       {40, DIK_RETURN},    {41, DIK_ESCAPE},
                           {42, DIK_BACK},      {43, DIK_TAB},     {44, DIK_SPACE},     {79, DIK_RIGHT},
                           {80, DIK_LEFT},      {81, DIK_DOWN},    {82, DIK_UP},        {88, DIK_NUMPADENTER},
                           {224, DIK_LCONTROL}, {225, DIK_LSHIFT}, {228, DIK_RCONTROL}, {229, DIK_RSHIFT},
                           {58, 0x3B},          {69, 0x58}};  // F1, F12
    for (const auto& k : keys) EXPECT_EQ(platform::DikFromScancode(k[0]), k[1]) << "usage id " << k[0];
    for (int unknown : {0, 511}) EXPECT_EQ(platform::DikFromScancode(unknown), -1);
}

TEST(Keys, TheMouseMapsFromThePointsCentreThroughTheLetterboxIntoTheBackBuffer) {
    int saved[2], x, y, w, h;
    platform::GetBackBufferSize(saved[0], saved[1]), platform::SetBackBufferSize(800, 600);
    platform::LetterboxRect(1000, 500, x, y, w, h);
    EXPECT_TRUE(x == 166 && y == 0 && w == 667 && h == 500);
    // Point x, y; the window in points and in pixels; the back-buffer pixel: the bar left of the picture,
    // its first and last columns, and a drawable of twice as many pixels as the window has points.
    const int cases[][8] = {{165, 0, 1000, 500, 1000, 500, -1, 0},
                            {166, 250, 1000, 500, 1000, 500, 0, 300},
                            {832, 499, 1000, 500, 1000, 500, 799, 599},
                            {83, 0, 500, 250, 1000, 500, 1, 1}};
    for (const auto& c : cases) {
        platform::WindowPointToBackBuffer(c[0], c[1], c[2], c[3], c[4], c[5], x, y);
        EXPECT_TRUE(x == c[6] && y == c[7]) << c[0] << "," << c[1] << " -> " << x << "," << y;
    }
    platform::SetBackBufferSize(saved[0], saved[1]);
}

TEST(CodePage1250, MapsTheSlovakLettersBothWays) {
    // Š ž á í ô ý
    const char32_t letters[][2] = {{0x8A, 0x160}, {0x9E, 0x17E}, {0xE1, 0xE1}, {0xED, 0xED},
                                   {0xF4, 0xF4},  {0xFD, 0xFD},  {'A', 'A'},   {0x9A, 0x161}};
    for (auto [byte, point] : letters)
        EXPECT_EQ(uint32_t(Cp1250ToCodePoint(byte)), uint32_t(point)) << uint32_t(byte);
    EXPECT_EQ(Cp1250ToUtf8("Moment pros\xEDm"), "Moment pros\xC3\xADm");
    std::string all;  // every assigned byte survives the trip through UTF-8
    for (int b = 1; b < 256; ++b)
        if (Cp1250ToCodePoint(static_cast<unsigned char>(b)) != 0xFFFD) all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp1250(Cp1250ToUtf8(all)), all);
    // Characters outside the code page (a four-byte one among them) and broken UTF-8 become one '?'
    // each, never a crash.
    for (auto [utf8, cp1250] : {std::pair{"\xE2\x98\x83", "?"}, {"a\xC5", "a?"}, {"\xFF\x62", "?b"},
                             {"\xC5" "b", "?b"}, {"\xF0\x9F\x9A\x8C!", "?!"}})
        EXPECT_EQ(Utf8ToCp1250(utf8), cp1250);
}

}  // namespace
