// The town around the lot, at three levels of detail (0 high, 1 medium, 2 low).
//
// World space: the lot covers x and z from -80 to 80 at y = 0; its exit is the cell x -20..0 on the
// z = -80 edge. Beyond the exit lie a short apron and a parking strip, then a service road that joins the
// main road on the +x side (lanes at x 125, 145, 170 towards -z and 190, 212 towards +z). Buildings,
// trees and lamps stand around; everything stays within about 520 units of the centre, so that the
// far plane (800) of a camera circling at 200 units never cuts the town.
#include "scene.h"

#include <algorithm>
#include <cmath>

#include "noise.h"

namespace {

// The game draws the groups of each blend mode in this order. The ground comes after everything that
// stands on it: the ground that buildings and poles hide then fails the depth test before it is shaded,
// and the ground groups, with their second (detail) texture, cost the most per pixel.
enum GroupId {
    kFacadeA,
    kFacadeB,
    kFacadeC,
    kFacadeD,
    kRoofFlat,
    kRoofTiles,
    kTree,
    kConifer,
    kPole,
    kMetal,
    kGlow,
    kHalo,
    kSignal,
    kSign,
    kHedge,
    kGlass,
    kApron,
    kShelter,
    kGrass,
    kLot,
    kLotExit,
    kRoad,
    kPaving,
    kParking,
    kService,
    kConcrete,
    kNightWindows,
    kNightPool,
    kGroupCount
};

SceneGroup Def(GroupId g) {
    SceneGroup s;
    switch (g) {
        case kGrass:
            s.textures = {194, 156};
            s.textureMode = 2;
            break;
        case kLot:
            s.textures = {195, 164};
            s.textureMode = 2;
            break;
        case kLotExit:
            s.textures = {196, 164};
            s.textureMode = 2;
            break;
        case kRoad:
            s.textures = {197, 164};
            s.textureMode = 2;
            break;
        case kPaving:
            s.textures = {198};
            break;
        case kParking:
            s.textures = {199, 164};
            s.textureMode = 2;
            break;
        case kService:
            s.textures = {200, 164};
            s.textureMode = 2;
            break;
        case kConcrete:
            s.textures = {201};
            break;
        case kFacadeA:
            s.textures = {202};
            break;
        case kFacadeB:
            s.textures = {203};
            break;
        case kFacadeC:
            s.textures = {204};
            break;
        case kFacadeD:
            s.textures = {205};
            break;
        case kRoofFlat:
            s.textures = {206};
            break;
        case kRoofTiles:
            s.textures = {207};
            break;
        case kTree:
            s.textures = {208};
            s.blendMode = 1;
            break;
        case kConifer:
            s.textures = {209};
            s.blendMode = 1;
            break;
        case kPole:
            s.textures = {210};
            s.materialKind = 2;
            s.specular = 1;
            s.smooth = 1;
            break;
        case kMetal:
            s.textures = {210};
            s.materialKind = 2;
            s.specular = 1;
            break;
        case kGlow:
            s.textures = {211};
            s.blendMode = 2;
            break;
        case kHalo:
            s.textures = {212};
            s.blendMode = 2;
            break;
        case kSignal:
            s.textures = {213, 213, 213, 214, 215, 215, 215, 216};
            s.textureMode = 1;
            s.frameDuration = 700;
            s.materialKind = 1;
            break;
        case kSign:
            s.textures = {217, 218, 219, 219, 220, 219, 220, 219, 219};
            s.textureMode = 1;
            s.frameDuration = 450;
            s.materialKind = 1;
            break;
        case kHedge:
            s.textures = {221};
            s.blendMode = 1;
            break;
        case kGlass:
            s.textures = {222};
            s.materialKind = 2;
            s.specular = 1;
            break;
        case kApron:
            s.textures = {223};
            break;
        case kShelter:
            s.textures = {224};
            s.materialKind = 2;
            s.specular = 1;
            break;
        // Night lights: additive, shiny (the same by day and night) and smoothed, so that the
        // normals steered in SteeredQuad reach the game.
        case kNightWindows:
            s.textures = {225};
            s.blendMode = 2;
            s.materialKind = 2;
            s.smooth = 1;
            break;
        case kNightPool:
            s.textures = {226};
            s.blendMode = 2;
            s.materialKind = 2;
            s.smooth = 1;
            break;
        default:
            break;
    }
    return s;
}

const Vec3 kLampPos{-20, 50, -10};  // the night light
// The camera circles the centre at 200 units, at least 165 high, with its far plane at 800: everything
// stays within this radius so that no camera position cuts the town off.
const float kTownRadius = 570;
const Vec3 kTowardsSun = Normalize({-1.5f, 1.0f, -1.5f});
const float kLampRange = 177;

// The direction that a night light at c should be lit from: as near the lamp as it can be while the
// sun cannot reach it, so that by day it keeps only the faint glow of its material. Returns how
// squarely the lamp then lights it (0 when the lamp cannot).
float NightNormal(Vec3 c, Vec3& n) {
    Vec3 l = Normalize(kLampPos - c);
    for (float k = 0; k <= 6.0f; k += 0.02f) {
        Vec3 t = Normalize(l - kTowardsSun * k);
        if (Dot(t, kTowardsSun) < -0.12f) {
            n = t;
            return std::max(0.0f, Dot(t, l));
        }
    }
    n = l;
    return 0;
}

bool InLampRange(Vec3 p, float margin = 4) {
    return Length(p - kLampPos) < kLampRange - margin;
}

struct Rect {
    float x0, z0, x1, z1;
};

struct Builder {
    Mesh m;
    int detail;  // 0 high, 1 medium, 2 low
    Random rnd{0};
    std::vector<Rect> covered;  // ground hidden under paving and houses

