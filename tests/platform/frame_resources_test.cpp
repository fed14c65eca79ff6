// Frames that repeat leave nothing behind: the GL objects, their storage and the process's resident
// memory stay flat; a texture made or deleted between draws never leaves a stale binding; and a kept
// program is read instead of compiled again, unless it is damaged.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/automation.h"
#include "platform/bitmap_resources.h"
#include "platform/platform_internal.h"
#include "render_helpers.h"
#include "support/test_support.h"

namespace {

constexpr int kRedId = 9101, kBlueId = 9102;

// Resident memory of this process in bytes (0 where /proc is missing).
long long ResidentBytes() {
    long long pages = 0, resident = 0;
    return std::ifstream("/proc/self/statm") >> pages >> resident ? resident * 4096 : 0;
}

class FrameResources : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateTestDevice(320, 240));
        AddBitmapResource(kRedId, red_.data(), red_.size());
        AddBitmapResource(kBlueId, blue_.data(), blue_.size());
    }
    void TearDown() override {
        if (font_) font_->Release();
        if (buffer_) buffer_->Release();
        g_pDevice->SetTexture(0, nullptr);
        for (IDirect3DTexture9* t : textures_)
            if (t) t->Release();
        ClearAddedBitmapResources(), DestroyTestDevice();
        const platform::GlObjectCounts c = platform::LiveGlObjects();  // all given back with the device
        EXPECT_EQ((std::vector<int64_t>{c.textures, c.buffers, c.programs, c.renderbuffers, c.bytes}),
                  std::vector<int64_t>(5, 0));
    }

    IDirect3DTexture9* Load(int id) { return textures_.emplace_back(LoadTexture(id)); }

    // The middle pixel after a whole-screen quad drawn with the texture.
    uint32_t DrawnWith(IDirect3DTexture9* texture) {
        ClearTo(0xFF000000u), g_pDevice->SetRenderState(D3DRS_LIGHTING, FALSE);
        g_pDevice->SetTexture(0, texture), DrawScreenQuad(0, 0, 320, 240, 0xFFFFFFFFu);
        return ReadPixel(160, 120);
    }

    // One frame the way the game makes them: state changes between many small draws from memory, a
    // model refilled and drawn from its dynamic buffer at several places, text, then Present.
    void Frame(IDirect3DTexture9* texture, int n) {
        ClearTo(0xFF202020u), g_pDevice->BeginScene();
        g_pDevice->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);  // the mip chain is made once
        Blend(FALSE, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);             // switched on for every other quad
        for (int i = 0; i < 40; ++i) {
            g_pDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, i % 2);
            g_pDevice->SetTexture(0, i % 3 ? texture : nullptr);
            const float x = static_cast<float>((i * 7 + n) % 300);
            DrawScreenQuad(x, 10, x + 20, 30, 0x80FFFFFFu);
        }
        g_pDevice->SetRenderState(D3DRS_LIGHTING, TRUE);
        g_pDevice->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1);
        const float triangle[24] = {0, 0, 0.5f, 0, 0, -1, 0, 0,    1, 0, 0.5f,
                                    0, 0, -1,   0, 0, 0,  1, 0.5f, 0, 0, -1};
        for (int i = 0; i < 10; ++i) {
            void* data = nullptr;
            ASSERT_EQ(buffer_->Lock(0, 0, &data, D3DLOCK_DISCARD), S_OK);
            std::memcpy(data, triangle, sizeof triangle), buffer_->Unlock();
            D3DXMATRIX world;
            g_pDevice->SetTransform(D3DTS_WORLD, D3DXMatrixTranslation(&world, float(i) * 0.1f, 0, 0));
            g_pDevice->SetStreamSource(0, buffer_, 0, 32), g_pDevice->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1);
        }
        g_pDevice->SetRenderState(D3DRS_LIGHTING, FALSE);
        RECT rect{10, 200, 300, 230};
        font_->DrawTextA(nullptr, "Moment pros\xEDm", -1, &rect, 0, 0xFFFFFFFFu);
        g_pDevice->EndScene(), g_pDevice->Present(nullptr, nullptr, nullptr, nullptr);
    }

    std::vector<uint8_t> red_ = MakeBmp24(4, 4, std::vector<uint32_t>(16, 0xFF0000));
    std::vector<uint8_t> blue_ = MakeBmp24(4, 4, std::vector<uint32_t>(16, 0x0000FF));
    std::vector<IDirect3DTexture9*> textures_;
    IDirect3DVertexBuffer9* buffer_ = nullptr;
    ID3DXFont* font_ = nullptr;
};

