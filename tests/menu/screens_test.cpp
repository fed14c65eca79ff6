// The menu's screens driven frame by frame: the logo screens, the credits, the options, the fades and
// the level dialog, and the closing screen after the last level.
#include "menu/menu_harness.h"
#include "support/test_support.h"

namespace {

using Screens = MenuHarness;

TEST_F(Screens, EachLogoScreenLastsAbout4444MsAtAnyFrameRateAndFadesInGrey) {
    for (float fps : {24.0f, 60.0f, 144.0f, 500.0f}) {
        fps_ = fps;
        Build();
        float toSecond = RunUntil([&] { return menu_->introScreen2 == 1; });
        EXPECT_NEAR(toSecond, 4444.0f, 1000.0f / fps + 1.0f) << fps << " fps";
        float rest = RunUntil([&] { return menu_->mainMenuScreen == 1; });
        EXPECT_NEAR(toSecond + rest, 13333.0f, 3000.0f / fps + 1.0f) << fps << " fps";
        EXPECT_TRUE(menu_->introScreen1 == 0 && menu_->introScreen3 == 0 && menu_->introScreen2 == 0);
        EXPECT_TRUE(TakePlayed().empty()) << "the logo screens are silent";
    }
    // Lit for the first half, then darkening evenly to black: both logos a grey as dark as the time left.
    Build(), RunUntil([&] { return menu_->introTimer >= 1.5f; });
    for (const Color4& c : {menu_->logoA.color, menu_->logoB.color})
        EXPECT_TRUE(std::fabs(c.r - (2 - menu_->introTimer)) < 1e-4f && c.g == c.r && c.b == c.r) << c.r;
}

TEST_F(Screens, TheWheelPushesTheLogoBarFromItsRearEdge) {
    // Screen 1 draws its upper row last, screen 2 its only row leftwards, screen 3 rightwards.
    for (float side : {+1.0f, +1.0f, -1.0f}) {
        for (int i = 0; i < 20; ++i) {
            Frame();
            const Panel &bar = menu_->coverBar, &wheel = menu_->wheel;
            EXPECT_NEAR(wheel.position.x, bar.position.x + side * bar.width * 0.5f, 0.01f);
            EXPECT_EQ(wheel.position.y, bar.position.y);
        }
        Tap(DIK_SPACE);
    }
    EXPECT_EQ(menu_->mainMenuScreen, 1);
    // With two logo screens set, the later one runs first.
    menu_->introScreen2 = menu_->introScreen3 = 1, menu_->mainMenuScreen = 0, Tap(DIK_SPACE);
    EXPECT_TRUE(menu_->introScreen3 == 0 && menu_->introScreen2 == 1 && menu_->mainMenuScreen == 1);
}

TEST_F(Screens, CreditsCloseOnANewPressOnly) {
    Show(&Menu::mainMenuScreen);
    KeyDown(DIK_SPACE);  // held since before the credits opened
    Frame();
    ClickAtVirtual(kMainMenuButtonCentres[kButtonCredits][0], kMainMenuButtonCentres[kButtonCredits][1]);
    ASSERT_EQ(menu_->creditsScreen, 1);
    RunFor(500.0f);
    EXPECT_EQ(menu_->creditsScreen, 1);
    KeyDown(DIK_SPACE, false), Frame(), Tap(DIK_RETURN);
    EXPECT_TRUE(menu_->creditsScreen == 0 && menu_->mainMenuScreen == 1);
}

TEST_F(Screens, OptionsStartFromTheSettingsReadAtStartUpAndIgnoreClicksBeside) {
    const struct {
        int width, detail, sound;
        int resolution, detailChoice, soundChoice;
    } rows[] = {{640, 2, 0, 0, 2, 0},
                {800, 1, 1, 1, 1, 1},
                {1024, 0, 1, 2, 0, 1},
                // A hand-edited file: unknown widths show 640x480; values no choice has are brought
                // into range, so the screen shows what the game really does.
                {1280, 7, 5, 0, 0, 1},
                {800, -1, -3, 1, 0, 1}};
    for (const auto& r : rows) {
        ScreenWidth = r.width, SceneDetail = r.detail, SoundEnabled = r.sound;
        Build();
        // The choices and the label frames showing them.
        EXPECT_TRUE(menu_->resolutionIndex == r.resolution && menu_->sceneDetail == r.detailChoice &&
                    menu_->soundEnabled == r.soundChoice && menu_->screenValue.frame == r.resolution &&
                    menu_->detailValue.frame == r.detailChoice && menu_->soundValue.frame == r.soundChoice)
            << r.width << " " << r.detail << " " << r.sound;
    }
    // A click beside every choice changes nothing and writes nothing.
    ScopedTempDir dir;
    Show(&Menu::optionsScreen), ClickAtVirtual(200.0f, 300.0f);
    EXPECT_TRUE(menu_->optionsScreen == 1 && menu_->optionsHover == kNoButton && menu_->resolutionIndex == 1);
    ClickAtVirtual(577.0f, 225.0f);  // a click on a value shows the next choice at once
    EXPECT_TRUE(!FileExists("config.ini") && menu_->resolutionIndex == 2 && menu_->screenValue.frame == 2);
}

TEST_F(Screens, OptionsButtonsLightUpOutToTheirSideEdges) {
    // OK is 52 pixels wide around 602, STORNO 141 around 649; each is pointed at half a pixel inside
    // and outside its left and right edges, at its middle height.
    const struct {
        float x, y;
        int hover;
    } points[] = {{576.5f, 461, kItemOk},   {627.5f, 461, kItemOk},     {575.5f, 461, kNoButton},
                  {628.5f, 461, kNoButton}, {579.0f, 500, kItemCancel}, {719.0f, 500, kItemCancel},
                  {578.0f, 500, kNoButton}, {720.0f, 500, kNoButton}};
    Show(&Menu::optionsScreen);
    for (const auto& p : points) {
        MouseAtVirtual(p.x, p.y), Frame();
        EXPECT_EQ(menu_->optionsHover, p.hover) << p.x << "," << p.y;
    }
    // The value under the pointer is drawn lit, the others dimmed.
    MouseAtVirtual(577.0f, 225.0f), Frame();
    EXPECT_TRUE(menu_->screenValue.color.r == kMenuLit.r && menu_->soundValue.color.r == kMenuDimmed.r);
}

// The state right after a level was started from the main menu.
void StartedLevel(Menu& menu, int level) {
    menu.introScreen1 = menu.active = 0;
    menu.mainMenuScreen = menu.fadingIn = 1;
    currentLevel = level;
}

TEST_F(Screens, FadeInTakesAbout1429MsUnderAQuadOverlappingTheScreenThenRaisesTheDialog) {
    for (float fps : {30.0f, 75.0f, 240.0f}) {
        fps_ = fps;
        Build(640, 480);
        const bool overlaps = menu_->fadePanel.width == 650.0f && menu_->fadePanel.height == 490.0f;
        StartedLevel(*menu_, 1), Frame();
        EXPECT_TRUE(overlaps && menu_->fadeValue > 0.0f && menu_->fadeValue < 0.1f &&
                    menu_->levelDialogShown == 0);
        float ms =
            1000.0f / fps + RunUntil([&] {
                EXPECT_FLOAT_EQ(menu_->fadePanel.color.a, 1.0f - menu_->fadeValue);
                EXPECT_TRUE(menu_->fadePanel.position.x == 320.0f && menu_->fadePanel.position.y == 240.0f);
                return menu_->levelDialogShown == 1;
            });
        EXPECT_NEAR(ms, 1428.6f, 1000.0f / fps + 0.5f) << fps << " fps";
        EXPECT_TRUE(menu_->fadingIn == 0 && menu_->active == 0) << "the game goes on under the dialog";
    }
}

TEST_F(Screens, LevelDialogButtonsAndTheGapsBetweenThem) {
    // Clicks from the screen's centre: the gap between RESTART and EXIT, just outside OK and the bounds
    // themselves do nothing; RESTART builds the level anew without a fade; OK; EXIT fades to the menu.
    // RESTART and OK are clicked a pixel inside opposite corners.
    const struct {
        float dx, dy;
        int shown, toMenu;
    } clicks[] = {{-86, 128, 1, 0},  {231, 128, 1, 0}, {0, 108, 1, 0},   {-229, 147, 0, 0},
                  {-101, 109, 0, 0}, {229, 109, 0, 0}, {101, 147, 0, 0}, {0, 128, 0, 1}};
    for (auto [width, height] : {std::pair{640, 480}, {800, 600}, {1024, 768}}) {
        Build(width, height), StartedLevel(*menu_, 7);
        RunUntil([&] { return menu_->levelDialogShown == 1; });
        for (const auto& c : clicks) {
            menu_->levelDialogShown = 1;
            MouseAtPixel(width * 0.5f + c.dx, height * 0.5f + c.dy), Click();
            EXPECT_TRUE(menu_->levelDialogShown == c.shown && menu_->fadingToMenu == c.toMenu &&
                        menu_->fadingIn == 0 && currentLevel == 7)
                << width << ": " << c.dx << "," << c.dy;
        }
    }
}

TEST_F(Screens, EveryPanelGrowsWithTheScreenButTheLevelDialogTheMessageAndTheFade) {
    // The dialog and the message keep their pixel size in the middle of any screen; the fade is made at
    // the screen's own size. A panel left at its 800 x 600 size would look right only there.
    Build(1024, 768);
    Menu& m = *menu_;
    int i = 0;
    for (const Panel* p :
         {&m.background, &m.wheel, &m.coverBar, &m.titleLogo, &m.logoA, &m.logoB, &m.logoC, &m.theEnd,
          &m.menuButton, &m.credits, &m.detailLabel, &m.soundLabel, &m.screenLabel, &m.detailValue,
          &m.soundValue, &m.screenValue, &m.okButton, &m.cancelButton, &m.enterPasswordLabel}) {
        EXPECT_EQ(p->scaleToScreen, 1) << "panel " << i;
        ++i;
    }
    EXPECT_TRUE(m.levelDialog.scaleToScreen == 0 && m.messageBox.scaleToScreen == 0 &&
                m.fadePanel.scaleToScreen == 0);
}

TEST_F(Screens, ClosingWheelsBounceAndComeToRestOnTheFloor) {
    for (float fps : {60.0f, 144.0f}) {
        fps_ = fps;
        Build(), Show(&Menu::closingScreen);
        EXPECT_TRUE(menu_->wheelY[0] == -200.0f && menu_->wheelY[1] == -400.0f);
        float firstLanding[2] = {-1.0f, -1.0f};
        for (float ms = 0.0f; ms < 15000.0f; ms += 1000.0f / fps) {
            Frame();
            for (int i = 0; i < 2; ++i) {
                EXPECT_LE(menu_->wheelY[i], 500.0f) << "a wheel never sinks below the floor";
                if (firstLanding[i] < 0.0f && menu_->wheelSpeed[i] < 0.0f) firstLanding[i] = ms;
            }
        }
        EXPECT_TRUE(firstLanding[0] > 0.0f && firstLanding[1] > firstLanding[0])
            << "the higher wheel lands later";
        // At rest: only the last fraction of a unit of the frame's own fall remains.
        for (int i = 0; i < 2; ++i) EXPECT_NEAR(menu_->wheelY[i], 500.0f, 90.0f / fps) << fps << " fps";
        // The wheel drawn last is the right one, at its own height.
        EXPECT_TRUE(menu_->wheel.position.x == 600.0f && menu_->wheel.position.y == menu_->wheelY[1]);
        EXPECT_EQ(menu_->closingScreen, 1);
    }
}

TEST_F(Screens, AnyKeyOrClickLeavesTheClosingScreenForTheFirstLogoWithTheWheelsLower) {
    for (int key : {-1, DIK_SPACE, DIK_RETURN, DIK_ESCAPE}) {
        Show(&Menu::closingScreen), RunFor(1000.0f);
        key < 0 ? Click() : Tap(key);
        EXPECT_TRUE(menu_->closingScreen == 0 && menu_->introScreen1 == 1) << key;
        // The first logo screen has run one frame since, from a timer of 0; the wheels wait at their new
        // start.
        EXPECT_TRUE(std::fabs(menu_->introTimer - 1000.0f / fps_ * 0.00045f) < 1e-6f &&
                    menu_->wheelY[0] == -50.0f && menu_->wheelY[1] == -100.0f &&
                    menu_->wheelSpeed[0] == 0.0f && menu_->wheelSpeed[1] == 0.0f);
    }
    EXPECT_TRUE(TakePlayed().empty()) << "leaving the closing screen is silent";
}

}  // namespace
