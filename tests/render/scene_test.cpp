// The town scene: reading its text file (hostile ones too), smoothing, packing, and the draw passes.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "engine/engine.h"
#include "engine/frame_timer.h"
#include "engine/game_state.h"
#include "render/fake_device.h"
#include "render/helpers.h"
#include "render/scene.h"
#include "render/scene_file.h"
#include "support/test_support.h"

namespace {

// A face towards +y (the clockwise side) and one towards +x, both with a corner at the origin.
const std::vector<float> kUp = {0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0},
                         kSide = {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0};

class SceneTest : public ::testing::Test {
protected:
    void SetUp() override { WriteFileBytes("log.txt", ""); }
    void TearDown() override { scene.Release(), g_fps = savedFps, isNight = savedNight; }
    void Load(const std::string& text) { WriteFileBytes("test.geo", text), scene.Load("test.geo"); }
    // One face per group; group g's face is face g, starting at vertex 3g.
    void LoadGroups(const std::vector<GroupRecord>& groups) {
        std::vector<FaceRecord> faces;
        for (size_t g = 0; g < groups.size(); ++g) faces.push_back(Face(int(g), int(g), kUp));
        Load(SceneText(int(groups.size()), int(faces.size()), groups, faces));
        ASSERT_EQ(scene.groupCount, int(groups.size()));
    }
    // Puts fake textures into a group's slots.
    void GiveTextures(int g, std::initializer_list<int> ids) {
        int i = 0;
        for (int id : ids) scene.groups[g].textures[i++] = textures.emplace_back(new FakeTexture(id)).get();
    }
    std::string Log() { return ReadFileBytes("log.txt"); }
    const SceneVertex* Vertices() {
        return reinterpret_cast<const SceneVertex*>(fake.device.buffers.back()->bytes.data());
    }