    void Use(GroupId g) { m.group = g; }

    // A horizontal rectangle at height y, its texture repeating every (su, sv) units; `alongX` turns the
    // picture so that v runs along x. Split into cells of at most `cell` units.
    void Ground(GroupId g, float x0, float z0, float x1, float z1, float y, float su, float sv, float cell,
                bool alongX = false, float uOff = 0, float vOff = 0) {
        Use(g);
        if (g != kGrass && y >= 0) covered.push_back({x0, z0, x1, z1});
        int nx = std::max(1, int(std::ceil((x1 - x0) / cell - 1e-3f)));
        int nz = std::max(1, int(std::ceil((z1 - z0) / cell - 1e-3f)));
        for (int i = 0; i < nx; ++i)
            for (int j = 0; j < nz; ++j) {
                float ax = x0 + (x1 - x0) * i / nx, bx = x0 + (x1 - x0) * (i + 1) / nx;
                float az = z0 + (z1 - z0) * j / nz, bz = z0 + (z1 - z0) * (j + 1) / nz;
                auto uv = [&](float x, float z) {
                    if (alongX) return Vec2{(z - z0) / su + uOff, (x - x0) / sv + vOff};
                    return Vec2{(x - x0) / su + uOff, (z1 - z) / sv + vOff};
                };
                m.AddQuad({ax, y, bz}, {bx, y, bz}, {bx, y, az}, {ax, y, az}, uv(ax, bz), uv(bx, bz),
                          uv(bx, az), uv(ax, az), {0, 1, 0});
            }
    }

    // A vertical wall from (x0, z0) to (x1, z1), from y0 to y1, facing `out`; texture repeats every su
    // along and sv up, with v = 1 at y = 0 (the ground floor at the bottom).
    void Wall(GroupId g, float x0, float z0, float x1, float z1, float y0, float y1, float su, float sv,
              Vec3 out) {
        Use(g);
        float len = std::hypot(x1 - x0, z1 - z0);
        float u1 = std::max(1.0f, std::round(len / su));
        auto v = [&](float y) { return 1 - y / sv; };
        m.AddQuad({x0, y1, z0}, {x1, y1, z1}, {x1, y0, z1}, {x0, y0, z0}, {0, v(y1)}, {u1, v(y1)},
                  {u1, v(y0)}, {0, v(y0)}, out);
    }

