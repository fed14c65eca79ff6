// The matrix routines against values worked out by hand (in double precision).
#include <gtest/gtest.h>

#include <cmath>

#include "platform/d3dx9.h"

namespace {

void ExpectMatrixNear(const D3DXMATRIX& m, const double expected[4][4], double tolerance) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            EXPECT_NEAR(m.m[i][j], expected[i][j], tolerance) << "row " << i << " col " << j;
}

TEST(Matrices, PerspectiveOfTheGame) {
    D3DXMATRIX m;
    D3DXMatrixPerspectiveFovLH(&m, 0.7479983f, 1.0f, 10.0f, 800.0f);
    const double cot = 1.0 / std::tan(0.7479983 / 2.0);
    const double q = 800.0 / 790.0;
    const double expected[4][4] = {{cot, 0, 0, 0}, {0, cot, 0, 0}, {0, 0, q, 1}, {0, 0, -10.0 * q, 0}};
    ExpectMatrixNear(m, expected, 1e-5);
    // A point on the near plane lands at depth 0, one on the far plane at depth 1.
    D3DXVECTOR3 nearPoint{0, 0, 10}, farPoint{0, 0, 800}, out;
    D3DXVec3TransformCoord(&out, &nearPoint, &m);
    EXPECT_NEAR(out.z, 0.0f, 1e-6);
    D3DXVec3TransformCoord(&out, &farPoint, &m);
    EXPECT_NEAR(out.z, 1.0f, 1e-6);
}

TEST(Matrices, LookAtFromTheStartingCamera) {
    const double ex = std::sin(-2.0) * 200, ey = 180, ez = std::cos(-2.0) * 200;
    D3DXVECTOR3 eye{static_cast<float>(ex), static_cast<float>(ey), static_cast<float>(ez)};
    D3DXVECTOR3 at{0, 0, 0}, up{0, 1, 0};
    D3DXMATRIX m;
    D3DXMatrixLookAtLH(&m, &eye, &at, &up);
    // z axis towards the target, x = up × z, y = z × x.
    const double len = std::sqrt(ex * ex + ey * ey + ez * ez);
    const double z[3] = {-ex / len, -ey / len, -ez / len};
    double x[3] = {z[2], 0, -z[0]};  // (0,1,0) × z
    const double xl = std::sqrt(x[0] * x[0] + x[2] * x[2]);
    x[0] /= xl;
    x[2] /= xl;
    const double y[3] = {z[1] * x[2] - z[2] * x[1], z[2] * x[0] - z[0] * x[2], z[0] * x[1] - z[1] * x[0]};
    const auto dot = [&](const double a[3]) { return a[0] * ex + a[1] * ey + a[2] * ez; };
    const double expected[4][4] = {
        {x[0], y[0], z[0], 0}, {x[1], y[1], z[1], 0}, {x[2], y[2], z[2], 0}, {-dot(x), -dot(y), -dot(z), 1}};
    ExpectMatrixNear(m, expected, 1e-4);
    // The target sits straight ahead at the eye's distance.
    D3DXVECTOR3 out;
    D3DXVec3TransformCoord(&out, &at, &m);
    EXPECT_NEAR(out.x, 0.0f, 1e-3);
    EXPECT_NEAR(out.y, 0.0f, 1e-3);
    EXPECT_NEAR(out.z, len, 1e-3);
}

