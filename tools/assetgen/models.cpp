// The animated models: buses with their interiors and wheels, the trolleybus, the car, the markers,
// the barrier and the wall piece.
//
// Model space: front along +z, y up, origin at the centre of the footprint on the ground. The game
// scales every vehicle by (1, 1.21, 1), so heights here are world heights / 1.21.
#include "models.h"

#include <algorithm>
#include <cmath>

#include "layout.h"

namespace {

constexpr float kYScale = 1.21f;
constexpr float kWheelRadius = 2.4f;  // world units: one turn per 15 units travelled
constexpr float kPi = 3.14159265f;

UvRect Uv(const PixRect& r, int size) {
    return PixelRect(r.x, r.y, r.w, r.h, size, size);
}
UvRect SwatchUv(const PixRect& grid, int index, int columns, int size) {
    int cell = grid.w / columns;
    int x = grid.x + (index % columns) * cell, y = grid.y + (index / columns) * cell;
    // Well inside the swatch, so that mip levels keep its colour.
    return PixelRect(x + cell / 4, y + cell / 4, cell / 2, cell / 2, size, size);
}

// ---------------------------------------------------------------- bus bodies

struct BodySpec {
    float halfWidth = 6.6f;
    float zFront = 19.0f, zBack = -19.0f;  // length of the texture's side picture
    float y0 = 1.35f, y1 = 10.9f, yRoof = 11.45f, roofInset = 0.8f;
};

// One box-like section of a bus body from zb to zf, its sides mapped onto the part [zb, zf] of the
// side pictures that span [spec.zBack, spec.zFront].
void AddBodySection(Mesh& m, const BodySpec& s, float zb, float zf, bool frontFace, bool backFace,
                    int texSize = bus_tex::kSize) {
    using namespace bus_tex;
    float W = s.halfWidth, Wi = W - s.roofInset;
    float len = s.zFront - s.zBack;
    float a = (zb - s.zBack) / len, b = (zf - s.zBack) / len;
    UvRect right = Uv(kSideRight, texSize), left = Uv(kSideLeft, texSize), roof = Uv(kRoof, texSize);
    // Right side (+x): front at the picture's right.
    UvRect r{right.u0 + (right.u1 - right.u0) * a, right.v0, right.u0 + (right.u1 - right.u0) * b, right.v1};
    m.AddQuad({W, s.y1, zb}, {W, s.y1, zf}, {W, s.y0, zf}, {W, s.y0, zb}, r, {1, 0, 0});
    // Left side (-x): front at the picture's left.
    UvRect l{left.u0 + (left.u1 - left.u0) * (1 - b), left.v0, left.u0 + (left.u1 - left.u0) * (1 - a),
             left.v1};
    m.AddQuad({-W, s.y1, zf}, {-W, s.y1, zb}, {-W, s.y0, zb}, {-W, s.y0, zf}, l, {-1, 0, 0});
    // Roof with its two bevels: the roof picture spans the whole width (-x at the top).
    float bevel = s.roofInset / (2 * W) * (roof.v1 - roof.v0);
    float ua = roof.u0 + (roof.u1 - roof.u0) * a, ub = roof.u0 + (roof.u1 - roof.u0) * b;
    m.AddQuad({-Wi, s.yRoof, zb}, {-Wi, s.yRoof, zf}, {Wi, s.yRoof, zf}, {Wi, s.yRoof, zb},
              {ua, roof.v0 + bevel}, {ub, roof.v0 + bevel}, {ub, roof.v1 - bevel}, {ua, roof.v1 - bevel},
              {0, 1, 0});
    m.AddQuad({-W, s.y1, zb}, {-W, s.y1, zf}, {-Wi, s.yRoof, zf}, {-Wi, s.yRoof, zb}, {ua, roof.v0},
              {ub, roof.v0}, {ub, roof.v0 + bevel}, {ua, roof.v0 + bevel}, {-1, 1, 0});
    m.AddQuad({Wi, s.yRoof, zb}, {Wi, s.yRoof, zf}, {W, s.y1, zf}, {W, s.y1, zb}, {ua, roof.v1 - bevel},
              {ub, roof.v1 - bevel}, {ub, roof.v1}, {ua, roof.v1}, {1, 1, 0});
    // End faces: a hexagon (the bevels cut the top corners).
    auto endFace = [&](float z, const PixRect& pr, bool front) {
        UvRect u = Uv(pr, texSize);
        // Seen from outside the front has -x at the picture's right, the back +x.
        auto uv = [&](float x, float y) {
            float sx = front ? (W - x) / (2 * W) : (x + W) / (2 * W);
            float sy = (s.yRoof - y) / (s.yRoof - s.y0);
            return u.At(sx, sy);
        };
        Vec3 out{0, 0, front ? 1.0f : -1.0f};
        Vec3 p[6] = {{-W, s.y0, z},    {W, s.y0, z},      {W, s.y1, z},
                     {Wi, s.yRoof, z}, {-Wi, s.yRoof, z}, {-W, s.y1, z}};
        for (int i = 1; i < 5; ++i)
            m.AddTri(p[0], p[i], p[i + 1], uv(p[0].x, p[0].y), uv(p[i].x, p[i].y), uv(p[i + 1].x, p[i + 1].y),
                     out);
    };
    if (frontFace) endFace(zf, kFront, true);
    if (backFace) endFace(zb, kBack, false);
}

void AddRoofUnit(Mesh& m, const BodySpec& s, float z0, float z1, float hw, float h,
                 int texSize = bus_tex::kSize) {
    UvRect sw = SwatchUv(bus_tex::kMisc, bus_tex::kRoofUnit, 4, texSize);
    m.AddBox({-hw, s.yRoof, z0}, {hw, s.yRoof + h, z1}, sw);
}

// Crash shake: frames 0 to 19 sway and bounce, dying away; 20 to 31 at rest.
std::vector<Mesh> ShakeFrames(const Mesh& body) {
    std::vector<Mesh> frames;
    for (int f = 0; f < 32; ++f) {
        Mesh m = body;
        if (f < 20) {
            float amp = std::pow(1.0f - f / 20.0f, 1.5f);
            float phase = f * kPi / 4;
            // Small enough that the shaking body stays inside its footprint.
            float roll = 0.03f * amp * std::sin(phase + 0.6f);
            float pitch = 0.014f * amp * std::cos(phase);
            float lift = 0.4f * amp * std::fabs(std::sin(phase));
            m.Transform(
                [&](Vec3 p) {
                    return RotateX(RotateZ(p, roll), pitch) + Vec3{0, lift, 0};
                },
                [&](Vec3 n) { return RotateX(RotateZ(n, roll), pitch); });
        }
        frames.push_back(std::move(m));
    }
    return frames;
}

// ---------------------------------------------------------------- wheels

// One wheel across x from x0 to x1 at (cy, cz) (model units), turned by `angle` (rolling forwards).
// The face shows the picture `face`; the tread the colour at `tread`.
void AddWheel(Mesh& m, float x0, float x1, float cz, float radius, float angle, const UvRect& face,
              const UvRect& tread, int segments = 16) {
    float cy = radius / kYScale;
    auto point = [&](float x, float phi, float r) {
        // Circle in world proportions, squashed back into model space.
        float y = r * std::cos(phi + angle), z = r * std::sin(phi + angle);
        return Vec3{x, cy + y / kYScale, cz + z};
    };
    float outer = x1 > 0 ? x1 : x0;  // the face turned away from the bus's middle
    float inner = x1 > 0 ? x0 : x1;
    float side = outer > 0 ? 1.0f : -1.0f;
    Vec2 tc{(tread.u0 + tread.u1) / 2, (tread.v0 + tread.v1) / 2};
    for (int i = 0; i < segments; ++i) {
        // The last segment ends exactly where the first begins (2 pi would land a rounding away), so
        // that the wheel is closed all round.
        float p0 = 2 * kPi * i / segments, p1 = 2 * kPi * ((i + 1) % segments) / segments;
        Vec3 n0{0, std::cos(p0 + angle), std::sin(p0 + angle)},
            n1{0, std::cos(p1 + angle), std::sin(p1 + angle)};
        Vec3 a = point(outer, p0, radius), b = point(outer, p1, radius);
        Vec3 c = point(inner, p1, radius), d = point(inner, p0, radius);
        m.AddSmoothTri(a, b, c, n0, n1, n1, tc, tc, tc);
        m.AddSmoothTri(a, c, d, n0, n1, n0, tc, tc, tc);
        // Outer face: the picture turns with the wheel.
        auto fuv = [&](float phi) {
            float s = 0.5f + 0.5f * std::sin(phi) * side, t = 0.5f - 0.5f * std::cos(phi);
            return face.At(s, t);
        };
        Vec3 centre{outer, cy, cz};
        Vec2 cuv = face.At(0.5f, 0.5f);
        // The face's picture is fixed to the wheel: its coordinates follow the unturned angle.
        m.AddTri(centre, a, b, cuv, fuv(p0), fuv(p1), {side, 0, 0});
        // Inner face, plain tread colour.
        Vec3 ci{inner, cy, cz};
        m.AddTri(ci, d, c, tc, tc, tc, {-side, 0, 0});
    }
}

void AddAxle(Mesh& m, float cz, float xOuter, float width, float angle, const UvRect& face,
             const UvRect& tread) {
    AddWheel(m, xOuter - width, xOuter, cz, kWheelRadius, angle, face, tread);
    AddWheel(m, -xOuter, -xOuter + width, cz, kWheelRadius, angle, face, tread);
}

// 32 frames of turning wheels: frames 2 to 31 make one full turn; frames 0 and 1 repeat its end.
std::vector<Mesh> WheelFrames(const std::function<void(Mesh&, float)>& build) {
    std::vector<Mesh> frames;
    for (int f = 0; f < 32; ++f) {
        Mesh m;
        build(m, 2 * kPi * (f - 2) / 30.0f);
        frames.push_back(std::move(m));
    }
    return frames;
}

// ---------------------------------------------------------------- interiors

struct Kit {
    int size;
    UvRect Sw(int i) const { return SwatchUv(interior_tex::kSwatches, i, 4, size); }
    UvRect Fabric() const { return Uv(interior_tex::kFabric, size); }
    UvRect Floor() const { return Uv(interior_tex::kFloor, size); }
};

// A double seat facing +z at (x, z), its outer edge towards the window.
void AddSeat(Mesh& m, const Kit& k, float x, float z, float floorY) {
    float hw = 2.2f;
    m.AddBox({x - hw, floorY + 1.5f, z - 1.2f}, {x + hw, floorY + 2.2f, z + 1.1f}, k.Fabric());
    m.AddBox({x - hw, floorY + 2.2f, z - 1.6f}, {x + hw, floorY + 4.6f, z - 1.0f}, k.Fabric());
    m.AddBox({x - hw + 0.3f, floorY, z - 0.8f}, {x + hw - 0.3f, floorY + 1.5f, z + 0.6f},
             k.Sw(interior_tex::kFrame));
}

// A seated figure facing +z: trousers, shirt, head, hair.
void AddFigure(Mesh& m, const Kit& k, float x, float z, float seatY, int shirt, int hair, float scale = 1) {
    using namespace interior_tex;
    m.AddBox({x - 0.9f, seatY, z - 0.6f}, {x + 0.9f, seatY + 0.9f, z + 1.8f}, k.Sw(kTrousers));
    m.AddBox({x - 1.1f * scale, seatY + 0.6f, z - 1.0f}, {x + 1.1f * scale, seatY + 3.3f * scale, z + 0.2f},
             k.Sw(shirt));
    float hy = seatY + 3.3f * scale;
    m.AddBox({x - 0.65f, hy, z - 0.85f}, {x + 0.65f, hy + 1.4f, z + 0.35f}, k.Sw(kSkin));
    m.AddBox({x - 0.72f, hy + 1.0f, z - 0.95f}, {x + 0.72f, hy + 1.55f, z + 0.2f}, k.Sw(hair));
}

// Seats along both sides between zFrom and zTo, a few passengers, poles; the driver when zDriver is set.
void AddCabin(Mesh& m, const Kit& k, float halfWidth, float zFrom, float zTo, bool driver, float zDriver,
              unsigned seed) {
    using namespace interior_tex;
    float floorY = 1.7f;
    m.AddQuad({-halfWidth, floorY, zTo}, {halfWidth, floorY, zTo}, {halfWidth, floorY, zFrom},
              {-halfWidth, floorY, zFrom}, k.Floor(), {0, 1, 0});
    int shirts[] = {kShirtRed, kShirtGreen, kShirtYellow, kShirtBlue, kWhite};
    int hairs[] = {kHairBrown, kHairBlonde, kHairBlack, kHairBrown};
    unsigned r = seed;
    auto next = [&r]() {
        r = r * 1103515245u + 12345u;
        return (r >> 16) & 0x7FFF;
    };
    for (float z = zFrom + 2.0f; z < zTo - 2.0f; z += 4.4f) {
        for (float side : {-1.0f, 1.0f}) {
            float x = side * (halfWidth - 2.5f);
            AddSeat(m, k, x, z, floorY);
            if (next() % 3 == 0) {
                float px = x + (next() % 2 ? 1.1f : -1.1f);
                AddFigure(m, k, px, z, floorY + 2.2f, shirts[next() % 5], hairs[next() % 4]);
            }
        }
    }
    // Standing poles in the aisle.
    for (float z = zFrom + 4.0f; z < zTo - 2.0f; z += 9.0f) {
        m.AddBox({-0.25f, floorY, z - 0.25f}, {0.25f, 10.6f, z + 0.25f}, k.Sw(kPoleYellow));
    }
    if (driver) {
        float x = -3.4f;
        // Driver's seat, cabin wall, dashboard with a wheel.
        m.AddBox({x - 1.6f, floorY + 1.4f, zDriver - 1.4f}, {x + 1.6f, floorY + 2.2f, zDriver + 1.2f},
                 k.Sw(kDash));
        m.AddBox({x - 1.6f, floorY + 2.2f, zDriver - 1.8f}, {x + 1.6f, floorY + 5.2f, zDriver - 1.2f},
                 k.Sw(kDash));
        AddFigure(m, k, x, zDriver, floorY + 2.2f, kShirtBlue, kHairBrown, 1.05f);
        m.AddBox({-halfWidth, floorY, zDriver + 2.6f}, {halfWidth, floorY + 4.2f, zDriver + 3.6f},
                 k.Sw(kDash));
        m.AddBox({x - 1.0f, floorY + 4.2f, zDriver + 1.9f}, {x + 1.0f, floorY + 4.6f, zDriver + 2.5f},
                 k.Sw(kFrame));
        m.AddBox({-halfWidth, floorY, zDriver - 2.2f}, {-0.6f, floorY + 5.0f, zDriver - 1.9f}, k.Sw(kWall));
    }
}

// The camera always looks down on the lot: faces ordered from the highest down reach the depth
// buffer before the faces they hide, so the renderer can skip shading most hidden pixels.
void SortTopFirst(Mesh& m) {
    const auto top = [](const Tri& t) { return std::max({t.p[0].y, t.p[1].y, t.p[2].y}); };
    std::stable_sort(m.tris.begin(), m.tris.end(), [&](const Tri& a, const Tri& b) { return top(a) > top(b); });
}

}  // namespace

