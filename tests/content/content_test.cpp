// The generated content: what the game's code relies on in every bitmap, model, scene and sound file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <set>
#include <sstream>

#include "bitmap_table.h"
#include "engine/engine.h"
#include "menu/resource_set.h"
#include "platform/bitmap_resources.h"
#include "platform/language.h"
#include "render/model.h"
#include "render/scene.h"
#include "support/test_support.h"

namespace {

const std::string kGame = VOLTRANA_GAME_DIR;

Picture Bitmap(int id) {
    const BitmapResource* r = FindBitmapResource(id);
    return r ? ReadBmp(r->data, r->size) : Picture{};
}

TEST(ContentBitmaps, KeyColoursSitWhereTheGameExpectsThem) {
    const auto brightness = [](uint32_t c) { return ((c >> 16) & 255) + ((c >> 8) & 255) + (c & 255); };
    const uint32_t magenta = 0xFF00FF, green = 0x00FF00;
    const auto count = [](int id, uint32_t colour) {
        const Picture b = Bitmap(id);
        return std::count(b.rgb.begin(), b.rgb.end(), colour);
    };
    // The cursor's tip is its top-left pixel on a magenta ground.
    EXPECT_TRUE(Bitmap(180).At(0, 0) != magenta && Bitmap(180).At(31, 31) == magenta);
    // Main-menu buttons are drawn without blending: no keyed texel may show black there.
    for (int id = 137; id <= 151; ++id) EXPECT_EQ(count(id, magenta), 0) << id;
    // Blended panels have a keyed ground at their corners; the message box and the dialog are dark inside.
    for (int id : {135, 155, 163, 165, 169, 170, 177}) EXPECT_EQ(Bitmap(id).At(0, 0), magenta) << id;
    EXPECT_TRUE(brightness(Bitmap(155).At(256, 130)) < 200 && brightness(Bitmap(135).At(256, 64)) < 200);
    // The bus bodies key their windows green; cars, barriers and markers never use that green.
    for (int id : {183, 185, 186, 187, 190}) EXPECT_GT(count(id, green), 4000) << id;
    for (int id : {191, 192, 193, 178, 179, 182}) EXPECT_EQ(count(id, green), 0) << id;
    // The level dialog's buttons are painted over their click rectangles (relative to its centre):
    // light near each corner inside, dark dialog ground in the gaps between them.
    const Picture d = Bitmap(155);
    auto at = [&](double sx, double sy) {
        return brightness(d.At(int((sx + 256.5) * 512.0 / 513.0), int(sy + 175)));
    };
    for (const auto& b : {std::pair{-230, -100}, std::pair{-73, 73}, std::pair{100, 230}})
        for (double sx : {b.first + 8.0, b.second - 8.0})
            for (double sy : {114.0, 142.0}) EXPECT_GT(at(sx, sy), 150) << sx << "," << sy;
    EXPECT_TRUE(at(-86, 128) < 150 && at(86, 128) < 150);
}

// A model file as the game loads it, with the bounds of its positions over all frames on x, y and z.
struct LoadedModel : Model {
    size_t size;
    float lo[3] = {1e30f, 1e30f, 1e30f}, hi[3] = {-1e30f, -1e30f, -1e30f};
    explicit LoadedModel(const std::string& name) {
        const std::string bytes = ReadFileBytes(kGame + "/models/" + name);
        size = bytes.size();
        g_pDevice = nullptr;
        LoadFromMemory(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        for (int f = 0; f < frameCount; ++f)
            for (int t = 0; t < triangleCount; ++t)
                for (int v = 0; v < 3; ++v)
                    for (int axis = 0; axis < 3; ++axis)
                        lo[axis] = std::min(lo[axis], At(f, t, v, axis)),
                        hi[axis] = std::max(hi[axis], At(f, t, v, axis));
    }
    float At(int f, int t, int v, int axis) const { return (&frames[f][t].positions[v].x)[axis]; }
};

TEST(ContentModels, FramesFootprintsWheelsAndTexturesAreWhatTheGameDraws) {
    // Frames, and the half-length along z of what must fit a bus's footprint (0: no footprint).
    const std::map<std::string, std::pair<int, float>> models = {
        {"karosa.shd", {32, 19.2f}}, {"karosakol.shd", {32, 19.2f}}, {"karosaint.shd", {1, 19.2f}},
        {"ikarus.shd", {32, 29.2f}}, {"ikarusint.shd", {32, 29.2f}}, {"elektr.shd", {1, 0}},
        {"Skoda.shd", {1, 0}},       {"arrow.shd", {1, 0}},          {"zabrana1.shd", {1, 8.5f}},
        {"zabrana2.shd", {1, 8.5f}}};
    for (const auto& [name, fit] : models) {
        const LoadedModel m(name);
        SCOPED_TRACE(name);
        EXPECT_TRUE(m.frameCount == fit.first && m.triangleCount > 0 &&
                    m.size == 12 + size_t(m.frameCount) * m.triangleCount * 112);
        if (fit.second == 0) continue;
        // Barriers and walls stay in their cell (drawn 1.5 towards +z); buses 7 wide on the ground.
        const bool barrier = fit.second == 8.5f;
        EXPECT_TRUE(m.lo[0] >= (barrier ? -10.0f : -7.0f) && m.hi[0] <= (barrier ? 10.0f : 7.0f));
        EXPECT_TRUE(m.lo[2] >= (barrier ? -10.0f : -fit.second) && m.hi[2] <= fit.second);
        EXPECT_GE(m.lo[1], -0.01f);
    }
    // The bodies rest from frame 20 on and shake before; they are as long as their footprint.
    const LoadedModel body("karosa.shd");
    for (int f = 21; f < 32; ++f) EXPECT_EQ(body.At(f, 0, 0, 1), body.At(20, 0, 0, 1));
    EXPECT_TRUE(body.At(2, 0, 0, 0) != body.At(20, 0, 0, 0) && body.hi[2] - body.lo[2] > 2 * 19.2f - 4);
    // Wheels: a diameter of about 4.8 as the game loads and scales them, one turn over frames 2 to 31.
    const LoadedModel wheel("karosakol.shd");
    WriteFileBytes("log.txt", "");
    g_resources.Load();
    EXPECT_NEAR((wheel.hi[1] - wheel.lo[1]) * g_resources.models[5].scale.y, 4.8f, 0.3f);
    // Only heights are stretched.
    EXPECT_TRUE(g_resources.models[5].scale.x == 1.0f && g_resources.models[5].scale.z == 1.0f);
    for (const Model& m : g_resources.models) EXPECT_GT(m.triangleCount, 0);  // every slot is filled
    // Bus bodies shine in their white material, cars do not, interiors are unlit. Every vehicle and
    // barrier shares that grey material: a tint in any channel would colour the whole lot.
    EXPECT_TRUE(g_resources.models[0].specular && !g_resources.models[9].specular &&
                !g_resources.models[4].lighting);
    const auto grey = [](D3DCOLORVALUE c, float v) { return c.r == v && c.g == v && c.b == v; };
    for (int slot : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14, 15}) {
        const D3DMATERIAL9& m = g_resources.models[slot].material;
        EXPECT_TRUE(grey(m.Ambient, 0.4f) && grey(m.Diffuse, 1.0f) && grey(m.Specular, 1.0f) &&
                    grey(m.Emissive, 0.5f) && m.Power == 15.0f)
            << slot;
    }
    auto distance = [&](int a, int b) {
        float d = 0;
        for (int t = 0; t < wheel.triangleCount; ++t)
            for (int i = 0; i < 3; ++i)
                d = std::max(d, std::fabs(wheel.At(a, t, 0, i) - wheel.At(b, t, 0, i)));
        return d;
    };
    EXPECT_TRUE(distance(2, 3) > 0.1f && std::fabs(distance(2, 3) - distance(31, 2)) < 0.05f);
    // The arrow's tip is at its origin, pointing down; the exit marker is the selection arrow a tenth larger.
    const LoadedModel arrow("arrow.shd");
    EXPECT_TRUE(std::fabs(arrow.lo[1]) < 1e-4f && arrow.hi[1] > 8.0f);
    const Vector3 selection = g_resources.models[12].scale, exit = g_resources.models[13].scale;
    EXPECT_TRUE(selection.x == 1.0f && selection.y == 1.0f && selection.z == 1.0f);
    EXPECT_TRUE(exit.x == 1.1f && exit.y == 1.1f && exit.z == 1.1f);
    // Each slot wears a texture painted for its model (the log names both), and no two of the lot's
    // buses or of the passing cars look alike.
    const std::map<std::string, std::string> painterFor = {
        {"karosa", "tex_bus"},         {"karosaint", "tex_interior"}, {"karosakol", "tex_wheel"},
        {"ikarus", "tex_articulated"}, {"ikarusint", "tex_interior"}, {"elektr", "tex_trolleybus"},
        {"Skoda", "tex_car"},          {"arrow", "tex_marker"},       {"zabrana1", "tex_barrier"},
        {"zabrana2", "tex_barrier"}};
    std::istringstream log(ReadFileBytes("log.txt"));
    std::map<std::string, std::set<int>> worn;
    std::string line, model;
    int slots = 0;
    while (std::getline(log, line)) {
        if (line.rfind("  Subor: models/", 0) == 0) model = line.substr(16, line.size() - 20);
        if (line.rfind("  Textura: ", 0) != 0) continue;
        const int id = std::stoi(line.substr(11));
        const auto spec = std::find_if(std::begin(kBitmapTable), std::end(kBitmapTable),
                                       [&](const BitmapSpec& b) { return b.id == id; });
        EXPECT_TRUE(spec != std::end(kBitmapTable) && spec->painter == painterFor.at(model)) << model << id;
        worn[model].insert(id), ++slots;
    }
    EXPECT_TRUE(slots == 16 && worn["karosa"].size() == 4 && worn["Skoda"].size() == 3);
}

TEST(ContentScenes, EveryDetailParsesKeepsTheLotClearAndHasWhatTheTownNeeds) {
    int triangles[3];
    for (int detail = 0; detail < 3; ++detail) {
        const char* name = (const char*[]){"scenehi.geo", "sceneme.geo", "scenelo.geo"}[detail];
        SCOPED_TRACE(name);
        const std::string text = ReadFileBytes(kGame + "/models/" + name);
        Scene s;
        g_pDevice = nullptr;
        s.LoadFromMemory(text.data(), text.size());
        ASSERT_GT(s.faceCount, 0);
        triangles[detail] = s.faceCount;
        // The texture ids of each material, as "Texture N ID" lines after its "Index G".
        std::vector<std::vector<int>> ids(size_t(s.groupCount));
        std::istringstream in(text);
        int group = 0, id;
        for (std::string w; in >> w;)
            if (w == "Index" && in >> group && group >= s.groupCount)
                break;
            else if (w == "Texture" && in >> w >> id)
                ids.at(size_t(group)).push_back(id);
        for (int g = 0; g < s.groupCount; ++g) {
            const SceneGroup& gr = s.groups[g];
            ASSERT_FALSE(ids[g].empty());
            for (int id : ids[g]) EXPECT_NE(FindBitmapResource(id), nullptr) << id;
            EXPECT_TRUE(gr.blendMode >= 0 && gr.blendMode <= 2 && gr.materialKind >= 0 &&
                        gr.materialKind <= 2);
            EXPECT_TRUE(gr.textureMode != 1 || (ids[g].size() >= 2 && gr.frameDuration > 0));
            if (gr.textureMode != 2) continue;
            // A detail texture centres on mid-grey: it is added with a bias of one half.
            ASSERT_GE(ids[g].size(), 2u);
            const Picture p = Bitmap(ids[g][1]);
            double sum = 0;
            for (uint32_t c : p.rgb) sum += c & 255;
            EXPECT_NEAR(sum / double(p.rgb.size()), 128, 6);
        }
        // Alpha-tested cut-outs, additive glows, an animation and detail ground.
        for (const auto& [field, value] :
             {std::pair{&SceneGroup::blendMode, 1}, std::pair{&SceneGroup::blendMode, 2},
              std::pair{&SceneGroup::textureMode, 1}, std::pair{&SceneGroup::textureMode, 2}})
            EXPECT_TRUE(std::any_of(s.groups, s.groups + s.groupCount,
                                    [&](const SceneGroup& g) { return g.*field == value; }));
        int lot = 0, groundUp = 0;
        for (int k = 0; k < s.faceCount; ++k) {
            const SceneFace& f = s.faces[k];
            ASSERT_TRUE(f.group >= 0 && f.group < s.groupCount);
            float lo[3] = {1e30f, 1e30f, 1e30f}, hi[3] = {-1e30f, -1e30f, -1e30f};
            for (const Vector3& p : f.positions) {
                const float v[3] = {p.x, p.y, p.z};
                for (int i = 0; i < 3; ++i) lo[i] = std::min(lo[i], v[i]), hi[i] = std::max(hi[i], v[i]);
                // The camera circles at 200 from the centre, at least 165 high; its far plane is 800 away.
                const float r = std::hypot(p.x, p.z) + 200, dy = 165 - p.y;
                ASSERT_LT(r * r + dy * dy, 800.0f * 800.0f);
            }
            // Over the lot only its own flat surface, at the ground.
            if (lo[0] < 80 && hi[0] > -80 && lo[2] < 80 && hi[2] > -80) {
                ASSERT_TRUE(std::fabs(lo[1]) < 1e-3f && std::fabs(hi[1]) < 1e-3f && lo[0] >= -80 &&
                            hi[0] <= 80 && lo[2] >= -80 && hi[2] <= 80);
                ++lot;
            }
            // Ground seen from above faces up.
            if (detail == 2 && std::fabs(lo[1]) < 1e-3f && std::fabs(hi[1]) < 1e-3f) {
                EXPECT_GT(f.normals[0].y, 0.0f);
                ++groundUp;
            }
        }
        EXPECT_TRUE(lot >= 128 && (detail != 2 || groundUp > 100));  // 64 cells
        s.Release();
    }
    EXPECT_TRUE(triangles[0] >= 4 * triangles[2] && triangles[0] <= 6 * triangles[2] &&
                triangles[2] < triangles[1] && triangles[1] < triangles[0]);
}

TEST(ContentSounds, SixteenBitMonoPcmOfTheirLengthsAndSeamlessLoops) {
    const std::map<std::string, std::pair<double, double>> lengths = {
        {"klik.wav", {0.01, 0.2}}, {"naraz1.wav", {0.2, 1.5}}, {"naraz2.wav", {0.2, 1.5}},
        {"konec.wav", {0.5, 3}},   {"start.wav", {0.1, 0.6}},  {"outro.wav", {3, 12}},
        {"den.wav", {4, 30}},      {"noc.wav", {4, 30}}};
    std::map<std::string, std::vector<int16_t>> samples;
    for (const auto& [name, range] : lengths) {
        const std::string b = ReadFileBytes(kGame + "/sounds/" + name);
        SCOPED_TRACE(name);
        // The plain 44-byte header of 16-bit mono PCM at 22050 Hz.
        ASSERT_GE(b.size(), 44u);
        EXPECT_EQ(b.substr(0, 4) + b.substr(8, 8) + b.substr(36, 4), "RIFFWAVEfmt data");
        const uint16_t fields[] = {1, 1, 0x5622, 0, 0xAC44, 0, 2, 16};
        EXPECT_EQ(std::memcmp(&b[20], fields, sizeof fields), 0);
        std::vector<int16_t>& s = samples[name];
        s.resize((b.size() - 44) / 2);
        std::memcpy(s.data(), &b[44], s.size() * 2);
        EXPECT_TRUE(s.size() / 22050.0 >= range.first && s.size() / 22050.0 <= range.second) << s.size();
        int peak = 0;
        for (int16_t v : s) peak = std::max(peak, std::abs(int(v)));
        EXPECT_TRUE(peak > 2000 && peak < 32767) << peak;  // audible, not clipped
    }
    EXPECT_NE(samples["naraz1.wav"], samples["naraz2.wav"]);
    // The ambience loops join without a click: the step from the last sample to the first is no
    // larger than their ordinary steps.
    for (const char* name : {"den.wav", "noc.wav"}) {
        const std::vector<int16_t>& s = samples[name];
        double typical = 0;
        for (size_t i = 1; i < s.size(); ++i) typical += std::abs(s[i] - s[i - 1]);
        typical /= double(s.size() - 1);
        EXPECT_LE(std::abs(int(s.front()) - int(s.back())), std::max(64.0, 3 * typical)) << name;
    }
}

// The English bitmaps: every bitmap that carries words, and only those, has an English twin that the
// lookup gives while the game speaks English, and the twin fits where the Slovak one does.
TEST(EnglishBitmaps, EveryWordedBitmapHasATwinOfTheSameSizeDepthAndKeyedGround) {
    // Buttons (EXIT is EXIT), THE END, the options' and password labels, CANCEL, credits, the lot's exit,
    // the depot's sign and the shelter's poster.
    std::set<int> worded = {152, 162, 163, 165, 167, 169, 170, 175, 176, 177, 196, 217, 218, 219, 220, 224};
    for (int id = 137; id <= 148; ++id) worded.insert(id);
    std::set<int> twins;
    for (const BitmapSpec& spec : kBitmapTable) {
        const BitmapResource* slovak = FindBitmapResource(spec.id);
        SetGameLanguage(Language::kEnglish);
        const BitmapResource* english = FindBitmapResource(spec.id);
        SetGameLanguage(Language::kSlovak);
        ASSERT_NE(english, nullptr);
        if (english == slovak) continue;
        SCOPED_TRACE(spec.id);
        twins.insert(spec.id);
        EXPECT_EQ(BmpBits(english->data, english->size), 24);
        const Picture en = ReadBmp(english->data, english->size), sk = ReadBmp(slovak->data, slovak->size);
        ASSERT_TRUE(en.width == spec.width && en.height == spec.height && sk.width == en.width &&
                    sk.height == en.height);
        // The edge of the art is the Slovak one, keyed ground and frame; only where Slovak words touch
        // the edge may English ones leave it keyed.
        for (int y = 0; y < en.height; ++y)
            for (int x = 0; x < en.width;
                 x += (y == 0 || y == en.height - 1 || x == en.width - 1) ? 1 : en.width - 1)
                ASSERT_TRUE(en.At(x, y) == sk.At(x, y) || en.At(x, y) == 0xFF00FFu) << x << "," << y;
    }
    EXPECT_EQ(twins, worded);
}

TEST(ContentSettings, DefaultConfigIsWhatTheGameWrites) {
    EXPECT_EQ(ReadFileBytes(kGame + "/config.ini"),
              "SceneDetail 0\nScreenWidth 800\nScreenHeight 600\nScreenFormat 1\nSoundEnabled 1");
}

}  // namespace