    // A building: facade on four sides, a flat or pitched roof.
    void Building(float x0, float z0, float x1, float z1, float h, GroupId facade, bool pitched) {
        // Nothing beyond the reach of the camera's far plane.
        for (float x : {x0, x1})
            for (float z : {z0, z1})
                if (std::hypot(x, z) > kTownRadius) return;
        covered.push_back({x0, z0, x1, z1});
        Wall(facade, x0, z0, x1, z0, 0, h, 16, 32, {0, 0, -1});
        Wall(facade, x1, z1, x0, z1, 0, h, 16, 32, {0, 0, 1});
        Wall(facade, x0, z1, x0, z0, 0, h, 16, 32, {-1, 0, 0});
        Wall(facade, x1, z0, x1, z1, 0, h, 16, 32, {1, 0, 0});
        NightWindows(x0, z0, x1, z0, 0, h, 16, 32, {0, 0, -1});
        NightWindows(x1, z1, x0, z1, 0, h, 16, 32, {0, 0, 1});
        NightWindows(x0, z1, x0, z0, 0, h, 16, 32, {-1, 0, 0});
        NightWindows(x1, z0, x1, z1, 0, h, 16, 32, {1, 0, 0});
        if (!pitched) {
            Ground(kRoofFlat, x0, z0, x1, z1, h, 40, 40, 1000);
            if (detail == 0) {  // parapet
                Use(kConcrete);
                const UvRect c{0, 0, 1, 0.1f};
                float t = 0.8f;
                m.AddBox({x0 - 0.3f, h, z0 - 0.3f}, {x1 + 0.3f, h + 1.2f, z0 + t}, c);
                m.AddBox({x0 - 0.3f, h, z1 - t}, {x1 + 0.3f, h + 1.2f, z1 + 0.3f}, c);
                m.AddBox({x0 - 0.3f, h, z0 + t}, {x0 + t, h + 1.2f, z1 - t}, c);
                m.AddBox({x1 - t, h, z0 + t}, {x1 + 0.3f, h + 1.2f, z1 - t}, c);
            }
        } else {
            // Ridge along the longer side.
            Use(kRoofTiles);
            float rh = std::min(x1 - x0, z1 - z0) * 0.4f;
            bool ridgeX = (x1 - x0) >= (z1 - z0);
            float o = 1.0f;  // eaves
            if (ridgeX) {
                float zm = (z0 + z1) / 2;
                float sl = std::hypot(zm - z0 + o, rh) / 16;
                float ul = (x1 - x0 + 2 * o) / 16;
                m.AddQuad({x0 - o, h, z0 - o}, {x1 + o, h, z0 - o}, {x1 + o, h + rh, zm},
                          {x0 - o, h + rh, zm}, {0, sl}, {ul, sl}, {ul, 0}, {0, 0}, {0, 1, -1});
                m.AddQuad({x1 + o, h, z1 + o}, {x0 - o, h, z1 + o}, {x0 - o, h + rh, zm},
                          {x1 + o, h + rh, zm}, {0, sl}, {ul, sl}, {ul, 0}, {0, 0}, {0, 1, 1});
                Use(facade);
                m.AddTri({x0, h, z0}, {x0, h, z1}, {x0, h + rh, zm}, {0, 0.12f}, {1, 0.12f}, {0.5f, 0},
                         {-1, 0, 0});
                m.AddTri({x1, h, z0}, {x1, h, z1}, {x1, h + rh, zm}, {0, 0.12f}, {1, 0.12f}, {0.5f, 0},
                         {1, 0, 0});
            } else {
                float xm = (x0 + x1) / 2;
                float sl = std::hypot(xm - x0 + o, rh) / 16;
                float ul = (z1 - z0 + 2 * o) / 16;
                m.AddQuad({x0 - o, h, z1 + o}, {x0 - o, h, z0 - o}, {xm, h + rh, z0 - o},
                          {xm, h + rh, z1 + o}, {0, sl}, {ul, sl}, {ul, 0}, {0, 0}, {-1, 1, 0});
                m.AddQuad({x1 + o, h, z0 - o}, {x1 + o, h, z1 + o}, {xm, h + rh, z1 + o},
                          {xm, h + rh, z0 - o}, {0, sl}, {ul, sl}, {ul, 0}, {0, 0}, {1, 1, 0});
                Use(facade);
                m.AddTri({x0, h, z0}, {x1, h, z0}, {xm, h + rh, z0}, {0, 0.12f}, {1, 0.12f}, {0.5f, 0},
                         {0, 0, -1});
                m.AddTri({x0, h, z1}, {x1, h, z1}, {xm, h + rh, z1}, {0, 0.12f}, {1, 0.12f}, {0.5f, 0},
                         {0, 0, 1});
            }
        }
    }

    // A quad a b c d facing `face` whose lighting normal at each corner is the night normal there
    // (NightNormal) instead. The group is smoothed when loaded: each corner's normal becomes
    // normalize(2 n0 + the other normals there), n0 being that of the first face touching it. So ahead
    // of the quad each corner gets a small sliver facing its night normal, and after it one sliver facing
    // away for each of the quad's triangles there, which cancels their own normals. The slivers sample
    // the texture's black corner: additively they draw nothing.
    void SteeredQuad(GroupId g, Vec3 a, Vec3 b, Vec3 c, Vec3 d, const UvRect& r, Vec3 face) {
        Use(g);
        const Vec2 black{0.004f, 0.004f};
        auto sliver = [&](Vec3 p, Vec3 n) {
            Vec3 e1 = Normalize(Cross(n, std::fabs(n.y) < 0.9f ? Vec3{0, 1, 0} : Vec3{1, 0, 0}));
            Vec3 e2 = Normalize(Cross(n, e1));
            m.AddTri(p, p + e1 * 0.6f, p + e2 * 0.6f, black, black, black, n);
        };
        for (Vec3 p : {a, b, c, d}) {
            Vec3 lit;
            NightNormal(p, lit);
            sliver(p, lit);
        }
        size_t before = m.tris.size();
        m.AddQuad(a, b, c, d, r, face);
        // AddQuad splits along a-c: those two corners belong to both triangles.
        if (m.tris.size() != before + 2) return;
        for (Vec3 p : {a, c, a, b, c, d}) sliver(p, face * -1.0f);
    }