// ---------------------------------------------------------------- the models

std::vector<Mesh> BuildBusBody() {
    BodySpec s;
    Mesh m;
    AddBodySection(m, s, s.zBack, s.zFront, true, true);
    AddRoofUnit(m, s, -7, 3, 4.2f, 0.9f);
    AddRoofUnit(m, s, 8, 11, 2.6f, 0.5f);
    return ShakeFrames(m);
}

std::vector<Mesh> BuildBusInterior() {
    Kit k{interior_tex::kSize};
    Mesh m;
    AddCabin(m, k, 6.4f, -18.6f, 12.5f, true, 14.6f, 7);
    SortTopFirst(m);
    return {m};
}

std::vector<Mesh> BuildBusWheels() {
    UvRect face = PixelRect(0, 0, wheel_tex::kSize, wheel_tex::kSize, wheel_tex::kSize, wheel_tex::kSize);
    UvRect tread = PixelRect(2, 60, 6, 8, wheel_tex::kSize, wheel_tex::kSize);
    return WheelFrames([&](Mesh& m, float angle) {
        AddAxle(m, 11.3f, 6.5f, 2.1f, angle, face, tread);
        AddAxle(m, -10.4f, 6.5f, 2.1f, angle, face, tread);
    });
}

namespace {
BodySpec ArticulatedSpec() {
    BodySpec s;
    s.zFront = 28.8f;
    s.zBack = -28.8f;
    return s;
}
constexpr float kJointFront = 4.2f, kJointBack = 1.0f;
}  // namespace

