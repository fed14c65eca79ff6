// What the menu's screens put on the real device (llvmpipe), against pictures made independently: the
// level dialog's texts (in English too), the fade's colour, the options' and password labels, both
// messages and the loading frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "engine/engine.h"
#include "engine/frame_timer.h"
#include "engine/game_state.h"
#include "menu/menu_screens.h"
#include "platform/bitmap_resources.h"
#include "platform/language.h"
#include "support/device_fixture.h"
#include "support/test_support.h"

namespace {

const char* const kNotice[2] = {"Nastavenia sa prejavia a\x9E po re\x9Atarte programu",
                                "Nastaven\xED se projev\xED a\x9E po restartu programu"};

class MenuPixels : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateTestDevice(800, 600, D3DFMT_A8R8G8B8));
        g_fps = 30.0f, menu_ = std::make_unique<Menu>(), menu_->Setup();
    }
    void TearDown() override { menu_.reset(), DestroyTestDevice(); }
    // Clears to `background` (by default a colour under which a blended panel's edges show), draws, and
    // reads the screen back.
    template <typename Draw>
    Screen Drawn(Draw draw, D3DCOLOR background = 0xFF406080u) {
        g_pDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, background, 1.0f, 0);
        g_pDevice->BeginScene(), g_engine.SetUnlitTextureStages();
        g_engine.SetZBuffer(0), draw();
        g_pDevice->EndScene();
        return ReadScreen();
    }
    // A panel as the screens draw it, blended, then texts in the menu's lit colour.
    static void PanelAndTexts(Panel& panel,
                              std::initializer_list<std::tuple<int, int, int, const char*>> texts) {
        g_engine.BlendAlpha(), panel.SetPosition(MakeVector(0.5f, 0.5f, 0.0f));
        panel.Draw(), g_engine.BlendOff();
        // Bold upright Arial in white, made straight from its GDI description.
        for (const auto& [height, x, y, text] : texts) {
            HFONT gdi = CreateFontA(height, 0, 0, 0, 700, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
            ID3DXFont* font = nullptr;
            RECT rect{x, y, 800, 600};
            if (SUCCEEDED(D3DXCreateFont(g_pDevice, gdi, &font)))
                font->DrawTextA(nullptr, text, -1, &rect, DT_LEFT | DT_TOP, 0xFFFFFFFFu), font->Release();
            DeleteObject(gdi);
        }
    }
    std::unique_ptr<Menu> menu_;
};

TEST_F(MenuPixels, TheLevelDialogAndTheMessagesShowTheirTextsWhereTheyBelong) {
    // The level dialog of levels 5 and 25 with their passwords (level 5 in English too) and of a level
    // past the table without one, then the invalid-password message (level 0) and the restart notice's
    // two lines (level -1).
    const std::tuple<int, const char*, bool> cases[] = {{5, "KUCUR", false}, {25, "KAVUH", false},
                                                        {5, "KUCUR", true},  {31, "", false},
                                                        {0, "", false},      {-1, "", false}};
    for (auto [level, password, english] : cases) {
        SetGameLanguage(english ? Language::kEnglish : Language::kSlovak);
        currentLevel = level;
        menu_->levelDialogShown = level > 0;
        menu_->messageShown = level <= 0;
        menu_->messageKind = level == 0 ? kMessageInvalidPassword : kMessageRestartNotice;
        const Screen got = Drawn([&] { level > 0 ? menu_->UpdateLevelDialog() : RunMessageOverlay(*menu_); });
        const std::string title = "LEVEL " + std::to_string(level),
                          heslo = (english ? "Password: " : "Heslo: ") + std::string(password);
        const Screen expected = Drawn([&] {
            if (level == 0) return PanelAndTexts(menu_->messageBox, {{35, 300, 280, "Heslo neplatn\xE9"}});
            if (level < 0)
                return PanelAndTexts(menu_->messageBox,
                                     {{25, 165, 270, kNotice[0]}, {25, 170, 305, kNotice[1]}});
            PanelAndTexts(menu_->levelDialog, {{65, 400 - 112, 300 - 75, title.c_str()},
                                               {35, english ? 400 - 131 : 400 - 89, 315, heslo.c_str()}});
        });
        EXPECT_TRUE(got.argb == expected.argb) << "level " << level << (english ? " in English" : "");
    }
    SetGameLanguage(Language::kSlovak);
}