    // Whether a night light at p shines: the lamp reaches it and can light it squarely enough while the
    // sun cannot.
    static bool NightLit(Vec3 p, float margin = 4) {
        Vec3 lit;
        return InLampRange(p, margin) && NightNormal(p, lit) >= 0.3f;
    }

    // Lit windows over a wall made by Wall() with the same arguments, one piece per repeat of the
    // facade, on the pieces that the night lamp lights and faces.
    void NightWindows(float x0, float z0, float x1, float z1, float y0, float y1, float su, float sv,
                      Vec3 out) {
        float len = std::hypot(x1 - x0, z1 - z0);
        int n = int(std::max(1.0f, std::round(len / su)));
        auto v = [&](float y) { return 1 - y / sv; };
        Vec3 o = out * 0.12f;  // just off the wall
        for (int i = 0; i < n; ++i) {
            float fa = float(i) / n, fb = float(i + 1) / n;
            Vec3 pa{x0 + (x1 - x0) * fa, 0, z0 + (z1 - z0) * fa},
                pb{x0 + (x1 - x0) * fb, 0, z0 + (z1 - z0) * fb};
            Vec3 q[4] = {{pa.x, y1, pa.z}, {pb.x, y1, pb.z}, {pb.x, y0, pb.z}, {pa.x, y0, pa.z}};
            bool ok = true;
            for (Vec3 p : q) ok = ok && NightLit(p) && Dot(out, kLampPos - p) > 0;
            if (!ok) continue;
            SteeredQuad(kNightWindows, q[0] + o, q[1] + o, q[2] + o, q[3] + o,
                        UvRect{float(i), v(y1), float(i + 1), v(y0)}, out);
        }
    }

    // A pool of lamplight on the ground around (x, z), shining only at night.
    void NightPool(float x, float z, float half, float y) {
        Vec3 q[4] = {{x - half, y, z + half},
                     {x + half, y, z + half},
                     {x + half, y, z - half},
                     {x - half, y, z - half}};
        for (Vec3 p : q)
            if (!NightLit(p)) return;
        SteeredQuad(kNightPool, q[0], q[1], q[2], q[3], UvRect{0, 0, 1, 1}, {0, 1, 0});
    }

    // A double-sided vertical quad centred on (x, z) at angle a.
    void Billboard(GroupId g, float x, float z, float a, float w, float h, float y0 = 0) {
        Use(g);
        float dx = std::cos(a) * w / 2, dz = std::sin(a) * w / 2;
        Vec3 p0{x - dx, y0 + h, z - dz}, p1{x + dx, y0 + h, z + dz}, p2{x + dx, y0, z + dz},
            p3{x - dx, y0, z - dz};
        Vec3 n{-std::sin(a), 0, std::cos(a)};
        UvRect r{0.002f, 0.002f, 0.998f, 0.998f};
        m.AddQuad(p0, p1, p2, p3, r, n);
        UvRect back{0.998f, 0.002f, 0.002f, 0.998f};
        m.AddQuad(p1, p0, p3, p2, back, n * -1.0f);
    }

    void Tree(float x, float z, float size, bool conifer) {
        GroupId g = conifer ? kConifer : kTree;
        float w = size * (conifer ? 0.7f : 0.9f), h = size;
        float a = float(rnd.Unit() * M_PI);
        int planes = detail == 0 ? 3 : 2;
        for (int i = 0; i < planes; ++i) Billboard(g, x, z, a + float(M_PI) * i / planes, w, h);
    }

    // A street lamp: a round post, an arm towards `dir`, a head and its glow.
    void Lamp(float x, float z, float dirX, float dirZ, float arm = 5, bool halo = true) {
        const float h = 22;
        int seg = detail == 0 ? 10 : detail == 1 ? 6 : 4;
        Use(kPole);
        const UvRect side{0, 0, 1, 1};
        m.AddCylinder({x, 0, z}, {x, h, z}, 0.55f, seg, side, &side, detail == 0);
        Use(kMetal);
        Vec3 head{x + dirX * arm, h - 0.5f, z + dirZ * arm};
        m.AddBox({std::min(x, head.x) - 0.3f, h - 0.6f, std::min(z, head.z) - 0.3f},
                 {std::max(x, head.x) + 0.3f, h + 0.2f, std::max(z, head.z) + 0.3f}, side);
        m.AddBox({head.x - 1.6f, h - 1.4f, head.z - 1.0f}, {head.x + 1.6f, h - 0.4f, head.z + 1.0f}, side,
                 true);
        if (detail == 2 && (int(x + z) & 1)) return;
        Glow({head.x, h - 1.8f, head.z}, 9, kGlow);
        if (detail == 0 && halo) Glow({head.x, h - 2.0f, head.z}, 20, kHalo);
    }