std::vector<Mesh> BuildArticulatedBody() {
    BodySpec s = ArticulatedSpec();
    Mesh m;
    AddBodySection(m, s, kJointFront, s.zFront, true, true);
    AddBodySection(m, s, s.zBack, kJointBack, true, true);
    // The bellows between the two sections, a little narrower and lower.
    UvRect bellows = SwatchUv(bus_tex::kMisc, bus_tex::kBellows, 4, bus_tex::kSize);
    UvRect bel = PixelRect(bus_tex::kMisc.x + 32, bus_tex::kMisc.y, 32, 32, bus_tex::kSize, bus_tex::kSize);
    (void)bellows;
    m.AddBox({-6.2f, 1.6f, kJointBack}, {6.2f, 10.9f, kJointFront}, bel);
    AddRoofUnit(m, s, 10, 20, 4.2f, 0.9f);
    AddRoofUnit(m, s, -20, -10, 4.2f, 0.9f);
    return ShakeFrames(m);
}

std::vector<Mesh> BuildArticulatedInterior() {
    Kit k{interior_tex::kSize};
    Mesh cabin;
    AddCabin(cabin, k, 6.4f, kJointFront + 0.3f, 22.0f, true, 24.4f, 11);
    AddCabin(cabin, k, 6.4f, -28.4f, kJointBack - 0.3f, false, 0, 23);
    SortTopFirst(cabin);
    UvRect face = Uv(interior_tex::kWheel, interior_tex::kSize);
    UvRect tread = PixelRect(interior_tex::kWheel.x + 2, interior_tex::kWheel.y + 60, 6, 8, 256, 256);
    return WheelFrames([&](Mesh& m, float angle) {
        m.Append(cabin);
        AddAxle(m, 20.0f, 6.5f, 2.1f, angle, face, tread);
        AddAxle(m, 7.6f, 6.5f, 2.1f, angle, face, tread);
        AddAxle(m, -19.5f, 6.5f, 2.1f, angle, face, tread);
    });
}

