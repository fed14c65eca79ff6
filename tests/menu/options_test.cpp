// The options screen: stepping the choices, writing config.ini, and leaving without writing.
#include "engine/config.h"
#include "menu/menu_harness.h"
#include "menu/menu_screens.h"
#include "platform/dinput.h"
#include "support/test_support.h"

namespace {

class OptionsTest : public MenuHarness {
protected:
    void Open() {
        menu_->introScreen1 = 0;
        menu_->optionsScreen = 1;
    }
    void ClickAt(float x, float y) {
        MouseAtVirtual(x, y);
        Click();
    }
    void ClickResolution() { ClickAt(577.0f, 225.0f); }
    void ClickDetail() { ClickAt(577.0f, 309.0f); }
    void ClickSound() { ClickAt(573.0f, 389.0f); }
    void ClickOk() { ClickAt(602.0f, 461.0f); }
    void ClickCancel() { ClickAt(649.0f, 500.0f); }
};

TEST_F(OptionsTest, ChoicesStartFromTheSettingsReadAtStartUp) {
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
        ScreenWidth = r.width;
        SceneDetail = r.detail;
        SoundEnabled = r.sound;
        Build();
        EXPECT_EQ(menu_->resolutionIndex, r.resolution) << r.width;
        EXPECT_EQ(menu_->sceneDetail, r.detailChoice) << r.detail;
        EXPECT_EQ(menu_->soundEnabled, r.soundChoice) << r.sound;
        EXPECT_EQ(menu_->screenValue.frame, static_cast<float>(r.resolution));
        EXPECT_EQ(menu_->detailValue.frame, static_cast<float>(r.detailChoice));
        EXPECT_EQ(menu_->soundValue.frame, static_cast<float>(r.soundChoice));
    }
}

TEST_F(OptionsTest, OkWritesConfigAndShowsTheRestartNotice) {
    ScopedTempDir dir;
    ScreenWidth = 1280;
    SceneDetail = 2;
    SoundEnabled = 1;
    Build();
    Open();
    ClickSound();
    ClickDetail();
    TakePlayed();
    ClickOk();
    EXPECT_EQ(ReadFileBytes("config.ini"),
              "SceneDetail 0\nScreenWidth 640\nScreenHeight 480\nScreenFormat 1\nSoundEnabled 0");
    EXPECT_EQ(menu_->optionsScreen, 0);
    EXPECT_EQ(menu_->mainMenuScreen, 1);
    EXPECT_EQ(menu_->messageShown, 1) << "the confirming click does not close the notice";
    EXPECT_EQ(menu_->messageKind, kMessageRestartNotice);
    EXPECT_EQ(PlayedCount(kSoundClick), 1);
    float ms = RunUntil([&] { return menu_->messageShown == 0; });
    EXPECT_NEAR(ms, 2000.0f, 3000.0f / fps_);
    EXPECT_EQ(SoundEnabled, 1) << "new settings wait for the next start";
}

TEST_F(OptionsTest, OkLeavesTheScreenEvenWhenConfigCannotBeWritten) {
    ScopedTempDir dir;
    // A folder where the file should be: it cannot be opened for writing.
    ASSERT_EQ(system("mkdir config.ini"), 0);
    Open();
    ClickOk();
    EXPECT_EQ(menu_->optionsScreen, 0);
    EXPECT_EQ(menu_->mainMenuScreen, 1);
    EXPECT_EQ(menu_->messageShown, 1);
}

TEST_F(OptionsTest, AClickOnNothingChangesNothing) {
    ScopedTempDir dir;
    Open();
    ClickAt(200.0f, 300.0f);
    EXPECT_EQ(menu_->optionsScreen, 1);
    EXPECT_EQ(menu_->optionsHover, kNoButton);
    EXPECT_EQ(menu_->resolutionIndex, 1);
    EXPECT_FALSE(FileExists("config.ini"));
}

}  // namespace
