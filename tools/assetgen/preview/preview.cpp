// A small software renderer for looking at the generated models and scenes without the game:
//
//   assetgen_preview BITMAPS OUT.png scene FILE.geo [yaw] [height] [night]
//   assetgen_preview BITMAPS OUT.png model FILE.shd TEXTURE_ID [frame] [yaw] [pitch]
//
// It draws with the game's conventions (left-handed, y up, clockwise fronts, the scene culled
// counter-clockwise, key colours transparent) and a plain sun, and writes a PNG through cairo.
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct V3 {
    float x, y, z;
};
V3 operator-(V3 a, V3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
V3 operator+(V3 a, V3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
V3 operator*(V3 a, float k) {
    return {a.x * k, a.y * k, a.z * k};
}
float Dot(V3 a, V3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
V3 Cross(V3 a, V3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
V3 Norm(V3 a) {
    float l = std::sqrt(Dot(a, a));
    return l > 0 ? a * (1 / l) : a;
}

struct Texture {
    int w = 0, h = 0;
    std::vector<uint32_t> px;
};

Texture LoadBmp(const std::string& path) {
    Texture t;
    std::ifstream f(path, std::ios::binary);
    std::vector<uint8_t> b((std::istreambuf_iterator<char>(f)), {});
    if (b.size() < 54) return t;
    auto u32 = [&](size_t o) {
        return uint32_t(b[o] | b[o + 1] << 8 | b[o + 2] << 16 | uint32_t(b[o + 3]) << 24);
    };
    uint32_t off = u32(10);
    t.w = int(u32(18));
    t.h = int(u32(22));
    int bits = b[28] | b[29] << 8;
    t.px.resize(size_t(t.w) * t.h);
    int stride = bits == 24 ? (t.w * 3 + 3) & ~3 : (t.w + 3) & ~3;
    for (int y = 0; y < t.h; ++y)
        for (int x = 0; x < t.w; ++x) {
            size_t o = off + size_t(t.h - 1 - y) * stride;
            uint32_t c;
            if (bits == 24) {
                o += size_t(x) * 3;
                c = uint32_t(b[o + 2]) << 16 | b[o + 1] << 8 | b[o];
            } else {
                size_t p = 54 + size_t(b[o + x]) * 4;
                c = uint32_t(b[p + 2]) << 16 | b[p + 1] << 8 | b[p];
            }
            t.px[size_t(y) * t.w + x] = c;
        }
    return t;
}

struct Vert {
    V3 p, n;
    float u, v;
};
struct Face {
    Vert v[3];
    int tex;
    int blend;  // 0 opaque, 1 keyed, 2 additive
    bool cull;
};

struct Renderer {
    int W, H;
    std::vector<uint32_t> colour;
    std::vector<float> depth;
    float view[16], proj[16];
    std::map<int, Texture>* textures;
    uint32_t key;
    V3 light;  // direction the light travels
    bool night = false;

    Renderer(int w, int h) : W(w), H(h), colour(size_t(w) * h, 0xFF101418), depth(size_t(w) * h, 1e30f) {}

    void LookAt(V3 eye, V3 at, float fovY, float zn, float zf) {
        V3 z = Norm(at - eye), x = Norm(Cross({0, 1, 0}, z)), y = Cross(z, x);
        float v[16] = {x.x, y.x, z.x, 0, x.y,          y.y,          z.y,          0,
                       x.z, y.z, z.z, 0, -Dot(x, eye), -Dot(y, eye), -Dot(z, eye), 1};
        std::memcpy(view, v, sizeof v);
        float ys = 1 / std::tan(fovY / 2), xs = ys / (float(W) / H);
        float p[16] = {xs, 0, 0, 0, 0, ys, 0, 0, 0, 0, zf / (zf - zn), 1, 0, 0, -zn * zf / (zf - zn), 0};
        std::memcpy(proj, p, sizeof p);
    }
    // Row vector times matrix.
    static void Mul(const float* m, float x, float y, float z, float w, float* o) {
        for (int i = 0; i < 4; ++i) o[i] = x * m[i] + y * m[4 + i] + z * m[8 + i] + w * m[12 + i];
    }

    void Draw(const Face& f) {
        float sx[3], sy[3], sw[3], sz[3];
        for (int i = 0; i < 3; ++i) {
            float a[4], c[4];
            Mul(view, f.v[i].p.x, f.v[i].p.y, f.v[i].p.z, 1, a);
            Mul(proj, a[0], a[1], a[2], a[3], c);
            if (c[3] < 1) return;  // behind the near plane: skipped (good enough here)
            sx[i] = (c[0] / c[3] * 0.5f + 0.5f) * W;
            sy[i] = (0.5f - c[1] / c[3] * 0.5f) * H;
            sz[i] = c[2] / c[3];
            sw[i] = 1 / c[3];
        }
        float area = (sx[1] - sx[0]) * (sy[2] - sy[0]) - (sx[2] - sx[0]) * (sy[1] - sy[0]);
        if (area == 0) return;
        // y downwards: area > 0 means clockwise on screen, the front.
        if (f.cull && area < 0) return;
        const Texture* t = nullptr;
        auto it = textures->find(f.tex);
        if (it != textures->end() && it->second.w) t = &it->second;
        int x0 = std::max(0, int(std::floor(std::min({sx[0], sx[1], sx[2]}))));
        int x1 = std::min(W - 1, int(std::ceil(std::max({sx[0], sx[1], sx[2]}))));
        int y0 = std::max(0, int(std::floor(std::min({sy[0], sy[1], sy[2]}))));
        int y1 = std::min(H - 1, int(std::ceil(std::max({sy[0], sy[1], sy[2]}))));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                float px = x + 0.5f, py = y + 0.5f;
                float w0 = ((sx[1] - px) * (sy[2] - py) - (sx[2] - px) * (sy[1] - py)) / area;
                float w1 = ((sx[2] - px) * (sy[0] - py) - (sx[0] - px) * (sy[2] - py)) / area;
                float w2 = 1 - w0 - w1;
                if (w0 < 0 || w1 < 0 || w2 < 0) continue;
                float z = w0 * sz[0] + w1 * sz[1] + w2 * sz[2];
                size_t idx = size_t(y) * W + x;
                if (z < 0 || z > 1 || z >= depth[idx]) continue;
                float iw = w0 * sw[0] + w1 * sw[1] + w2 * sw[2];
                float u = (w0 * f.v[0].u * sw[0] + w1 * f.v[1].u * sw[1] + w2 * f.v[2].u * sw[2]) / iw;
                float v = (w0 * f.v[0].v * sw[0] + w1 * f.v[1].v * sw[1] + w2 * f.v[2].v * sw[2]) / iw;
                V3 n = Norm(f.v[0].n * w0 + f.v[1].n * w1 + f.v[2].n * w2);
                uint32_t c = 0xFFFFFF;
                if (t) {
                    float fu = u - std::floor(u), fv = v - std::floor(v);
                    int tx = std::min(t->w - 1, int(fu * t->w)), ty = std::min(t->h - 1, int(fv * t->h));
                    c = t->px[size_t(ty) * t->w + tx];
                }
                if (c == key && f.blend != 2) continue;
                float lit;
                if (night) {
                    V3 p = f.v[0].p * w0 + f.v[1].p * w1 + f.v[2].p * w2;
                    V3 l = V3{-20, 50, -10} - p;
                    float d = std::sqrt(Dot(l, l));
                    lit = d < 177 ? std::max(0.0f, Dot(n, l * (1 / d))) * 1.43f : 0;
                } else {
                    lit = 0.36f + std::max(0.0f, -Dot(n, light)) * 1.0f;
                }
                float r = ((c >> 16) & 255) * lit, g = ((c >> 8) & 255) * lit, b = (c & 255) * lit;
                if (f.blend == 2) {
                    uint32_t d = colour[idx];
                    r += (d >> 16) & 255;
                    g += (d >> 8) & 255;
                    b += d & 255;
                } else {
                    depth[idx] = z;
                }
                colour[idx] = 0xFF000000u | uint32_t(std::min(255.f, r)) << 16 |
                              uint32_t(std::min(255.f, g)) << 8 | uint32_t(std::min(255.f, b));
            }
    }

    void Save(const std::string& path) {
        cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, W, H);
        uint8_t* d = cairo_image_surface_get_data(s);
        int stride = cairo_image_surface_get_stride(s);
        for (int y = 0; y < H; ++y) std::memcpy(d + y * stride, &colour[size_t(y) * W], size_t(W) * 4);
        cairo_surface_mark_dirty(s);
        cairo_surface_write_to_png(s, path.c_str());
        cairo_surface_destroy(s);
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: see the top of preview.cpp\n");
        return 2;
    }
    std::string bitmaps = argv[1], out = argv[2], kind = argv[3], file = argv[4];
    std::map<int, Texture> textures;
    auto tex = [&](int id) {
        if (!textures.count(id)) textures[id] = LoadBmp(bitmaps + "/" + std::to_string(id) + ".bmp");
    };
    std::vector<Face> faces;
    Renderer r(1024, 768);
    r.textures = &textures;
    r.light = Norm({1.5f, -1.0f, 1.5f});
    if (kind == "scene") {
        std::ifstream f(file);
        std::string w;
        int minp, groups, count;
        f >> w >> minp >> w >> groups >> w >> count;
        std::vector<int> gtex(static_cast<size_t>(groups)), gblend(static_cast<size_t>(groups));
        for (int g = 0; g < groups; ++g) {
            int idx, n, dummy;
            float dur;
            f >> w >> w >> idx >> w >> n >> w >> dur;
            for (int i = 0; i < n; ++i) {
                int id;
                f >> w >> dummy >> id;
                if (i == 0) gtex[size_t(idx)] = id;
                tex(id);
            }
            int blend, mode, kindm, unused, spec, smooth;
            f >> w >> blend >> w >> mode >> w >> kindm >> w >> unused >> w >> spec >> w >> smooth;
            gblend[size_t(idx)] = blend;
        }
        for (int k = 0; k < count; ++k) {
            int idx, g;
            f >> w >> w >> idx >> w >> g;
            Face face;
            Vert vs[3];
            for (auto& v : vs) f >> v.p.x >> v.p.y >> v.p.z >> v.u >> v.v;
            // The reader stores them reversed; the normal follows the drawn order.
            face.v[0] = vs[2];
            face.v[1] = vs[1];
            face.v[2] = vs[0];
            V3 n = Norm(Cross(face.v[1].p - face.v[0].p, face.v[2].p - face.v[0].p));
            for (auto& v : face.v) v.n = n;
            face.tex = gtex[size_t(g)];
            face.blend = gblend[size_t(g)];
            face.cull = true;
            faces.push_back(face);
        }
        float yaw = argc > 5 ? std::stof(argv[5]) : -2.0f;
        float height = argc > 6 ? std::stof(argv[6]) : 180.0f;
        r.night = argc > 7 && std::string(argv[7]) == "night";
        r.key = 0xFF00FF;
        V3 eye{std::sin(yaw) * 200, height, std::cos(yaw) * 200};
        if (height > 1000) eye = {0.01f, height, 0.0f};
        r.LookAt(eye, {0, 0, 0}, 0.75f, 10, height > 1000 ? 5000 : 800);
    } else {
        std::ifstream f(file, std::ios::binary);
        std::vector<uint8_t> b((std::istreambuf_iterator<char>(f)), {});
        int frames, tris;
        std::memcpy(&frames, &b[4], 4);
        std::memcpy(&tris, &b[8], 4);
        int id = std::stoi(argv[5]);
        int frame = argc > 6 ? std::stoi(argv[6]) : 0;
        float yaw = argc > 7 ? std::stof(argv[7]) : 0.8f;
        float pitch = argc > 8 ? std::stof(argv[8]) : 0.5f;
        tex(id);
        const uint8_t* p = &b[12 + size_t(frame % frames) * tris * 112];
        for (int t = 0; t < tris; ++t) {
            float v[28];
            std::memcpy(v, p + size_t(t) * 112, 112);
            Face face;
            for (int i = 0; i < 3; ++i) {
                face.v[i].p = {v[i * 8], v[i * 8 + 1] * 1.21f, v[i * 8 + 2]};
                face.v[i].n = {v[i * 8 + 3], v[i * 8 + 4], v[i * 8 + 5]};
                face.v[i].u = v[i * 8 + 6];
                face.v[i].v = -v[i * 8 + 7];
            }
            face.tex = id;
            face.blend = 1;
            face.cull = false;
            faces.push_back(face);
        }
        r.key = 0x00FF00;
        float dist = 90;
        V3 eye{std::sin(yaw) * std::cos(pitch) * dist, std::sin(pitch) * dist + 5,
               std::cos(yaw) * std::cos(pitch) * dist};
        r.LookAt(eye, {0, 5, 0}, 0.6f, 1, 500);
        r.colour.assign(r.colour.size(), 0xFF6A7A8A);
    }
    // Opaque and keyed first, additive last (as the game's passes).
    for (const Face& f : faces)
        if (f.blend != 2) r.Draw(f);
    for (const Face& f : faces)
        if (f.blend == 2) r.Draw(f);
    r.Save(out);
    std::printf("%zu faces\n", faces.size());
    return 0;
}
