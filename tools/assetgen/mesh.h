// Triangle meshes for the models and the town, and their two file formats.
//
// Space is left-handed with y up. A triangle's front is the side from which its vertices, in stored order,
// run clockwise; its outward normal is then (b - a) x (c - a) in the usual cross-product form.
#pragma once
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

struct Vec3 {
    float x = 0, y = 0, z = 0;
};
struct Vec2 {
    float u = 0, v = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator*(Vec3 a, float k) {
    return {a.x * k, a.y * k, a.z * k};
}
inline float Dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vec3 Cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float Length(Vec3 a) {
    return std::sqrt(Dot(a, a));
}
inline Vec3 Normalize(Vec3 a) {
    float l = Length(a);
    return l > 0 ? a * (1.0f / l) : Vec3{0, 1, 0};
}

struct Tri {
    Vec3 p[3];
    Vec3 n[3];
    Vec2 uv[3];
    int group = 0;  // material group (scenes only)
};

// A rectangle of a texture, in texture units (0..1, v downwards from the top of the picture).
struct UvRect {
    float u0, v0, u1, v1;
    Vec2 At(float s, float t) const { return {u0 + (u1 - u0) * s, v0 + (v1 - v0) * t}; }
};
inline UvRect PixelRect(int x, int y, int w, int h, int texW, int texH) {
    // Half a texel inside, so that filtering does not reach the neighbouring region.
    return {(x + 0.5f) / texW, (y + 0.5f) / texH, (x + w - 0.5f) / texW, (y + h - 0.5f) / texH};
}

class Mesh {
public:
    std::vector<Tri> tris;
    int group = 0;  // group given to the triangles added from now on

    // A flat triangle whose front faces `outward` (its order is swapped if needed).
    void AddTri(Vec3 a, Vec3 b, Vec3 c, Vec2 ta, Vec2 tb, Vec2 tc, Vec3 outward);
    // A flat quad a b c d (a ring of corners, either direction) facing `outward`.
    void AddQuad(Vec3 a, Vec3 b, Vec3 c, Vec3 d, Vec2 ta, Vec2 tb, Vec2 tc, Vec2 td, Vec3 outward);
    // A quad with its texture rectangle: a gets (u0, v0), b (u1, v0), c (u1, v1), d (u0, v1).
    void AddQuad(Vec3 a, Vec3 b, Vec3 c, Vec3 d, const UvRect& r, Vec3 outward);
    // A triangle with its own vertex normals; its order follows the mean of the normals.
    void AddSmoothTri(Vec3 a, Vec3 b, Vec3 c, Vec3 na, Vec3 nb, Vec3 nc, Vec2 ta, Vec2 tb, Vec2 tc);

    // An axis-aligned box; faces: 0 +x, 1 -x, 2 +y, 3 -y, 4 +z, 5 -z; a face with a null rect is left out.
    // Each face's picture is upright as seen from outside (v downwards = -y; for the top, v runs to -z).
    void AddBox(Vec3 lo, Vec3 hi, const UvRect* faces[6]);
    void AddBox(Vec3 lo, Vec3 hi, const UvRect& all, bool withBottom = false);
    // A cylinder along the axis from `a` to `b`, radius r (rx, ry in the two cross directions if
    // different), with smooth side normals; caps when capped. Side texture: u around, v along.
    void AddCylinder(Vec3 a, Vec3 b, float r, int segments, const UvRect& side, const UvRect* cap,
                     bool capped);

    void Append(const Mesh& other);
    // Moves every vertex by the function's result (normals by `normalFn`).
    template <typename F, typename G>
    void Transform(F posFn, G normalFn) {
        for (Tri& t : tris)
            for (int i = 0; i < 3; ++i) {
                t.p[i] = posFn(t.p[i]);
                t.n[i] = Normalize(normalFn(t.n[i]));
            }
    }
    void Translate(Vec3 d) {
        Transform([d](Vec3 p) { return p + d; }, [](Vec3 n) { return n; });
    }
    void Bounds(Vec3& lo, Vec3& hi) const;
};

// Rotation of a point about the x, y or z axis, left-handed (as Direct3D turns them for row vectors).
Vec3 RotateX(Vec3 p, float a);
Vec3 RotateY(Vec3 p, float a);
Vec3 RotateZ(Vec3 p, float a);

// Model file: a 12-byte header (tag, frame count, triangle count) and 112-byte triangle records; every
// frame holds the same number of triangles. v is stored negated (the drawing negates it back).
std::vector<uint8_t> EncodeShd(const std::vector<Mesh>& frames);

// Scene file: material groups and faces as a token stream.
struct SceneGroup {
    std::vector<int> textures;  // bitmap ids
    float frameDuration = 0;    // ms per texture of an animated group
    int blendMode = 0;          // 0 opaque, 1 alpha-tested, 2 additive
    int textureMode = 0;        // 0 one texture, 1 animated, 2 base + detail
    int materialKind = 0;       // 0 plain, 1 glows by day, 2 shiny
    int specular = 0;
    int smooth = 0;
};
std::string EncodeGeo(const std::vector<SceneGroup>& groups, const Mesh& mesh);