std::vector<Mesh> BuildTrolleybus() {
    using namespace bus_tex;
    BodySpec s;
    Mesh m;
    AddBodySection(m, s, s.zBack, s.zFront, true, true);
    // Equipment box and the two poles trailing back to the wires.
    AddRoofUnit(m, s, -2, 8, 4.6f, 1.2f);
    UvRect pole = SwatchUv(kMisc, kPole, 4, kSize);
    UvRect black = SwatchUv(kMisc, kBlack, 4, kSize);
    for (float x : {-1.2f, 1.2f}) {
        Vec3 base{x, s.yRoof + 1.2f, 4.0f};
        Vec3 tip{x * 1.6f, 26.5f / kYScale, -22.0f};
        m.AddCylinder(base, tip, 0.22f, 6, pole, nullptr, false);
        m.AddBox({tip.x - 0.3f, tip.y - 0.3f, tip.z - 0.6f}, {tip.x + 0.3f, tip.y + 0.25f, tip.z + 0.6f},
                 black);
    }
    UvRect face = SwatchUv(kMisc, kPole, 4, kSize);
    UvRect tread = SwatchUv(kMisc, kBlack, 4, kSize);
    AddAxle(m, 11.3f, 6.5f, 2.1f, 0, face, tread);
    AddAxle(m, -10.4f, 6.5f, 2.1f, 0, face, tread);
    return {m};
}

