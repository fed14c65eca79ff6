// Text drawn through the font: position, clipping, colour and alpha, code page 1250.
#include <gtest/gtest.h>

#include <vector>

#include "render_helpers.h"

namespace {

class Text : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateTestDevice(160, 120));
        HFONT gdi = CreateFontA(12, 0, 0, 0, 700, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
        ASSERT_NE(gdi, nullptr);
        ASSERT_EQ(D3DXCreateFont(g_pDevice, gdi, &font_), S_OK);
        EXPECT_TRUE(DeleteObject(gdi));  // the font keeps its own copy of the description
        ClearTo(0xFF000000u);
        g_pDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        g_pDevice->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        g_pDevice->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    }
    void TearDown() override {
        if (font_) font_->Release();
        DestroyTestDevice();
    }

    // The bounding box of every pixel brighter than black.
    struct Box {
        int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1, brightest = 0;
    };
    Box Lit() {
        std::vector<uint8_t> rgba(160 * 120 * 4);
        g_pDevice->ReadBackBuffer(rgba.data(), 160, 120);
        Box b;
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 160; ++x) {
                const uint8_t* p = &rgba[(y * 160 + x) * 4];
                const int v = std::max({p[0], p[1], p[2]});
                if (v == 0) continue;
                b.left = std::min(b.left, x);
                b.top = std::min(b.top, y);
                b.right = std::max(b.right, x);
                b.bottom = std::max(b.bottom, y);
                b.brightest = std::max(b.brightest, v);
            }
        return b;
    }

    ID3DXFont* font_ = nullptr;
};

TEST_F(Text, StartsAtItsPixelPositionInAGdiCell) {
    RECT rect{20, 20, 160, 120};
    const int height = font_->DrawTextA(nullptr, "Hlg", -1, &rect, DT_LEFT | DT_TOP, 0xFFFFFFFFu);
    EXPECT_EQ(height, 12);  // one line of the 12-pixel cell
    const Box b = Lit();
    ASSERT_GE(b.right, 0) << "nothing drawn";
    EXPECT_GE(b.left, 20);
    EXPECT_LE(b.left, 22);
    EXPECT_GE(b.top, 20);
    EXPECT_LE(b.top, 23);  // the cap height starts just below the cell top
    EXPECT_LE(b.bottom, 20 + 12);
    EXPECT_EQ(b.brightest, 255);
}

TEST_F(Text, IsClippedToItsRectangleAndLineFeedsStartNewLines) {
    RECT rect{20, 20, 40, 30};
    font_->DrawTextA(nullptr, "WWWWWWWW\nWWWW", -1, &rect, 0, 0xFFFFFFFFu);
    Box b = Lit();
    ASSERT_GE(b.right, 0);
    EXPECT_LE(b.right, 39);
    EXPECT_LE(b.bottom, 29);

    ClearTo(0xFF000000u);
    RECT tall{20, 20, 160, 120};
    EXPECT_EQ(font_->DrawTextA(nullptr, "A\nA", -1, &tall, 0, 0xFFFFFFFFu), 24);
    b = Lit();
    EXPECT_GE(b.bottom, 20 + 12 + 6);  // the second line is a cell lower
    EXPECT_LE(b.right, 20 + 12);       // and starts again at the left edge
}

TEST_F(Text, ColourAndAlphaGoThroughTheBlending) {
    RECT rect{10, 10, 160, 120};
    font_->DrawTextA(nullptr, "MMMM", -1, &rect, 0, 0x80FF0000u);
    std::vector<uint8_t> rgba(160 * 120 * 4);
    g_pDevice->ReadBackBuffer(rgba.data(), 160, 120);
    int brightestRed = 0, otherChannels = 0;
    for (size_t i = 0; i < rgba.size(); i += 4) {
        brightestRed = std::max<int>(brightestRed, rgba[i]);
        otherChannels = std::max<int>(otherChannels, std::max(rgba[i + 1], rgba[i + 2]));
    }
    EXPECT_NEAR(brightestRed, 128, 2);
    EXPECT_EQ(otherChannels, 0);

    // With blending off the glyph boxes still do not paint their empty texels.
    ClearTo(0xFF000000u);
    g_pDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    font_->DrawTextA(nullptr, ".", -1, &rect, 0, 0xFFFFFFFFu);
    const Box b = Lit();
    EXPECT_LE(b.right - b.left, 4);
}

TEST_F(Text, DrawsCodePage1250LettersAndLeavesStatesAsTheyWere) {
    g_pDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    g_pDevice->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    RECT rect{10, 10, 160, 120};
    font_->DrawTextA(nullptr, "\x8A\x9E\xE1\xED\xF4\xFD", 6, &rect, 0, 0xFFFFFFFFu);
    const Box b = Lit();
    EXPECT_GT(b.right - b.left, 20);  // six real glyphs, not blanks
    DWORD value = 0;
    g_pDevice->GetRenderState(D3DRS_CULLMODE, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DCULL_CW));
    g_pDevice->GetRenderState(D3DRS_ALPHATESTENABLE, &value);
    EXPECT_EQ(value, 0u);
    g_pDevice->GetFVF(&value);
    EXPECT_NE(value, 0x144u);
}

TEST_F(Text, BadArgumentsDrawNothing) {
    RECT rect{0, 0, 160, 120};
    EXPECT_EQ(font_->DrawTextA(nullptr, nullptr, -1, &rect, 0, 0xFFFFFFFFu), 0);
    EXPECT_EQ(font_->DrawTextA(nullptr, "abc", -1, nullptr, 0, 0xFFFFFFFFu), 0);
    EXPECT_EQ(font_->DrawTextA(nullptr, "", -1, &rect, 0, 0xFFFFFFFFu), 0);
    ID3DXFont* none = reinterpret_cast<ID3DXFont*>(1);
    EXPECT_TRUE(FAILED(D3DXCreateFont(g_pDevice, nullptr, &none)));
    EXPECT_EQ(none, nullptr);
    EXPECT_FALSE(DeleteObject(nullptr));
}

}  // namespace
