#include <gtest/gtest.h>

#include <memory>

#include "engine/engine.h"
#include "engine/frame_timer.h"
#include "engine/game_state.h"
#include "render/fake_device.h"
#include "render/scene.h"
#include "render/scene_file.h"
#include "support/test_support.h"

namespace {

class SceneDrawTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFileBytes("log.txt", "");
        savedFps = g_fps;
        savedNight = isNight;
    }
    void TearDown() override {
        scene.Release();
        g_fps = savedFps;
        isNight = savedNight;
    }
    // One face per group; group g's face is face g.
    void Load(const std::vector<GroupRecord>& groups) {
        std::vector<FaceRecord> faces;
        for (size_t g = 0; g < groups.size(); ++g) {
            faces.push_back(Face(int(g), int(g), {0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0}));
        }
        WriteFileBytes("test.geo", SceneText(int(groups.size()), int(faces.size()), groups, faces));
        scene.Load("test.geo");
        ASSERT_EQ(scene.groupCount, int(groups.size()));
    }
    // Puts fake textures into a group's slots (the scene releases them).
    void GiveTextures(int g, std::initializer_list<int> ids) {
        int i = 0;
        for (int id : ids) {
            textures.push_back(std::make_unique<FakeTexture>(id));
            scene.groups[g].textures[i++] = textures.back().get();
        }
    }
    std::string BoundBeforeDraw(int stage) {
        int draw = fake.device.Find(fake.device.DrawLines().at(0));
        std::string last = "none";
        for (int i = 0; i < draw; ++i) {
            if (fake.device.calls[i].rfind("TEX " + std::to_string(stage), 0) == 0)
                last = fake.device.calls[i];
        }
        return last;
    }

    ScopedTempDir dir;
    ScopedFakeDevice fake;
    std::vector<std::unique_ptr<FakeTexture>> textures;
    Scene scene;
    float savedFps = 0;
    uint32_t savedNight = 0;
};

GroupRecord Group(int index, int blend, int mode = 0, int kind = 0) {
    GroupRecord g;
    g.index = index;
    g.blendMode = blend;
    g.textureMode = mode;
    g.materialKind = kind;
    return g;
}

TEST_F(SceneDrawTest, PassesGoOpaqueThenAlphaThenAdditiveAndLeaveTheUnlitStates) {
    Load({Group(0, 1), Group(1, 0), Group(2, 2), Group(3, 3), Group(4, 0)});
    fake.device.calls.clear();
    scene.Draw();
    // Group g starts at vertex 3g.
    EXPECT_EQ(fake.device.DrawLines(),
              (std::vector<std::string>{"DRAW 4 3 1", "DRAW 4 12 1", "DRAW 4 0 1", "DRAW 4 6 1"}));
    const auto& c = fake.device.calls;
    int alphaOn = fake.device.Find("RS 15 1");
    int alphaOff = fake.device.Find("RS 15 0", alphaOn);
    EXPECT_LT(fake.device.Find("DRAW 4 12 1"), alphaOn);
    EXPECT_LT(alphaOn, fake.device.Find("DRAW 4 0 1"));
    EXPECT_EQ(c[alphaOn + 1], "RS 24 1");
    EXPECT_EQ(c[alphaOn + 3], "SS 0 6 1");  // point filtering for the cut-outs
    EXPECT_LT(fake.device.Find("DRAW 4 0 1"), alphaOff);
    EXPECT_LT(alphaOff, fake.device.Find("DRAW 4 6 1"));
    // The blended groups get their blending just before they draw.
    int alphaBlend = fake.device.Find("RS 20 6");
    EXPECT_LT(alphaOn, alphaBlend);
    EXPECT_LT(alphaBlend, fake.device.Find("DRAW 4 0 1"));
    int additive = fake.device.Find("RS 20 2", alphaOff);
    EXPECT_LT(additive, fake.device.Find("DRAW 4 6 1"));

    EXPECT_EQ(fake.device.renderStates[D3DRS_CULLMODE], D3DCULL_NONE);
    EXPECT_EQ(fake.device.renderStates[D3DRS_ALPHATESTENABLE], 0u);
    EXPECT_EQ(fake.device.renderStates[D3DRS_LIGHTING], 0u);
    EXPECT_EQ(fake.device.renderStates[D3DRS_ALPHABLENDENABLE], 0u);
    EXPECT_EQ((fake.device.samplerStates[{0, D3DSAMP_MINFILTER}]), DWORD(D3DTEXF_LINEAR));
    EXPECT_EQ((fake.device.stageStates[{1, D3DTSS_COLOROP}]), DWORD(D3DTOP_DISABLE));
    EXPECT_EQ(c[0], "XF 256");
    EXPECT_EQ(c[1], "STREAM 40");
    EXPECT_EQ(c[2], "FVF 530");
}

