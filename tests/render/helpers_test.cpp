#include <gtest/gtest.h>

#include <cmath>

#include "engine/engine.h"
#include "render/helpers.h"

namespace {

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
    EXPECT_NEAR(q.x, 0, 1e-5);
    EXPECT_NEAR(q.z, -3, 1e-5);
}

}  // namespace
