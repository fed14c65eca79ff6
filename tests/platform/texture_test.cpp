// Textures from bitmap resources: decoding, colour keys, formats, mip chains and stage operations.
#include <gtest/gtest.h>

#include <vector>

#include "platform/bitmap_resources.h"
#include "platform/d3d9_shaders.h"
#include "render_helpers.h"
#include "support/test_support.h"

namespace {

constexpr int kId = 9001;

class Textures : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CreateTestDevice(64, 48)); }
    void TearDown() override {
        ClearAddedBitmapResources();
        DestroyTestDevice();
    }

    IDirect3DTexture9* Load(const std::vector<uint8_t>& bmp, D3DFORMAT format, D3DCOLOR key, UINT mips = 1,
                            HRESULT* result = nullptr) {
        AddBitmapResource(kId, bmp.data(), bmp.size());
        IDirect3DTexture9* texture = nullptr;
        HRESULT hr = D3DXCreateTextureFromResourceExA(
            g_pDevice, nullptr, MAKEINTRESOURCEA(kId), D3DX_DEFAULT, D3DX_DEFAULT, mips, 0, format,
            D3DPOOL_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, key, nullptr, nullptr, &texture);
        if (result) *result = hr;
        return texture;
    }
};

// Texels as the texture keeps them, 0xAARRGGBB, for bitmaps decoded with and without a colour key.
TEST_F(Textures, DecodeKeyAndConvertTexels) {
    const auto rgb = MakeBmp24(2, 2, {0xFF00FF, 0xFF0000, 0xFE00FF, 0xFFFFFF});
    const struct {
        const char* what;
        std::vector<uint8_t> bmp;
        D3DFORMAT format;
        D3DCOLOR key;
        std::vector<uint32_t> texels;
    } cases[] = {
        {"magenta keyed: transparent black, a near miss stays",
         rgb,
         D3DFMT_A8R8G8B8,
         0xFFFF00FFu,
         {0x00000000u, 0xFFFF0000u, 0xFFFE00FFu, 0xFFFFFFFFu}},
        {"a key with alpha 0 matches nothing",
         rgb,
         D3DFMT_A8R8G8B8,
         0x00FF00FFu,
         {0xFFFF00FFu, 0xFFFF0000u, 0xFFFE00FFu, 0xFFFFFFFFu}},
        // Five bits a channel, widened back by repeating the top bits, and one bit of alpha.
        {"A1R5G5B5",
         MakeBmp24(2, 1, {0x874321, 0x00FF00}),
         D3DFMT_A1R5G5B5,
         0xFF00FF00u,
         {0xFF844221u, 0x00000000u}},
        {"palettised, keyed through the palette",
         MakeBmp8(3, 2, {0x000000, 0x112233, 0xFF00FF}, {1, 2, 0, 2, 1, 1}),
         D3DFMT_A8R8G8B8,
         0xFFFF00FFu,
         {0xFF112233u, 0, 0xFF000000u, 0, 0xFF112233u, 0xFF112233u}},
        {"indices past the stored palette read black",
         MakeBmp8(2, 1, {0xFFFFFF}, {0, 200}),
         D3DFMT_A8R8G8B8,
         0,
         {0xFFFFFFFFu, 0xFF000000u}},
    };
    for (const auto& c : cases) {
        IDirect3DTexture9* texture = Load(c.bmp, c.format, c.key);
        ASSERT_NE(texture, nullptr) << c.what;
        EXPECT_EQ(texture->GetFormat(), c.format);
        std::vector<uint32_t> texels(c.texels.size());
        ASSERT_EQ(texture->ReadTexels(texels.data(), static_cast<UINT>(texels.size())), S_OK);
        EXPECT_EQ(texels, c.texels) << c.what;
        texture->Release();
    }
}

TEST_F(Textures, MipLevelsZeroOrDefaultBuildTheWholeChain) {
    std::vector<uint32_t> pixels(16 * 4, 0x808080);
    auto bmp = MakeBmp24(16, 4, pixels);
    for (UINT mips : {0u, D3DX_DEFAULT}) {
        IDirect3DTexture9* texture = Load(bmp, D3DFMT_A8R8G8B8, 0, mips);
        ASSERT_NE(texture, nullptr);
        EXPECT_EQ(texture->GetLevelCount(), 5u);  // 16, 8, 4, 2, 1
        texture->Release();
    }
    IDirect3DTexture9* single = Load(bmp, D3DFMT_A8R8G8B8, 0, 1);
    ASSERT_NE(single, nullptr);
    EXPECT_EQ(single->GetLevelCount(), 1u);
    single->Release();
}

TEST_F(Textures, MissingOrBrokenResourcesFailCleanly) {
    IDirect3DTexture9* texture = reinterpret_cast<IDirect3DTexture9*>(1);
    EXPECT_EQ(D3DXCreateTextureFromResourceExA(g_pDevice, nullptr, MAKEINTRESOURCEA(4321), D3DX_DEFAULT,
                                               D3DX_DEFAULT, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                                               D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr, &texture),
              E_FAIL);
    EXPECT_EQ(texture, nullptr);

    const auto good = MakeBmp24(5, 3, std::vector<uint32_t>(15, 0x123456));
    HRESULT hr = S_OK;
    for (size_t cut = 0; cut < good.size(); ++cut) {
        std::vector<uint8_t> truncated(good.begin(), good.begin() + static_cast<long>(cut));
        EXPECT_EQ(Load(truncated, D3DFMT_A8R8G8B8, 0, 1, &hr), nullptr) << "cut at " << cut;
        EXPECT_TRUE(FAILED(hr));
    }
}

