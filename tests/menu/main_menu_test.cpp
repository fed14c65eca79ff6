// The main menu and the credits: hovering, blinking and the five buttons.
#include "engine/game_state.h"
#include "menu/menu_harness.h"
#include "menu/menu_screens.h"
#include "platform/dinput.h"
#include "platform/win32.h"

namespace {

class MainMenuTest : public MenuHarness {
protected:
    void SetUp() override {
        MenuHarness::SetUp();
        ShowMainMenu();
    }
    void ShowMainMenu() {
        menu_->introScreen1 = 0;
        menu_->mainMenuScreen = 1;
    }
    void MouseOnButton(int k) { MouseAtVirtual(kMainMenuButtonCentres[k][0], kMainMenuButtonCentres[k][1]); }
};

TEST_F(MainMenuTest, HoverPlaysTheClickOncePerNewButton) {
    MouseAtVirtual(100.0f, 100.0f);
    Frame();
    EXPECT_EQ(menu_->hoveredButton, kNoButton);
    TakePlayed();
    for (int k = 0; k < kMainMenuButtonCount; ++k) {
        MouseOnButton(k);
        RunFor(500.0f);
        EXPECT_EQ(menu_->hoveredButton, k);
        EXPECT_EQ(PlayedCount(kSoundClick), 1) << "button " << k;
        TakePlayed();
    }
    MouseAtVirtual(100.0f, 100.0f);
    RunFor(200.0f);
    EXPECT_EQ(menu_->hoveredButton, kNoButton);
    EXPECT_TRUE(TakePlayed().empty()) << "leaving every button is silent";
}

TEST_F(MainMenuTest, CreditsCloseOnANewPressOnly) {
    // A key held since before the credits opened does not close them.
    KeyDown(DIK_SPACE);
    Frame();
    MouseOnButton(kButtonCredits);
    Click();
    ASSERT_EQ(menu_->creditsScreen, 1);
    RunFor(500.0f);
    EXPECT_EQ(menu_->creditsScreen, 1);
    KeyUp(DIK_SPACE);
    Frame();
    TakePlayed();
    Tap(DIK_RETURN);
    EXPECT_EQ(menu_->creditsScreen, 0);
    EXPECT_EQ(menu_->mainMenuScreen, 1);
    EXPECT_EQ(PlayedCount(kSoundClick), 0) << "closing the credits is silent";
}

}  // namespace
