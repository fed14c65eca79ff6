// The device draws what Direct3D 9 would: pixels read back from llvmpipe.
#include <gtest/gtest.h>

#include <cmath>

#include "render_helpers.h"

namespace {

class DeviceRender : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateTestDevice(64, 48));
        ClearTo(0xFF000000u);
        g_pDevice->SetRenderState(D3DRS_LIGHTING, FALSE);
        g_pDevice->SetTexture(0, nullptr);
    }
    void TearDown() override { DestroyTestDevice(); }
};

TEST_F(DeviceRender, PretransformedQuadLandsOnExactPixels) {
    DrawScreenQuad(10, 10, 20, 20, 0xFFFF0000u);
    EXPECT_EQ(ReadPixel(10, 10), 0xFFFF0000u);
    EXPECT_EQ(ReadPixel(19, 19), 0xFFFF0000u);
    EXPECT_EQ(ReadPixel(9, 10), 0xFF000000u);
    EXPECT_EQ(ReadPixel(10, 9), 0xFF000000u);
    EXPECT_EQ(ReadPixel(20, 15), 0xFF000000u);
    EXPECT_EQ(ReadPixel(15, 20), 0xFF000000u);

    DrawScreenQuad(0, 0, 64, 48, 0xFF00FF00u);  // the whole target, edge pixels included
    EXPECT_EQ(ReadPixel(0, 0), 0xFF00FF00u);
    EXPECT_EQ(ReadPixel(63, 0), 0xFF00FF00u);
    EXPECT_EQ(ReadPixel(0, 47), 0xFF00FF00u);
    EXPECT_EQ(ReadPixel(63, 47), 0xFF00FF00u);
}

TEST_F(DeviceRender, AlphaBlendingMixesAndAdditiveAdds) {
    ClearTo(0xFF0000FFu);
    g_pDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    g_pDevice->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    g_pDevice->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    DrawScreenQuad(0, 0, 32, 48, 0x80FF0000u);
    const uint32_t mixed = ReadPixel(5, 5);
    EXPECT_NEAR(Red(mixed), 128, 2);
    EXPECT_NEAR(Blue(mixed), 127, 2);

    g_pDevice->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    g_pDevice->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    DrawScreenQuad(32, 0, 64, 48, 0xFF00FF00u);
    EXPECT_EQ(ReadPixel(40, 5), 0xFF00FFFFu);

    // Blending off with ZERO/ZERO factors (the game's "blend off") simply replaces.
    g_pDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    g_pDevice->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ZERO);
    g_pDevice->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ZERO);
    DrawScreenQuad(0, 0, 8, 8, 0x10FFFFFFu);
    EXPECT_EQ(ReadPixel(2, 2), 0xFFFFFFFFu);
}

// A triangle in normalised device coordinates (identity transforms), clockwise on screen when
// `clockwise`.
void DrawClipSpaceTriangle(bool clockwise, D3DCOLOR color) {
    const float z = 0.5f;
    ColoredVertex a{-0.5f, -0.5f, z, 0, 0, -1, color, 0, 0};
    ColoredVertex top{0.0f, 0.5f, z, 0, 0, -1, color, 0, 0};
    ColoredVertex b{0.5f, -0.5f, z, 0, 0, -1, color, 0, 0};
    ColoredVertex v[3] = {a, top, b};  // bottom left, top, bottom right: clockwise as seen
    if (!clockwise) std::swap(v[0], v[2]);
    g_pDevice->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    g_pDevice->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, v, sizeof(ColoredVertex));
}

TEST_F(DeviceRender, CullingRemovesTheSideDirect3DRemoves) {
    D3DMATRIX identity{};
    identity._11 = identity._22 = identity._33 = identity._44 = 1;
    g_pDevice->SetTransform(D3DTS_WORLD, &identity);
    g_pDevice->SetTransform(D3DTS_VIEW, &identity);
    g_pDevice->SetTransform(D3DTS_PROJECTION, &identity);

    g_pDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);  // the default: counter-clockwise goes
    DrawClipSpaceTriangle(true, 0xFFFF0000u);
    EXPECT_EQ(ReadPixel(32, 24), 0xFFFF0000u);
    ClearTo(0xFF000000u);
    DrawClipSpaceTriangle(false, 0xFFFF0000u);
    EXPECT_EQ(ReadPixel(32, 24), 0xFF000000u);

    g_pDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    DrawClipSpaceTriangle(true, 0xFF00FF00u);
    EXPECT_EQ(ReadPixel(32, 24), 0xFF000000u);
    DrawClipSpaceTriangle(false, 0xFF00FF00u);
    EXPECT_EQ(ReadPixel(32, 24), 0xFF00FF00u);

    g_pDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    DrawClipSpaceTriangle(true, 0xFF0000FFu);
    EXPECT_EQ(ReadPixel(32, 24), 0xFF0000FFu);

    // The panel's fan order (top left, top right, bottom right, bottom left) is clockwise on screen.
    g_pDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    DrawScreenQuad(0, 0, 8, 8, 0xFFFFFFFFu);
    EXPECT_EQ(ReadPixel(4, 4), 0xFFFFFFFFu);
}

