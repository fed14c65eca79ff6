#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "engine/engine.h"
#include "render/helpers.h"

namespace {

TEST(Helpers, ColourConversionClampsRoundsAndDropsNaN) {
    EXPECT_EQ(ToD3DColor(MakeColor(0, 1, 0, 1)), 0x00FF00FFu);
    EXPECT_EQ(ToD3DColor(MakeColor(1, 0.5f, 0.5f, 0.5f)), 0xFF808080u);
    EXPECT_EQ(ToD3DColor(MakeColor(1, 2, -1, 0.2f)), 0xFFFF0033u);
    EXPECT_EQ(ToD3DColor(MakeColor(0.5f, 0, 0, 0)), 0x80000000u);
    EXPECT_EQ(ToD3DColor(MakeColor(255, 255, 255, 255)), 0xFFFFFFFFu);
    EXPECT_EQ(ToD3DColor(MakeColor(NAN, NAN, 1, NAN)), 0x0000FF00u);
}

TEST(Helpers, CrossTakesTheSecondArgumentFirst) {
    Vector3 c = VecCross({1, 0, 0}, {0, 1, 0});
    EXPECT_FLOAT_EQ(c.x, 0);
    EXPECT_FLOAT_EQ(c.y, 0);
    EXPECT_FLOAT_EQ(c.z, -1);
}

TEST(Helpers, PlaneFromPointsFacesTheClockwiseSide) {
    Plane p = PlaneFromPoints({0, 0, 1}, {0, 0, 0}, {1, 0, 0});
    EXPECT_FLOAT_EQ(p.a, 0);
    EXPECT_FLOAT_EQ(p.b, 1);
    EXPECT_FLOAT_EQ(p.c, 0);
    EXPECT_FLOAT_EQ(p.d, 0);
    Plane q = PlaneFromPoints({0, 5, 1}, {0, 5, 0}, {1, 5, 0});
    EXPECT_FLOAT_EQ(q.d, -5);
}

TEST(Helpers, AngleBetweenAndNormalize) {
    EXPECT_FLOAT_EQ(AngleBetween({0, 0, 0}, {1, 0, 0}, {0, 1, 0}), static_cast<float>(M_PI / 2));
    EXPECT_FLOAT_EQ(AngleBetween({1, 1, 1}, {3, 2, 1}, {3, 2, 1}), 0.0f);
    EXPECT_TRUE(std::isnan(AngleBetween({1, 1, 1}, {1, 1, 1}, {2, 2, 2})));
    Vector3 v{3, 0, 4};
    VecNormalize(&v);
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_FLOAT_EQ(v.z, 0.8f);
    Vector3 zero{0, 0, 0};
    VecNormalize(&zero);
    EXPECT_TRUE(std::isnan(zero.x));
    EXPECT_FLOAT_EQ(Distance({1, 2, 3}, {4, 6, 3}), 5.0f);
}

TEST(Helpers, MaterialTakesAmbientFirst) {
    D3DMATERIAL9 m = MakeMaterial(MakeColor(1, 0.1f, 0.1f, 0.1f), MakeColor(1, 0.2f, 0.2f, 0.2f),
                                  MakeColor(1, 0.3f, 0.3f, 0.3f), MakeColor(1, 0.4f, 0.4f, 0.4f), 7);
    EXPECT_FLOAT_EQ(m.Ambient.r, 0.1f);
    EXPECT_FLOAT_EQ(m.Diffuse.g, 0.2f);
    EXPECT_FLOAT_EQ(m.Specular.b, 0.3f);
    EXPECT_FLOAT_EQ(m.Emissive.a, 1.0f);
    EXPECT_FLOAT_EQ(m.Power, 7);
}

TEST(Helpers, VirtualScreenStretchesToTheBackBuffer) {
    uint32_t w = g_engine.width, h = g_engine.height;
    g_engine.width = 1024;
    g_engine.height = 768;
    EXPECT_FLOAT_EQ(VirtualToScreenX(400), 512);
    EXPECT_FLOAT_EQ(VirtualToScreenY(300), 384);
    g_engine.width = w;
    g_engine.height = h;
}

Vector3 Transform(const D3DXMATRIX& m, Vector3 p) {
    return {p.x * m._11 + p.y * m._21 + p.z * m._31 + m._41, p.x * m._12 + p.y * m._22 + p.z * m._32 + m._42,
            p.x * m._13 + p.y * m._23 + p.z * m._33 + m._43};
}

TEST(Helpers, WorldMatrixScalesTurnsThenMoves) {
    Vector3 p = Transform(BuildWorldMatrix({5, 0, 0}, {0, 0, 0}, {2, 2, 2}), {1, 1, 1});
    EXPECT_FLOAT_EQ(p.x, 7);
    EXPECT_FLOAT_EQ(p.y, 2);
    EXPECT_FLOAT_EQ(p.z, 2);
    // A quarter yaw turns +x to -z; the scale applies along the model's own axes first.
    Vector3 q =
        Transform(BuildWorldMatrix({0, 0, 0}, {0, static_cast<float>(M_PI / 2), 0}, {3, 1, 1}), {1, 0, 0});
    EXPECT_NEAR(q.x, 0, 1e-5);
    EXPECT_NEAR(q.z, -3, 1e-5);
}

}  // namespace
