// Screen-space panels (placing, turning, hit testing, drawing the frame), the font without a device,
// and the colour and world-matrix helpers.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/engine.h"
#include "render/fake_device.h"
#include "render/helpers.h"
#include "render/panel.h"
#include "render/text_font.h"
#include "support/test_support.h"

namespace {

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override { WriteFileBytes("log.txt", ""), Screen(800, 600); }
    void TearDown() override { Screen(savedWidth, savedHeight); }
    void Screen(uint32_t w, uint32_t h) { g_engine.width = w, g_engine.height = h; }
    // Corners left-top, right-top, right-bottom, left-bottom.
    void ExpectCorners(const Panel& p, float left, float top, float right, float bottom) {
        const float want[4][2] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
        for (int i = 0; i < 4; ++i)
            EXPECT_TRUE(std::fabs(p.corners[i].x - want[i][0]) < 0.6f &&
                        std::fabs(p.corners[i].y - want[i][1]) < 0.6f && p.corners[i].z == 0)
                << "corner " << i << ": " << p.corners[i].x << "," << p.corners[i].y;
    }

    ScopedTempDir dir;
    uint32_t savedWidth = g_engine.width, savedHeight = g_engine.height;
};

TEST_F(PanelTest, CornersInPixelsInTheVirtualScreenAndTurned) {
    Panel p;
    p.Create(100, 40, 1);
    p.position = {400, 300, 0};
    p.Rebuild(), ExpectCorners(p, 350, 280, 450, 320);
    EXPECT_TRUE(p.corners[2].x == 450 && p.corners[3].y == 320) << "the corners below the centre are exact";
    p.scaleToScreen = 1;
    Screen(1024, 768), p.Rebuild(), ExpectCorners(p, 448, 358.4f, 576, 409.6f);
    Screen(800, 600), p.Rebuild(), ExpectCorners(p, 350, 280, 450, 320);
    EXPECT_EQ(ReadFileBytes("log.txt"), "Vytvaram 2D Panel NumFrames: 1\n");
    // A positive angle turns counter-clockwise on the screen (y grows downwards).
    p.height = 0;
    p.angle = static_cast<float>(M_PI / 2), p.Rebuild();
    EXPECT_TRUE(std::fabs(p.corners[2].x - 400) + std::fabs(p.corners[2].y - 250) +
                    std::fabs(p.corners[3].y - 350) <
                0.1);
}

TEST_F(PanelTest, ContainsByTheAngleSum) {
    Panel p;
    p.position = {400, 300, 0};
    p.Create(100, 40, 1);
    // Before any rebuild the quad is the one made at creation.
    p.position = {100, 100, 0};
    EXPECT_TRUE(p.Contains({400, 300, 0}) && !p.Contains({100, 100, 0}));
    p.Rebuild();
    const std::pair<Vector3, int> points[] = {{{100, 100, 0}, 1}, {{149, 119, 0}, 1}, {{151, 100, 0}, 0},
                                              {{100, 121, 0}, 0}, {p.corners[2], 0},  {p.corners[0], 0}};
    for (const auto& [point, inside] : points)
        EXPECT_EQ(p.Contains(point), inside) << point.x << "," << point.y;
}

