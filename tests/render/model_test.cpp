// The animated models: reading their binary file (short and hostile ones too), picking the frame, drawing.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/engine.h"
#include "render/fake_device.h"
#include "render/model.h"
#include "support/test_support.h"

namespace {

// F frames of T triangles; every vertex of frame k sits at x = k, y = its corner, with u = 0.5 and v = 0.25.
std::string ModelBytes(int32_t frames, int32_t triangles, int32_t recordsWritten = -1) {
    std::string s;
    auto put = [&](auto v) { s.append(reinterpret_cast<const char*>(&v), 4); };
    put(0x12345678), put(frames), put(triangles);
    for (int32_t r = 0; r < (recordsWritten >= 0 ? recordsWritten : frames * triangles); ++r) {
        for (int vtx = 0; vtx < 3; ++vtx)
            for (float f : {float(r / triangles), float(vtx), 0.0f, 0.0f, 1.0f, 0.0f, 0.5f, 0.25f}) put(f);
        for (int c = 0; c < 4; ++c) put(0.7f);  // the unused triangle colour
    }
    return s;
}

class ModelTest : public ::testing::Test {
protected:
    void SetUp() override { WriteFileBytes("log.txt", ""); }
    void Load(const std::string& bytes) { WriteFileBytes("test.shd", bytes), model.Load("test.shd"); }
    // Draws frame `frame` and returns the x of its first vertex.
    float DrawnX(float frame) { return model.frame = frame, model.Draw(), Vertices()[0].x; }
    const ModelVertex* Vertices() {
        return reinterpret_cast<const ModelVertex*>(fake.device.buffers.back()->bytes.data());
    }
    std::string Log() { return ReadFileBytes("log.txt"); }

    ScopedTempDir dir;
    ScopedFakeDevice fake;
    Model model;
};

TEST_F(ModelTest, LoadLogsEveryStepAndFramesAreTruncatedAndResetPastTheLast) {
    Load(ModelBytes(5, 1, 4));  // one frame short: four are read
    EXPECT_EQ(Log(),
              "Inicializujem SHD subor\n  Subor: test.shd\n  Pocet trojholnikov: 1\n  Pocet snimkov: 5\n"
              "  Chybny subor: subor je kratsi, nacitanych snimkov: 4\n  Vertex Buffer vytvoreny\n");
    EXPECT_EQ(fake.device.calls.at(0), "VB 108 520 338");
    const struct {
        float frame, shown, after;
    } cases[] = {{2.9f, 2, 2.9f},   {4.0f, 0, 0},        {31.0f, 0, 0}, {3.999f, 3, 3.999f},
                 {-0.5f, 0, -0.5f}, {-1e30f, 0, -1e30f}, {NAN, 0, 0}};
    for (const auto& c : cases) {
        EXPECT_FLOAT_EQ(DrawnX(c.frame), c.shown) << c.frame;
        EXPECT_FLOAT_EQ(model.frame, c.after) << c.frame;
    }
}

TEST_F(ModelTest, DrawWritesNegatedVAndWhiteAndUsesTheDynamicBuffer) {
    Load(ModelBytes(1, 1));
    model.lighting = 0, model.specular = 1;
    fake.device.calls.clear(), model.Draw();
    const ModelVertex* v = Vertices();
    for (auto [got, want] : {std::pair{v[1].u, 0.5f}, {v[1].v, -0.25f}, {v[2].y, 2.0f}, {v[2].ny, 1.0f}})
        EXPECT_FLOAT_EQ(got, want);
    EXPECT_TRUE(v[0].diffuse == 0xFFFFFFFFu &&
                fake.device.buffers.back()->lockFlags.back() == DWORD(D3DLOCK_DISCARD | D3DLOCK_NOOVERWRITE));
    const auto& c = fake.device.calls;
    const int draw = fake.device.Find("DRAW 4 0 1");
    ASSERT_GT(draw, 1);
    EXPECT_EQ(c[0] + c[draw - 2] + c[draw - 1] + c[draw + 1] + fake.device.Last("RS 29 "),
              "XF 256STREAM 36FVF 338RS 137 0RS 29 0");
    // Lighting and specular as the model says before the draw, then the unlit stages.
    const int lighting = fake.device.Find("RS 137 0"), specular = fake.device.Find("RS 29 1");
    EXPECT_TRUE(lighting >= 0 && lighting < draw && specular >= 0 && specular < draw);
}

TEST_F(ModelTest, EmptyMissingAndHostileFilesDrawNothingAndShortOnesKeepTheirWholeFrames) {
    Load(ModelBytes(3, 0));
    EXPECT_NE(Log().find("  Pocet trojholnikov: 0\n  Pocet snimkov: 3\n  Chyba pri vytvarani VB\n"),
              std::string::npos);
    model.Draw(), model.Load("missing.shd");
    EXPECT_NE(Log().find("  Subor: missing.shd\n  Subor sa nenasiel\n"), std::string::npos);
    for (const auto& bytes : {ModelBytes(-1, 2, 0), ModelBytes(2, -5, 0), ModelBytes(1, 0x7FFFFFFF, 0),
                              ModelBytes(0x7FFFFFFF, 1000, 2), std::string("\1\2\3")}) {
        WriteFileBytes("log.txt", ""), Load(bytes);
        EXPECT_NE(Log().find("  Chybny subor: "), std::string::npos) << Log();
        model.frame = 0.5f;
        model.Draw();
    }
    Load(ModelBytes(0, 2, 0)), model.Draw();  // triangles but no frames
    EXPECT_EQ(fake.device.draws, 0u);
    // A short file keeps its complete frames: three whole frames and half of the fourth.
    WriteFileBytes("log.txt", ""), Load(ModelBytes(5, 2, 7));
    EXPECT_TRUE(model.frameCount == 3 && Log().find("  Chybny subor: ") != std::string::npos);
    EXPECT_TRUE(DrawnX(2.5f) == 2 && DrawnX(3.5f) == 0);
    model.Release(), model.Release();  // and once more when the model goes
    EXPECT_TRUE(model.frames == nullptr && model.frameCount == 0);
}

}  // namespace
