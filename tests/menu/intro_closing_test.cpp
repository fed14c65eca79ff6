// The logo screens at start-up and the closing screen after the last level.
#include <cmath>

#include "menu/menu_harness.h"
#include "platform/dinput.h"

namespace {

class IntroTest : public MenuHarness {};

TEST_F(IntroTest, EachLogoScreenLastsAbout4444MsAtAnyFrameRate) {
    for (float fps : {24.0f, 60.0f, 144.0f, 500.0f}) {
        fps_ = fps;
        Build();
        float toSecond = RunUntil([&] { return menu_->introScreen2 == 1; });
        EXPECT_NEAR(toSecond, 4444.0f, 1000.0f / fps + 1.0f) << fps << " fps";
        EXPECT_EQ(menu_->introScreen1, 0);
        float rest = RunUntil([&] { return menu_->mainMenuScreen == 1; });
        EXPECT_NEAR(toSecond + rest, 13333.0f, 3000.0f / fps + 1.0f) << fps << " fps";
        EXPECT_EQ(menu_->introScreen3, 0);
        EXPECT_EQ(menu_->introScreen2, 0);
        EXPECT_TRUE(TakePlayed().empty()) << "the logo screens are silent";
    }
}

TEST_F(IntroTest, TheWheelPushesTheBarFromItsRearEdge) {
    // Screen 1 draws its upper row last, screen 2 its only row leftwards, screen 3 rightwards.
    const float side[] = {+1.0f, +1.0f, -1.0f};
    for (int screen = 0; screen < 3; ++screen) {
        for (int i = 0; i < 20; ++i) {
            Frame();
            const Panel& bar = menu_->coverBar;
            const Panel& wheel = menu_->wheel;
            EXPECT_NEAR(wheel.position.x, bar.position.x + side[screen] * bar.width * 0.5f, 0.01f);
            EXPECT_EQ(wheel.position.y, bar.position.y);
        }
        Tap(DIK_SPACE);
    }
    EXPECT_EQ(menu_->mainMenuScreen, 1);
}

TEST_F(IntroTest, ScreenPriorityRunsOnlyTheFirstSetScreen) {
    // All three logo screens set: the third runs, the others wait.
    menu_->introScreen2 = 1;
    menu_->introScreen3 = 1;
    Tap(DIK_SPACE);
    EXPECT_EQ(menu_->introScreen3, 0);
    EXPECT_EQ(menu_->mainMenuScreen, 1);
    EXPECT_EQ(menu_->introScreen2, 1);
    EXPECT_EQ(menu_->introScreen1, 1);
    // The main menu comes before any logo screen.
    RunFor(1000.0f);
    EXPECT_EQ(menu_->introScreen2, 1);
    EXPECT_EQ(menu_->introTimer, 0.0f);
    EXPECT_GT(menu_->blinkCount + menu_->blinkTimer, 0.0f);
    // The credits come before the password screen: Escape closes the credits only.
    menu_->mainMenuScreen = 0;
    menu_->creditsScreen = 1;
    menu_->passwordScreen = 1;
    Tap(DIK_ESCAPE);
    EXPECT_EQ(menu_->creditsScreen, 0);
    EXPECT_EQ(menu_->passwordScreen, 1);
    EXPECT_EQ(menu_->mainMenuScreen, 1);
}

class ClosingTest : public MenuHarness {
protected:
    void ShowClosing() {
        menu_->introScreen1 = 0;
        menu_->closingScreen = 1;
    }
};

TEST_F(ClosingTest, WheelsBounceAndComeToRestOnTheFloor) {
    for (float fps : {60.0f, 144.0f}) {
        fps_ = fps;
        Build();
        ShowClosing();
        EXPECT_FLOAT_EQ(menu_->wheelY[0], -200.0f);
        EXPECT_FLOAT_EQ(menu_->wheelY[1], -400.0f);
        float firstLanding[2] = {-1.0f, -1.0f};
        float ms = 0.0f;
        for (int frame = 0; ms < 15000.0f; ++frame, ms += 1000.0f / fps) {
            Frame();
            for (int i = 0; i < 2; ++i) {
                EXPECT_LE(menu_->wheelY[i], 500.0f) << "a wheel never sinks below the floor";
                if (firstLanding[i] < 0.0f && menu_->wheelSpeed[i] < 0.0f) firstLanding[i] = ms;
            }
        }
        EXPECT_GT(firstLanding[0], 0.0f);
        EXPECT_GT(firstLanding[1], firstLanding[0]) << "the higher wheel lands later";
        // At rest: only the last fraction of a unit of the frame's own fall remains.
        float restBand = 3.0f * 30.0f / fps;
        for (int i = 0; i < 2; ++i) EXPECT_NEAR(menu_->wheelY[i], 500.0f, restBand) << fps << " fps";
        EXPECT_EQ(menu_->closingScreen, 1);
    }
}

TEST_F(ClosingTest, AnyKeyOrClickReturnsToTheFirstLogoScreenWithTheWheelsLower) {
    ShowClosing();
    RunFor(3000.0f);
    Click();
    EXPECT_EQ(menu_->closingScreen, 0);
    EXPECT_EQ(menu_->introScreen1, 1);
    // The first logo screen has run one frame since, from a timer of 0; the wheels wait at their new
    // start.
    EXPECT_NEAR(menu_->introTimer, 1000.0f / fps_ * 0.00045f, 1e-6f);
    EXPECT_FLOAT_EQ(menu_->wheelY[0], -50.0f);
    EXPECT_FLOAT_EQ(menu_->wheelY[1], -100.0f);
    EXPECT_FLOAT_EQ(menu_->wheelSpeed[0], 0.0f);
    EXPECT_FLOAT_EQ(menu_->wheelSpeed[1], 0.0f);
    for (int key : {DIK_SPACE, DIK_RETURN, DIK_ESCAPE}) {
        menu_->introScreen1 = 0;
        ShowClosing();
        Tap(key);
        EXPECT_EQ(menu_->introScreen1, 1) << key;
        EXPECT_EQ(menu_->closingScreen, 0) << key;
    }
    EXPECT_TRUE(TakePlayed().empty()) << "leaving the closing screen is silent";
}

}  // namespace
