#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/engine.h"
#include "engine/light_set.h"
#include "platform/automation.h"
#include "support/device_fixture.h"
#include "support/test_support.h"

namespace {

LRESULT WindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); }

// A window and the game's own device start-up, at 800 x 600 in 32 bits.
class EngineStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = WindowProc;
        wc.lpszClassName = "engine test";
        RegisterClassExA(&wc);
        g_hWnd = CreateWindowExA(0, "engine test", "engine test", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(g_hWnd, nullptr);
        g_engine.width = 800;
        g_engine.height = 600;
        g_engine.windowed = 0;
        g_engine.screenFormat = D3DFMT_A8R8G8B8;
        g_engine.textureFormat = D3DFMT_A8R8G8B8;
        g_engine.nearPlane = 10.0f;
        g_engine.farPlane = 800.0f;
        g_engine.backgroundColor = MakeColorRGB(0, 0, 0);
    }
    void TearDown() override {
        GetPlatformFaults() = PlatformFaults{};
        g_engine.Release();
        DestroyWindow(g_hWnd);
        g_hWnd = nullptr;
    }
    ScopedTempDir dir;
};

const char* const kSettingsLines =
    ">>>Inicializijem ENGINE\n"
    "Nastavenia:\n"
    "   Sirka: 800  Vyska: 600\n"
    "   Windowed: 0 \n"
    "   Max: 800.00  Min: 10.00\n"
    "   BackColor: 0.000000 0.000000 0.000000\n"
    "   Format Obrazovky: 21 \n"
    "   Format Textur: 21 \n";

TEST_F(EngineStartTest, LogsTheSettingsAndTheDevice) {
    ASSERT_TRUE(g_engine.Init());
    ASSERT_NE(g_pDevice, nullptr);
    const std::string log = ReadFileBytes("log.txt");
    EXPECT_NE(log.find(std::string(kSettingsLines) + "g_pD3D vytvorene\ninicializacia g_pD3D uspesna\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(g_engine.viewport.Width, 800u);
    EXPECT_EQ(g_engine.viewport.MaxZ, 800.0f);
    DWORD normalize = 0;
    g_pDevice->GetRenderState(D3DRS_NORMALIZENORMALS, &normalize);
    EXPECT_EQ(normalize, 1u);
}

TEST_F(EngineStartTest, RetriesIn16BitsWhenThe32BitDeviceFails) {
    GetPlatformFaults().failDeviceCreations = 1;
    ASSERT_TRUE(g_engine.Init());
    const std::string log = ReadFileBytes("log.txt");
    EXPECT_NE(log.find("g_pD3D vytvorene\ninicializacia g_pD3D uspesna\n"), std::string::npos);
    EXPECT_EQ(log.find("chyba"), std::string::npos);
    EXPECT_EQ(g_engine.textureFormat, D3DFMT_A8R8G8B8);  // the textures keep the configured format
}

TEST_F(EngineStartTest, NoDeviceAtAllIsReportedAndFails) {
    GetPlatformFaults().failDeviceCreations = 2;
    const int boxes = MessageBoxCount();
    EXPECT_FALSE(g_engine.Init());
    EXPECT_EQ(g_pDevice, nullptr);
    EXPECT_NE(ReadFileBytes("log.txt").find("g_pD3D vytvorene\nchyba pri inicializacii g_pD3D\n"), std::string::npos);
    EXPECT_EQ(MessageBoxCount(), boxes + 1);
    EXPECT_STREQ(LastMessageBoxText(), "Va\x9A" "a karta nieje kompatibiln\xE1 s Direct3D9");
}

TEST_F(EngineStartTest, NoDirect3DObjectIsReportedAndFails) {
    GetPlatformFaults().failDirect3DCreate = true;
    EXPECT_FALSE(g_engine.Init());
    const std::string log = ReadFileBytes("log.txt");
    EXPECT_NE(log.find("   Format Textur: 21 \nNemozno vytvorit g_pD3D\n"), std::string::npos);
    EXPECT_EQ(log.find("inicializacia"), std::string::npos);
    EXPECT_STREQ(LastMessageBoxText(), "Error pri vytv\xE1" "ran\xED Direct3D9");
}

class RenderStateTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CreateTestDevice(64, 64)); }
    void TearDown() override { DestroyTestDevice(); }
    DWORD State(D3DRENDERSTATETYPE s) {
        DWORD v = 0xDEAD;
        g_pDevice->GetRenderState(s, &v);
        return v;
    }
    DWORD Stage(DWORD stage, D3DTEXTURESTAGESTATETYPE t) {
        DWORD v = 0xDEAD;
        g_pDevice->GetTextureStageState(stage, t, &v);
        return v;
    }
};

