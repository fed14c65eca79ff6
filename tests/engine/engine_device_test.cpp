// The engine's device start-up when the device cannot be had, its render-state operations and its
// lights, read back from the real device.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "app/win_main.h"
#include "engine/engine.h"
#include "engine/light_set.h"
#include "engine/log.h"
#include "platform/automation.h"
#include "support/device_fixture.h"
#include "support/test_support.h"

namespace {

// The game's own device start-up at 800 x 600 in 32 bits, the device failing as often as asked.
TEST(EngineStart, FallsBackTo16BitsThenReportsWhatFailed) {
    const struct {
        unsigned width;
        int failDevices;
        bool failDirect3D, ok;
        const char *log, *box;
        bool deep;  // 8 bits a channel: a clear to 0x030303 reads back as it is
    } cases[] = {
        {800, 1, false, true, "g_pD3D vytvorene\ninicializacia g_pD3D uspesna\n", nullptr, false},
        {800, 2, false, false, "g_pD3D vytvorene\nchyba pri inicializacii g_pD3D\n",
         "Va\x9A\x61 karta nieje kompatibiln\xE1 s Direct3D9", false},
        {800, 0, true, false, "   Format Textur: 21 \nNemozno vytvorit g_pD3D\n",
         "Error pri vytv\xE1ran\xED Direct3D9", false},
        // A size no device makes: the default size, in the configured 32 bits first.
        {1000, 2, false, true, "   1000x600 sa nepodarilo vytvorit, skusam 800x600\ninicializacia", nullptr,
         true},
    };
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc, wc.lpfnWndProc = DefWindowProcA, wc.lpszClassName = "engine test";
    RegisterClassExA(&wc);
    EXPECT_EQ(
        CreateWindowExA(0, "unregistered", "", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr),
        nullptr);
    for (const auto& c : cases) {
        ScopedTempDir dir;
        g_hWnd = CreateWindowExA(0, "engine test", "engine test", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr,
                                 nullptr, nullptr);
        g_engine.width = c.width, g_engine.height = 600, g_engine.windowed = 0;
        g_engine.screenFormat = g_engine.textureFormat = D3DFMT_A8R8G8B8;
        g_engine.nearPlane = 10.0f, g_engine.farPlane = 800.0f;
        GetPlatformFaults() = PlatformFaults{c.failDevices, c.failDirect3D, false};
        const int boxes = MessageBoxCount();
        EXPECT_TRUE(g_engine.Init() == c.ok && (g_pDevice != nullptr) == c.ok);
        const std::string log = ReadFileBytes("log.txt");
        EXPECT_NE(log.find(c.log), std::string::npos) << log;
        EXPECT_EQ(MessageBoxCount(), boxes + (c.box ? 1 : 0));
        EXPECT_STREQ(c.box ? LastMessageBoxText() : nullptr, c.box);
        // The textures keep the configured format after the fall-back; normals are normalised.
        EXPECT_TRUE(!c.ok || (g_engine.textureFormat == D3DFMT_A8R8G8B8 &&
                              DeviceState('r', 0, D3DRS_NORMALIZENORMALS) == 1));
        if (c.ok) g_pDevice->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF030303u, 1.0f, 0);
        EXPECT_TRUE(!c.ok || ((ReadScreen().At(799, 599) & 0xFFFFFF) == 0x030303) == c.deep) << c.width;
        // Direct3D refuses no result, no parameters, another adapter and a back buffer it cannot show.
        D3DPRESENT_PARAMETERS p{};
        p.BackBufferFormat = D3DFMT_A1R5G5B5;
        IDirect3DDevice9* other = nullptr;
        const auto create = [&](UINT adapter, D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** result) {
            return g_pD3D->CreateDevice(adapter, D3DDEVTYPE_HAL, g_hWnd, 0, params, result);
        };
        EXPECT_TRUE(!c.ok || (FAILED(create(0, &p, nullptr)) && FAILED(create(0, nullptr, &other)) &&
                              FAILED(create(1, &p, &other)) && FAILED(create(0, &p, &other)) && !other));
        GetPlatformFaults() = PlatformFaults{};
        DestroyTestDevice();  // the engine's device, Direct3D and the window
    }
}