    // A square glow facing the night lamp and, where it can, away from the sun, so that it shines at
    // night and stays faint by day.
    void Glow(Vec3 c, float size, GroupId g) {
        Use(g);
        Vec3 l = Normalize(kLampPos - c);
        Vec3 n = l;
        for (float k = 0; k <= 3.0f; k += 0.1f) {
            Vec3 t = Normalize(l - kTowardsSun * k);
            if (Dot(t, kTowardsSun) < -0.05f && Dot(t, l) > 0.3f) {
                n = t;
                break;
            }
        }
        Vec3 e1 = Normalize(Cross(n, std::fabs(n.y) < 0.9f ? Vec3{0, 1, 0} : Vec3{1, 0, 0}));
        Vec3 e2 = Normalize(Cross(n, e1));
        float s = size / 2;
        m.AddQuad(c - e1 * s - e2 * s, c + e1 * s - e2 * s, c + e1 * s + e2 * s, c - e1 * s + e2 * s,
                  UvRect{0, 0, 1, 1}, n);
    }
};

// The rectangle [x0, x1] × [z0, z1] without the parts that `holes` cover, as rectangles.
std::vector<Rect> Uncovered(const Rect& area, const std::vector<Rect>& holes) {
    std::vector<Rect> pieces{area};
    for (const Rect& h : holes) {
        std::vector<Rect> next;
        for (const Rect& p : pieces) {
            const float ox0 = std::max(p.x0, h.x0), ox1 = std::min(p.x1, h.x1);
            const float oz0 = std::max(p.z0, h.z0), oz1 = std::min(p.z1, h.z1);
            if (ox0 >= ox1 || oz0 >= oz1) {
                next.push_back(p);
                continue;
            }
            const Rect around[4] = {{p.x0, p.z0, ox0, p.z1},
                                    {ox1, p.z0, p.x1, p.z1},
                                    {ox0, p.z0, ox1, oz0},
                                    {ox0, oz1, ox1, p.z1}};
            for (const Rect& r : around)
                if (r.x1 - r.x0 > 1e-3f && r.z1 - r.z0 > 1e-3f) next.push_back(r);
        }
        pieces = std::move(next);
    }
    return pieces;
}

// Grass everywhere nothing else covers the ground, a little below the paved surfaces: grass hidden
// under a road or a house would only cost the renderer time.
void BuildGrass(Builder& b) {
    float cell = b.detail == 0 ? 40 : b.detail == 1 ? 56 : 80;
    const float R = 520;
    int n = int(std::ceil(2 * R / cell));
    float step = 2 * R / n;
    b.Use(kGrass);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            float x0 = -R + i * step, z0 = -R + j * step, x1 = x0 + step, z1 = z0 + step;
            float fx = std::max(std::fabs(x0), std::fabs(x1)), fz = std::max(std::fabs(z0), std::fabs(z1));
            if (std::hypot(fx, fz) > kTownRadius) continue;
            // The texture is fixed to the world: every piece starts where the cell would.
            for (const Rect& p : Uncovered({x0, z0, x1, z1}, b.covered))
                b.Ground(kGrass, p.x0, p.z0, p.x1, p.z1, -0.05f, 32, 32, 1000, false, p.x0 / 32, -p.z1 / 32);
        }
}

