// Text drawn through the font: position, clipping, colour and alpha, code page 1250.
#include <gtest/gtest.h>

#include <algorithm>

#include "render_helpers.h"

namespace {

class Text : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateTestDevice(160, 120));
        HFONT gdi = CreateFontA(12, 0, 0, 0, 700, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
        ASSERT_EQ(D3DXCreateFont(g_pDevice, gdi, &font_), S_OK);
        EXPECT_TRUE(DeleteObject(gdi));  // the font keeps its own copy of the description
        ClearTo(0xFF000000u), Blend(TRUE, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
    }
    void TearDown() override {
        if (font_) font_->Release();
        DestroyTestDevice();
    }
    int Draw(const char* text, RECT rect, D3DCOLOR color = 0xFFFFFFFFu, int count = -1) {
        return font_->DrawTextA(nullptr, text, count, &rect, 0, color);
    }

    // The bounding box of every pixel brighter than black, the brightest channel, and the brightest of
    // green and blue.
    struct Box {
        int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1, brightest = 0, brightestRed = 0,
            other = 0;
    };
    static Box Lit() {
        const Screen screen = ReadScreen();
        Box b;
        for (int y = 0; y < screen.height; ++y)
            for (int x = 0; x < screen.width; ++x) {
                const uint32_t c = screen.At(x, y);
                const int v = std::max({Red(c), Green(c), Blue(c)});
                if (v == 0) continue;
                b.left = std::min(b.left, x), b.top = std::min(b.top, y);
                b.right = std::max(b.right, x), b.bottom = std::max(b.bottom, y);
                b.brightest = std::max(b.brightest, v), b.brightestRed = std::max(b.brightestRed, Red(c));
                b.other = std::max({b.other, Green(c), Blue(c)});
            }
        return b;
    }

    ID3DXFont* font_ = nullptr;
};

TEST_F(Text, StartsAtItsPixelPositionInAGdiCellIsClippedAndBlended) {
    EXPECT_EQ(Draw("Hlg", {20, 20, 160, 120}), 12);  // one line of the 12-pixel cell
    Box b = Lit();
    ASSERT_GE(b.right, 0) << "nothing drawn";
    // The cap height starts just below the cell top.
    EXPECT_TRUE(b.left >= 20 && b.left <= 22 && b.top >= 20 && b.top <= 23 && b.bottom <= 20 + 12)
        << b.left << " " << b.top << " " << b.bottom;
    EXPECT_EQ(b.brightest, 255);

    ClearTo(0xFF000000u), Draw("WWWWWWWW\nWWWW", {20, 20, 40, 30});
    b = Lit();
    EXPECT_TRUE(b.right >= 0 && b.right <= 39 && b.bottom <= 29) << b.right << " " << b.bottom;

    ClearTo(0xFF000000u);
    EXPECT_EQ(Draw("A\nA", {20, 20, 160, 120}), 24);
    b = Lit();
    EXPECT_GE(b.bottom, 20 + 12 + 6);  // the second line is a cell lower
    EXPECT_LE(b.right, 20 + 12);       // and starts again at the left edge

    // Colour and alpha go through the blending.
    ClearTo(0xFF000000u), Draw("MMMM", {10, 10, 160, 120}, 0x80FF0000u);
    b = Lit();
    EXPECT_NEAR(b.brightestRed, 128, 2);
    EXPECT_EQ(b.other, 0);
    // With blending off the glyph boxes still do not paint their empty texels.
    ClearTo(0xFF000000u), g_pDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    Draw(".", {10, 10, 160, 120});
    EXPECT_LE(Lit().right - Lit().left, 4);
}

TEST_F(Text, DrawsCodePage1250LettersLeavesStatesAsTheyWereAndRefusesBadArguments) {
    g_pDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    g_pDevice->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    Draw("\x8A\x9E\xE1\xED\xF4\xFD", {10, 10, 160, 120}, 0xFFFFFFFFu, 6);
    EXPECT_GT(Lit().right - Lit().left, 20);  // six real glyphs, not blanks
    EXPECT_EQ(DeviceState('r', 0, D3DRS_CULLMODE), DWORD(D3DCULL_CW));
    EXPECT_EQ(DeviceState('r', 0, D3DRS_ALPHATESTENABLE), 0u);
    DWORD fvf = 0;
    g_pDevice->GetFVF(&fvf);
    EXPECT_NE(fvf, 0x144u);
    // Bad arguments draw nothing.
    RECT rect{0, 0, 160, 120};
    EXPECT_EQ(font_->DrawTextA(nullptr, nullptr, -1, &rect, 0, 0xFFFFFFFFu), 0);
    EXPECT_EQ(font_->DrawTextA(nullptr, "abc", -1, nullptr, 0, 0xFFFFFFFFu), 0);
    EXPECT_EQ(Draw("", rect), 0);
    ID3DXFont* none = reinterpret_cast<ID3DXFont*>(1);
    EXPECT_TRUE(FAILED(D3DXCreateFont(g_pDevice, nullptr, &none)) && none == nullptr &&
                !DeleteObject(nullptr));
    // Glyphs too tall for the largest atlas: no font, and nothing left behind.
    HFONT huge = CreateFontA(100000, 0, 0, 0, 700, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    none = reinterpret_cast<ID3DXFont*>(1);
    EXPECT_TRUE(D3DXCreateFont(g_pDevice, huge, &none) == E_FAIL && none == nullptr);
    DeleteObject(huge);
}

}  // namespace