TEST(RenderStates, EachOperationSetsWhatItNames) {
    // Without a device every operation does nothing.
    ASSERT_EQ(g_pDevice, nullptr);
    g_engine.BlendOff(), g_engine.BlendAdditive(), g_engine.BlendAlpha(), g_engine.SetCullMode(1);
    g_engine.SetFillMode(3), g_engine.SetTextureFilter(0, 2), g_engine.SetShadeMode(2);
    g_engine.SetMipFilter(0, 1), g_engine.SetLighting(1), g_engine.SetSpecular(1), g_engine.SetAlphaTest(1);
    g_engine.SetZBuffer(1), g_engine.SetUnlitTextureStages(), g_engine.SetProjection();
    ASSERT_TRUE(CreateTestDevice(64, 64));
    // States as numbers: a render state as itself, a state of texture stage 0 or 1 plus 1000 or 2000, a
    // state of sampler 1 plus 3000, of sampler 0 plus 4000.
    const auto read = [](DWORD s) {
        return s >= 4000   ? DeviceState('s', 0, s - 4000)
               : s >= 3000 ? DeviceState('s', 1, s - 3000)
               : s >= 1000 ? DeviceState('t', s / 1000 - 1, s % 1000)
                           : DeviceState('r', 0, s);
    };
    const struct {
        std::function<void()> operation;
        std::vector<DWORD> expected;  // state, value, state, value...
    } rows[] = {
        {[] { g_engine.BlendAlpha(); },
         {D3DRS_ALPHABLENDENABLE, 1, D3DRS_SRCBLEND, D3DBLEND_SRCALPHA, D3DRS_DESTBLEND,
          D3DBLEND_INVSRCALPHA}},
        {[] { g_engine.BlendAdditive(); }, {D3DRS_SRCBLEND, D3DBLEND_ONE, D3DRS_DESTBLEND, D3DBLEND_ONE}},
        {[] { g_engine.BlendOff(); }, {D3DRS_ALPHABLENDENABLE, 0, D3DRS_SRCBLEND, D3DBLEND_ZERO}},
        {[] { g_engine.SetAlphaTest(1); }, {D3DRS_ALPHATESTENABLE, 1, D3DRS_ALPHAREF, 1}},
        {[] { g_engine.SetAlphaTest(0); },
         {D3DRS_ALPHATESTENABLE, 0, D3DRS_ALPHAREF, 0, D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL}},
        {[] {
             g_engine.SetLighting(1), g_engine.SetSpecular(1), g_engine.BlendAlpha();
             g_pDevice->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_ADDSIGNED);
             g_engine.SetUnlitTextureStages();
         },
         {D3DRS_LIGHTING, 0, D3DRS_SPECULARENABLE, 0, D3DRS_ALPHABLENDENABLE, 0, 1000 + D3DTSS_COLOROP,
          D3DTOP_MODULATE, 1000 + D3DTSS_COLORARG2, D3DTA_DIFFUSE, 1000 + D3DTSS_ALPHAARG2, D3DTA_CURRENT,
          2000 + D3DTSS_COLOROP, D3DTOP_DISABLE, 2000 + D3DTSS_ALPHAOP, D3DTOP_MODULATE}},
        {[] { g_engine.SetMipFilter(1, 1); }, {3000 + D3DSAMP_MIPFILTER, D3DTEXF_LINEAR}},
        {[] { g_engine.SetMipFilter(1, 2); }, {3000 + D3DSAMP_MIPFILTER, D3DTEXF_NONE}},
        {[] { g_engine.SetFillMode(2), g_engine.SetCullMode(3), g_engine.SetShadeMode(1); },
         {D3DRS_FILLMODE, 2, D3DRS_CULLMODE, 3, D3DRS_SHADEMODE, 1}},
        // The game's start: depth test, no culling, both samplers linear with linear mip levels.
        {[] { SetDefaultRenderStates(); },
         {D3DRS_ZENABLE, 1, D3DRS_CULLMODE, D3DCULL_NONE, D3DRS_SHADEMODE, D3DSHADE_GOURAUD,
          4000 + D3DSAMP_MINFILTER, D3DTEXF_LINEAR, 4000 + D3DSAMP_MIPFILTER, D3DTEXF_LINEAR,
          3000 + D3DSAMP_MAGFILTER, D3DTEXF_LINEAR, 3000 + D3DSAMP_MIPFILTER, D3DTEXF_LINEAR}},
    };
    for (size_t row = 0; row < std::size(rows); ++row) {
        rows[row].operation();
        const std::vector<DWORD>& e = rows[row].expected;
        for (size_t i = 0; i < e.size(); i += 2) EXPECT_EQ(read(e[i]), e[i + 1]) << row << " " << e[i];
    }
    // The projection is square whatever the screen: 0.748 radians high, depth 0 at 10 and 1 at 800.
    g_engine.SetProjection();
    D3DMATRIX m{};
    g_pDevice->GetTransform(D3DTS_PROJECTION, &m);
    EXPECT_NEAR(m._11, 1.0f / std::tan(0.7479983f / 2.0f), 1e-5f);
    EXPECT_NEAR(m._22, m._11, 1e-6f);
    EXPECT_NEAR(m._33, 800.0f / 790.0f, 1e-6f);
    EXPECT_NEAR(m._43, -10.0f * 800.0f / 790.0f, 1e-4f);

    // Lights reach the device as recorded, enabled or not by their flags; a third of either kind finds
    // no room, and a negative size allocates none.
    LightSet lights;
    lights.Apply();  // nothing allocated: nothing happens
    lights.Allocate(-1), lights.Allocate(2);
    lights.AddDirectionalLight(MakeVector(1.5f, -1.0f, 1.5f), Color4{2, 2, 2, 2},
                               Color4{0.2f, 0.2f, 0.2f, 0.2f}, Color4{1, 1, 1, 1});
    lights.AddPointLight(MakeVector(-20, 50, -10), Color4{2, 2, 1, 2}, Color4{},
                         Color4{0.5f, 0.5f, 0.5f, 0.5f}, 1.4f, 177.0f);
    lights.AddPointLight(MakeVector(0, 0, 0), Color4{}, Color4{}, Color4{}, 1, 1),
        lights.AddDirectionalLight({}, {}, {}, {});
    EXPECT_EQ(lights.count, 2);
    for (int on : {0, 1}) {  // on: the directional light is on and the point light off
        lights.records[0].enabled = on, lights.records[1].enabled = 1 - on;
        lights.Apply();
        BOOL enabled[2];
        for (DWORD i : {0u, 1u}) g_pDevice->GetLightEnable(i, &enabled[i]);
        EXPECT_TRUE(enabled[0] == on && enabled[1] == 1 - on);
        D3DLIGHT9 l{};
        g_pDevice->GetLight(on ? 0 : 1, &l);
        // The diffuse colour above 1.0 is passed on unchanged.
        const float seen[] = {float(l.Type), l.Diffuse.r,    l.Ambient.r, l.Range,
                              l.Direction.x, l.Attenuation0, l.Position.y};
        const float want[2][7] = {{D3DLIGHT_POINT, 2, 0, 177, 0, 1.4f, 50},
                                  {D3DLIGHT_DIRECTIONAL, 2, 0.2f, 10, 1.5f, 0, 0}};
        for (int i = 0; i < 7; ++i) EXPECT_FLOAT_EQ(seen[i], want[on][i]) << "light " << on << " field " << i;
    }
    DestroyTestDevice();
}

}  // namespace