std::vector<Mesh> BuildCar() {
    using namespace car_tex;
    const int S = kSize;
    auto sw = [&](int i) { return SwatchUv(kSwatches, i, 4, S); };
    Mesh m;
    const float W = 3.6f, y0 = 0.7f / kYScale, y1 = 3.1f / kYScale, y2 = 5.6f / kYScale;
    const float zf = 8.2f, zb = -8.2f;
    UvRect side = Uv(kSide, S), top = Uv(kTop, S);
    // Lower body.
    m.AddQuad({W, y1, zb}, {W, y1, zf}, {W, y0, zf}, {W, y0, zb}, side, {1, 0, 0});
    UvRect sideL{side.u1, side.v0, side.u0, side.v1};
    m.AddQuad({-W, y1, zb}, {-W, y1, zf}, {-W, y0, zf}, {-W, y0, zb}, sideL, {-1, 0, 0});
    m.AddQuad({W, y1, zf}, {-W, y1, zf}, {-W, y0, zf}, {W, y0, zf}, Uv(kFront, S), {0, 0, 1});
    m.AddQuad({-W, y1, zb}, {W, y1, zb}, {W, y0, zb}, {-W, y0, zb}, Uv(kBack, S), {0, 0, -1});
    // Bonnet and boot: the top picture along z, -x at the top.
    auto topUv = [&](float x, float z) { return top.At((z - zb) / (zf - zb), (x + W) / (2 * W)); };
    auto topQuad = [&](float z0, float z1) {
        m.AddQuad({-W, y1, z0}, {-W, y1, z1}, {W, y1, z1}, {W, y1, z0}, topUv(-W, z0), topUv(-W, z1),
                  topUv(W, z1), topUv(W, z0), {0, 1, 0});
    };
    const float cb0 = -5.2f, cf0 = 3.4f, cb1 = -3.8f, cf1 = 1.2f, Wc = 3.2f;
    topQuad(zb, cb0);
    topQuad(cf0, zf);
    // Cabin: a trapezoid prism with glass all round and its roof from the top picture.
    UvRect cab = Uv(kCabinSide, S);
    m.AddQuad({W, y1, cb0}, {W, y1, cf0}, {Wc, y2, cf1}, {Wc, y2, cb1}, {cab.u0, cab.v1}, {cab.u1, cab.v1},
              {cab.u1 - 0.12f * (cab.u1 - cab.u0), cab.v0}, {cab.u0 + 0.1f * (cab.u1 - cab.u0), cab.v0},
              {1, 0.3f, 0});
    m.AddQuad({-W, y1, cf0}, {-W, y1, cb0}, {-Wc, y2, cb1}, {-Wc, y2, cf1}, {cab.u1, cab.v1},
              {cab.u0, cab.v1}, {cab.u0 + 0.1f * (cab.u1 - cab.u0), cab.v0},
              {cab.u1 - 0.12f * (cab.u1 - cab.u0), cab.v0}, {-1, 0.3f, 0});
    UvRect glass = sw(kGlass);
    m.AddQuad({-W, y1, cf0}, {W, y1, cf0}, {Wc, y2, cf1}, {-Wc, y2, cf1}, glass, {0, 0.6f, 1});
    m.AddQuad({W, y1, cb0}, {-W, y1, cb0}, {-Wc, y2, cb1}, {Wc, y2, cb1}, glass, {0, 0.6f, -1});
    m.AddQuad({-Wc, y2, cb1}, {-Wc, y2, cf1}, {Wc, y2, cf1}, {Wc, y2, cb1}, topUv(-Wc, cb0 + 0.5f),
              topUv(-Wc, cf0 - 0.5f), topUv(Wc, cf0 - 0.5f), topUv(Wc, cb0 + 0.5f), {0, 1, 0});
    // Wheels, standing still.
    for (float z : {5.4f, -5.2f}) {
        AddWheel(m, W - 1.3f, W + 0.05f, z, 1.45f, 0, sw(kHub), sw(kTyre), 10);
        AddWheel(m, -W - 0.05f, -W + 1.3f, z, 1.45f, 0, sw(kHub), sw(kTyre), 10);
    }
    return {m};
}