TEST_F(RenderStateTest, BlendOperationsSetAllThreeStates) {
    g_engine.BlendAlpha();
    EXPECT_EQ(State(D3DRS_ALPHABLENDENABLE), 1u);
    EXPECT_EQ(State(D3DRS_SRCBLEND), static_cast<DWORD>(D3DBLEND_SRCALPHA));
    EXPECT_EQ(State(D3DRS_DESTBLEND), static_cast<DWORD>(D3DBLEND_INVSRCALPHA));
    g_engine.BlendAdditive();
    EXPECT_EQ(State(D3DRS_SRCBLEND), static_cast<DWORD>(D3DBLEND_ONE));
    EXPECT_EQ(State(D3DRS_DESTBLEND), static_cast<DWORD>(D3DBLEND_ONE));
    g_engine.BlendOff();
    EXPECT_EQ(State(D3DRS_ALPHABLENDENABLE), 0u);
    EXPECT_EQ(State(D3DRS_SRCBLEND), static_cast<DWORD>(D3DBLEND_ZERO));
}

TEST_F(RenderStateTest, AlphaTestOffLeavesReferenceZeroAndGreaterEqual) {
    g_engine.SetAlphaTest(1);
    EXPECT_EQ(State(D3DRS_ALPHATESTENABLE), 1u);
    EXPECT_EQ(State(D3DRS_ALPHAREF), 1u);
    g_engine.SetAlphaTest(0);
    EXPECT_EQ(State(D3DRS_ALPHATESTENABLE), 0u);
    EXPECT_EQ(State(D3DRS_ALPHAREF), 0u);
    EXPECT_EQ(State(D3DRS_ALPHAFUNC), static_cast<DWORD>(D3DCMP_GREATEREQUAL));
}

TEST_F(RenderStateTest, UnlitStagesModulateStageZeroAndDisableStageOne) {
    g_engine.SetLighting(1);
    g_engine.SetSpecular(1);
    g_engine.BlendAlpha();
    g_pDevice->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_ADDSIGNED);
    g_engine.SetUnlitTextureStages();
    EXPECT_EQ(State(D3DRS_LIGHTING), 0u);
    EXPECT_EQ(State(D3DRS_SPECULARENABLE), 0u);
    EXPECT_EQ(State(D3DRS_ALPHABLENDENABLE), 0u);
    EXPECT_EQ(Stage(0, D3DTSS_COLOROP), static_cast<DWORD>(D3DTOP_MODULATE));
    EXPECT_EQ(Stage(0, D3DTSS_COLORARG2), D3DTA_DIFFUSE);
    EXPECT_EQ(Stage(0, D3DTSS_ALPHAARG2), D3DTA_CURRENT);
    EXPECT_EQ(Stage(1, D3DTSS_COLOROP), static_cast<DWORD>(D3DTOP_DISABLE));
    EXPECT_EQ(Stage(1, D3DTSS_ALPHAOP), static_cast<DWORD>(D3DTOP_MODULATE));
}