TEST(Matrices, YawPitchRollTurnsLeftHanded) {
    const float half = 1.5707963f;
    D3DXMATRIX m;
    D3DXVECTOR3 out;
    D3DXVECTOR3 x{1, 0, 0}, y{0, 1, 0}, z{0, 0, 1};
    D3DXMatrixRotationYawPitchRoll(&m, half, 0, 0);  // yaw: +x goes to -z
    D3DXVec3TransformCoord(&out, &x, &m);
    EXPECT_NEAR(out.x, 0, 1e-6);
    EXPECT_NEAR(out.z, -1, 1e-6);
    D3DXMatrixRotationYawPitchRoll(&m, 0, half, 0);  // pitch: +y goes to +z
    D3DXVec3TransformCoord(&out, &y, &m);
    EXPECT_NEAR(out.z, 1, 1e-6);
    D3DXMatrixRotationYawPitchRoll(&m, 0, 0, half);  // roll: +x goes to +y
    D3DXVec3TransformCoord(&out, &x, &m);
    EXPECT_NEAR(out.y, 1, 1e-6);
    // Roll first, then pitch, then yaw: z is untouched by roll, pitched to -y, then unchanged by yaw.
    D3DXMatrixRotationYawPitchRoll(&m, half, half, half);
    D3DXVec3TransformCoord(&out, &z, &m);
    EXPECT_NEAR(out.x, 0, 1e-6);
    EXPECT_NEAR(out.y, -1, 1e-6);
    EXPECT_NEAR(out.z, 0, 1e-6);
}

TEST(Matrices, UnprojectInvertsTheProjection) {
    D3DXMATRIX projection, view, world;
    D3DXMatrixPerspectiveFovLH(&projection, 0.7479983f, 1.0f, 10.0f, 800.0f);
    D3DXVECTOR3 eye{-180, 180, -80}, at{0, 0, 0}, up{0, 1, 0};
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMatrixIdentity(&world);
    D3DXMATRIX viewProjection;
    D3DXMatrixMultiply(&viewProjection, &view, &projection);
    const D3DVIEWPORT9 viewport{0, 0, 800, 600, 0.0f, 1.0f};
    const D3DXVECTOR3 point{12.5f, 3.0f, -40.0f};
    D3DXVECTOR3 ndc, screen, back;
    D3DXVec3TransformCoord(&ndc, &point, &viewProjection);
    screen = {(ndc.x + 1) * 400.0f, (1 - ndc.y) * 300.0f, ndc.z};
    D3DXVec3Unproject(&back, &screen, &viewport, &projection, &view, &world);
    EXPECT_NEAR(back.x, point.x, 0.05);
    EXPECT_NEAR(back.y, point.y, 0.05);
    EXPECT_NEAR(back.z, point.z, 0.05);

    // The game's viewport (depth range 10 to 800) still yields a point on the ray through the pixel.
    const D3DVIEWPORT9 gameViewport{0, 0, 800, 600, 10.0f, 800.0f};
    D3DXVECTOR3 onRay, pixel{screen.x, screen.y, 0};
    D3DXVec3Unproject(&onRay, &pixel, &gameViewport, &projection, &view, &world);
    const double d1[3] = {onRay.x - eye.x, onRay.y - eye.y, onRay.z - eye.z};
    const double d2[3] = {point.x - eye.x, point.y - eye.y, point.z - eye.z};
    const double cross[3] = {d1[1] * d2[2] - d1[2] * d2[1], d1[2] * d2[0] - d1[0] * d2[2],
                             d1[0] * d2[1] - d1[1] * d2[0]};
    const double n1 = std::sqrt(d1[0] * d1[0] + d1[1] * d1[1] + d1[2] * d1[2]);
    const double n2 = std::sqrt(d2[0] * d2[0] + d2[1] * d2[1] + d2[2] * d2[2]);
    EXPECT_NEAR(std::sqrt(cross[0] * cross[0] + cross[1] * cross[1] + cross[2] * cross[2]) / (n1 * n2), 0.0,
                1e-3);
}

TEST(Matrices, NullArgumentsAreIgnored) {
    D3DXMATRIX m;
    EXPECT_EQ(D3DXMatrixIdentity(nullptr), nullptr);
    EXPECT_EQ(D3DXMatrixMultiply(&m, nullptr, &m), &m);
    EXPECT_EQ(D3DXVec3Unproject(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(D3DXMatrixLookAtLH(&m, nullptr, nullptr, nullptr), &m);
}

}  // namespace