TEST_F(FrameResources, RepeatedFramesKeepObjectsStorageAndMemoryFlat) {
    IDirect3DTexture9* texture = textures_.emplace_back(LoadTexture(kRedId, D3DFMT_A8R8G8B8, 0, 0));
    ASSERT_NE(texture, nullptr);
    ASSERT_EQ(g_pDevice->CreateVertexBuffer(3 * 32, D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC, 0, D3DPOOL_DEFAULT,
                                            &buffer_, nullptr),
              S_OK);
    HFONT gdi = CreateFontA(16, 0, 0, 0, 700, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    ASSERT_EQ(D3DXCreateFont(g_pDevice, gdi, &font_), S_OK);
    DeleteObject(gdi);

    for (int n = 0; n < 60; ++n) Frame(texture, n);  // every shader variant and buffer size is made by now
    const auto counts = [] {
        const platform::GlObjectCounts c = platform::LiveGlObjects();
        return std::vector<int64_t>{c.textures, c.buffers, c.programs, c.renderbuffers, c.bytes, c.mipChains};
    };
    const std::vector<int64_t> before = counts();
    [[maybe_unused]] const long long residentBefore = ResidentBytes();  // unread under the sanitizer
    for (int n = 0; n < 600; ++n) Frame(texture, n);
    EXPECT_EQ(counts(), before) << "textures, buffers, programs, renderbuffers, bytes, mip chains made";
    // Queued frames that never end keep every buffer they read: tens of megabytes by now. (Under the
    // address sanitizer freed memory is held in quarantine, so resident size says nothing there.)
#if !defined(__SANITIZE_ADDRESS__)
    EXPECT_LT(ResidentBytes() - residentBefore, 8ll << 20);
#endif
    // And the last frame was really drawn: its first quad (untextured, blending off) is white.
    EXPECT_EQ(ReadPixel(305, 20), 0xFFFFFFFFu);
    EXPECT_EQ(ReadPixel(305, 100), 0xFF202020u);
}

TEST_F(FrameResources, TexturesMadeOrDeletedBetweenDrawsNeverLeaveAStaleBinding) {
    // A texture that failed to load draws white, or reads back as the texture made before it.
    IDirect3DTexture9* red = Load(kRedId);
    ASSERT_EQ(DrawnWith(red), 0xFFFF0000u);
    ASSERT_NE(Load(kBlueId), nullptr);  // making a texture between two draws of the same one
    EXPECT_EQ(DrawnWith(red), 0xFFFF0000u);
    uint32_t texel = 0;  // reading a texture back between two draws
    EXPECT_TRUE(textures_.back()->ReadTexels(&texel, 1) == S_OK && texel == 0xFF0000FFu);
    EXPECT_EQ(DrawnWith(red), 0xFFFF0000u);
    // Deleting the bound texture frees it and its name; the next texture made may get the same name.
    const int64_t live = platform::LiveGlObjects().textures;
    g_pDevice->SetTexture(0, nullptr), textures_.erase(textures_.begin()), red->Release();
    EXPECT_EQ(platform::LiveGlObjects().textures, live - 1);
    EXPECT_EQ(DrawnWith(Load(kBlueId)), 0xFF0000FFu);
}

TEST(ProgramCache, AKeptProgramIsUsedAndADamagedOneIsCompiledAgain) {
    ScopedTempDir dir;
    const std::string kept = dir.path() + "/program-cache";
    GetSpeedLevers().programBinaries = false;  // without the lever nothing is kept
    ASSERT_TRUE(CreateTestDevice(32, 32));
    DestroyTestDevice(), GetSpeedLevers().programBinaries = true;
    EXPECT_FALSE(std::filesystem::exists(kept));
    ASSERT_TRUE(CreateTestDevice(32, 32));
    DestroyTestDevice();
    // The next device reads the kept programs instead of compiling and writing them again.
    // Whole seconds, which every file system keeps exactly.
    const auto before = std::chrono::floor<std::chrono::seconds>(
        std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
    for (const auto& entry : std::filesystem::directory_iterator(kept)) last_write_time(entry.path(), before);
    ASSERT_TRUE(CreateTestDevice(32, 32));
    DestroyTestDevice();
    int damaged = 0;  // each kept file unchanged by the run, then damaged
    for (const auto& entry : std::filesystem::directory_iterator(kept)) {
        EXPECT_TRUE(last_write_time(entry.path()) == before) << entry.path();
        const std::string bytes = ReadFileBytes(entry.path().string());
        WriteFileBytes(entry.path().string(), bytes.substr(0, bytes.size() / 2) + "damage"), ++damaged;
    }
    ASSERT_GT(damaged, 0);
    ASSERT_TRUE(CreateTestDevice(32, 32));
    ClearTo(0xFF000000), DrawScreenQuad(0, 0, 32, 32, 0xFF20C040);
    EXPECT_EQ(ReadPixel(16, 16), 0xFF20C040u);
    DestroyTestDevice();
}

}  // namespace