void BuildGround(Builder& b) {
    const float R = 520;
    // The lot: one picture per cell, the exit cell marked.
    int sub = b.detail == 0 ? 2 : 1;
    for (int c = 0; c < 8; ++c)
        for (int r = 0; r < 8; ++r) {
            float x0 = -80.0f + 20 * c, z0 = -80.0f + 20 * r;
            GroupId g = (c == 3 && r == 0) ? kLotExit : kLot;
            b.Ground(g, x0, z0, x0 + 20, z0 + 20, 0, 20, 20, 20.0f / sub);
        }
    // Kerbs and pavement around the lot, raised a little (the exit side stays open).
    const float py = 0.35f;
    auto pave = [&](float x0, float z0, float x1, float z1) {
        b.Ground(kPaving, x0, z0, x1, z1, py, 16, 16, b.detail == 0 ? 40 : 200);
    };
    pave(-92, 80, 92, 92);
    pave(-92, -80, -80, 80);
    pave(80, -80, 92, 80);
    pave(-92, -92, -20, -80);
    pave(0, -92, 92, -80);
    // Kerb faces towards the lot.
    b.Use(kConcrete);
    const UvRect k{0, 0, 4, 0.2f};
    b.m.AddQuad({-80, py, 80}, {80, py, 80}, {80, 0, 80}, {-80, 0, 80}, k, {0, 0, -1});
    b.m.AddQuad({-80, py, -80}, {-80, py, 80}, {-80, 0, 80}, {-80, 0, -80}, k, {1, 0, 0});
    b.m.AddQuad({80, py, 80}, {80, py, -80}, {80, 0, -80}, {80, 0, 80}, k, {-1, 0, 0});
    b.m.AddQuad({-80, py, -80}, {-20, py, -80}, {-20, 0, -80}, {-80, 0, -80}, k, {0, 0, 1});
    b.m.AddQuad({0, py, -80}, {80, py, -80}, {80, 0, -80}, {0, 0, -80}, k, {0, 0, 1});
    b.m.AddQuad({-20, py, -92}, {-20, py, -80}, {-20, 0, -80}, {-20, 0, -92}, k, {1, 0, 0});
    b.m.AddQuad({0, py, -80}, {0, py, -92}, {0, 0, -92}, {0, 0, -80}, k, {-1, 0, 0});
    // Exit apron, the parking strip with its driveway, the service road.
    b.Ground(kApron, -20, -92, 0, -80, 0, 20, 12, 1000);
    b.Ground(kParking, -74, -118, -22, -92, 0, 14, 26, b.detail == 0 ? 26 : 1000);
    b.Ground(kService, -22, -118, 2, -92, 0, 24, 32, 1000, false);
    b.Ground(kParking, 2, -118, 60, -92, 0, 14, 26, b.detail == 0 ? 26 : 1000);
    b.Ground(kService, -320, -140, 113, -118, 0, 22, 40, b.detail == 0 ? 40 : 120, true);
    // Main road with pavements on both sides.
    float rc = b.detail == 0 ? 32 : b.detail == 1 ? 64 : 130;
    b.Ground(kRoad, 113, -R, 224, R, 0, 111, 64, rc);
    b.Ground(kPaving, 92, -R, 113, -140, py, 16, 16, rc * 2);
    b.Ground(kPaving, 92, -118, 113, R, py, 16, 16, rc * 2);
    b.Ground(kPaving, 224, -R, 242, R, py, 16, 16, rc * 2);
    b.Ground(kPaving, 60, -118, 92, -92, py, 16, 16, 1000);
    b.Ground(kPaving, -92, -118, -74, -92, py, 16, 16, 1000);
}

void BuildTown(Builder& b) {
    const GroupId facades[4] = {kFacadeA, kFacadeB, kFacadeC, kFacadeD};
    Random r(4242);
    auto building = [&](float x0, float z0, float x1, float z1, float h, int style, bool pitched) {
        b.Building(x0, z0, x1, z1, h, facades[style % 4], pitched);
    };
    // The depot behind the lot with its sign over the roof edge, facing the lot.
    building(-70, 118, 70, 160, 24, 3, false);
    b.Use(kSign);
    b.m.AddQuad({-26, 46, 118}, {26, 46, 118}, {26, 24, 118}, {-26, 24, 118},
                UvRect{0.004f, 0.008f, 0.996f, 0.992f}, {0, 0, -1});
    b.Use(kMetal);
    b.m.AddBox({-26, 24, 118.2f}, {26, 46, 119.2f}, UvRect{0, 0, 1, 1});
    // Town blocks around: west, north, south and beyond the road, each a row of houses.
    auto row = [&](float xa, float za, float xb, float zb, float depth, bool alongX, float hMin, float hMax,
                   int stride) {
        float len = alongX ? xb - xa : zb - za;
        float pos = 0;
        int i = 0;
        while (pos < len - 20) {
            float w = float(r.Between(30, 56));
            if (pos + w > len) w = len - pos;
            float h = float(r.Between(hMin, hMax));
            bool pitched = r.Unit() < 0.35;
            int style = r.Below(4);
            if (i % stride == 0 || b.detail < 2) {
                if (alongX)
                    building(xa + pos, za, xa + pos + w - 4, za + depth, h, style, pitched);
                else
                    building(xa, za + pos, xa + depth, za + pos + w - 4, h, style, pitched);
            }
            pos += w + (b.detail == 0 ? 6 : 6);
            ++i;
        }
    };
    row(-400, 190, 100, 190, 40, true, 22, 48, 2);     // north
    row(-190, -110, -190, 110, 40, false, 20, 40, 2);  // west
    row(-400, -210, 90, -210, 40, true, 20, 44, 2);    // south, beyond the service road
    row(252, -480, 252, 480, 40, false, 24, 56, 2);    // east, beyond the road
    if (b.detail < 2) {
        row(-420, -420, 80, -420, 40, true, 30, 70, 1);
        row(-420, 330, 80, 330, 40, true, 30, 70, 1);
        row(-420, -380, -420, 300, 40, false, 30, 70, 1);
        row(320, -480, 320, 480, 40, false, 30, 80, 1);
    }
    // A glass office tower in the park to the south-west.
    const float tx0 = -300, tz0 = -330, tx1 = -256, tz1 = -286, th = 84;
    b.covered.push_back({tx0, tz0, tx1, tz1});
    b.Wall(kGlass, tx0, tz0, tx1, tz0, 0, th, 16, 16, {0, 0, -1});
    b.Wall(kGlass, tx1, tz1, tx0, tz1, 0, th, 16, 16, {0, 0, 1});
    b.Wall(kGlass, tx0, tz1, tx0, tz0, 0, th, 16, 16, {-1, 0, 0});
    b.Wall(kGlass, tx1, tz0, tx1, tz1, 0, th, 16, 16, {1, 0, 0});
    b.Ground(kRoofFlat, tx0, tz0, tx1, tz1, th, 40, 40, 1000);
}