TEST_F(DeviceRender, DepthTestKeepsTheNearerSurface) {
    g_pDevice->SetRenderState(D3DRS_ZENABLE, TRUE);
    const ScreenVertex nearQuad[4] = {{0, 0, 0.2f, 1, 0xFFFF0000u, 0, 0},
                                      {64, 0, 0.2f, 1, 0xFFFF0000u, 0, 0},
                                      {64, 48, 0.2f, 1, 0xFFFF0000u, 0, 0},
                                      {0, 48, 0.2f, 1, 0xFFFF0000u, 0, 0}};
    ScreenVertex farQuad[4];
    for (int i = 0; i < 4; ++i) {
        farQuad[i] = nearQuad[i];
        farQuad[i].z = 0.6f;
        farQuad[i].color = 0xFF00FF00u;
    }
    g_pDevice->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    g_pDevice->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, nearQuad, sizeof(ScreenVertex));
    g_pDevice->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, farQuad, sizeof(ScreenVertex));
    EXPECT_EQ(ReadPixel(30, 30), 0xFFFF0000u);
    g_pDevice->SetRenderState(D3DRS_ZENABLE, FALSE);
    g_pDevice->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, farQuad, sizeof(ScreenVertex));
    EXPECT_EQ(ReadPixel(30, 30), 0xFF00FF00u);
}

// Lighting: a square facing the camera (normal towards -z) at z = 50, seen through a perspective
// projection from the origin.
class DeviceLighting : public DeviceRender {
protected:
    void SetUp() override {
        DeviceRender::SetUp();
        D3DXMATRIX identity, projection;
        D3DXMatrixIdentity(&identity);
        D3DXMatrixPerspectiveFovLH(&projection, 0.7479983f, 1.0f, 10.0f, 800.0f);
        g_pDevice->SetTransform(D3DTS_WORLD, &identity);
        g_pDevice->SetTransform(D3DTS_VIEW, &identity);
        g_pDevice->SetTransform(D3DTS_PROJECTION, &projection);
        g_pDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        g_pDevice->SetRenderState(D3DRS_LIGHTING, TRUE);
        g_pDevice->SetRenderState(D3DRS_NORMALIZENORMALS, TRUE);
        D3DMATERIAL9 material{};
        material.Diffuse = {1, 1, 1, 1};
        g_pDevice->SetMaterial(&material);
    }

    // Lighting is computed per vertex: the corners decide the colour.
    void DrawFacingSquare(float z, float s = 40.0f) {
        const LitVertex v[4] = {{-s, s, z, 0, 0, -1, 0, 0, 0, 0},
                                {s, s, z, 0, 0, -1, 0, 0, 0, 0},
                                {s, -s, z, 0, 0, -1, 0, 0, 0, 0},
                                {-s, -s, z, 0, 0, -1, 0, 0, 0, 0}};
        g_pDevice->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2);
        g_pDevice->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, v, sizeof(LitVertex));
    }
};

