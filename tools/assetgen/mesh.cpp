#include "mesh.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}
void PutF(std::vector<uint8_t>& out, float f) {
    uint32_t v;
    std::memcpy(&v, &f, 4);
    Put32(out, v);
}

}  // namespace

void Mesh::AddTri(Vec3 a, Vec3 b, Vec3 c, Vec2 ta, Vec2 tb, Vec2 tc, Vec3 outward) {
    Vec3 n = Cross(b - a, c - a);
    if (Length(n) < 1e-9f) return;  // degenerate
    if (Dot(n, outward) < 0) {
        std::swap(b, c);
        std::swap(tb, tc);
        n = n * -1.0f;
    }
    n = Normalize(n);
    Tri t;
    t.p[0] = a;
    t.p[1] = b;
    t.p[2] = c;
    t.uv[0] = ta;
    t.uv[1] = tb;
    t.uv[2] = tc;
    t.n[0] = t.n[1] = t.n[2] = n;
    t.group = group;
    tris.push_back(t);
}

void Mesh::AddQuad(Vec3 a, Vec3 b, Vec3 c, Vec3 d, Vec2 ta, Vec2 tb, Vec2 tc, Vec2 td, Vec3 outward) {
    AddTri(a, b, c, ta, tb, tc, outward);
    AddTri(a, c, d, ta, tc, td, outward);
}

void Mesh::AddQuad(Vec3 a, Vec3 b, Vec3 c, Vec3 d, const UvRect& r, Vec3 outward) {
    AddQuad(a, b, c, d, {r.u0, r.v0}, {r.u1, r.v0}, {r.u1, r.v1}, {r.u0, r.v1}, outward);
}

void Mesh::AddSmoothTri(Vec3 a, Vec3 b, Vec3 c, Vec3 na, Vec3 nb, Vec3 nc, Vec2 ta, Vec2 tb, Vec2 tc) {
    Vec3 n = Cross(b - a, c - a);
    if (Length(n) < 1e-9f) return;
    if (Dot(n, na + nb + nc) < 0) {
        std::swap(b, c);
        std::swap(nb, nc);
        std::swap(tb, tc);
    }
    Tri t;
    t.p[0] = a;
    t.p[1] = b;
    t.p[2] = c;
    t.n[0] = Normalize(na);
    t.n[1] = Normalize(nb);
    t.n[2] = Normalize(nc);
    t.uv[0] = ta;
    t.uv[1] = tb;
    t.uv[2] = tc;
    t.group = group;
    tris.push_back(t);
}