std::vector<Mesh> BuildArrow() {
    using namespace marker_tex;
    Mesh m;
    UvRect head = Uv(kHead, kSize), shaft = Uv(kShaft, kSize);
    // Four-sided head pointing down with its tip at the origin, and a square shaft above it.
    const float hb = 4.6f, headTop = 6.5f, s = 1.7f, top = 15.0f;
    Vec3 tip{0, 0, 0};
    Vec3 c[4] = {{-hb, headTop, -hb}, {hb, headTop, -hb}, {hb, headTop, hb}, {-hb, headTop, hb}};
    for (int i = 0; i < 4; ++i) {
        Vec3 a = c[i], b = c[(i + 1) % 4];
        Vec3 mid = (a + b) * 0.5f;
        Vec3 out = Normalize(Vec3{mid.x, 0.6f * hb, mid.z});
        m.AddTri(tip, a, b, head.At(0.5f, 1), head.At(0, 0), head.At(1, 0), out);
    }
    m.AddQuad(c[0], c[1], c[2], c[3], head.At(0, 0), head.At(1, 0), head.At(1, 0.2f), head.At(0, 0.2f),
              {0, 1, 0});
    const UvRect* f[6] = {&shaft, &shaft, &shaft, nullptr, &shaft, &shaft};
    m.AddBox({-s, headTop, -s}, {s, top, s}, f);
    // The selection marker has no ambient or emitted light of its own: a face turned from the light
    // would be black. Bend every normal upwards, so that the sun and the night lamp, both above,
    // light all its faces, and the faces still differ in shade.
    m.Transform([](Vec3 p) { return p; }, [](Vec3 n) { return n + Vec3{0, 3.0f, 0}; });
    return {m};
}

