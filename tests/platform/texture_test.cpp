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
    void TearDown() override { ClearAddedBitmapResources(), DestroyTestDevice(); }

    IDirect3DTexture9* Load(const std::vector<uint8_t>& bmp, D3DFORMAT format, D3DCOLOR key, UINT mips = 1,
                            HRESULT* result = nullptr) {
        AddBitmapResource(kId, bmp.data(), bmp.size());
        return LoadTexture(kId, format, key, mips, result);
    }
};

// Texels as the texture keeps them, 0xAARRGGBB, for bitmaps decoded with and without a colour key.
TEST_F(Textures, DecodeKeyAndConvertTexels) {
    const auto rgb = MakeBmp24(2, 2, {0xFF00FF, 0xFF0000, 0xFE00FF, 0xFFFFFF});
    const D3DFORMAT argb = D3DFMT_A8R8G8B8;
    const uint32_t p = 0xFF112233u, k = 0xFF000000u, magenta = 0xFFFF00FFu;
    // A two-pixel picture of 4 or 1 bits a pixel: a one-pixel 8-bit one with its width and depth changed.
    const auto packed = [](uint8_t bits, uint8_t pixels) {
        auto b = MakeBmp8(1, 1, {0, 0x112233, 0xFF00FF}, {pixels});
        return b[18] = 2, b[28] = bits, b;
    };
    // Sixteen pixels of 1 bit: the second byte's last bit is the last pixel.
    auto sixteen = MakeBmp8(2, 1, {0, 0x112233}, {0x00, 0x01});
    sixteen[18] = 16, sixteen[28] = 1;
    std::vector<uint32_t> lastLit(16, k);
    lastLit.back() = p;
    // One pixel of 32 bits: blue, green, red and a fourth byte that is not alpha (the row's padding
    // of the same picture at 24 bits).
    auto wide = MakeBmp24(1, 1, {0x112233});
    wide[28] = 32, wide.back() = 0x40;
    // The old twelve-byte header: one pixel of 1 bit, its two palette entries three bytes each.
    const std::vector<uint8_t> core = {'B', 'M', 36, 0, 0, 0,    0,    0,    0,    0, 32, 0,
                                       0,   0,   12, 0, 0, 0,    1,    0,    1,    0, 1,  0,
                                       1,   0,   0,  0, 0, 0x33, 0x22, 0x11, 0x80, 0, 0,  0};
    const struct {
        const char* what;
        std::vector<uint8_t> bmp;
        D3DFORMAT format;
        D3DCOLOR key;
        std::vector<uint32_t> texels;
    } cases[] = {
        // Magenta keyed to transparent black; a near miss stays; a key with alpha 0 matches nothing.
        {"keyed", rgb, argb, magenta, {0, 0xFFFF0000u, 0xFFFE00FFu, ~0u}},
        {"alpha 0 key", rgb, argb, 0x00FF00FFu, {0xFFFF00FFu, 0xFFFF0000u, 0xFFFE00FFu, ~0u}},
        // Five bits a channel, widened back by repeating the top bits, and one bit of alpha.
        {"A1R5G5B5", MakeBmp24(2, 1, {0x874321, 0x00FF00}), D3DFMT_A1R5G5B5, 0xFF00FF00u, {0xFF844221u, 0}},
        // Palettised, keyed through the palette; indices past the stored palette read black.
        {"8-bit",
         MakeBmp8(3, 2, {0, 0x112233, 0xFF00FF}, {1, 2, 0, 2, 1, 1}),
         argb,
         magenta,
         {p, 0, k, 0, p, p}},
        {"short palette", MakeBmp8(2, 1, {0xFFFFFF}, {0, 200}), argb, 0, {~0u, k}},
        {"4-bit", packed(4, 0x12), argb, magenta, {p, 0}},
        {"1-bit", packed(1, 0x40), argb, 0, {k, p}},
        {"1-bit, two bytes", sixteen, argb, 0, lastLit},
        {"32-bit", wide, argb, 0, {p}},
        {"core header", core, argb, 0, {p}},
        // More entries than 8 bits can index: the first 256 are read.
        {"long palette", MakeBmp8(1, 1, std::vector<uint32_t>(300, 0x112233), {255}), argb, 0, {p}},
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
    // Mip levels 0 or default build the whole chain: 16, 8, 4, 2, 1.
    for (auto [mips, levels] : {std::pair{0u, 5u}, {D3DX_DEFAULT, 5u}, {1u, 1u}}) {
        IDirect3DTexture9* texture =
            Load(MakeBmp24(16, 4, std::vector<uint32_t>(64, 0x808080)), argb, 0, mips);
        ASSERT_NE(texture, nullptr);
        EXPECT_EQ(texture->GetLevelCount(), levels);
        texture->Release();
    }
}

TEST_F(Textures, MissingBrokenOrHostileResourcesFailCleanly) {
    IDirect3DTexture9* texture = reinterpret_cast<IDirect3DTexture9*>(1);
    EXPECT_EQ(D3DXCreateTextureFromResourceExA(g_pDevice, nullptr, MAKEINTRESOURCEA(4321), D3DX_DEFAULT,
                                               D3DX_DEFAULT, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                                               D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr, &texture),
              E_FAIL);
    EXPECT_EQ(texture, nullptr);

    const auto good = MakeBmp8(4, 4, {0x000000, 0xFFFFFF}, std::vector<uint8_t>(16, 1));
    std::vector<std::vector<uint8_t>> broken;
    for (const auto& whole : {good, MakeBmp24(5, 3, std::vector<uint32_t>(15, 0x123456))})  // padded rows
        for (size_t cut = 0; cut < whole.size(); ++cut)
            broken.emplace_back(whole.begin(), whole.begin() + long(cut));
    // Enormous width, most negative height, no width, pixels far beyond or just past the end of the file,
    // header larger than the file, run-length compression, more palette entries than exist (the last one).
    for (auto [at, value] : {std::pair{18, 0x7FFFFFFFu},
                             {22, 0x80000000u},
                             {18, 0u},
                             {10, 0xFFFFFFF0u},
                             {10, 79u},
                             {14, 0xFFFFFFFFu},
                             {30, 1u},
                             {46, 100000u}}) {
        broken.push_back(good);
        for (int i = 0; i < 4; ++i) broken.back()[at + i] = (value >> (8 * i)) & 0xFF;
    }
    for (size_t i = 0; i < broken.size(); ++i) {
        HRESULT hr = S_OK;
        texture = Load(broken[i], D3DFMT_A8R8G8B8, 0, 1, &hr);
        // Only the over-long palette count may load: it is clamped to the 256 entries an 8-bit file has.
        if (i + 1 == broken.size() && texture)
            texture->Release();
        else
            EXPECT_TRUE(texture == nullptr && FAILED(hr)) << "case " << i;
    }
}

TEST_F(Textures, MinifiedTexturesAreFilteredThroughTheirMipLevels) {
    // Every fourth column black, drawn four times smaller: level 2 averages it to three quarters white,
    // level 0 alone is sampled between two white columns at every pixel.
    std::vector<uint32_t> rgb(256, 0xFFFFFF);
    for (size_t i = 0; i < rgb.size(); i += 4) rgb[i] = 0;
    IDirect3DTexture9* texture = Load(MakeBmp24(16, 16, rgb), D3DFMT_A8R8G8B8, 0, 0);
    ASSERT_NE(texture, nullptr);
    g_pDevice->SetRenderState(D3DRS_LIGHTING, FALSE), g_pDevice->SetTexture(0, texture), texture->Release();
    g_pDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    g_pDevice->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    for (auto [mip, green] : {std::pair{D3DTEXF_NONE, 255}, {D3DTEXF_LINEAR, 191}, {D3DTEXF_POINT, 191}}) {
        g_pDevice->SetSamplerState(0, D3DSAMP_MIPFILTER, mip), DrawScreenQuad(0, 0, 4, 4, 0xFFFFFFFFu);
        EXPECT_NEAR(Green(ReadPixel(1, 2)), green, 3) << mip;
    }
    g_pDevice->SetTexture(0, nullptr);
}

TEST_F(Textures, AlphaTestWithOpaqueTexturesDecidesAsBefore) {
    // The device leaves out an alpha test that cannot fail; every other test must still decide.
    IDirect3DTexture9* opaque = Load(MakeBmp24(2, 1, {0xFF0000, 0x00FF00}), D3DFMT_A8R8G8B8, 0xFFFF00FFu);
    IDirect3DTexture9* keyed = Load(MakeBmp24(2, 1, {0xFF00FF, 0x00FF00}), D3DFMT_A8R8G8B8, 0xFFFF00FFu);
    ASSERT_TRUE(opaque && keyed);
    g_pDevice->SetRenderState(D3DRS_LIGHTING, FALSE), g_pDevice->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    g_pDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    g_pDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);  // the vertex's alpha alone
    for (auto s : {D3DSAMP_ADDRESSU, D3DSAMP_ADDRESSV}) g_pDevice->SetSamplerState(0, s, D3DTADDRESS_CLAMP);
    // Function, reference, the vertex's alpha, drawn.
    const DWORD cases[][4] = {{D3DCMP_GREATEREQUAL, 1, 0xFF, 1},  {D3DCMP_LESS, 255, 0xFF, 0},
                              {D3DCMP_EQUAL, 255, 0xFF, 1},       {D3DCMP_NOTEQUAL, 255, 0xFF, 0},
                              {D3DCMP_GREATER, 255, 0xFF, 0},     {D3DCMP_NEVER, 0, 0xFF, 0},
                              {D3DCMP_GREATEREQUAL, 1, 0, 0},     {D3DCMP_GREATEREQUAL, 128, 0x80, 1},
                              {D3DCMP_GREATEREQUAL, 129, 0x80, 0}};
    g_pDevice->SetTexture(0, opaque), opaque->Release();  // the device's reference keeps it alive while bound
    for (auto [func, ref, alpha, drawn] : cases) {
        ClearTo(0xFF0000FFu);
        g_pDevice->SetRenderState(D3DRS_ALPHAFUNC, func), g_pDevice->SetRenderState(D3DRS_ALPHAREF, ref);
        DrawScreenQuad(0, 0, 64, 48, alpha << 24 | 0xFFFFFF);
        EXPECT_EQ(ReadPixel(10, 20), drawn ? 0xFFFF0000u : 0xFF0000FFu) << func << " " << ref << " " << alpha;
    }
    // A keyed texel of a texture that is not all opaque is still dropped, its alpha the texel's alone.
    g_pDevice->SetTexture(0, keyed), g_pDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    ClearTo(0xFF0000FFu), DrawScreenQuad(0, 0, 64, 48, 0xFFFFFFFFu);  // the last case's test: at least 129
    EXPECT_TRUE(ReadPixel(10, 20) == 0xFF0000FFu && ReadPixel(50, 20) == 0xFF00FF00u);
    g_pDevice->SetTexture(0, nullptr), keyed->Release();
}

}  // namespace