TEST_F(MenuPixels, TheFadeIsBlackOverEverything) {
    // Over a white screen: black at the start, half way grey, everywhere including the edges.
    for (auto [value, grey] : {std::pair{0.0f, 0}, std::pair{0.5f, 128}}) {
        menu_->fadingIn = 1;
        menu_->fadeValue = value - FrameMillis(0.0007f);  // the frame's step brings it to `value`
        const Screen s = Drawn([&] { menu_->UpdateFade(); }, 0xFFFFFFFFu);
        for (auto [x, y] : {std::pair{0, 0}, {799, 599}, {400, 300}, {5, 590}}) {
            const uint32_t c = s.At(x, y), r = (c >> 16) & 255;
            EXPECT_TRUE(int(r) - grey <= 3 && grey - int(r) <= 3 && r == ((c >> 8) & 255) && r == (c & 255))
                << std::hex << c << " at " << std::dec << x << "," << y;
        }
    }
}

TEST_F(MenuPixels, TheOptionsAndLogoScreensShowTheirOwnBitmaps) {
    // Each panel frame's texels against the bitmap painted with that label or logo.
    const struct {
        Panel& panel;
        int frame, bitmap;
        const char* label;
    } labels[] = {{menu_->screenLabel, 0, 170, "Obrazovka:"}, {menu_->detailLabel, 0, 165, "Detail scény:"},
                  {menu_->soundLabel, 0, 177, "Zvuk:"},       {menu_->screenValue, 0, 171, "640x480"},
                  {menu_->screenValue, 1, 172, "800x600"},    {menu_->screenValue, 2, 173, "1024x768"},
                  {menu_->detailValue, 0, 166, "Maximum"},    {menu_->detailValue, 1, 167, "Optimum"},
                  {menu_->detailValue, 2, 168, "Minimum"},    {menu_->soundValue, 0, 162, "Vypnutý"},
                  {menu_->soundValue, 1, 176, "Zapnutý"},     {menu_->logoA, 0, 154, "logo A"},
                  {menu_->logoB, 0, 159, "logo B"},           {menu_->logoC, 0, 157, "logo C"},
                  {menu_->titleLogo, 0, 158, "title"},        {menu_->wheel, 0, 153, "wheel"}};
    for (const auto& l : labels) {
        IDirect3DTexture9* texture = l.panel.frames[l.frame];
        ASSERT_NE(texture, nullptr) << l.label;
        std::vector<uint32_t> texels(texture->GetWidth() * texture->GetHeight()), want;
        ASSERT_EQ(texture->ReadTexels(texels.data(), static_cast<UINT>(texels.size())), S_OK);
        const BitmapResource* r = FindBitmapResource(l.bitmap);
        for (uint32_t rgb : ReadBmp(r->data, r->size).rgb)
            want.push_back(rgb == 0xFF00FF ? 0 : 0xFF000000u | rgb);
        EXPECT_TRUE(texels == want) << l.label;
    }
}

TEST_F(MenuPixels, ThePasswordScreensLabelAndButtonsAndTheOptionsLabelsAreBlendedOverTheBackground) {
    // The password label's golden words stand in its place; right of them its keyed ground shows the
    // background, not black.
    const Screen s = Drawn([&] { g_engine.BlendOff(), RunPasswordScreen(*menu_); });
    int golden = 0;
    for (int y = 202; y < 238; ++y)
        for (int x = 422; x < 618; ++x) golden += int((s.At(x, y) >> 16) & 255) - int(s.At(x, y) & 255) > 80;
    EXPECT_TRUE(golden > 500 && (s.At(605, 210) & 0xFFFFFF) != 0) << golden;
    // Both buttons stand on the dark panel in light grey: OK, and STORNO below it.
    const auto light = [&s](int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += (s.At(x, y) & 255) > 120 && ((s.At(x, y) >> 8) & 255) > 120;
        return n;
    };
    EXPECT_GT(light(578, 362, 628, 384), 40);
    EXPECT_GT(light(578, 407, 716, 429), 100) << light(578, 362, 628, 384);
    EXPECT_TRUE(Drawn([&] { g_engine.BlendOff(), RunOptions(*menu_); }).argb ==
                Drawn([&] { g_engine.BlendAlpha(), RunOptions(*menu_); }).argb);
}