    ScopedTempDir dir;
    ScopedFakeDevice fake;
    std::vector<std::unique_ptr<FakeTexture>> textures;
    Scene scene;
    float savedFps = g_fps;
    uint32_t savedNight = isNight;
};

GroupRecord Group(int index, int blend = 0, int mode = 0, int kind = 0, int smooth = 0) {
    GroupRecord g;
    g.index = index, g.blendMode = blend, g.textureMode = mode, g.materialKind = kind, g.smooth = smooth;
    return g;
}

void ExpectVec(Vector3 v, Vector3 want, const std::string& what = "") {
    for (auto [got, w] : {std::pair{v.x, want.x}, {v.y, want.y}, {v.z, want.z}})
        EXPECT_FLOAT_EQ(got, w) << what;
}

TEST_F(SceneTest, CornersAreStoredInReverseWithDetailCoordinates) {
    Load(SceneText(1, 1, {Group(0)},
                   {Face(0, 0, {64, 5, -128, 0.1f, 0.2f, 0, 0, 0, 0.3f, 0.4f, 1, 0, 0, 0.5f, 0.6f})}));
    ASSERT_EQ(scene.faceCount, 1);
    const SceneFace& f = scene.faces[0];
    // The buffer draws C, B, A for a face written A, B, C; detail coordinates are x / 64 and z / 64.
    const SceneVertex* v = Vertices();
    EXPECT_EQ((std::vector<float>{f.positions[2].x, f.positions[2].y, f.positions[2].z, f.positions[0].x,
                                  f.positions[0].z, f.positions[0].y, f.texCoords[2][0], f.texCoords[0][1],
                                  f.detailCoords[2][0], f.detailCoords[2][1], f.detailCoords[0][0], v[0].x,
                                  v[2].x, v[2].du, v[2].dv, v[1].u}),
              (std::vector<float>{64, 5, -128, 1, 0, 0, 0.1f, 0.6f, 1, -2, 0.015625f, 1, 64, 1, -2, 0.3f}));
    EXPECT_TRUE(fake.device.Find("VB 120 8 530") == 0 &&
                fake.device.buffers.back()->lockFlags == std::vector<DWORD>{D3DLOCK_NOSYSLOCK});
    scene.Release(), scene.Release();  // the buffer is given back once
    EXPECT_EQ(fake.device.buffers.back()->releases, 1);
}

TEST_F(SceneTest, SmoothingWeighsTheFirstFaceTwiceWithinOneSmoothedGroupAndExactPosition) {
    Vector3 both{1, 2, 0};  // normalize(2 * (0, 1, 0) + (1, 0, 0))
    VecNormalize(&both);
    const struct {
        const char* what;
        std::vector<GroupRecord> groups;
        int group1;
        float shift;
        Vector3 first, second;  // normals of both faces at the origin
    } cases[] = {
        {"smoothed", {Group(0, 0, 0, 0, 1)}, 0, 0, both, both},
        {"two groups", {Group(0, 0, 0, 0, 1), Group(1, 0, 0, 0, 1)}, 1, 0, {0, 1, 0}, {1, 0, 0}},
        {"flat", {Group(0)}, 0, 0, {0, 1, 0}, {1, 0, 0}},
        {"moved a step", {Group(0, 0, 0, 0, 1)}, 0, std::nextafter(0.0f, 1.0f), {0, 1, 0}, {1, 0, 0}},
        {"minus zero", {Group(0, 0, 0, 0, 1)}, 0, -0.0f, both, both},
    };
    for (const auto& c : cases) {
        FaceRecord moved = Face(1, c.group1, kSide);
        moved.v[1][0] = c.shift;
        Load(SceneText(int(c.groups.size()), 2, c.groups, {Face(0, 0, kUp), moved}));
        ExpectVec(scene.faces[0].normals[1], c.first, c.what);
        ExpectVec(scene.faces[1].normals[1], c.second, c.what);
        // The corners that are not shared keep their face normals, in the buffer too.
        ExpectVec(scene.faces[0].normals[0], {0, 1, 0}, c.what);
        ExpectVec(scene.faces[1].normals[2], {1, 0, 0}, c.what);
        EXPECT_FLOAT_EQ(Vertices()[1].ny, c.first.y) << c.what;
    }
    // Also where the shared corner is the first one in the file.
    Load(SceneText(1, 2, {Group(0, 0, 0, 0, 1)}, {Face(0, 0, kSide), Face(1, 0, kUp)}));
    Vector3 sideTwice{2, 1, 0};
    VecNormalize(&sideTwice), ExpectVec(scene.faces[0].normals[0], sideTwice, "side first");
}

TEST_F(SceneTest, RecordsInAnyOrderArePackedByGroupThenFaceAndStrayFacesAreLeftOut) {
    auto face = [](int k, int g) {
        return Face(k, g, {float(k), 0, 1, 0, 0, float(k), 0, 0, 0, 0, float(k) + 1, 0, 0, 0, 0});
    };
    Load(SceneText(2, 4, {Group(1), Group(0)}, {face(3, 0), face(1, 1), face(0, 1), face(2, 0)}));
    EXPECT_NE(Log().find(" Material 1\n  Textura 9001\n  chyba pri vytvarani textury: 9001\n Material 0\n"),
              std::string::npos)
        << Log();
    // Group 0: faces 2, 3; group 1: faces 0, 1.
    const auto ranges = [&] {
        return std::vector<int>{scene.groups[0].firstVertex, scene.groups[0].primitiveCount,
                                scene.groups[1].firstVertex, scene.groups[1].primitiveCount};
    };
    EXPECT_EQ(ranges(), (std::vector<int>{0, 2, 6, 2}));
    for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(Vertices()[3 * i + 2].x, (i + 2) % 4);

    // Faces of groups that do not exist (one past the last, a negative one) are left out; the ranges stay
    // contiguous.
    Load(SceneText(2, 4, {Group(0), Group(1)}, {face(0, 1), face(1, 2), face(2, 0), face(3, -3)}));
    EXPECT_EQ(ranges(), (std::vector<int>{0, 1, 3, 1}));
    EXPECT_TRUE(Vertices()[2].x == 2 && Vertices()[5].x == 0);
}

TEST_F(SceneTest, LogsEveryStepAndAMissingFile) {
    GroupRecord g = Group(0, 0, 2);
    g.textureIds = {9001, 9002};
    Load(SceneText(1, 1, {g}, {Face(0, 0, kUp)}));
    EXPECT_EQ(Log(),
              "Vytvaram OCTree\n Subor: test.geo\n MinPolygonsInNode: 50\n NumGroups: 1\n NumFaces: 1\n"
              " Material 0\n  Textura 9001\n  chyba pri vytvarani textury: 9001\n  Textura 9002\n"
              "  chyba pri vytvarani textury: 9002\n Vertex Buffer vytvoreny\n");
    scene.Release(), WriteFileBytes("log.txt", ""), scene.Load("nowhere.geo");
    EXPECT_EQ(Log(), "Vytvaram OCTree\n Subor: nowhere.geo\n Subor sa nepodarilo otvrit\n");
}

TEST_F(SceneTest, HostileFilesLeaveAnEmptySceneAndSayWhy) {
    std::string good = SceneText(1, 1, {Group(0)}, {Face(0, 0, kUp)});
    const std::string cases[] = {
        good.substr(0, good.size() - 12),                                          // truncated
        "Min 1 Groups -1 Faces 0",                                                 // negative count
        "Min 1 Groups 1 Faces 2000000000 Material Index 0",                        // huge count
        "Min 1 Groups 1 Faces 4294967297" + good.substr(good.find("\nMaterial")),  // one past 32 bits
        "Min 1 Groups 2000000000 Faces 1",                                         // huge count
        "Min 1 Groups 1 Faces 0 Material Index 0 Textures 999999999 D 0 T 0 1",    // huge texture count
        "Min 1 Groups 1 Faces 0 M I 0 T 1 D 0 " + std::string(80, 'w') + " 0 1 B 0 M 0 K 0 U 0 S 0 S 0",
        "Min 1 Groups x",
        "",
    };
    for (const auto& text : cases) {
        WriteFileBytes("log.txt", "");
        Load(text);
        EXPECT_TRUE(scene.faceCount == 0 && scene.groupCount == 0 && scene.vertexBuffer == nullptr) << text;
        EXPECT_NE(Log().find(" Chybny subor: "), std::string::npos) << text << "\n" << Log();
        // A texture count the file cannot hold is refused before anything is read or reserved.
        EXPECT_EQ(text.find("Textures 999999999") != std::string::npos,
                  Log().find("prilis velky pocet textur") != std::string::npos)
            << Log();
        scene.Draw();
    }
    EXPECT_EQ(fake.device.draws, 0u);
}

TEST_F(SceneTest, BadRecordsAreSkippedAndOddValuesAreSafe) {
    // A word of exactly 79 characters is fine; a group index out of range is skipped with its
    // textures; a face index out of range is skipped; NaN coordinates load.
    Load("Min 1 Groups 2 Faces 2 " + std::string(79, 'w') +
         " I 0 T 0 D 0 B 0 M 0 K 0 U 0 S 0 S 1 M I 4 T 1 D 0 T 0 140 B 0 M 0 K 0 U 0 S 0 S 0 "
         "F I 7 G 0 0 0 0 0 0 1 1 1 0 0 2 2 2 0 0 F I 1 G 0 nan 0 0 0 0 1 1 1 0 0 2 2 2 0 0");
    ASSERT_EQ(scene.groupCount, 2);
    EXPECT_EQ(scene.groups[0].primitiveCount, 1);  // face 0 was never described
    EXPECT_TRUE(std::isnan(scene.faces[1].positions[2].x));
    for (const char* line :
         {" Chybny subor: material 4 mimo rozsahu", " Chybny subor: trojholnik 7 mimo rozsahu",
          " Chybny subor: material 0 ma malo textur"})
        EXPECT_NE(Log().find(line), std::string::npos) << Log();
    for (const char* no : {"Textura 140", "zaporny"}) EXPECT_EQ(Log().find(no), std::string::npos) << Log();
    scene.Draw();  // a group without textures draws untextured
    EXPECT_EQ(fake.device.Last("TEX 0 ", true) + fake.device.Last("DRAW"), "TEX 0 nullDRAW 4 0 1");
    // Records of one-character tokens, the fewest bytes they can take, are not too few for their counts.
    const std::string face = " F I 0 G 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0";  // 20 tokens
    Load("Min 1 Groups 1 Faces 2 M I 0 T 0 D 0 B 0 M 0 K 0 U 0 S 0 S 0" + face + face);
    EXPECT_EQ(scene.faceCount, 2) << Log();
}

TEST_F(SceneTest, WithoutADeviceLoadsAndSmoothsButCreatesAndDrawsNothing) {
    // A scene loaded with a device, then drawn after the device is gone; then loaded without one.
    const std::string text = SceneText(1, 2, {Group(0, 0, 0, 0, 1)}, {Face(0, 0, kUp), Face(1, 0, kSide)});
    Load(text), fake.device.calls.clear();
    g_pDevice = nullptr;
    scene.Draw(), scene.DrawGroup(0), scene.DrawGroup(99);
    Load(text);
    EXPECT_TRUE(scene.faceCount == 2 && scene.vertexBuffer == nullptr && scene.groups[0].primitiveCount == 2);
    EXPECT_FLOAT_EQ(scene.faces[1].normals[1].y, scene.faces[0].normals[1].y);
    EXPECT_NE(Log().find(" Chyba pri vytvarani VB\n"), std::string::npos);
    scene.Draw();
    g_pDevice = &fake.device;
    EXPECT_TRUE(fake.device.calls.empty());
}

TEST_F(SceneTest, PassesGoOpaqueThenAlphaThenAdditiveAndLeaveTheUnlitStates) {
    LoadGroups({Group(0, 1), Group(1, 0), Group(2, 2), Group(3, 3), Group(4, 0)});
    fake.device.calls.clear();
    scene.Draw();
    const auto& c = fake.device.calls;
    EXPECT_EQ(std::vector<std::string>(c.begin(), c.begin() + 3),
              (std::vector<std::string>{"XF 256", "STREAM 40", "FVF 530"}));
    // Alpha test on, with point filtering for the cut-outs, and alpha blending just before the cut-out
    // group; additive blending only after the alpha pass is over.
    const int alphaOn = fake.device.Find("RS 15 1"), alphaOff = fake.device.Find("RS 15 0", alphaOn);
    EXPECT_TRUE(c[alphaOn + 1] == "RS 24 1" && c[alphaOn + 3] == "SS 0 6 1");
    // The four groups drawn once each: opaque ones in group order, then alpha, then additive.
    const int order[] = {fake.device.Find("DRAW 4 3 1"),        fake.device.Find("DRAW 4 12 1"), alphaOn,
                         fake.device.Find("RS 20 6"),           fake.device.Find("DRAW 4 0 1"),  alphaOff,
                         fake.device.Find("RS 20 2", alphaOff), fake.device.Find("DRAW 4 6 1")};
    EXPECT_TRUE(std::is_sorted(std::begin(order), std::end(order)) && order[0] >= 0 &&
                fake.device.draws == 4);
    EXPECT_LT(fake.device.Find("RS 27 0"), order[0]);  // blending off whatever came before
    // Left behind: no culling, no alpha test, no lighting, no blending, linear filtering, stage 1 off.
    for (std::string s : {"RS 22 1", "RS 15 0", "RS 137 0", "RS 27 0", "SS 0 6 2", "TSS 1 1 1"})
        EXPECT_EQ(fake.device.Last(s.substr(0, s.rfind(' ') + 1)), s);
}

TEST_F(SceneTest, MaterialsFollowKindAndDayOrNight) {
    LoadGroups({Group(0, 0, 0, 0), Group(1, 0, 0, 1), Group(2, 0, 0, 2), Group(3, 0, 0, 7)});
    // Diffuse r, ambient g, specular b, emissive a, power of kinds 0, 1, 2 and an unknown kind.
    const float rows[3][4][5] = {
        {{1, 0.3f, 0, 0.3f, 0}, {1, 1, 1, 1, 5}, {1, 0.3f, 1, 0.1f, 5}, {}},  // day
        {{1, 0.3f, 0, 0, 0}, {1, 1, 0, 0, 5}, {1, 0.3f, 1, 0.1f, 5}, {}},     // night
        {},                                                                   // neither
    };
    for (int night = 0; night < 3; ++night) {
        isNight = night;
        fake.device.materials.clear(), scene.Draw();
        ASSERT_EQ(fake.device.materials.size(), 4u);
        for (int k = 0; k < 4; ++k) {
            const D3DMATERIAL9& m = fake.device.materials[k];
            const float got[5] = {m.Diffuse.r, m.Ambient.g, m.Specular.b, m.Emissive.a, m.Power};
            for (int i = 0; i < 5; ++i)
                EXPECT_FLOAT_EQ(got[i], rows[night][k][i]) << night << " " << k << " " << i;
        }
    }
}

TEST_F(SceneTest, AnimatedTextureChangesOnlyAfterTheDurationIsExceeded) {
    GroupRecord g = Group(0, 0, 1);
    g.textureIds = {9001, 9002, 9003}, g.frameDuration = 100;
    LoadGroups({g});
    GiveTextures(0, {10, 11, 12});
    g_fps = 50;  // 20 ms a frame
    // Six frames (120 ms) on each texture, the excess dropped: 5 on the first, then 6 each.
    const char expected[] = "00000111111222222000";
    for (int frame = 0; frame < 20; ++frame) {
        fake.device.calls.clear(), scene.Draw();
        EXPECT_EQ(fake.device.Last("TEX 0 ", true), std::string("TEX 0 t1") + expected[frame]) << frame;
    }
    // A texture number out of range starts over at the first.
    for (int32_t wrong : {-1, 3, 1000}) {
        scene.groups[0].currentTexture = wrong, scene.groups[0].frameTimer = 0;
        fake.device.calls.clear(), scene.Draw();
        EXPECT_EQ(fake.device.Last("TEX 0 ", true), "TEX 0 t10") << wrong;
    }
}

TEST_F(SceneTest, DetailGroupsAddTheSecondTextureSignedOrDrawTheBaseOnly) {
    GroupRecord g = Group(0, 0, 2);
    g.textureIds = {9001, 9002}, g.specular = 1;
    LoadGroups({g});
    GiveTextures(0, {20, 21});
    scene.Draw();
    const auto& c = fake.device.calls;
    const int start = fake.device.Find("TSS 0 11 0"), draw = fake.device.Find("DRAW 4 0 1");
    ASSERT_GE(start, 0);
    EXPECT_EQ(std::vector<std::string>(c.begin() + start + 1, c.begin() + draw + 2),
              (std::vector<std::string>{"TEX 0 t20", "TSS 1 11 1", "TSS 1 1 8", "TEX 1 t21", "DRAW 4 0 1",
                                        "RS 29 0"}));
    EXPECT_LT(fake.device.Find("RS 29 1"), draw);  // specular on for this group only
    // With one texture: its base alone.
    LoadGroups({Group(0, 0, 2)});
    GiveTextures(0, {30});
    fake.device.calls.clear(), scene.Draw();
    auto& d = fake.device;
    EXPECT_EQ(d.Last("TSS 1 1 ", true) + d.Last("TEX 0 ", true) + d.Last("TEX 1 ", true),
              "noneTEX 0 t30none");
}

}  // namespace