void Mesh::AddBox(Vec3 lo, Vec3 hi, const UvRect* f[6]) {
    float lx = lo.x, ly = lo.y, lz = lo.z, hx = hi.x, hy = hi.y, hz = hi.z;
    // Corners of each face as seen from outside: top left, top right, bottom right, bottom left.
    const Vec3 faces[6][4] = {
        {{hx, hy, lz}, {hx, hy, hz}, {hx, ly, hz}, {hx, ly, lz}},
        {{lx, hy, hz}, {lx, hy, lz}, {lx, ly, lz}, {lx, ly, hz}},
        {{lx, hy, hz}, {hx, hy, hz}, {hx, hy, lz}, {lx, hy, lz}},
        {{hx, ly, hz}, {lx, ly, hz}, {lx, ly, lz}, {hx, ly, lz}},
        {{hx, hy, hz}, {lx, hy, hz}, {lx, ly, hz}, {hx, ly, hz}},
        {{lx, hy, lz}, {hx, hy, lz}, {hx, ly, lz}, {lx, ly, lz}},
    };
    const Vec3 out[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    for (int i = 0; i < 6; ++i) {
        if (!f[i]) continue;
        AddQuad(faces[i][0], faces[i][1], faces[i][2], faces[i][3], *f[i], out[i]);
    }
}

void Mesh::AddBox(Vec3 lo, Vec3 hi, const UvRect& all, bool withBottom) {
    const UvRect* f[6] = {&all, &all, &all, withBottom ? &all : nullptr, &all, &all};
    AddBox(lo, hi, f);
}

void Mesh::AddCylinder(Vec3 a, Vec3 b, float r, int segments, const UvRect& side, const UvRect* cap,
                       bool capped) {
    Vec3 axis = Normalize(b - a);
    Vec3 helper = std::fabs(axis.y) < 0.9f ? Vec3{0, 1, 0} : Vec3{1, 0, 0};
    Vec3 e1 = Normalize(Cross(axis, helper));
    Vec3 e2 = Normalize(Cross(axis, e1));
    for (int i = 0; i < segments; ++i) {
        // The last segment ends exactly where the first begins (2 pi would land a rounding away).
        float a0 = 2 * float(M_PI) * i / segments, a1 = 2 * float(M_PI) * ((i + 1) % segments) / segments;
        Vec3 n0 = e1 * std::cos(a0) + e2 * std::sin(a0);
        Vec3 n1 = e1 * std::cos(a1) + e2 * std::sin(a1);
        Vec3 p0 = a + n0 * r, p1 = a + n1 * r, q0 = b + n0 * r, q1 = b + n1 * r;
        float u0 = side.u0 + (side.u1 - side.u0) * i / segments;
        float u1 = side.u0 + (side.u1 - side.u0) * (i + 1) / segments;
        AddSmoothTri(p0, p1, q1, n0, n1, n1, {u0, side.v1}, {u1, side.v1}, {u1, side.v0});
        AddSmoothTri(p0, q1, q0, n0, n1, n0, {u0, side.v1}, {u1, side.v0}, {u0, side.v0});
        if (capped && cap) {
            float cu = (cap->u0 + cap->u1) / 2, cv = (cap->v0 + cap->v1) / 2;
            float ru = (cap->u1 - cap->u0) / 2, rv = (cap->v1 - cap->v0) / 2;
            Vec2 c0{cu + ru * std::cos(a0), cv + rv * std::sin(a0)};
            Vec2 c1{cu + ru * std::cos(a1), cv + rv * std::sin(a1)};
            AddTri(b, q0, q1, {cu, cv}, c0, c1, axis);
            AddTri(a, p0, p1, {cu, cv}, c0, c1, axis * -1.0f);
        }
    }
}

void Mesh::Append(const Mesh& other) {
    tris.insert(tris.end(), other.tris.begin(), other.tris.end());
}

void Mesh::Bounds(Vec3& lo, Vec3& hi) const {
    lo = {1e30f, 1e30f, 1e30f};
    hi = {-1e30f, -1e30f, -1e30f};
    for (const Tri& t : tris)
        for (const Vec3& p : t.p) {
            lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
            hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
        }
}

Vec3 RotateX(Vec3 p, float a) {
    float c = std::cos(a), s = std::sin(a);
    return {p.x, p.y * c - p.z * s, p.y * s + p.z * c};
}
Vec3 RotateY(Vec3 p, float a) {
    float c = std::cos(a), s = std::sin(a);
    return {p.x * c + p.z * s, p.y, -p.x * s + p.z * c};
}
Vec3 RotateZ(Vec3 p, float a) {
    float c = std::cos(a), s = std::sin(a);
    return {p.x * c - p.y * s, p.x * s + p.y * c, p.z};
}

std::vector<uint8_t> EncodeShd(const std::vector<Mesh>& frames) {
    std::vector<uint8_t> out;
    out.push_back('S');
    out.push_back('H');
    out.push_back('D');
    out.push_back('1');
    Put32(out, uint32_t(frames.size()));
    Put32(out, uint32_t(frames.empty() ? 0 : frames[0].tris.size()));
    for (const Mesh& m : frames) {
        for (const Tri& t : m.tris) {
            for (int i = 0; i < 3; ++i) {
                PutF(out, t.p[i].x);
                PutF(out, t.p[i].y);
                PutF(out, t.p[i].z);
                PutF(out, t.n[i].x);
                PutF(out, t.n[i].y);
                PutF(out, t.n[i].z);
                PutF(out, t.uv[i].u);
                PutF(out, -t.uv[i].v);
            }
            for (int i = 0; i < 4; ++i) PutF(out, 1.0f);  // triangle colour: opaque white
        }
    }
    return out;
}

namespace {
// Fixed formatting, so that the text is the same on every build.
void AppendNum(std::string& s, float v, int decimals) {
    char buf[48];
    if (std::fabs(v) < 0.5f * std::pow(10.0f, -decimals)) v = 0;  // no "-0.000"
    std::snprintf(buf, sizeof buf, "%.*f", decimals, double(v));
    s += buf;
}
}  // namespace

std::string EncodeGeo(const std::vector<SceneGroup>& groups, const Mesh& mesh) {
    std::string s;
    s += "MinPolygonsInNode 64\n";
    s += "NumGroups " + std::to_string(groups.size()) + "\n";
    s += "NumFaces " + std::to_string(mesh.tris.size()) + "\n";
    for (size_t g = 0; g < groups.size(); ++g) {
        const SceneGroup& gr = groups[g];
        s += "Material\nIndex " + std::to_string(g) + "\n";
        s += "NumTextures " + std::to_string(gr.textures.size()) + "\n";
        s += "FrameDuration ";
        AppendNum(s, gr.frameDuration, 1);
        s += "\n";
        for (size_t i = 0; i < gr.textures.size(); ++i)
            s += "Texture " + std::to_string(i) + " " + std::to_string(gr.textures[i]) + "\n";
        s += "BlendMode " + std::to_string(gr.blendMode) + "\n";
        s += "TextureMode " + std::to_string(gr.textureMode) + "\n";
        s += "MaterialKind " + std::to_string(gr.materialKind) + "\n";
        s += "Reserved 0\n";
        s += "Specular " + std::to_string(gr.specular) + "\n";
        s += "Smooth " + std::to_string(gr.smooth) + "\n";
    }
    for (size_t k = 0; k < mesh.tris.size(); ++k) {
        const Tri& t = mesh.tris[k];
        s += "Face\nIndex " + std::to_string(k) + "\nGroup " + std::to_string(t.group) + "\n";
        // The reader stores the three vertices in reverse; write them reversed so that they are drawn in
        // the mesh's order.
        for (int i = 2; i >= 0; --i) {
            AppendNum(s, t.p[i].x, 3);
            s += ' ';
            AppendNum(s, t.p[i].y, 3);
            s += ' ';
            AppendNum(s, t.p[i].z, 3);
            s += ' ';
            AppendNum(s, t.uv[i].u, 4);
            s += ' ';
            AppendNum(s, t.uv[i].v, 4);
            s += '\n';
        }
    }
    return s;
}
