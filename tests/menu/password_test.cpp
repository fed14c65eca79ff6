// The password screen: typing, erasing, confirming and cancelling, and the invalid-password message.
#include "menu/menu_harness.h"

namespace {

class PasswordTest : public MenuHarness {
protected:
    void SetUp() override { MenuHarness::SetUp(), Show(&Menu::passwordScreen); }
    void Reopen() { Build(), Show(&Menu::passwordScreen); }
    std::string Input() const { return menu_->passwordInput; }
    // The input and the cursor, as "AB_     |2".
    std::string State() const { return Input() + "|" + std::to_string(menu_->cursor); }
};

// A player's view of the 25 levels: the password the level dialog shows, and whether the level plays
// by night. Typing the word resumes that level with its loop.
TEST_F(PasswordTest, EveryLevelsPasswordResumesThatLevelByDayOrByNight) {
    const struct {
        const char* word;
        bool night;
    } levels[25] = {{"NERAD", 0}, {"FICUJ", 1}, {"CASOD", 0}, {"KASAF", 0}, {"KUCUR", 1},
                    {"CECUG", 0}, {"MOGUF", 0}, {"MUHAJ", 0}, {"PADUC", 1}, {"JOSIT", 1},
                    {"TIMEH", 0}, {"KAMUV", 0}, {"NOMUD", 0}, {"FUSEN", 1}, {"GOSAD", 1},
                    {"NIPUV", 0}, {"TADIV", 0}, {"DAMUT", 1}, {"MOPAT", 0}, {"PEFOC", 0},
                    {"JIGER", 1}, {"RODET", 0}, {"LOPOK", 0}, {"GAHEK", 1}, {"KAVUH", 0}};
    isNight = 0;  // level 7 keeps the light of the level before: level 6's day
    for (int level = 1; level <= 25; ++level) {
        Reopen(), Type(levels[level - 1].word);
        TakePlayed(), Tap(level % 2 ? DIK_RETURN : DIK_NUMPADENTER);
        // The game hands back to the main menu, fading into the level with its loop.
        EXPECT_TRUE(currentLevel == level && menu_->active == 0 && menu_->fadingIn == 1 &&
                    menu_->messageShown == 0 && menu_->mainMenuScreen == 1 && Input() == "        ")
            << levels[level - 1].word;
        const int loop = levels[level - 1].night ? kSoundNightLoop : kSoundDayLoop;
        EXPECT_EQ(TakePlayed(), (std::vector<SoundEvent>{{kSoundClick, false}, {loop, true}})) << level;
    }
}

TEST_F(PasswordTest, TypingAndErasingAtTheCursorEachWithTheClick) {
    EXPECT_EQ(Input(), "        ");
    Frame();
    EXPECT_EQ(Input(), "_       ");
    TakePlayed();
    // The Y and Z positions swapped; Q and W type nothing.
    for (int key : {DIK_Y, DIK_Z, DIK_Q, DIK_W}) Tap(key);
    EXPECT_EQ(State(), "ZY_     |2");
    // Several letters in one frame go in key order.
    KeyDown(DIK_C), KeyDown(DIK_A), Frame();
    KeyDown(DIK_C, false), KeyDown(DIK_A, false), Frame();
    EXPECT_EQ(Input(), "ZYAC_   ");
    EXPECT_EQ(TakePlayed(), std::vector<SoundEvent>(4, {kSoundClick, false}));
    // At most five letters; erasing at the first position leaves the cursor there.
    Type("BDE");
    EXPECT_EQ(State(), "ZYACB_  |5");
    Tap(DIK_BACK);
    EXPECT_EQ(State(), "ZYAC_   |4");
    EXPECT_EQ(TakePlayed(), std::vector<SoundEvent>(4, {kSoundClick, false}))
        << "the refused sixth letter clicks too";
    for (int i = 0; i < 6; ++i) Tap(DIK_BACK);
    EXPECT_EQ(State(), "_       |0");
}

TEST_F(PasswordTest, WrongPasswordsShowTheMessageUntilAKeyOrAClick) {
    for (const char* word : {"NERA", "LIBES", "QQQQQ", "NERAC", ""}) {
        Reopen(), Type(word), Tap(DIK_RETURN);
        // The message is up: the confirming key does not close it.
        EXPECT_TRUE(menu_->active == 1 && menu_->mainMenuScreen == 1 && menu_->passwordScreen == 0 &&
                    menu_->messageShown == 1 && menu_->messageKind == kMessageInvalidPassword &&
                    Input() == "        ")
            << word;
    }
    for (int key : {DIK_RETURN, DIK_SPACE, DIK_ESCAPE, DIK_NUMPADENTER, -1}) {
        menu_->messageShown = 1;
        RunFor(300.0f);
        key < 0 ? Click() : Tap(key);
        EXPECT_TRUE(menu_->messageShown == 0 && menu_->messageTimer == 0.0f) << key;
    }
}

TEST_F(PasswordTest, ReturnHeldWhileTheScreenOpensFailsAndTheMessageStaysTwoSecondsWhileItIsHeld) {
    KeyDown(DIK_RETURN), Frame();
    EXPECT_TRUE(menu_->passwordScreen == 0 && menu_->messageShown == 1 &&
                menu_->messageKind == kMessageInvalidPassword);
    float ms = 1000.0f / fps_ + RunUntil([&] { return menu_->messageShown == 0; });
    EXPECT_NEAR(ms, 2000.0f, 1000.0f / fps_ + 0.5f);
    EXPECT_EQ(menu_->messageTimer, 0.0f);
}

// Escape alone cancels (the scripted menu walk); with Return in the same frame the cancelled, empty
// input is confirmed too and matches nothing.
TEST_F(PasswordTest, EscapeWithReturnCancelsAndFailsWithTheMessage) {
    Type("NERAD"), KeyDown(DIK_ESCAPE), KeyDown(DIK_RETURN), Frame();
    EXPECT_TRUE(menu_->passwordScreen == 0 && menu_->mainMenuScreen == 1 && menu_->active == 1 &&
                Input() == "        " && menu_->messageShown == 1);
}

TEST_F(PasswordTest, OkLightsUpAndConfirmsAClickBesideDoesNothing) {
    Type("NERAD"), ClickAtVirtual(300.0f, 400.0f);
    EXPECT_TRUE(menu_->passwordScreen == 1 && Input() == "NERAD_  ");
    MouseAtVirtual(603.0f, 373.0f);  // OK
    Frame();
    EXPECT_TRUE(menu_->okButton.color.r == 1.0f && menu_->cancelButton.color.r == 0.5f);
    Click();
    EXPECT_TRUE(currentLevel == 1 && menu_->active == 0);
    // A wrong word confirmed by a click: the click does not close the message it raised.
    Reopen(), Type("ABCDE"), ClickAtVirtual(603.0f, 373.0f);
    EXPECT_EQ(menu_->messageShown, 1);
}

}  // namespace