std::vector<Mesh> BuildBarrier() {
    using namespace barrier_tex;
    const int S = kSize;
    auto sw = [&](int i) { return SwatchUv(kSwatches, i, 4, S); };
    Mesh m;
    // The game draws it 1.5 towards +z of its cell's centre; it stands centred in the cell.
    const float dz = -1.5f, h = 8.0f / kYScale;
    m.AddBox({-8.5f, 0, -8.5f + dz}, {8.5f, 1.0f, 8.5f + dz}, Uv(kConcrete, S));
    UvRect stripes = Uv(kStripes, S);
    for (float sx : {-7.2f, 7.2f})
        for (float sz : {-7.2f, 7.2f})
            m.AddBox({sx - 0.8f, 1.0f, sz - 0.8f + dz}, {sx + 0.8f, h, sz + 0.8f + dz}, sw(kPost));
    // Striped boards on all four sides, and a warning lamp on one post.
    float b0 = h - 2.6f, b1 = h - 0.8f;
    m.AddBox({-7.6f, b0, -7.6f + dz}, {7.6f, b1, -6.8f + dz}, stripes);
    m.AddBox({-7.6f, b0, 6.8f + dz}, {7.6f, b1, 7.6f + dz}, stripes);
    m.AddBox({-7.6f, b0 - 2.6f, -6.8f + dz}, {-6.8f, b1 - 2.6f, 6.8f + dz}, stripes);
    m.AddBox({6.8f, b0 - 2.6f, -6.8f + dz}, {7.6f, b1 - 2.6f, 6.8f + dz}, stripes);
    m.AddBox({6.6f, h, 6.6f + dz}, {7.8f, h + 1.0f, 7.8f + dz}, sw(kLamp));
    // A pair of cones inside.
    for (float cx : {-2.5f, 2.5f}) {
        m.AddBox({cx - 1.6f, 1.0f, -1.6f + dz}, {cx + 1.6f, 1.4f, 1.6f + dz}, sw(kDark));
        Vec3 tip{cx, 5.0f, dz};
        Vec3 c[4] = {{cx - 1.2f, 1.4f, -1.2f + dz},
                     {cx + 1.2f, 1.4f, -1.2f + dz},
                     {cx + 1.2f, 1.4f, 1.2f + dz},
                     {cx - 1.2f, 1.4f, 1.2f + dz}};
        UvRect cone = sw(kRed);
        for (int i = 0; i < 4; ++i) {
            Vec3 a = c[i], b = c[(i + 1) % 4];
            Vec3 mid = (a + b) * 0.5f - Vec3{cx, 0, dz};
            m.AddTri(tip, a, b, cone.At(0.5f, 0), cone.At(0, 1), cone.At(1, 1),
                     Normalize(mid + Vec3{0, 0.8f, 0}));
        }
    }
    return {m};
}

std::vector<Mesh> BuildWall() {
    using namespace barrier_tex;
    const int S = kSize;
    auto sw = [&](int i) { return SwatchUv(kSwatches, i, 4, S); };
    Mesh m;
    const float h = 9.0f / kYScale;
    // A concrete wall along x on the outer half of the cell, a planter on its inner (+z) side.
    UvRect face = Uv(kWallFace, S), top = Uv(kConcrete, S);
    const UvRect* f[6] = {&face, &face, &top, nullptr, &face, &face};
    m.AddBox({-10.0f, 0, -5.0f}, {10.0f, h, 0.0f}, f);
    m.AddBox({-10.0f, h, -5.4f}, {10.0f, h + 0.6f, 0.4f}, top);
    m.AddBox({-9.6f, 0, 0.0f}, {9.6f, 2.4f, 5.5f}, top);
    m.AddBox({-9.0f, 2.4f, 0.6f}, {9.0f, 2.6f, 4.9f}, sw(kSoil));
    UvRect hedge = Uv(kHedge, S);
    for (float x = -7.0f; x <= 7.01f; x += 4.66f) {
        m.AddBox({x - 1.9f, 2.6f, 1.0f}, {x + 1.9f, 5.6f, 4.5f}, hedge);
    }
    return {m};
}
