// The generated content: what the game's code relies on in every bitmap, model, scene and sound file.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "bitmap_table.h"
#include "platform/bitmap_resources.h"
#include "support/test_support.h"

namespace {

const std::string kGame = VOLTRANA_GAME_DIR;

// The embedded bitmap of this id (the generated table, sorted by id), or nullptr.
const BitmapResource* Embedded(int id) {
    const BitmapResource* end = g_bitmapResources + g_bitmapResourceCount;
    const BitmapResource* it =
        std::lower_bound(g_bitmapResources, end, id, [](const BitmapResource& r, int v) { return r.id < v; });
    return it != end && it->id == id ? it : nullptr;
}

uint32_t U32(const std::string& b, size_t o) {
    return uint32_t(uint8_t(b[o])) | uint32_t(uint8_t(b[o + 1])) << 8 | uint32_t(uint8_t(b[o + 2])) << 16 |
           uint32_t(uint8_t(b[o + 3])) << 24;
}
uint16_t U16(const std::string& b, size_t o) {
    return uint16_t(uint8_t(b[o]) | uint8_t(b[o + 1]) << 8);
}
float F32(const std::string& b, size_t o) {
    float f;
    uint32_t v = U32(b, o);
    std::memcpy(&f, &v, 4);
    return f;
}

// ------------------------------------------------------------------ bitmaps

struct BmpInfo {
    int width = 0, height = 0, bits = 0;
    uint32_t fileSize = 0, dataOffset = 0;
};

BmpInfo ParseBmp(const uint8_t* data, size_t size) {
    BmpInfo info;
    if (size < 54 || data[0] != 'B' || data[1] != 'M') return info;
    std::string b(reinterpret_cast<const char*>(data), 54);
    info.fileSize = U32(b, 2);
    info.dataOffset = U32(b, 10);
    info.width = int(U32(b, 18));
    info.height = int(U32(b, 22));
    info.bits = U16(b, 28);
    return info;
}

// Colour of pixel (x, y), y from the top, of a 24-bit BMP.
uint32_t Pixel24(const BitmapResource& r, int x, int y) {
    BmpInfo info = ParseBmp(r.data, r.size);
    int stride = (info.width * 3 + 3) & ~3;
    const uint8_t* p = r.data + info.dataOffset + size_t(info.height - 1 - y) * stride + size_t(x) * 3;
    return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

TEST(ContentBitmaps, TableIsSortedAndEveryEntryIsEmbeddedWithItsSizeAndDepth) {
    ASSERT_EQ(g_bitmapResourceCount, kBitmapCount);
    for (int i = 0; i < kBitmapCount; ++i) {
        const BitmapSpec& spec = kBitmapTable[i];
        const BitmapResource& res = g_bitmapResources[i];
        SCOPED_TRACE(spec.id);
        EXPECT_EQ(res.id, spec.id);
        if (i > 0) {
            EXPECT_LT(g_bitmapResources[i - 1].id, res.id);
        }
        BmpInfo info = ParseBmp(res.data, res.size);
        EXPECT_EQ(info.width, spec.width);
        EXPECT_EQ(info.height, spec.height);
        EXPECT_EQ(info.bits, spec.bitDepth);
        EXPECT_EQ(info.fileSize, res.size);
        int stride = spec.bitDepth == 24 ? (spec.width * 3 + 3) & ~3 : (spec.width + 3) & ~3;
        EXPECT_EQ(size_t(info.dataOffset) + size_t(stride) * spec.height, res.size);
    }
}

TEST(ContentBitmaps, EveryBitmapTheGameNamesHasTheSizeOfTheMenuTable) {
    struct Need {
        int id, w, h, bits;
    };
    // Menu bitmaps, the cursor and the icon.
    std::vector<Need> needs = {{135, 512, 128, 24}, {136, 16, 16, 24},   {152, 147, 42, 24},
                               {153, 200, 205, 24}, {154, 302, 59, 24},  {155, 512, 350, 24},
                               {157, 411, 91, 24},  {158, 512, 128, 24}, {159, 253, 59, 24},
                               {160, 1024, 768, 8}, {161, 34, 42, 24},   {162, 127, 27, 24},
                               {163, 255, 364, 24}, {165, 250, 31, 24},  {169, 195, 35, 24},
                               {170, 214, 25, 24},  {174, 52, 24, 24},   {175, 141, 24, 24},
                               {176, 127, 27, 24},  {177, 109, 27, 24},  {180, 32, 32, 24}};
    for (int id = 137; id <= 151; ++id) needs.push_back({id, 312, 70, 24});
    for (int id = 166; id <= 168; ++id) needs.push_back({id, 147, 27, 24});
    for (int id = 171; id <= 173; ++id) needs.push_back({id, 147, 23, 24});
    for (const Need& n : needs) {
        const BitmapResource* r = Embedded(n.id);
        ASSERT_NE(r, nullptr) << n.id;
        BmpInfo info = ParseBmp(r->data, r->size);
        EXPECT_EQ(info.width, n.w) << n.id;
        EXPECT_EQ(info.height, n.h) << n.id;
        EXPECT_EQ(info.bits, n.bits) << n.id;
    }
    // Model textures and the icon exist.
    for (int id = 178; id <= 193; ++id) EXPECT_NE(Embedded(id), nullptr) << id;
    EXPECT_NE(Embedded(107), nullptr);
}

TEST(ContentBitmaps, KeyColoursSitWhereTheGameExpectsThem) {
    const uint32_t magenta = 0xFF00FF, green = 0x00FF00;
    // The cursor's tip is its top-left pixel; its ground is magenta.
    const BitmapResource* cursor = Embedded(180);
    ASSERT_NE(cursor, nullptr);
    EXPECT_NE(Pixel24(*cursor, 0, 0), magenta);
    EXPECT_EQ(Pixel24(*cursor, 31, 0), magenta);
    EXPECT_EQ(Pixel24(*cursor, 31, 31), magenta);
    // Main-menu buttons are drawn without blending: no keyed texel may show black there.
    for (int id = 137; id <= 151; ++id) {
        const BitmapResource* b = Embedded(id);
        for (int y = 0; y < 70; y += 3)
            for (int x = 0; x < 312; x += 3)
                ASSERT_NE(Pixel24(*b, x, y), magenta) << id << " " << x << "," << y;
    }
    // Blended panels have a keyed ground at their corners; the message box and the dialog are dark inside.
    for (int id : {135, 155, 163, 165, 169, 170, 177}) EXPECT_EQ(Pixel24(*Embedded(id), 0, 0), magenta) << id;
    auto brightness = [](uint32_t c) { return ((c >> 16) & 255) + ((c >> 8) & 255) + (c & 255); };
    EXPECT_LT(brightness(Pixel24(*Embedded(155), 256, 130)), 200);
    EXPECT_LT(brightness(Pixel24(*Embedded(135), 256, 64)), 200);
    // The bus bodies key their windows green; cars, barriers and markers never use that green.
    for (int id : {183, 185, 186, 187, 190}) {
        const BitmapResource* b = Embedded(id);
        int keyed = 0;
        for (int y = 0; y < 512; y += 2)
            for (int x = 0; x < 512; x += 2) keyed += Pixel24(*b, x, y) == green;
        EXPECT_GT(keyed, 1000) << id;
    }
    for (int id : {191, 192, 193, 178, 179, 182}) {
        const BitmapResource* b = Embedded(id);
        const BitmapSpec* s = FindBitmapSpec(id);
        for (int y = 0; y < s->height; ++y)
            for (int x = 0; x < s->width; ++x) ASSERT_NE(Pixel24(*b, x, y), green) << id;
    }
}

// The level dialog's buttons are painted over their click rectangles: bright, framed areas there and
// the dark dialog between them.
TEST(ContentBitmaps, LevelDialogButtonsCoverTheirClickRectangles) {
    const BitmapResource* d = Embedded(155);
    ASSERT_NE(d, nullptr);
    auto at = [&](double sx, double sy) {
        int x = int((sx + 256.5) * 512.0 / 513.0), y = int(sy + 175);
        uint32_t c = Pixel24(*d, x, y);
        return ((c >> 16) & 255) + ((c >> 8) & 255) + (c & 255);
    };
    const double buttons[3][2] = {{-230, -100}, {-73, 73}, {100, 230}};
    for (const auto& b : buttons) {
        // Inside near each corner: the button's face, lighter than the dialog's ground.
        for (double sx : {b[0] + 8, b[1] - 8})
            for (double sy : {114.0, 142.0}) EXPECT_GT(at(sx, sy), 150) << sx << "," << sy;
    }
    // The gaps between the buttons are dialog ground.
    EXPECT_LT(at(-86, 128), 150);
    EXPECT_LT(at(86, 128), 150);
}

// ------------------------------------------------------------------ models

struct Model {
    int frames = 0, triangles = 0;
    std::string bytes;
    float At(int frame, int tri, int vertex, int field) const {
        return F32(bytes,
                   12 + (size_t(frame) * triangles + tri) * 112 + size_t(vertex) * 32 + size_t(field) * 4);
    }
    // Bounds of the positions of one frame (or all frames with -1).
    void Bounds(int frame, float lo[3], float hi[3]) const {
        for (int i = 0; i < 3; ++i) lo[i] = 1e30f, hi[i] = -1e30f;
        for (int f = 0; f < frames; ++f) {
            if (frame >= 0 && f != frame) continue;
            for (int t = 0; t < triangles; ++t)
                for (int v = 0; v < 3; ++v)
                    for (int i = 0; i < 3; ++i) {
                        lo[i] = std::min(lo[i], At(f, t, v, i));
                        hi[i] = std::max(hi[i], At(f, t, v, i));
                    }
        }
    }
};

Model LoadModel(const std::string& name) {
    Model m;
    m.bytes = ReadFileBytes(kGame + "/models/" + name);
    if (m.bytes.size() >= 12) {
        m.frames = int(U32(m.bytes, 4));
        m.triangles = int(U32(m.bytes, 8));
    }
    return m;
}

TEST(ContentModels, FramesAreCompleteAndCountedAsTheGameAnimatesThem) {
    const std::map<std::string, int> minFrames = {
        {"karosa.shd", 32},   {"karosakol.shd", 32}, {"ikarus.shd", 32}, {"ikarusint.shd", 32},
        {"karosaint.shd", 1}, {"elektr.shd", 1},     {"Skoda.shd", 1},   {"arrow.shd", 1},
        {"zabrana1.shd", 1},  {"zabrana2.shd", 1}};
    for (const auto& [name, frames] : minFrames) {
        Model m = LoadModel(name);
        SCOPED_TRACE(name);
        EXPECT_EQ(m.frames, frames);
        EXPECT_GT(m.triangles, 0);
        EXPECT_EQ(m.bytes.size(), 12 + size_t(m.frames) * m.triangles * 112);
        for (int f = 0; f < m.frames; ++f)
            for (int t = 0; t < m.triangles; ++t)
                for (int v = 0; v < 3; ++v) {
                    float nx = m.At(f, t, v, 3), ny = m.At(f, t, v, 4), nz = m.At(f, t, v, 5);
                    ASSERT_NEAR(std::sqrt(nx * nx + ny * ny + nz * nz), 1.0f, 1e-3f) << "normal of " << t;
                }
    }
}

TEST(ContentModels, BusesFitTheirFootprintsAndStandOnTheGround) {
    // Half-width 7, half-length 19.2 (two cells) or 29.2 (three), origin at the centre on the ground.
    struct Fit {
        const char* name;
        float halfLength;
    } fits[] = {{"karosa.shd", 19.2f},
                {"karosaint.shd", 19.2f},
                {"karosakol.shd", 19.2f},
                {"ikarus.shd", 29.2f},
                {"ikarusint.shd", 29.2f}};
    for (const Fit& f : fits) {
        Model m = LoadModel(f.name);
        float lo[3], hi[3];
        m.Bounds(-1, lo, hi);
        SCOPED_TRACE(f.name);
        EXPECT_GE(lo[0], -7.0f);
        EXPECT_LE(hi[0], 7.0f);
        EXPECT_GE(lo[2], -f.halfLength);
        EXPECT_LE(hi[2], f.halfLength);
        EXPECT_GE(lo[1], -0.01f);
        // The bodies are long enough to read as buses of their footprint.
        if (std::string(f.name) == "karosa.shd" || std::string(f.name) == "ikarus.shd") {
            EXPECT_GT(hi[2] - lo[2], 2 * f.halfLength - 4);
        }
    }
    // The bodies rest from frame 20 on, and shake before.
    Model body = LoadModel("karosa.shd");
    for (int f = 21; f < 32; ++f) EXPECT_EQ(body.At(f, 0, 0, 1), body.At(20, 0, 0, 1));
    float moved = 0;
    for (int t = 0; t < body.triangles; ++t)
        moved = std::max(moved, std::fabs(body.At(2, t, 0, 0) - body.At(20, t, 0, 0)));
    EXPECT_GT(moved, 0.1f);
}

TEST(ContentModels, WheelsTurnOnceOverFramesTwoToThirtyOneWithRadiusAboutTwoPointFour) {
    Model w = LoadModel("karosakol.shd");
    ASSERT_EQ(w.frames, 32);
    float lo[3], hi[3];
    w.Bounds(2, lo, hi);
    // Height as the game scales it (1.21): a diameter of about 4.8.
    EXPECT_NEAR((hi[1] - lo[1]) * 1.21f, 4.8f, 0.3f);
    EXPECT_NEAR(lo[1], 0.0f, 0.05f);
    // One turn is 30 frames: frame 2 + 30 would be frame 2 again, so frame 31 is one step short of it.
    auto distance = [&](int a, int b) {
        float d = 0;
        for (int t = 0; t < w.triangles; ++t)
            for (int v = 0; v < 3; ++v)
                for (int i = 0; i < 3; ++i) d = std::max(d, std::fabs(w.At(a, t, v, i) - w.At(b, t, v, i)));
        return d;
    };
    EXPECT_GT(distance(2, 3), 0.1f);
    EXPECT_NEAR(distance(2, 3), distance(31, 2), 0.05f);
}

TEST(ContentModels, PropsStayInTheirCellAndTheArrowPointsDown) {
    for (const char* name : {"zabrana1.shd", "zabrana2.shd"}) {
        Model m = LoadModel(name);
        float lo[3], hi[3];
        m.Bounds(-1, lo, hi);
        EXPECT_GE(lo[0], -10.0f) << name;
        EXPECT_LE(hi[0], 10.0f) << name;
        EXPECT_GE(lo[2], -10.0f) << name;
        EXPECT_LE(hi[2], 8.5f) << name;  // drawn 1.5 towards +z of the cell's centre
    }
    Model arrow = LoadModel("arrow.shd");
    float lo[3], hi[3];
    arrow.Bounds(0, lo, hi);
    EXPECT_NEAR(lo[1], 0.0f, 1e-4f);  // the tip
    EXPECT_GT(hi[1], 8.0f);
    for (int t = 0; t < arrow.triangles; ++t)
        for (int v = 0; v < 3; ++v)
            if (arrow.At(0, t, v, 1) < 0.01f) {
                EXPECT_NEAR(arrow.At(0, t, v, 0), 0.0f, 1e-4f);
                EXPECT_NEAR(arrow.At(0, t, v, 2), 0.0f, 1e-4f);
            }
}

// ------------------------------------------------------------------ scenes

struct SceneFile {
    struct Group {
        std::vector<int> textures;
        int blend = 0, mode = 0, kind = 0, smooth = 0;
        float frameDuration = 0;
    };
    struct Face {
        float v[3][5];
        int group;
    };
    std::vector<Group> groups;
    std::vector<Face> faces;
    std::string error;
};

// Reads the file exactly as the game's reader walks it: "%s %d" pairs, texture lines "%s %d %d",
// vertices of five floats.
SceneFile ParseScene(const std::string& path) {
    SceneFile s;
    std::istringstream in(ReadFileBytes(path));
    std::string word;
    int minPolygons = 0, groupCount = -1, faceCount = -1;
    auto fail = [&](const std::string& what) {
        if (s.error.empty()) s.error = what;
        return s;
    };
    if (!(in >> word >> minPolygons >> word >> groupCount >> word >> faceCount)) return fail("header");
    if (groupCount <= 0 || faceCount <= 0) return fail("counts");
    s.groups.resize(size_t(groupCount));
    std::vector<int> seen(size_t(groupCount), 0);
    for (int i = 0; i < groupCount; ++i) {
        int g, n, unused;
        float duration;
        if (!(in >> word >> word >> g >> word >> n >> word >> duration)) return fail("group record");
        if (g < 0 || g >= groupCount || seen[size_t(g)]++) return fail("group index");
        SceneFile::Group& gr = s.groups[size_t(g)];
        gr.frameDuration = duration;
        for (int t = 0; t < n; ++t) {
            int first, id;
            if (!(in >> word >> first >> id)) return fail("texture line");
            gr.textures.push_back(id);
        }
        int specular;
        if (!(in >> word >> gr.blend >> word >> gr.mode >> word >> gr.kind >> word >> unused >> word >>
              specular >> word >> gr.smooth))
            return fail("group tail");
    }
    s.faces.resize(size_t(faceCount));
    std::vector<int> faceSeen(size_t(faceCount), 0);
    for (int i = 0; i < faceCount; ++i) {
        int k, g;
        if (!(in >> word >> word >> k >> word >> g)) return fail("face record");
        if (k < 0 || k >= faceCount || faceSeen[size_t(k)]++) return fail("face index");
        if (g < 0 || g >= groupCount) return fail("face group");
        SceneFile::Face& f = s.faces[size_t(k)];
        f.group = g;
        for (auto& v : f.v)
            for (float& x : v)
                if (!(in >> x)) return fail("vertex");
    }
    if (in >> word) return fail("trailing tokens");
    return s;
}

class ContentScenes : public ::testing::TestWithParam<const char*> {};

TEST_P(ContentScenes, ParseAndNameOnlyExistingBitmaps) {
    SceneFile s = ParseScene(kGame + "/models/" + GetParam());
    ASSERT_EQ(s.error, "");
    std::set<int> used;
    for (const auto& g : s.groups) {
        ASSERT_FALSE(g.textures.empty());
        for (int id : g.textures) EXPECT_NE(Embedded(id), nullptr) << id;
        EXPECT_TRUE(g.blend >= 0 && g.blend <= 2);
        EXPECT_TRUE(g.kind >= 0 && g.kind <= 2);
        if (g.mode == 2) {
            EXPECT_GE(g.textures.size(), 2u);
            // A detail texture centres on mid-grey: it is added with a bias of one half.
            const BitmapResource* d = Embedded(g.textures[1]);
            BmpInfo info = ParseBmp(d->data, d->size);
            double sum = 0;
            for (int y = 0; y < info.height; ++y)
                for (int x = 0; x < info.width; ++x) sum += Pixel24(*d, x, y) & 255;
            EXPECT_NEAR(sum / (info.width * info.height), 128, 6);
        }
        if (g.mode == 1) {
            EXPECT_GE(g.textures.size(), 2u);
            EXPECT_GT(g.frameDuration, 0);
        }
    }
    // What the town must have: alpha-tested cut-outs, additive glows, an animation, detail ground.
    auto has = [&](auto pred) { return std::any_of(s.groups.begin(), s.groups.end(), pred); };
    EXPECT_TRUE(has([](const auto& g) { return g.blend == 1; }));
    EXPECT_TRUE(has([](const auto& g) { return g.blend == 2; }));
    EXPECT_TRUE(has([](const auto& g) { return g.mode == 1; }));
    EXPECT_TRUE(has([](const auto& g) { return g.mode == 2; }));
}

TEST_P(ContentScenes, KeepTheLotClearAndStayWithinTheFarPlane) {
    SceneFile s = ParseScene(kGame + "/models/" + GetParam());
    ASSERT_EQ(s.error, "");
    int lotSurface = 0;
    for (const auto& f : s.faces) {
        float lo[3] = {1e30f, 1e30f, 1e30f}, hi[3] = {-1e30f, -1e30f, -1e30f};
        for (const auto& v : f.v)
            for (int i = 0; i < 3; ++i) {
                lo[i] = std::min(lo[i], v[i]);
                hi[i] = std::max(hi[i], v[i]);
            }
        bool overLot = lo[0] < 80 && hi[0] > -80 && lo[2] < 80 && hi[2] > -80;
        if (overLot) {
            // Only the lot's own flat surface, at the ground.
            ASSERT_NEAR(lo[1], 0.0f, 1e-3f);
            ASSERT_NEAR(hi[1], 0.0f, 1e-3f);
            ASSERT_TRUE(lo[0] >= -80 && hi[0] <= 80 && lo[2] >= -80 && hi[2] <= 80);
            ++lotSurface;
        }
        // The camera circles at 200 from the centre, at least 165 high; its far plane is 800 away.
        for (const auto& v : f.v) {
            float r = std::hypot(v[0], v[2]) + 200, dy = 165 - v[1];
            ASSERT_LT(r * r + dy * dy, 800.0f * 800.0f) << v[0] << "," << v[2];
        }
    }
    EXPECT_GE(lotSurface, 128);  // 64 cells
}

TEST_P(ContentScenes, GrassLiesOnlyWhereNoPavedSurfaceCoversIt) {
    // Grass under a road or the lot is never seen, yet every pixel of it would be shaded.
    SceneFile s = ParseScene(kGame + "/models/" + GetParam());
    ASSERT_EQ(s.error, "");
    constexpr int kGrassTexture = 194;
    using Face = SceneFile::Face;
    std::vector<const Face*> grass, paved;
    for (const Face& f : s.faces) {
        const bool flat = f.v[0][1] == f.v[1][1] && f.v[1][1] == f.v[2][1];
        if (!flat || f.v[0][1] < -0.1f || f.v[0][1] > 0.5f) continue;
        const auto& textures = s.groups[size_t(f.group)].textures;
        const bool isGrass = !textures.empty() && textures[0] == kGrassTexture;
        if (isGrass) grass.push_back(&f);
        else if (s.groups[size_t(f.group)].blend == 0) paved.push_back(&f);
    }
    ASSERT_FALSE(grass.empty());
    ASSERT_FALSE(paved.empty());
    auto inside = [](const Face& f, float x, float z) {
        auto edge = [&](int a, int b) {
            return (f.v[b][0] - f.v[a][0]) * (z - f.v[a][2]) - (f.v[b][2] - f.v[a][2]) * (x - f.v[a][0]);
        };
        const float e0 = edge(0, 1), e1 = edge(1, 2), e2 = edge(2, 0);
        return (e0 > 0 && e1 > 0 && e2 > 0) || (e0 < 0 && e1 < 0 && e2 < 0);
    };
    int hidden = 0;
    for (const Face* g : grass) {
        const float x = (g->v[0][0] + g->v[1][0] + g->v[2][0]) / 3, z = (g->v[0][2] + g->v[1][2] + g->v[2][2]) / 3;
        for (const Face* p : paved)
            if (inside(*p, x, z)) {
                ++hidden;
                break;
            }
    }
    EXPECT_EQ(hidden, 0) << "of " << grass.size() << " grass faces";
}

INSTANTIATE_TEST_SUITE_P(AllDetails, ContentScenes,
                         ::testing::Values("scenehi.geo", "sceneme.geo", "scenelo.geo"));

// Front faces: seen from above, the ground faces up once the reader has reversed the file's order.
TEST(ContentScenesWinding, GroundFacesUpAfterTheReaderReversesTheVertices) {
    SceneFile s = ParseScene(kGame + "/models/scenelo.geo");
    ASSERT_EQ(s.error, "");
    int ground = 0;
    for (const auto& f : s.faces) {
        if (std::fabs(f.v[0][1]) > 1e-3f || std::fabs(f.v[1][1]) > 1e-3f || std::fabs(f.v[2][1]) > 1e-3f)
            continue;
        // Normal of the file order (first - second) x (third - second), the reader's face normal.
        float ax = f.v[0][0] - f.v[1][0], az = f.v[0][2] - f.v[1][2];
        float bx = f.v[2][0] - f.v[1][0], bz = f.v[2][2] - f.v[1][2];
        float ny = az * bx - ax * bz;
        EXPECT_GT(ny, 0.0f);
        ++ground;
    }
    EXPECT_GT(ground, 100);
}

// Night lights (additive, smoothed groups) are lit, after the reader has smoothed their normals, by the
// night lamp and never by the sun, so that they shine at night and stay faint by day; the slivers
// that steer those normals sample black and add nothing.
TEST_P(ContentScenes, NightLightsFaceTheLampAndTurnFromTheSunOnceSmoothed) {
    SceneFile s = ParseScene(kGame + "/models/" + GetParam());
    ASSERT_EQ(s.error, "");
    struct V3 {
        float x, y, z;
    };
    auto sub = [](V3 a, V3 b) { return V3{a.x - b.x, a.y - b.y, a.z - b.z}; };
    auto dot = [](V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; };
    auto norm = [&](V3 a) {
        float l = std::sqrt(dot(a, a));
        return l > 0 ? V3{a.x / l, a.y / l, a.z / l} : a;
    };
    const V3 towardsSun = norm({-1.5f, 1.0f, -1.5f}), lamp{-20, 50, -10};
    int lit = 0;
    for (size_t g = 0; g < s.groups.size(); ++g) {
        const auto& gr = s.groups[g];
        if (gr.blend != 2 || gr.smooth != 1) continue;
        // The reader's face normals, then its smoothing, face by face and slot by slot.
        std::vector<const SceneFile::Face*> faces;
        for (const auto& f : s.faces)
            if (f.group == int(g)) faces.push_back(&f);
        std::vector<std::array<V3, 3>> n(faces.size());
        std::map<std::tuple<float, float, float>, std::vector<std::pair<size_t, int>>> at;
        for (size_t i = 0; i < faces.size(); ++i) {
            const auto& v = faces[i]->v;
            V3 p0{v[0][0], v[0][1], v[0][2]}, p1{v[1][0], v[1][1], v[1][2]}, p2{v[2][0], v[2][1], v[2][2]};
            V3 a = sub(p0, p1), b = sub(p2, p1);
            V3 c = norm({a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x});
            n[i] = {c, c, c};
            for (int k = 0; k < 3; ++k) at[{v[k][0], v[k][1], v[k][2]}].push_back({i, k});
        }
        for (size_t i = 0; i < faces.size(); ++i)
            for (int k = 0; k < 3; ++k) {
                const auto& same = at[{faces[i]->v[k][0], faces[i]->v[k][1], faces[i]->v[k][2]}];
                V3 sum = n[i][k];
                for (auto [f, slot] : same)
                    sum = V3{sum.x + n[f][slot].x, sum.y + n[f][slot].y, sum.z + n[f][slot].z};
                sum = norm(sum);
                for (auto [f, slot] : same) n[f][slot] = sum;
            }
        const BitmapResource* tex = Embedded(gr.textures[0]);
        ASSERT_NE(tex, nullptr);
        BmpInfo info = ParseBmp(tex->data, tex->size);
        for (size_t i = 0; i < faces.size(); ++i) {
            const auto& v = faces[i]->v;
            bool sliver =
                v[0][3] == v[1][3] && v[1][3] == v[2][3] && v[0][4] == v[1][4] && v[1][4] == v[2][4];
            if (sliver) {
                float u = v[0][3] - std::floor(v[0][3]), w = v[0][4] - std::floor(v[0][4]);
                EXPECT_EQ(Pixel24(*tex, int(u * info.width), int(w * info.height)), 0u);
                continue;
            }
            for (int k = 0; k < 3; ++k) {
                V3 p{v[k][0], v[k][1], v[k][2]};
                V3 toLamp = sub(lamp, p);
                ASSERT_LT(std::sqrt(dot(toLamp, toLamp)), 177.0f);
                EXPECT_LT(dot(n[i][k], towardsSun), -0.05f) << p.x << "," << p.y << "," << p.z;
                EXPECT_GT(dot(n[i][k], norm(toLamp)), 0.25f) << p.x << "," << p.y << "," << p.z;
            }
            ++lit;
        }
    }
    EXPECT_GT(lit, 10);
}

TEST(ContentScenesDetail, HighHasFourToSixTimesTheTrianglesOfLow) {
    size_t hi = ParseScene(kGame + "/models/scenehi.geo").faces.size();
    size_t me = ParseScene(kGame + "/models/sceneme.geo").faces.size();
    size_t lo = ParseScene(kGame + "/models/scenelo.geo").faces.size();
    EXPECT_GE(hi, 4 * lo);
    EXPECT_LE(hi, 6 * lo);
    EXPECT_GT(me, lo);
    EXPECT_LT(me, hi);
}

// ------------------------------------------------------------------ sounds and settings

struct Wav {
    int format = 0, channels = 0, rate = 0, bits = 0, blockAlign = 0, byteRate = 0;
    std::vector<int16_t> samples;
    bool ok = false;
};

Wav LoadWav(const std::string& name) {
    Wav w;
    std::string b = ReadFileBytes(kGame + "/sounds/" + name);
    if (b.size() < 44 || b.compare(0, 4, "RIFF") || b.compare(8, 4, "WAVE")) return w;
    if (U32(b, 4) + 8 != b.size()) return w;
    size_t o = 12;
    while (o + 8 <= b.size()) {
        std::string id = b.substr(o, 4);
        uint32_t len = U32(b, o + 4);
        if (id == "fmt ") {
            w.format = U16(b, o + 8);
            w.channels = U16(b, o + 10);
            w.rate = int(U32(b, o + 12));
            w.byteRate = int(U32(b, o + 16));
            w.blockAlign = U16(b, o + 20);
            w.bits = U16(b, o + 22);
        } else if (id == "data") {
            if (o + 8 + len > b.size()) return w;
            for (size_t i = 0; i + 1 < len; i += 2) w.samples.push_back(int16_t(U16(b, o + 8 + i)));
            w.ok = true;
        }
        o += 8 + len + (len & 1);
    }
    return w;
}

TEST(ContentSounds, AreSixteenBitMonoPcmAtTwentyTwoKilohertz) {
    const std::map<std::string, std::pair<double, double>> lengths = {
        {"klik.wav", {0.01, 0.2}}, {"naraz1.wav", {0.2, 1.5}}, {"naraz2.wav", {0.2, 1.5}},
        {"konec.wav", {0.5, 3}},   {"start.wav", {0.1, 0.6}},  {"outro.wav", {3, 12}},
        {"den.wav", {4, 30}},      {"noc.wav", {4, 30}}};
    for (const auto& [name, range] : lengths) {
        Wav w = LoadWav(name);
        SCOPED_TRACE(name);
        ASSERT_TRUE(w.ok);
        EXPECT_EQ(w.format, 1);
        EXPECT_EQ(w.channels, 1);
        EXPECT_EQ(w.rate, 22050);
        EXPECT_EQ(w.bits, 16);
        EXPECT_EQ(w.blockAlign, 2);
        EXPECT_EQ(w.byteRate, 44100);
        double seconds = double(w.samples.size()) / 22050;
        EXPECT_GE(seconds, range.first);
        EXPECT_LE(seconds, range.second);
        int peak = 0;
        for (int16_t s : w.samples) peak = std::max(peak, std::abs(int(s)));
        EXPECT_GT(peak, 2000);   // audible
        EXPECT_LT(peak, 32767);  // not clipped
    }
    // The two crashes differ.
    EXPECT_NE(LoadWav("naraz1.wav").samples, LoadWav("naraz2.wav").samples);
}

TEST(ContentSounds, AmbienceLoopsJoinWithoutAClick) {
    for (const char* name : {"den.wav", "noc.wav"}) {
        Wav w = LoadWav(name);
        ASSERT_TRUE(w.ok);
        ASSERT_GT(w.samples.size(), 1000u);
        // The step from the last sample to the first is no larger than the loop's ordinary steps.
        int join = std::abs(int(w.samples.front()) - int(w.samples.back()));
        double typical = 0;
        for (size_t i = 1; i < w.samples.size(); ++i) typical += std::abs(w.samples[i] - w.samples[i - 1]);
        typical /= double(w.samples.size() - 1);
        EXPECT_LE(join, std::max(64.0, 3 * typical)) << name;
        EXPECT_LT(std::abs(int(w.samples.front())), 8000) << name;
    }
}

TEST(ContentSettings, DefaultConfigIsWhatTheGameWrites) {
    EXPECT_EQ(ReadFileBytes(kGame + "/config.ini"),
              "SceneDetail 0\nScreenWidth 800\nScreenHeight 600\nScreenFormat 1\nSoundEnabled 1");
}

// ------------------------------------------------------------------ determinism

TEST(ContentDeterminism, ASecondRunGivesTheSameBytes) {
    namespace fs = std::filesystem;
    const fs::path build = fs::path(kGame).parent_path();
    const fs::path generator = build / "tools" / "assetgen" / "assetgen";
    ASSERT_TRUE(fs::exists(generator));
    ScopedTempDir dir;
    std::string cmd = generator.string() + " --bitmaps '" + dir.path() + "/bitmaps' --game '" + dir.path() +
                      "/game' --table '" + dir.path() + "/table.cpp'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    int compared = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir.path() + "/game")) {
        if (!entry.is_regular_file()) continue;
        fs::path rel = fs::relative(entry.path(), dir.path() + "/game");
        EXPECT_EQ(ReadFileBytes(entry.path().string()), ReadFileBytes((fs::path(kGame) / rel).string()))
            << rel;
        ++compared;
    }
    for (const auto& entry : fs::recursive_directory_iterator(dir.path() + "/bitmaps")) {
        if (!entry.is_regular_file()) continue;
        fs::path rel = fs::relative(entry.path(), dir.path() + "/bitmaps");
        EXPECT_EQ(ReadFileBytes(entry.path().string()),
                  ReadFileBytes((build / "generated" / "bitmaps" / rel).string()))
            << rel;
        ++compared;
    }
    EXPECT_EQ(compared, 22 + 2 * kBitmapCount);  // every bitmap in Slovak and in English
}

}  // namespace