void BuildStreetFurniture(Builder& b) {
    // Lamps around the lot and along the road.
    // (Their glows keep clear of the lot: nothing but its surface stands over it.)
    for (float x : {-90.0f, 90.0f})
        for (float z : {-88.0f, 0.0f, 88.0f}) {
            b.Lamp(x, z, x < 0 ? 1.0f : -1.0f, 0, 2.5f, false);
            b.NightPool(x < 0 ? -93.0f : 93.0f, z, 12, 0.45f);  // off the lot
        }
    for (float x : {-50.0f, 50.0f}) {
        b.Lamp(x, 90, 0, -1, 2.5f, false);
        b.NightPool(x, 93, 12, 0.45f);
    }
    int every = b.detail == 0 ? 60 : b.detail == 1 ? 90 : 120;
    for (int z = -480; z <= 480; z += every) {
        if (z > -150 && z < -100) continue;
        b.Lamp(104, float(z), 1, 0);
        b.NightPool(104, float(z), 15, 0.45f);
        if (b.detail < 2) b.Lamp(233, float(z) + every / 2.0f, -1, 0);
    }
    // Trolley wires over the -z lanes, on poles in the median.
    if (b.detail < 2) {
        for (int z = -480; z <= 480; z += 80) {
            b.Use(kPole);
            const UvRect s{0, 0, 1, 1};
            b.m.AddCylinder({180, 0, float(z)}, {180, 28, float(z)}, 0.5f, b.detail == 0 ? 8 : 5, s, nullptr,
                            false);
            b.Use(kMetal);
            b.m.AddBox({166, 26.5f, float(z) - 0.3f}, {180, 27.2f, float(z) + 0.3f}, s);
        }
        b.Use(kMetal);
        for (float x : {168.4f, 171.6f}) {
            for (int z = -520; z < 520; z += 130) {
                b.m.AddQuad({x - 0.18f, 26.0f, float(z + 130)}, {x + 0.18f, 26.0f, float(z + 130)},
                            {x + 0.18f, 26.0f, float(z)}, {x - 0.18f, 26.0f, float(z)}, UvRect{0, 0, 1, 1},
                            {0, 1, 0});
            }
        }
    }
    // Traffic light at the junction of the service road, facing the cars coming out of it.
    {
        b.Use(kPole);
        const UvRect s{0, 0, 1, 1};
        b.m.AddCylinder({108, 0, -144}, {108, 16, -144}, 0.45f, b.detail == 0 ? 8 : 5, s, nullptr, false);
        b.Use(kMetal);
        b.m.AddBox({108.3f, 10, -146}, {109.5f, 19, -142}, s);
        b.Use(kSignal);
        b.m.AddQuad({107.9f, 19, -142}, {107.9f, 19, -146}, {107.9f, 10, -146}, {107.9f, 10, -142},
                    UvRect{0.02f, 0.02f, 0.98f, 0.98f}, {-1, 0, 0});
        // A second head for the road, facing the lot's side of the town.
        b.Use(kMetal);
        b.m.AddBox({100, 10, -115.5f}, {104, 19, -114.3f}, s);
        b.Use(kPole);
        b.m.AddCylinder({102, 0, -114.9f}, {102, 10, -114.9f}, 0.45f, b.detail == 0 ? 8 : 5, s, nullptr,
                        false);
        b.Use(kSignal);
        b.m.AddQuad({104, 19, -114.1f}, {100, 19, -114.1f}, {100, 10, -114.1f}, {104, 10, -114.1f},
                    UvRect{0.02f, 0.02f, 0.98f, 0.98f}, {0, 0, 1});
    }
    // A bus shelter on the road's pavement.
    {
        b.Use(kShelter);
        const UvRect s{0, 0, 1, 1};
        b.m.AddQuad({96, 9, 20}, {96, 9, 50}, {96, 0.35f, 50}, {96, 0.35f, 20}, s, {1, 0, 0});
        b.m.AddQuad({96, 9, 50}, {96, 9, 20}, {96, 0.35f, 20}, {96, 0.35f, 50}, UvRect{1, 0, 0, 1},
                    {-1, 0, 0});
        b.Use(kMetal);
        b.m.AddBox({95, 9, 19}, {104, 9.8f, 51}, s);
        b.Use(kConcrete);
        b.m.AddBox({97, 0.35f, 26}, {99, 2.2f, 44}, UvRect{0, 0, 1, 0.3f});
    }
    // Hedges behind the lot's top pavement and along the parking strip.
    b.Use(kHedge);
    for (float x = -90; x < 90; x += 30) b.Billboard(kHedge, x + 15, 95, 0, 30, 5);
    for (float x = -74; x < 60; x += 26) b.Billboard(kHedge, x + 13, -120.5f, 0, 26, 4);
}