TEST_F(Textures, HostileHeadersAreRejected) {
    const auto good = MakeBmp8(4, 4, {0x000000, 0xFFFFFF}, std::vector<uint8_t>(16, 1));
    const auto patch32 = [&](size_t at, uint32_t value) {
        auto b = good;
        for (int i = 0; i < 4; ++i) b[at + i] = (value >> (8 * i)) & 0xFF;
        return b;
    };
    const std::vector<std::vector<uint8_t>> hostile = {
        patch32(18, 0x7FFFFFFF),  // enormous width
        patch32(22, 0x80000000),  // most negative height
        patch32(18, 0),           // no width
        patch32(10, 0xFFFFFFF0),  // pixels far beyond the file
        patch32(14, 0xFFFFFFFF),  // header larger than the file
        patch32(46, 100000),      // more palette entries than exist
        patch32(30, 1),           // run-length compression
    };
    for (size_t i = 0; i < hostile.size(); ++i) {
        HRESULT hr = S_OK;
        IDirect3DTexture9* texture = Load(hostile[i], D3DFMT_A8R8G8B8, 0, 1, &hr);
        if (texture) {
            // Only the over-long palette count may load: it is clamped to the 256 entries an 8-bit file has.
            EXPECT_EQ(i, 5u);
            texture->Release();
        } else {
            EXPECT_TRUE(FAILED(hr));
        }
    }
}

TEST_F(Textures, AlphaTestWithOpaqueTexturesDecidesAsBefore) {
    // The device leaves out an alpha test that cannot fail; every other test must still decide.
    auto opaqueBmp = MakeBmp24(2, 1, {0xFF0000, 0x00FF00});
    IDirect3DTexture9* opaque = Load(opaqueBmp, D3DFMT_A8R8G8B8, 0xFFFF00FFu);
    ASSERT_NE(opaque, nullptr);
    g_pDevice->SetRenderState(D3DRS_LIGHTING, FALSE);
    g_pDevice->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    g_pDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    g_pDevice->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    g_pDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    g_pDevice->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    g_pDevice->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    g_pDevice->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    g_pDevice->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    g_pDevice->SetTexture(0, opaque);
    struct Case {
        DWORD func, ref;
        D3DCOLOR diffuse;
        bool drawn;
    };
    const Case cases[] = {
        {D3DCMP_GREATEREQUAL, 1, 0xFFFFFFFFu, true},
        {D3DCMP_LESS, 255, 0xFFFFFFFFu, false},
        {D3DCMP_EQUAL, 255, 0xFFFFFFFFu, true},
        {D3DCMP_NOTEQUAL, 255, 0xFFFFFFFFu, false},
        {D3DCMP_GREATER, 255, 0xFFFFFFFFu, false},
        {D3DCMP_NEVER, 0, 0xFFFFFFFFu, false},
        // The vertex's own alpha reaches the test through the modulation.
        {D3DCMP_GREATEREQUAL, 1, 0x00FFFFFFu, false},
        {D3DCMP_GREATEREQUAL, 128, 0x80FFFFFFu, true},
        {D3DCMP_GREATEREQUAL, 129, 0x80FFFFFFu, false},
    };
    for (const Case& c : cases) {
        ClearTo(0xFF0000FFu);
        g_pDevice->SetRenderState(D3DRS_ALPHAFUNC, c.func);
        g_pDevice->SetRenderState(D3DRS_ALPHAREF, c.ref);
        DrawScreenQuad(0, 0, 64, 48, c.diffuse);
        EXPECT_EQ(ReadPixel(10, 20), c.drawn ? 0xFFFF0000u : 0xFF0000FFu)
            << "function " << c.func << " reference " << c.ref << " diffuse " << std::hex << c.diffuse;
    }
    // A keyed texel of a texture that is not all opaque is still dropped.
    auto keyedBmp = MakeBmp24(2, 1, {0xFF00FF, 0x00FF00});
    IDirect3DTexture9* keyed = Load(keyedBmp, D3DFMT_A8R8G8B8, 0xFFFF00FFu);
    ASSERT_NE(keyed, nullptr);
    g_pDevice->SetTexture(0, keyed);
    g_pDevice->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    g_pDevice->SetRenderState(D3DRS_ALPHAREF, 1);
    ClearTo(0xFF0000FFu);
    DrawScreenQuad(0, 0, 64, 48, 0xFFFFFFFFu);
    EXPECT_EQ(ReadPixel(10, 20), 0xFF0000FFu);
    EXPECT_EQ(ReadPixel(50, 20), 0xFF00FF00u);
    g_pDevice->SetTexture(0, nullptr);
    opaque->Release();
    keyed->Release();
}

TEST_F(Textures, BoundTexturesStayAliveUntilUnbound) {
    auto bmp = MakeBmp24(1, 1, {0x00FF00});
    IDirect3DTexture9* texture = Load(bmp, D3DFMT_A8R8G8B8, 0);
    ASSERT_NE(texture, nullptr);
    g_pDevice->SetTexture(0, texture);
    texture->Release();  // the device's reference keeps it
    g_pDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    DrawScreenQuad(0, 0, 64, 48, 0xFFFFFFFFu);
    EXPECT_EQ(ReadPixel(1, 1), 0xFF00FF00u);
    g_pDevice->SetTexture(0, nullptr);
}

}  // namespace