TEST_F(RenderStateTest, MipFilterIsLinearOnlyForOne) {
    g_engine.SetMipFilter(1, 1);
    DWORD v = 0;
    g_pDevice->GetSamplerState(1, D3DSAMP_MIPFILTER, &v);
    EXPECT_EQ(v, static_cast<DWORD>(D3DTEXF_LINEAR));
    g_engine.SetMipFilter(1, 2);
    g_pDevice->GetSamplerState(1, D3DSAMP_MIPFILTER, &v);
    EXPECT_EQ(v, static_cast<DWORD>(D3DTEXF_NONE));
}

TEST_F(RenderStateTest, ProjectionIsSquareWhateverTheScreen) {
    g_engine.nearPlane = 10.0f;
    g_engine.farPlane = 800.0f;
    g_engine.SetProjection();
    D3DMATRIX m{};
    g_pDevice->GetTransform(D3DTS_PROJECTION, &m);
    const float yScale = 1.0f / std::tan(0.7479983f / 2.0f);
    EXPECT_NEAR(m._11, yScale, 1e-5f);
    EXPECT_NEAR(m._22, yScale, 1e-5f);
    EXPECT_NEAR(m._33, 800.0f / 790.0f, 1e-6f);
    EXPECT_NEAR(m._43, -10.0f * 800.0f / 790.0f, 1e-4f);
    EXPECT_EQ(m._34, 1.0f);
    EXPECT_EQ(m._44, 0.0f);
}

TEST_F(RenderStateTest, LightsFollowTheirEnabledFlags) {
    LightSet lights;
    lights.Apply();  // nothing allocated: nothing happens
    lights.Allocate(2);
    lights.Apply();  // count 0: nothing happens
    BOOL on = FALSE;

    lights.AddDirectionalLight(MakeVector(1.5f, -1.0f, 1.5f), Color4{2, 2, 2, 2}, Color4{0.2f, 0.2f, 0.2f, 0.2f},
                               Color4{1, 1, 1, 1});
    lights.AddPointLight(MakeVector(-20, 50, -10), Color4{2, 2, 1, 2}, Color4{0, 0, 0, 0},
                         Color4{0.5f, 0.5f, 0.5f, 0.5f}, 1.4f, 177.0f);
    lights.AddPointLight(MakeVector(0, 0, 0), Color4{}, Color4{}, Color4{}, 1, 1);  // beyond the capacity
    EXPECT_EQ(lights.count, 2);
    lights.records[1].enabled = 0;
    lights.Apply();
    D3DLIGHT9 sun{};
    g_pDevice->GetLight(0, &sun);
    EXPECT_EQ(sun.Type, D3DLIGHT_DIRECTIONAL);
    EXPECT_FLOAT_EQ(sun.Direction.x, 1.5f);
    EXPECT_FLOAT_EQ(sun.Diffuse.r, 2.0f);  // above 1.0, passed on unchanged
    EXPECT_FLOAT_EQ(sun.Range, 10.0f);
    g_pDevice->GetLightEnable(0, &on);
    EXPECT_EQ(on, TRUE);
    g_pDevice->GetLightEnable(1, &on);
    EXPECT_EQ(on, FALSE);

    lights.records[0].enabled = 0;
    lights.records[1].enabled = 1;
    lights.Apply();
    D3DLIGHT9 lamp{};
    g_pDevice->GetLight(1, &lamp);
    EXPECT_EQ(lamp.Type, D3DLIGHT_POINT);
    EXPECT_FLOAT_EQ(lamp.Range, 177.0f);
    EXPECT_FLOAT_EQ(lamp.Attenuation0, 1.4f);
    EXPECT_FLOAT_EQ(lamp.Attenuation1, 0.0f);
    EXPECT_FLOAT_EQ(lamp.Position.y, 50.0f);
    g_pDevice->GetLightEnable(0, &on);
    EXPECT_EQ(on, FALSE);
}

}  // namespace