void BuildTrees(Builder& b) {
    Random r(77);
    b.rnd = Random(78);
    auto clear = [](float x, float z) {
        // Keep the lot, its pavement, the roads and the houses' rows clear.
        if (x > -100 && x < 100 && z > -125 && z < 105) return false;
        if (x > 88 && x < 246) return false;                             // road and its pavements
        if (z > -146 && z < -112 && x < 120) return false;               // service road
        if (x > -72 && x < 72 && z > 112 && z < 166) return false;       // depot
        if (x > -304 && x < -252 && z > -334 && z < -282) return false;  // tower
        auto inRow = [&](float v, float lo, float hi) { return v > lo - 2 && v < hi + 2; };
        if (inRow(z, 190, 230) && x > -402 && x < 102) return false;
        if (inRow(x, -190, -150) && z > -112 && z < 112) return false;
        if (inRow(z, -210, -170) && x > -402 && x < 92) return false;
        if (inRow(x, 252, 292) && z > -482 && z < 482) return false;
        if (inRow(z, -420, -380) && x > -422 && x < 82) return false;
        if (inRow(z, 330, 370) && x > -422 && x < 82) return false;
        if (inRow(x, -420, -380) && z > -382 && z < 302) return false;
        if (inRow(x, 320, 360) && z > -482 && z < 482) return false;
        return x * x + z * z < 500.0f * 500.0f;
    };
    // Along the pavements.
    int every = b.detail == 0 ? 40 : b.detail == 1 ? 60 : 120;
    for (int z = -460; z <= 460; z += every) {
        if (z > -160 && z < -100) continue;
        b.Tree(96, float(z) + 20, 24 + float(r.Between(-3, 3)), false);
        b.Tree(238, float(z) + 5, 24 + float(r.Between(-3, 3)), false);
    }
    // Around the lot, a few close by.
    const float near[][2] = {{-110, -60}, {-112, 20},   {-108, 80}, {-60, 112},
                             {60, 110},   {-120, -100}, {80, -135}};
    for (const auto& p : near) b.Tree(p[0], p[1], 26, false);
    // Scattered in the green space.
    int count = b.detail == 0 ? 140 : b.detail == 1 ? 70 : 40;
    int placed = 0, tries = 0;
    while (placed < count && tries < 5000) {
        ++tries;
        float x = float(r.Between(-480, 480)), z = float(r.Between(-480, 480));
        if (!clear(x, z)) continue;
        bool conifer = r.Unit() < 0.35;
        b.Tree(x, z, float(r.Between(20, 34)), conifer);
        ++placed;
    }
}

}  // namespace

Scene BuildScene(int detail) {
    Builder b;
    b.detail = detail;
    BuildGround(b);
    BuildTown(b);
    BuildStreetFurniture(b);
    BuildTrees(b);
    BuildGrass(b);
    // Keep only the groups that have faces, in their fixed order.
    std::vector<int> remap(kGroupCount, -1);
    std::vector<int> used(kGroupCount, 0);
    for (const Tri& t : b.m.tris) used[t.group] = 1;
    Scene s;
    for (int g = 0; g < kGroupCount; ++g) {
        if (!used[g]) continue;
        remap[g] = int(s.groups.size());
        s.groups.push_back(Def(GroupId(g)));
    }
    // Faces sorted by group, as the game packs them.
    std::stable_sort(b.m.tris.begin(), b.m.tris.end(),
                     [](const Tri& a, const Tri& c) { return a.group < c.group; });
    for (Tri& t : b.m.tris) t.group = remap[t.group];
    s.mesh = std::move(b.m);
    return s;
}