TEST_F(MenuPixels, TheClosingScreenShowsTheTitleItsLastWordsAndBothWheelsAndNothingElse) {
    menu_->wheelY[0] = menu_->wheelY[1] = 500.0f, menu_->wheelSpeed[0] = menu_->wheelSpeed[1] = 0.0f;
    const Screen s = Drawn([&] { RunClosingScreen(*menu_); }, 0xFF000000u);
    const auto lit = [&](int x0, int y0, int x1, int y1, int n = 0) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += (s.At(x, y) & 0xFFFFFF) != 0;
        return n;
    };
    // The title (512 x 128) about (400, 300), its last words (147 x 42) about (400, 420), the wheels
    // (128 x 128) about (200, 500) and (600, 500).
    EXPECT_TRUE(lit(144, 236, 656, 364) > 5000 && lit(326, 399, 474, 441) > 500 &&
                lit(136, 436, 264, 564) > 3000 && lit(536, 436, 664, 564) > 3000)
        << lit(144, 236, 656, 364) << " " << lit(326, 399, 474, 441) << " " << lit(136, 436, 264, 564) << " "
        << lit(536, 436, 664, 564);
    EXPECT_EQ(lit(0, 0, 800, 230) + lit(0, 570, 800, 600) + lit(0, 230, 130, 570) + lit(670, 230, 800, 570),
              0);
}

TEST_F(MenuPixels, TheCreditsLieOverTheBackgroundRightOfTheCentre) {
    const Screen credits = Drawn([&] { RunCredits(*menu_); }),
                 background = Drawn([&] { menu_->background.Draw(); });
    // Pixels the credits change, within their 255 x 364 about (584, 335) and outside.
    int inside = 0, outside = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            if (credits.At(x, y) != background.At(x, y))
                ++(x >= 456 && x < 712 && y >= 153 && y < 517 ? inside : outside);
    EXPECT_TRUE(inside > 10000 && outside == 0) << inside << " " << outside;
}

TEST(LoadingScreen, WhiteTextOnBlackLeftOfAndAboveTheCentre) {
    const struct { int width, height, left, top; } sizes[] = {{640, 480, 224, 226}, {1024, 768, 416, 370}};
    for (const auto& s : sizes) {
        ASSERT_TRUE(CreateTestDevice(s.width, s.height));
        // Over a grey screen: nothing that came before may show.
        g_pDevice->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF808080u, 1.0f, 0), ShowLoadingScreen();
        const Screen screen = ReadScreen();
        int minX = s.width, minY = s.height, maxX = -1, maxY = -1;
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x) {
                const uint32_t c = screen.At(x, y);
                ASSERT_TRUE((c & 255) == ((c >> 8) & 255) && (c & 255) == ((c >> 16) & 255))
                    << "white on black only";
                if ((c & 255) < 128) continue;
                minX = std::min(minX, x), minY = std::min(minY, y), maxX = std::max(maxX, x),
                maxY = std::max(maxY, y);
            }
        // The glyphs start just inside the text's top-left point; "Moment prosím" is about 190 wide.
        EXPECT_TRUE(minX >= s.left && minX <= s.left + 6 && minY >= s.top && minY <= s.top + 14)
            << minX << "," << minY;
        EXPECT_TRUE(maxX - minX > 150 && maxX - minX < 260 && maxY - minY < 40) << maxX << "," << maxY;
        DestroyTestDevice();
    }
    ShowLoadingScreen();  // without a device nothing happens
}

}  // namespace
