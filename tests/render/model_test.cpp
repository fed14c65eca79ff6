#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "engine/engine.h"
#include "render/fake_device.h"
#include "render/model.h"
#include "support/test_support.h"

namespace {

void PutInt(std::string& s, int32_t v) {
    s.append(reinterpret_cast<const char*>(&v), 4);
}
void PutFloat(std::string& s, float v) {
    s.append(reinterpret_cast<const char*>(&v), 4);
}

// F frames of T triangles; every vertex of frame k sits at x = k, with v = 0.25 and u = 0.5.
std::string ModelBytes(int32_t frames, int32_t triangles, int32_t recordsWritten = -1) {
    std::string s;
    PutInt(s, 0x12345678);
    PutInt(s, frames);
    PutInt(s, triangles);
    int32_t records = recordsWritten >= 0 ? recordsWritten : frames * triangles;
    for (int32_t r = 0; r < records; ++r) {
        float k = triangles > 0 ? float(r / triangles) : 0.0f;
        for (int vtx = 0; vtx < 3; ++vtx) {
            PutFloat(s, k);
            PutFloat(s, float(vtx));
            PutFloat(s, 0);
            PutFloat(s, 0);
            PutFloat(s, 1);
            PutFloat(s, 0);
            PutFloat(s, 0.5f);
            PutFloat(s, 0.25f);
        }
        for (int c = 0; c < 4; ++c) PutFloat(s, 0.7f);  // the unused triangle colour
    }
    return s;
}

class ModelTest : public ::testing::Test {
protected:
    void SetUp() override { WriteFileBytes("log.txt", ""); }
    void Load(const std::string& bytes) {
        WriteFileBytes("test.shd", bytes);
        model.Load("test.shd");
    }
    const ModelVertex* Vertices() {
        return reinterpret_cast<const ModelVertex*>(fake.device.buffers.back()->bytes.data());
    }
    std::string Log() { return ReadFileBytes("log.txt"); }

    ScopedTempDir dir;
    ScopedFakeDevice fake;
    Model model;
};

TEST_F(ModelTest, LoadLogsEveryStep) {
    Load(ModelBytes(4, 2));
    EXPECT_EQ(Log(),
              "Inicializujem SHD subor\n  Subor: test.shd\n  Pocet trojholnikov: 2\n  Pocet snimkov: 4\n"
              "  Vertex Buffer vytvoreny\n");
    EXPECT_EQ(fake.device.calls.at(0), "VB 216 520 338");
    EXPECT_EQ(model.frameCount, 4);
    EXPECT_EQ(model.triangleCount, 2);
}

TEST_F(ModelTest, FrameIsTruncatedAndResetPastTheLast) {
    Load(ModelBytes(4, 1));
    struct Case {
        float frame;
        float shown;
        float after;
    } cases[] = {{2.9f, 2, 2.9f},     {4.0f, 0, 0},      {31.0f, 0, 0},
                 {3.999f, 3, 3.999f}, {-0.5f, 0, -0.5f}, {-1e30f, 0, -1e30f}};
    for (const auto& c : cases) {
        model.frame = c.frame;
        model.Draw();
        EXPECT_FLOAT_EQ(Vertices()[0].x, c.shown) << c.frame;
        EXPECT_FLOAT_EQ(model.frame, c.after) << c.frame;
    }
    model.frame = NAN;
    model.Draw();
    EXPECT_FLOAT_EQ(Vertices()[0].x, 0);
    EXPECT_EQ(model.frame, 0.0f);
}

TEST_F(ModelTest, DrawWritesNegatedVAndWhiteAndUsesTheDynamicBuffer) {
    Load(ModelBytes(1, 1));
    model.lighting = 0;
    model.specular = 1;
    fake.device.calls.clear();
    model.Draw();
    const ModelVertex* v = Vertices();
    EXPECT_FLOAT_EQ(v[1].u, 0.5f);
    EXPECT_FLOAT_EQ(v[1].v, -0.25f);
    EXPECT_FLOAT_EQ(v[2].y, 2.0f);
    EXPECT_FLOAT_EQ(v[2].ny, 1.0f);
    EXPECT_EQ(v[0].diffuse, 0xFFFFFFFFu);
    EXPECT_EQ(fake.device.buffers.back()->lockFlags.back(), DWORD(D3DLOCK_DISCARD | D3DLOCK_NOOVERWRITE));
    const auto& c = fake.device.calls;
    EXPECT_EQ(c[0], "XF 256");
    int draw = fake.device.Find("DRAW 4 0 1");
    ASSERT_GT(draw, 0);
    EXPECT_EQ(c[draw - 2], "STREAM 36");
    EXPECT_EQ(c[draw - 1], "FVF 338");
    EXPECT_LT(fake.device.Find("RS 137 0"), draw);  // lighting as the model says
    EXPECT_LT(fake.device.Find("RS 29 1"), draw);
    EXPECT_EQ(c[draw + 1], "RS 137 0");  // then the unlit stages
    EXPECT_EQ(fake.device.renderStates[D3DRS_SPECULARENABLE], 0u);
}

TEST_F(ModelTest, EmptyMissingAndHostileFilesDrawNothing) {
    Load(ModelBytes(3, 0));
    EXPECT_NE(Log().find("  Pocet trojholnikov: 0\n  Pocet snimkov: 3\n  Chyba pri vytvarani VB\n"),
              std::string::npos);
    model.Draw();

    model.Load("missing.shd");
    EXPECT_NE(Log().find("  Subor: missing.shd\n  Subor sa nenasiel\n"), std::string::npos);

    const std::string hostile[] = {ModelBytes(-1, 2, 0), ModelBytes(2, -5, 0), ModelBytes(1, 0x7FFFFFFF, 0),
                                   ModelBytes(0x7FFFFFFF, 1000, 2), std::string("\1\2\3")};
    for (const auto& bytes : hostile) {
        WriteFileBytes("log.txt", "");
        Load(bytes);
        EXPECT_NE(Log().find("  Chybny subor: "), std::string::npos) << Log();
        model.frame = 0.5f;
        model.Draw();
    }
    // Triangles but no frames.
    Load(ModelBytes(0, 2, 0));
    model.Draw();
    EXPECT_EQ(fake.device.draws, 0u);
    model.Release();
    model.Release();
}

TEST_F(ModelTest, ShortFileKeepsTheCompleteFrames) {
    Load(ModelBytes(5, 2, 7));  // three whole frames and half of the fourth
    EXPECT_EQ(model.frameCount, 3);
    EXPECT_NE(Log().find("  Chybny subor: "), std::string::npos);
    model.frame = 2.5f;
    model.Draw();
    EXPECT_FLOAT_EQ(Vertices()[0].x, 2);
    model.frame = 3.5f;
    model.Draw();
    EXPECT_FLOAT_EQ(Vertices()[0].x, 0);
}

}  // namespace
