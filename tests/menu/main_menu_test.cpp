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

TEST_F(MainMenuTest, HoveredButtonBlinksEvery333MsOthersStayDark) {
    // The panel's frame after a menu frame is the one EXIT (the last button) was drawn with.
    MouseOnButton(kButtonExit);
    std::vector<std::pair<float, int>> changes;
    float ms = 0.0f;
    int last = -1;
    for (; ms < 2500.0f; ms += 1000.0f / fps_) {
        Frame();
        int frame = static_cast<int>(menu_->menuButton.frame);
        ASSERT_TRUE(frame == 12 || frame == 13) << frame;
        if (frame != last) changes.push_back({ms, frame});
        last = frame;
    }
    ASSERT_GE(changes.size(), 6u);
    for (size_t i = 1; i < changes.size(); ++i) {
        EXPECT_NE(changes[i].second, changes[i - 1].second);
        if (i >= 2) {
            EXPECT_NEAR(changes[i].first - changes[i - 1].first, 333.3f, 1000.0f / fps_ + 0.5f);
        }
    }
    MouseOnButton(kButtonNewGame);
    Frame();
    EXPECT_EQ(menu_->menuButton.frame, 14.0f) << "EXIT is dark while another button is lit";
}

TEST_F(MainMenuTest, ClickBesideTheButtonsOnlyClicks) {
    MouseAtVirtual(150.0f, 500.0f);
    Frame();
    TakePlayed();
    Click();
    EXPECT_EQ(PlayedCount(kSoundClick), 1);
    EXPECT_EQ(menu_->mainMenuScreen, 1);
    EXPECT_EQ(menu_->active, 1);
    EXPECT_EQ(menu_->fadingIn, 0);
    EXPECT_EQ(menu_->passwordScreen + menu_->creditsScreen + menu_->optionsScreen, 0);
}

TEST_F(MainMenuTest, NewGameStartsLevelOneWithTheFadeAndItsLoop) {
    MouseOnButton(kButtonNewGame);
    Frame();
    TakePlayed();
    Click();
    EXPECT_EQ(menu_->active, 0);
    EXPECT_EQ(menu_->fadingIn, 1);
    EXPECT_EQ(currentLevel, 1);
    EXPECT_EQ(menu_->mainMenuScreen, 1) << "the game hands back to the main menu";
    {
        auto played = TakePlayed();
        ASSERT_EQ(played.size(), 2u);
        EXPECT_EQ(played[0].slot, kSoundClick);
        EXPECT_EQ(played[1].slot, isNight == 1 ? kSoundNightLoop : kSoundDayLoop);
        EXPECT_TRUE(played[1].looped);
    }
}

TEST_F(MainMenuTest, ButtonsOpenTheirScreensAndCreditsCloseOnANewPress) {
    struct {
        int button;
        uint8_t Menu::*flag;
    } rows[] = {{kButtonPassword, &Menu::passwordScreen},
                {kButtonCredits, &Menu::creditsScreen},
                {kButtonOptions, &Menu::optionsScreen}};
    for (const auto& row : rows) {
        Build();
        ShowMainMenu();
        MouseOnButton(row.button);
        Frame();
        Click();
        EXPECT_EQ(menu_.get()->*row.flag, 1) << row.button;
        EXPECT_EQ(menu_->mainMenuScreen, 0) << row.button;
    }
    // On the credits now. A key held since before the screen opened does not close it.
    Build();
    ShowMainMenu();
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

TEST_F(MainMenuTest, ExitPostsTheQuitMessage) {
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT) {
    }
    MouseOnButton(kButtonExit);
    Frame();
    Click();
    bool quit = false;
    for (int i = 0; i < 100 && !quit; ++i) {
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) break;
        quit = msg.message == WM_QUIT;
    }
    EXPECT_TRUE(quit);
    EXPECT_EQ(menu_->mainMenuScreen, 1) << "the frame in progress completes as usual";
}

TEST_F(MainMenuTest, WhileAMessageIsUpAClickOnlyClosesIt) {
    MouseOnButton(kButtonNewGame);
    Frame();
    menu_->messageShown = 1;
    menu_->messageKind = kMessageInvalidPassword;
    TakePlayed();
    Click();
    EXPECT_EQ(menu_->messageShown, 0);
    EXPECT_EQ(menu_->active, 1);
    EXPECT_EQ(menu_->fadingIn, 0);
    EXPECT_EQ(PlayedCount(kSoundClick), 0);
    // The buttons still light up under a message.
    menu_->messageShown = 1;
    MouseOnButton(kButtonCredits);
    Frame();
    EXPECT_EQ(menu_->hoveredButton, kButtonCredits);
}

}  // namespace