TEST_F(SceneDrawTest, MaterialsFollowKindAndDayOrNight) {
    Load({Group(0, 0, 0, 0), Group(1, 0, 0, 1), Group(2, 0, 0, 2), Group(3, 0, 0, 7)});
    struct Row {
        float diffuse, ambient, specular, emissive, power;
    };
    auto check = [&](const D3DMATERIAL9& m, Row r) {
        EXPECT_FLOAT_EQ(m.Diffuse.r, r.diffuse);
        EXPECT_FLOAT_EQ(m.Ambient.g, r.ambient);
        EXPECT_FLOAT_EQ(m.Specular.b, r.specular);
        EXPECT_FLOAT_EQ(m.Emissive.a, r.emissive);
        EXPECT_FLOAT_EQ(m.Power, r.power);
    };
    isNight = 0;
    scene.Draw();
    ASSERT_EQ(fake.device.materials.size(), 4u);
    check(fake.device.materials[0], {1, 0.3f, 0, 0.3f, 0});
    check(fake.device.materials[1], {1, 1, 1, 1, 5});
    check(fake.device.materials[2], {1, 0.3f, 1, 0.1f, 5});
    check(fake.device.materials[3], {0, 0, 0, 0, 0});
    isNight = 1;
    scene.Draw();
    check(fake.device.materials[4], {1, 0.3f, 0, 0, 0});
    check(fake.device.materials[5], {1, 1, 0, 0, 5});
    check(fake.device.materials[6], {1, 0.3f, 1, 0.1f, 5});
    isNight = 2;
    scene.Draw();
    for (int i = 8; i < 12; ++i) check(fake.device.materials[i], {0, 0, 0, 0, 0});
}

TEST_F(SceneDrawTest, AnimatedTextureChangesOnlyAfterTheDurationIsExceeded) {
    GroupRecord g = Group(0, 0, 1);
    g.textureIds = {9001, 9002, 9003};
    g.frameDuration = 100;
    Load({g});
    GiveTextures(0, {10, 11, 12});
    g_fps = 50;  // 20 ms a frame
    std::vector<std::string> shown;
    for (int frame = 0; frame < 20; ++frame) {
        fake.device.calls.clear();
        scene.Draw();
        shown.push_back(BoundBeforeDraw(0));
    }
    // Six frames (120 ms) on each texture, the excess dropped: 5 on the first, then 6 each.
    std::vector<std::string> expected;
    for (int i = 0; i < 5; ++i) expected.push_back("TEX 0 t10");
    for (int i = 0; i < 6; ++i) expected.push_back("TEX 0 t11");
    for (int i = 0; i < 6; ++i) expected.push_back("TEX 0 t12");
    for (int i = 0; i < 3; ++i) expected.push_back("TEX 0 t10");
    EXPECT_EQ(shown, expected);
}

TEST_F(SceneDrawTest, DetailGroupsAddTheSecondTextureSigned) {
    GroupRecord g = Group(0, 0, 2);
    g.textureIds = {9001, 9002};
    g.specular = 1;
    Load({g});
    GiveTextures(0, {20, 21});
    scene.Draw();
    int draw = fake.device.Find("DRAW 4 0 1");
    int start = fake.device.Find("TSS 0 11 0");
    ASSERT_GE(start, 0);
    const auto& c = fake.device.calls;
    EXPECT_EQ(c[start + 1], "TEX 0 t20");
    EXPECT_EQ(c[start + 2], "TSS 1 11 1");
    EXPECT_EQ(c[start + 3], "TSS 1 1 8");
    EXPECT_EQ(c[start + 4], "TEX 1 t21");
    EXPECT_EQ(start + 5, draw);
    EXPECT_LT(fake.device.Find("RS 29 1"), draw);  // specular on for this group
    EXPECT_EQ(c[draw + 1], "RS 29 0");
}

TEST_F(SceneDrawTest, DetailGroupWithOneTextureDrawsItsBaseOnly) {
    GroupRecord g = Group(0, 0, 2);
    Load({g});
    GiveTextures(0, {30});
    scene.Draw();
    EXPECT_EQ(fake.device.Find("TSS 1 1 8"), -1);
    EXPECT_EQ(BoundBeforeDraw(0), "TEX 0 t30");
    EXPECT_EQ(BoundBeforeDraw(1), "none");
}

TEST_F(SceneDrawTest, NothingHappensWithoutADevice) {
    Load({Group(0, 0)});
    g_pDevice = nullptr;
    scene.Draw();
    scene.DrawGroup(0);
    scene.DrawGroup(99);
    g_pDevice = &fake.device;
    EXPECT_EQ(fake.device.draws, 0u);
}

}  // namespace