TEST_F(PanelTest, DrawPicksTheFrameClampsThenWraps) {
    ScopedFakeDevice fake;
    FakeTexture t0(0), t1(1);
    Panel p;
    p.Create(10, 10, 2), p.AddFrame(9001, MakeColor(0, 1, 0, 1));
    p.AddFrame(9002, MakeColor(1, 1, 0, 1));
    p.AddFrame(9003, MakeColor(1, 1, 0, 1));  // more frames than room: refused
    EXPECT_TRUE(p.frameCount == 2 &&
                ReadFileBytes("log.txt").find("  AddFrame: 0 9001\n  chyba pri vytvarani "
                                              "textury: 9001\n") != std::string::npos);
    p.frames[0] = &t0, p.frames[1] = &t1;
    p.color = MakeColor(0.5f, 1, 0, 0), p.frame = 1.7f;
    fake.device.calls.clear(), p.Draw();
    EXPECT_EQ(fake.device.calls, (std::vector<std::string>{"TEX 0 t1", "SS 0 1 3", "SS 0 2 3", "FVF 324",
                                                           "DRAWUP 6 2 28", "SS 0 1 1", "SS 0 2 1"}));
    const PanelVertex* v = reinterpret_cast<const PanelVertex*>(fake.device.upVertices.data());
    EXPECT_EQ(v[0].diffuse, 0x80FF0000u);
    // The picture's corners on the quad's: left-top, right-top, right-bottom, left-bottom.
    const float uv[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(v[i].u == uv[i][0] && v[i].v == uv[i][1] && v[i].rhw == 1) << i;
    for (float f : {2.0f, 5.0f, NAN}) {
        p.frame = f;
        fake.device.calls.clear(), p.Draw();
        EXPECT_TRUE(fake.device.calls.at(0) == "TEX 0 t0" && p.frame == 0.0f) << f;
    }
}

TEST_F(PanelTest, NoDeviceNoSizeNoFont) {
    Panel p;
    p.Draw();  // never created
    p.Create(0, 0, 0);
    p.position = {5, 5, 0};
    p.Draw();
    EXPECT_TRUE(p.corners[0].x == 5 && !p.Contains({5, 5, 0}));
    p.Release(), p.Release();
    // A font that could not be made draws nothing but keeps the position.
    TextFont font;
    font.Draw(20, 30, MakeColor(1, 1, 1, 1), "text");
    EXPECT_TRUE(font.rect.left == 20 && font.rect.top == 30);
    font.Create(12, 700, "Times");
    EXPECT_TRUE(font.font == nullptr && font.rect.right == 800 && font.rect.bottom == 600 &&
                ReadFileBytes("log.txt").find("Vytvaram DXFONT\n  Chyba pri vytvarani fontu\n") !=
                    std::string::npos);
    font.Draw(1, 2, MakeColor(1, 1, 1, 1), "text"), font.Release();
}

TEST(Helpers, ColourConversionClampsRoundsAndDropsNaN) {
    const std::pair<Color4, uint32_t> cases[] = {
        {MakeColor(0, 1, 0, 1), 0x00FF00FFu},         {MakeColor(1, 0.5f, 0.5f, 0.5f), 0xFF808080u},
        {MakeColor(1, 2, -1, 0.2f), 0xFFFF0033u},     {MakeColor(0.5f, 0, 0, 0), 0x80000000u},
        {MakeColor(255, 255, 255, 255), 0xFFFFFFFFu}, {MakeColor(NAN, NAN, 1, NAN), 0x0000FF00u}};
    for (const auto& [colour, argb] : cases) EXPECT_EQ(ToD3DColor(colour), argb) << std::hex << argb;
}

TEST(Helpers, WorldMatrixScalesTurnsThenMoves) {
    auto transform = [](const D3DXMATRIX& m, Vector3 p) {
        return Vector3{p.x * m._11 + p.y * m._21 + p.z * m._31 + m._41,
                       p.x * m._12 + p.y * m._22 + p.z * m._32 + m._42,
                       p.x * m._13 + p.y * m._23 + p.z * m._33 + m._43};
    };
    Vector3 p = transform(BuildWorldMatrix({5, 0, 0}, {0, 0, 0}, {2, 2, 2}), {1, 1, 1});
    EXPECT_TRUE(p.x == 7 && p.y == 2 && p.z == 2);
    // A quarter yaw turns +x to -z; the scale applies along the model's own axes first.
    Vector3 q =
        transform(BuildWorldMatrix({0, 0, 0}, {0, static_cast<float>(M_PI / 2), 0}, {3, 1, 1}), {1, 0, 0});
    EXPECT_TRUE(std::fabs(q.x) < 1e-5 && std::fabs(q.z + 3) < 1e-5) << q.x << "," << q.z;
}

}  // namespace