// Direct3D's lighting equations, read at the centre of a square facing the eye at depth z.
TEST_F(DeviceLighting, LightsShadeAsDirect3DDoes) {
    auto sun = [](D3DVECTOR direction, D3DCOLORVALUE diffuse, D3DCOLORVALUE ambient = {},
                  D3DCOLORVALUE specular = {}) {
        D3DLIGHT9 l{};
        l.Type = D3DLIGHT_DIRECTIONAL, l.Direction = direction, l.Diffuse = diffuse, l.Ambient = ambient;
        l.Specular = specular, l.Range = 10.0f;
        return l;
    };
    D3DLIGHT9 lamp{};
    lamp.Type = D3DLIGHT_POINT, lamp.Diffuse = {4, 4, 1, 2}, lamp.Attenuation0 = 2.0f, lamp.Range = 60.0f;
    D3DMATERIAL9 white{}, ambient{}, shiny{};
    white.Diffuse = {1, 1, 1, 1};
    ambient.Diffuse = ambient.Ambient = {1, 1, 1, 1};
    ambient.Emissive = {0.3f, 0, 0, 0};
    shiny.Specular = {1, 1, 1, 1};
    shiny.Power = 5;
    const struct {
        const char* what;
        D3DLIGHT9 light;
        D3DMATERIAL9 material;
        float z, size;
        DWORD ambientState;
        bool specular;
        int red, green, blue;  // -1: not checked
    } cases[] = {
        {"straight on", sun({0, 0, 1}, {0.5f, 0.25f, 1, 1}), white, 50, 40, 0, false, 128, 64, 255},
        {"tilted 60 degrees: half", sun({0, std::sqrt(3.0f), 1}, {0.5f, 0.25f, 1, 1}), white, 50, 40, 0,
         false, -1, -1, 128},
        {"from behind: nothing", sun({0, 0, -1}, {1, 1, 1, 1}), white, 50, 40, 0, false, 0, 0, 0},
        // Light ambient 0.2, material emissive 0.3 red, the ambient state 0x20 (0.125).
        {"ambient and emissive", sun({0, 0, -1}, {}, {0.2f, 0.2f, 0.2f, 0.2f}), ambient, 50, 40, 0xFF202020u,
         false, int((0.3 + 0.2 + 32 / 255.0) * 255 + 0.5), int((0.2 + 32 / 255.0) * 255 + 0.5), -1},
        // Corners about 52 away at cos 0.96: blue 1 / attenuation 2 * 0.96; red saturates.
        {"lamp in range", lamp, white, 50, 10, 0, false, 255, -1, 123},
        {"lamp out of range", lamp, white, 70, 10, 0, false, 0, 0, 0},
        {"specular off", sun({0, 0, 1}, {}, {}, {1, 1, 1, 1}), shiny, 50, 40, 0, false, 0, 0, 0},
        {"specular on", sun({0, 0, 1}, {}, {}, {1, 1, 1, 1}), shiny, 50, 10, 0, true, 243, -1,
         -1},  // the highlight faces the eye
    };
    for (const auto& c : cases) {
        ClearTo(0xFF000000u);
        g_pDevice->SetLight(0, &c.light);
        g_pDevice->LightEnable(0, TRUE);
        g_pDevice->SetMaterial(&c.material);
        g_pDevice->SetRenderState(D3DRS_AMBIENT, c.ambientState);
        g_pDevice->SetRenderState(D3DRS_SPECULARENABLE, c.specular);
        DrawFacingSquare(c.z, c.size);
        const uint32_t pixel = ReadPixel(32, 24);
        const int seen[3] = {Red(pixel), Green(pixel), Blue(pixel)}, want[3] = {c.red, c.green, c.blue};
        for (int i = 0; i < 3; ++i)
            if (want[i] >= 0)
                EXPECT_NEAR(seen[i], want[i], want[i] == 255 || want[i] == 0 ? 0 : 3)
                    << c.what << " channel " << i;
    }
    g_pDevice->LightEnable(0, FALSE);
    DrawFacingSquare(50, 10);
    EXPECT_EQ(ReadPixel(32, 24), 0xFF000000u) << "no light enabled";
}

TEST_F(DeviceLighting, LitVertexColourKeepsItsAlphaForTheAlphaTest) {
    // A model's material has diffuse alpha 0, but its vertices are opaque white: Direct3D takes the
    // diffuse colour from the vertex, so the model survives an alpha test with reference 1.
    D3DMATERIAL9 material{};
    material.Diffuse = {1, 1, 1, 0};
    material.Emissive = {0.5f, 0.5f, 0.5f, 0};
    g_pDevice->SetMaterial(&material);
    g_pDevice->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    g_pDevice->SetRenderState(D3DRS_ALPHAREF, 1);
    g_pDevice->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    const float s = 40.0f, z = 50.0f;
    const ColoredVertex v[4] = {{-s, s, z, 0, 0, -1, 0xFFFFFFFFu, 0, 0},
                                {s, s, z, 0, 0, -1, 0xFFFFFFFFu, 0, 0},
                                {s, -s, z, 0, 0, -1, 0xFFFFFFFFu, 0, 0},
                                {-s, -s, z, 0, 0, -1, 0xFFFFFFFFu, 0, 0}};
    g_pDevice->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    g_pDevice->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, v, sizeof(ColoredVertex));
    EXPECT_NEAR(Red(ReadPixel(32, 24)), 128, 2);
}

}  // namespace
