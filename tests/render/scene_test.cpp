#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "engine/engine.h"
#include "engine/frame_timer.h"
#include "engine/game_state.h"
#include "render/fake_device.h"
#include "render/helpers.h"
#include "render/scene.h"
#include "render/scene_file.h"
#include "support/test_support.h"

namespace {

// Loads `text` as models/test.geo in a fresh folder with an empty log.
class SceneFileTest : public ::testing::Test {
protected:
    void SetUp() override { WriteFileBytes("log.txt", ""); }
    void TearDown() override { scene.Release(); }
    void Load(const std::string& text) {
        WriteFileBytes("test.geo", text);
        scene.Load("test.geo");
    }
    std::string Log() { return ReadFileBytes("log.txt"); }
    const SceneVertex* Vertices() {
        if (fake.device.buffers.empty()) return nullptr;
        return reinterpret_cast<const SceneVertex*>(fake.device.buffers.back()->bytes.data());
    }

    ScopedTempDir dir;
    ScopedFakeDevice fake;
    Scene scene;
};

void ExpectVec(Vector3 v, float x, float y, float z) {
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}

TEST_F(SceneFileTest, CornersAreStoredInReverseWithDetailCoordinatesAndFaceNormal) {
    GroupRecord g;
    Load(SceneText(1, 1, {g},
                   {Face(0, 0,
                         {64, 5, -128, 0.1f, 0.2f,  //
                          0, 0, 0, 0.3f, 0.4f,      //
                          1, 0, 0, 0.5f, 0.6f})}));
    ASSERT_EQ(scene.faceCount, 1);
    const SceneFace& f = scene.faces[0];
    ExpectVec(f.positions[2], 64, 5, -128);
    ExpectVec(f.positions[0], 1, 0, 0);
    EXPECT_FLOAT_EQ(f.texCoords[2][0], 0.1f);
    EXPECT_FLOAT_EQ(f.texCoords[0][1], 0.6f);
    EXPECT_FLOAT_EQ(f.detailCoords[2][0], 1.0f);
    EXPECT_FLOAT_EQ(f.detailCoords[2][1], -2.0f);
    EXPECT_FLOAT_EQ(f.detailCoords[0][0], 0.015625f);

    // The buffer draws C, B, A for a face written A, B, C.
    const SceneVertex* v = Vertices();
    ASSERT_NE(v, nullptr);
    EXPECT_FLOAT_EQ(v[0].x, 1);
    EXPECT_FLOAT_EQ(v[2].x, 64);
    EXPECT_FLOAT_EQ(v[2].du, 1.0f);
    EXPECT_FLOAT_EQ(v[2].dv, -2.0f);
    EXPECT_FLOAT_EQ(v[1].u, 0.3f);
    EXPECT_EQ(fake.device.Find("VB 120 8 530"), 0);
    EXPECT_EQ(fake.device.buffers.back()->lockFlags, std::vector<DWORD>{D3DLOCK_NOSYSLOCK});
}

TEST_F(SceneFileTest, NormalPointsToTheClockwiseSide) {
    GroupRecord g;
    Load(SceneText(1, 1, {g}, {Face(0, 0, {0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0})}));
    for (int s = 0; s < 3; ++s) ExpectVec(scene.faces[0].normals[s], 0, 1, 0);
    EXPECT_FLOAT_EQ(Vertices()[1].ny, 1.0f);
}

// Two faces meeting at the origin: one facing +y, one facing +x.
std::vector<FaceRecord> TwoFacesSharingTheOrigin(int group0, int group1, float shift = 0.0f) {
    return {Face(0, group0, {0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0}),
            Face(1, group1, {0, 1, 0, 0, 0, shift, 0, 0, 0, 0, 0, 0, 1, 0, 0})};
}

TEST_F(SceneFileTest, SmoothingWeighsTheFirstFaceTwice) {
    GroupRecord g;
    g.smooth = 1;
    Load(SceneText(1, 2, {g}, TwoFacesSharingTheOrigin(0, 0)));
    Vector3 expected{1, 2, 0};  // normalize(2 * (0, 1, 0) + (1, 0, 0))
    VecNormalize(&expected);
    ExpectVec(scene.faces[0].normals[1], expected.x, expected.y, expected.z);
    ExpectVec(scene.faces[1].normals[1], expected.x, expected.y, expected.z);
    // The corners that are not shared keep their face normals.
    ExpectVec(scene.faces[0].normals[0], 0, 1, 0);
    ExpectVec(scene.faces[1].normals[2], 1, 0, 0);
}

TEST_F(SceneFileTest, SmoothingNeverCrossesGroupsPositionsOrUnsmoothedGroups) {
    GroupRecord a, b;
    a.smooth = b.smooth = 1;
    b.index = 1;
    Load(SceneText(2, 2, {a, b}, TwoFacesSharingTheOrigin(0, 1)));
    ExpectVec(scene.faces[0].normals[1], 0, 1, 0);
    ExpectVec(scene.faces[1].normals[1], 1, 0, 0);

    GroupRecord flat;
    Load(SceneText(1, 2, {flat}, TwoFacesSharingTheOrigin(0, 0)));
    ExpectVec(scene.faces[0].normals[1], 0, 1, 0);

    // One face's corner moved off the origin by the smallest step: no longer the same position.
    Load(SceneText(1, 2, {a}, TwoFacesSharingTheOrigin(0, 0, std::nextafter(0.0f, 1.0f))));
    ExpectVec(scene.faces[0].normals[1], 0, 1, 0);
}

TEST_F(SceneFileTest, RecordsInAnyOrderArePackedByGroupThenFaceIndex) {
    GroupRecord g0, g1;
    g1.index = 1;
    g0.index = 0;
    auto face = [](int k, int g) {
        return Face(k, g, {float(k), 0, 1, 0, 0, float(k), 0, 0, 0, 0, float(k) + 1, 0, 0, 0, 0});
    };
    Load(SceneText(2, 4, {g1, g0}, {face(3, 0), face(1, 1), face(0, 1), face(2, 0)}));
    EXPECT_NE(Log().find(" Material 1\n  Textura 9001\n  chyba pri vytvarani textury: 9001\n Material 0\n"),
              std::string::npos)
        << Log();
    EXPECT_EQ(scene.groups[0].firstVertex, 0);
    EXPECT_EQ(scene.groups[0].primitiveCount, 2);
    EXPECT_EQ(scene.groups[1].firstVertex, 6);
    EXPECT_EQ(scene.groups[1].primitiveCount, 2);
    const SceneVertex* v = Vertices();
    float expectedX[4] = {2, 3, 0, 1};  // group 0: faces 2, 3; group 1: faces 0, 1
    for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(v[3 * i + 2].x, expectedX[i]);
}

TEST_F(SceneFileTest, FacesOfMissingGroupsAreLeftOutAndRangesStayContiguous) {
    GroupRecord g0, g1;
    g1.index = 1;
    auto face = [](int k, int g) { return Face(k, g, {float(k), 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0}); };
    Load(SceneText(2, 4, {g0, g1}, {face(0, 1), face(1, 5), face(2, 0), face(3, -3)}));
    EXPECT_EQ(scene.groups[0].firstVertex, 0);
    EXPECT_EQ(scene.groups[0].primitiveCount, 1);
    EXPECT_EQ(scene.groups[1].firstVertex, 3);
    EXPECT_EQ(scene.groups[1].primitiveCount, 1);
    EXPECT_FLOAT_EQ(Vertices()[2].x, 2);
    EXPECT_FLOAT_EQ(Vertices()[5].x, 0);
}

TEST_F(SceneFileTest, LogsEveryStep) {
    GroupRecord g;
    g.textureIds = {9001, 9002};
    g.textureMode = 2;
    Load(SceneText(1, 1, {g}, {Face(0, 0, {0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0})}));
    EXPECT_EQ(Log(),
              "Vytvaram OCTree\n Subor: test.geo\n MinPolygonsInNode: 50\n NumGroups: 1\n NumFaces: 1\n"
              " Material 0\n  Textura 9001\n  chyba pri vytvarani textury: 9001\n  Textura 9002\n"
              "  chyba pri vytvarani textury: 9002\n Vertex Buffer vytvoreny\n");
}

TEST_F(SceneFileTest, MissingFileIsLoggedAndDrawsNothing) {
    scene.Load("nowhere.geo");
    EXPECT_EQ(Log(), "Vytvaram OCTree\n Subor: nowhere.geo\n Subor sa nepodarilo otvrit\n");
    scene.Draw();
    EXPECT_EQ(fake.device.draws, 0u);
    scene.Release();
    scene.Release();
}

TEST_F(SceneFileTest, HostileFilesLeaveAnEmptySceneAndSayWhy) {
    GroupRecord g;
    std::string good = SceneText(1, 2, {g}, TwoFacesSharingTheOrigin(0, 0));
    const std::string cases[] = {
        good.substr(0, good.size() - 12),                                        // truncated
        "Min 1 Groups -1 Faces 0",                                               // negative count
        "Min 1 Groups 1 Faces 2000000000 Material Index 0",                      // huge count
        "Min 1 Groups 2000000000 Faces 1",                                       // huge count
        "Min 1 Groups 1 Faces 0 Material Index 0 Textures 999999999 D 0 T 0 1",  // huge texture count
        "Min 1 Groups 1 Faces 0 M I 0 T 1 D 0 " + std::string(80, 'w') + " 0 1 B 0 M 0 K 0 U 0 S 0 S 0",
        "Min 1 Groups x",
        "",
    };
    for (const auto& text : cases) {
        WriteFileBytes("log.txt", "");
        Load(text);
        EXPECT_EQ(scene.faceCount, 0) << text;
        EXPECT_EQ(scene.groupCount, 0) << text;
        EXPECT_EQ(scene.vertexBuffer, nullptr);
        EXPECT_NE(Log().find(" Chybny subor: "), std::string::npos) << text << "\n" << Log();
        // A texture count the file cannot hold is refused before anything is read or reserved.
        if (text.find("Textures 999999999") != std::string::npos)
            EXPECT_NE(Log().find("prilis velky pocet textur"), std::string::npos) << Log();
        scene.Draw();
    }
    EXPECT_EQ(fake.device.draws, 0u);
}

TEST_F(SceneFileTest, BadRecordsAreSkippedAndOddValuesAreSafe) {
    // A word of exactly 79 characters is fine; a group index out of range is skipped with its
    // textures; a face index out of range is skipped; NaN coordinates load.
    std::string w79(79, 'w');
    std::string text = "Min 1 Groups 2 Faces 2 " + w79 +
                       " I 0 T 0 D 0 B 0 M 0 K 0 U 0 S 0 S 1 "
                       "M I 4 T 1 D 0 T 0 140 B 0 M 0 K 0 U 0 S 0 S 0 "
                       "F I 7 G 0 0 0 0 0 0 1 1 1 0 0 2 2 2 0 0 "
                       "F I 1 G 0 nan 0 0 0 0 1 1 1 0 0 2 2 2 0 0";
    Load(text);
    ASSERT_EQ(scene.groupCount, 2);
    EXPECT_EQ(scene.groups[0].primitiveCount, 1);  // face 0 was never described
    EXPECT_TRUE(std::isnan(scene.faces[1].positions[2].x));
    EXPECT_NE(Log().find(" Chybny subor: material 4 mimo rozsahu"), std::string::npos) << Log();
    EXPECT_NE(Log().find(" Chybny subor: trojholnik 7 mimo rozsahu"), std::string::npos);
    EXPECT_NE(Log().find(" Chybny subor: material 0 ma malo textur"), std::string::npos);
    EXPECT_EQ(Log().find("Textura 140"), std::string::npos);
    scene.Draw();  // a group without textures draws untextured
    int draw = fake.device.Find("DRAW 4 0 1");
    ASSERT_GT(draw, 0);
    int bind = fake.device.Find("TEX 0 null");
    EXPECT_GE(bind, 0);
    EXPECT_LT(bind, draw);
}

TEST(SceneWithoutDevice, LoadsAndSmoothsButCreatesNothing) {
    ScopedTempDir dir;
    WriteFileBytes("log.txt", "");
    IDirect3DDevice9* saved = g_pDevice;
    g_pDevice = nullptr;
    GroupRecord g;
    g.smooth = 1;
    WriteFileBytes("test.geo", SceneText(1, 2, {g}, TwoFacesSharingTheOrigin(0, 0)));
    Scene scene;
    scene.Load("test.geo");
    EXPECT_EQ(scene.faceCount, 2);
    EXPECT_EQ(scene.vertexBuffer, nullptr);
    EXPECT_EQ(scene.groups[0].primitiveCount, 2);
    EXPECT_FLOAT_EQ(scene.faces[1].normals[1].y, scene.faces[0].normals[1].y);
    EXPECT_NE(ReadFileBytes("log.txt").find(" Chyba pri vytvarani VB\n"), std::string::npos);
    scene.Draw();
    scene.Release();
    g_pDevice = saved;
}

}  // namespace
