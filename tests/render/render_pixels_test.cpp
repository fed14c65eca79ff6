// Drawing on the real device (llvmpipe) and reading the back buffer.
#include <gtest/gtest.h>

#include "engine/engine.h"
#include "engine/game_state.h"
#include "platform/bitmap_resources.h"
#include "render/model.h"
#include "render/panel.h"
#include "render/scene.h"
#include "render/scene_file.h"
#include "support/device_fixture.h"
#include "support/test_support.h"

namespace {

void AddBitmap(int id, int w, int h, const std::vector<uint32_t>& rgb) {
    std::vector<uint8_t> bytes = MakeBmp24(w, h, rgb);
    AddBitmapResource(id, bytes.data(), bytes.size());
}

class RenderPixels : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFileBytes("log.txt", "");
        ASSERT_TRUE(CreateTestDevice(800, 600)) << "no rendering device";
    }
    void TearDown() override { ClearAddedBitmapResources(), DestroyTestDevice(); }
    ScopedTempDir dir;
};

TEST_F(RenderPixels, ColourKeysMakeTheirTexelsTransparent) {
    // Row: magenta, green, red, white.
    AddBitmap(9100, 4, 1, {0xFF00FF, 0x00FF00, 0xFF0000, 0xFFFFFF});
    Panel panel;
    panel.Create(10, 10, 2);
    panel.AddFrame(9100, MakeColor(0, 1, 0, 1));  // alpha 0 in the key: made opaque all the same
    Model model;
    model.LoadTexture(9100);
    ASSERT_TRUE(panel.frames[0] != nullptr && model.texture != nullptr);
    std::vector<uint32_t> texels(4);
    ASSERT_EQ(panel.frames[0]->ReadTexels(texels.data(), 4), S_OK);
    EXPECT_EQ(texels, (std::vector<uint32_t>{0, 0xFF00FF00u, 0xFFFF0000u, 0xFFFFFFFFu}));
    ASSERT_EQ(model.texture->ReadTexels(texels.data(), 4), S_OK);
    EXPECT_EQ(texels, (std::vector<uint32_t>{0xFFFF00FFu, 0, 0xFFFF0000u, 0xFFFFFFFFu}));
    const std::string log = ReadFileBytes("log.txt");
    EXPECT_NE(log.find("  AddFrame: 0 9100\n  Textura vytvorena\n"), std::string::npos);
    EXPECT_NE(log.find("  Textura: 9100\n  Textura modelu vytvorena\n"), std::string::npos);
    model.Release(), model.Release();  // and once more when the model goes
    EXPECT_EQ(model.texture, nullptr);
}

TEST_F(RenderPixels, DetailTextureBrightensAndDarkensAroundHalf) {
    AddBitmap(9102, 2, 2, std::vector<uint32_t>(4, 0x808080));  // base: mid grey
    // Detail: a bright column and a dark one, laid by the detail coordinates (x / 64), not the base's.
    AddBitmap(9103, 2, 2, {0xC0C0C0, 0x404040, 0xC0C0C0, 0x404040});
    D3DXMATRIX view, projection;
    D3DXMatrixIdentity(&view), D3DXMatrixPerspectiveFovLH(&projection, 0.75f, 1.0f, 10.0f, 800.0f);
    g_pDevice->SetTransform(D3DTS_VIEW, &view), g_pDevice->SetTransform(D3DTS_PROJECTION, &projection);
    isNight = 0;
    GroupRecord g;
    g.textureIds = {9102, 9103};
    g.textureMode = 2;
    g.materialKind = 1;  // fully emissive by day: the lit colour is white
    // A square facing the eye at z = 50.
    FaceRecord a = Face(0, 0, {-30, 30, 50, 0, 0, -30, -30, 50, 0, 1, 30, -30, 50, 1, 1});
    FaceRecord b = Face(1, 0, {30, -30, 50, 1, 1, 30, 30, 50, 1, 0, -30, 30, 50, 0, 0});
    WriteFileBytes("test.geo", SceneText(1, 2, {g}, {a, b}));
    Scene scene;
    scene.Load("test.geo");
    g_pDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    g_pDevice->BeginScene(), g_engine.SetUnlitTextureStages();
    g_engine.SetZBuffer(0), scene.Draw();
    g_pDevice->EndScene();
    // x = 16 (pixel 725) is the bright column's centre, x = -16 (pixel 75) the dark one's.
    for (auto [x, grey] : {std::pair{725, 0xC0}, {75, 0x40}})
        EXPECT_NEAR(int((ReadPixel(x, 300) >> 8) & 0xFF), grey, 4) << x;
    scene.Release();
}

}  // namespace
