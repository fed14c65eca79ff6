// The fades between menu and levels, the level dialog, and the road from one level to the next.
#include "engine/game_state.h"
#include "menu/menu_harness.h"
#include "menu/menu_screens.h"
#include "platform/dinput.h"

namespace {

class TransitionTest : public MenuHarness {
protected:
    // The state right after a level was started from the main menu.
    void StartedLevel(int level) {
        menu_->introScreen1 = 0;
        menu_->mainMenuScreen = 1;
        menu_->active = 0;
        menu_->fadingIn = 1;
        currentLevel = level;
    }
    void DialogUp(int level) {
        StartedLevel(level);
        RunUntil([&] { return menu_->levelDialogShown == 1; });
        TakePlayed();
    }
    // Pixel centre of the screen and a click relative to it.
    void ClickFromCentre(float dx, float dy) {
        MouseAtPixel(static_cast<float>(width_) * 0.5f + dx, static_cast<float>(height_) * 0.5f + dy);
        Click();
    }
};

TEST_F(TransitionTest, FadeInTakesAbout1429MsThenRaisesTheDialog) {
    for (float fps : {30.0f, 75.0f, 240.0f}) {
        fps_ = fps;
        Build();
        StartedLevel(1);
        Frame();
        EXPECT_GT(menu_->fadeValue, 0.0f);
        EXPECT_LT(menu_->fadeValue, 0.1f);
        EXPECT_EQ(menu_->levelDialogShown, 0);
        float ms = 1000.0f / fps + RunUntil([&] { return menu_->levelDialogShown == 1; });
        EXPECT_NEAR(ms, 1428.6f, 1000.0f / fps + 0.5f) << fps << " fps";
        EXPECT_EQ(menu_->fadingIn, 0);
        EXPECT_EQ(menu_->active, 0) << "the game goes on under the dialog";
    }
}

TEST_F(TransitionTest, FadeQuadOverlapsTheScreenAndClearsAsTheFadeRuns) {
    Build(640, 480);
    EXPECT_EQ(menu_->fadePanel.width, 650.0f);
    EXPECT_EQ(menu_->fadePanel.height, 490.0f);
    StartedLevel(1);
    for (int i = 0; i < 30; ++i) {
        Frame();
        EXPECT_FLOAT_EQ(menu_->fadePanel.color.a, 1.0f - menu_->fadeValue);
        EXPECT_EQ(menu_->fadePanel.position.x, 320.0f);
        EXPECT_EQ(menu_->fadePanel.position.y, 240.0f);
    }
    // The colour conversion clamps the alpha to 0 to 1: black at the start, clear at the end.
    EXPECT_GT(menu_->fadePanel.color.a, 0.0f);
}

TEST_F(TransitionTest, DialogButtonsAndTheGapBetweenThem) {
    for (int size : {0, 1, 2}) {
        const int widths[] = {640, 800, 1024}, heights[] = {480, 600, 768};
        Build(widths[size], heights[size]);
        // A click in the gap between RESTART and EXIT, and one just outside OK, do nothing.
        DialogUp(7);
        ClickFromCentre(-86.0f, 128.0f);
        ClickFromCentre(231.0f, 128.0f);
        ClickFromCentre(0.0f, 108.0f);  // the bounds themselves are outside
        EXPECT_EQ(menu_->levelDialogShown, 1);
        EXPECT_EQ(menu_->fadingToMenu, 0);

        ClickFromCentre(-165.0f, 128.0f);  // RESTART
        EXPECT_EQ(menu_->levelDialogShown, 0);
        EXPECT_EQ(currentLevel, 7);
        EXPECT_EQ(menu_->fadingToMenu, 0);
        EXPECT_EQ(menu_->fadingIn, 0) << "a restart builds the level anew without a fade";

        menu_->levelDialogShown = 1;
        ClickFromCentre(165.0f, 128.0f);  // OK
        EXPECT_EQ(menu_->levelDialogShown, 0);
        EXPECT_EQ(menu_->fadingToMenu, 0);

        menu_->levelDialogShown = 1;
        ClickFromCentre(0.0f, 128.0f);  // EXIT
        EXPECT_EQ(menu_->levelDialogShown, 0);
        EXPECT_EQ(menu_->fadingToMenu, 1);
    }
}

TEST_F(TransitionTest, LastLevelLeadsToTheClosingScreenWithTheOutro) {
    DialogUp(25);
    // The dialog left open while the last bus drives out.
    menu_->fadingToNextLevel = 1;
    events_.clear();
    RunUntil([&] { return menu_->fadingToNextLevel == 0; });
    EXPECT_EQ(currentLevel, 26);
    EXPECT_EQ(menu_->active, 1);
    EXPECT_EQ(menu_->closingScreen, 1);
    EXPECT_EQ(menu_->mainMenuScreen, 0);
    EXPECT_EQ(menu_->fadingIn, 0);
    EXPECT_EQ(menu_->levelDialogShown, 0) << "no dialog for a level 26 over the closing screen";
    {
        EXPECT_EQ(PlayedCount(kSoundOutro), 1);
        // The next menu frame stops the loop that the same step started.
        events_.clear();
        Frame();
        ASSERT_GE(events_.size(), 2u);
        EXPECT_TRUE(events_[0].stopped && events_[1].stopped);
    }
    RunFor(3000.0f);
    EXPECT_EQ(menu_->closingScreen, 1);
    EXPECT_EQ(menu_->fadingIn, 0);
}

}  // namespace
