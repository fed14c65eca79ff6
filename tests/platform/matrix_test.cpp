// The matrix routines, judged by where they send points (worked out by hand in double precision).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/d3dx9.h"

namespace {

D3DXVECTOR3 Apply(const D3DXMATRIX& m, D3DXVECTOR3 v, D3DXVECTOR3 out = {}) {
    return *D3DXVec3TransformCoord(&out, &v, &m);
}

void ExpectNear(D3DXVECTOR3 s, D3DXVECTOR3 w, double tolerance, const std::string& what) {
    EXPECT_LE(std::max({std::fabs(s.x - w.x), std::fabs(s.y - w.y), std::fabs(s.z - w.z)}), tolerance)
        << what << ": " << s.x << " " << s.y << " " << s.z;
}

D3DXMATRIX LookAt(D3DXVECTOR3 eye, D3DXVECTOR3 at, D3DXMATRIX m = {}, D3DXVECTOR3 up = {0, 1, 0}) {
    return *D3DXMatrixLookAtLH(&m, &eye, &at, &up);
}
D3DXMATRIX Turn(float yaw, float pitch, float roll, D3DXMATRIX m = {}) {
    return *D3DXMatrixRotationYawPitchRoll(&m, yaw, pitch, roll);
}
D3DXMATRIX GameProjection(D3DXMATRIX m = {}) {
    return *D3DXMatrixPerspectiveFovLH(&m, 0.7479983f, 1.0f, 10.0f, 800.0f);
}

TEST(Matrices, SendPointsWhereDirect3DSends) {
    const float t = static_cast<float>(100 * std::tan(0.7479983 / 2)), q = 800.0f / 790.0f, h = 1.5707963f;
    // The game's starting camera: the target straight ahead at the eye's distance.
    const float ex = static_cast<float>(std::sin(-2.0) * 200), ez = static_cast<float>(std::cos(-2.0) * 200);
    const float len = std::sqrt(ex * ex + 180 * 180 + ez * ez);
    const struct {
        const char* what;
        D3DXMATRIX m;
        D3DXVECTOR3 in, out;
    } cases[] = {
        {"near plane at depth 0", GameProjection(), {0, 0, 10}, {0, 0, 0}},
        {"far plane at depth 1", GameProjection(), {0, 0, 800}, {0, 0, 1}},
        {"corner of the view", GameProjection(), {t, -t, 100}, {1, -1, q * 0.9f}},
        {"eye behind the origin", LookAt({0, 0, -10}, {0, 0, 0}), {3, 4, 5}, {3, 4, 15}},
        {"eye on +x: left-handed", LookAt({10, 0, 0}, {0, 0, 0}), {0, 2, 3}, {3, 2, 10}},
        {"eye and target off the origin", LookAt({10, 0, 5}, {0, 0, 5}), {0, 2, 8}, {3, 2, 10}},
        {"starting camera", LookAt({ex, 180, ez}, {0, 0, 0}), {0, 0, 0}, {0, 0, len}},
        {"yaw: +x to -z", Turn(h, 0, 0), {1, 0, 0}, {0, 0, -1}},
        {"yaw: +z to +x", Turn(h, 0, 0), {0, 0, 1}, {1, 0, 0}},
        {"pitch: +y to +z", Turn(0, h, 0), {0, 1, 0}, {0, 0, 1}},
        {"roll: +x to +y", Turn(0, 0, h), {1, 0, 0}, {0, 1, 0}},
        {"roll: +y to -x", Turn(0, 0, h), {0, 1, 0}, {-1, 0, 0}},
        // Roll first, then pitch, then yaw: z is untouched by roll, pitched to -y, then unchanged by yaw.
        {"roll, pitch, yaw", Turn(h, h, h), {0, 0, 1}, {0, -1, 0}},
    };
    for (const auto& c : cases) ExpectNear(Apply(c.m, c.in), c.out, 1e-3, c.what);
}

TEST(Matrices, UnprojectInvertsTheProjection) {
    const D3DXMATRIX projection = GameProjection(), view = LookAt({-180, 180, -80}, {0, 0, 0});
    D3DXMATRIX world, viewProjection;
    D3DXMatrixIdentity(&world), D3DXMatrixMultiply(&viewProjection, &view, &projection);
    const D3DXVECTOR3 point{12.5f, 3.0f, -40.0f}, ndc = Apply(viewProjection, point);
    const D3DXVECTOR3 screen{(ndc.x + 1) * 400.0f, (1 - ndc.y) * 300.0f, ndc.z}, pixel{screen.x, screen.y, 0};
    const D3DVIEWPORT9 viewport{0, 0, 800, 600, 0.0f, 1.0f}, gameViewport{0, 0, 800, 600, 10.0f, 800.0f};
    D3DXVECTOR3 back, onRay;
    D3DXVec3Unproject(&back, &screen, &viewport, &projection, &view, &world);
    ExpectNear(back, point, 0.05, "round trip");
    // The game's viewport (depth range 10 to 800) still yields a point on the ray through the pixel.
    D3DXVec3Unproject(&onRay, &pixel, &gameViewport, &projection, &view, &world);
    const auto direction = [](D3DXVECTOR3 p) {
        const D3DXVECTOR3 d{p.x + 180, p.y - 180, p.z + 80};
        const float n = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
        return D3DXVECTOR3{d.x / n, d.y / n, d.z / n};
    };
    ExpectNear(direction(onRay), direction(point), 1e-3, "on the ray");
    // An eye on an axis puts zeros on the diagonal: the inversion must pick its pivots.
    const D3DXMATRIX axisView = LookAt({200, 0, 0}, {0, 0, 0});
    D3DXMatrixMultiply(&viewProjection, &axisView, &projection);
    const D3DXVECTOR3 axisNdc = Apply(viewProjection, point);
    const D3DXVECTOR3 axisScreen{(axisNdc.x + 1) * 400.0f, (1 - axisNdc.y) * 300.0f, axisNdc.z};
    D3DXVec3Unproject(&back, &axisScreen, &viewport, &projection, &axisView, &world);
    ExpectNear(back, point, 0.05, "round trip from an eye on the x axis");
    // A stretch along x by 2 and a move by 1: once the 2 is the pivot, the 1 below it must be eliminated.
    D3DXMATRIX identity, stretch;
    D3DXMatrixIdentity(&identity), D3DXMatrixIdentity(&stretch);
    stretch._11 = 2, stretch._41 = 1;
    const D3DXVECTOR3 near{0.3f, 0.2f, 0.5f}, moved = Apply(stretch, near);
    const D3DXVECTOR3 movedScreen{(moved.x + 1) * 400.0f, (1 - moved.y) * 300.0f, moved.z};
    D3DXVec3Unproject(&back, &movedScreen, &viewport, &identity, &identity, &stretch);
    ExpectNear(back, near, 1e-3, "round trip through a stretch and a move");
}

}  // namespace
