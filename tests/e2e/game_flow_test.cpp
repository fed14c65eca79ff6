// The road from the intro screens into a level and back, driven like a player through voltrana-demo.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "e2e/e2e_harness.h"

using nlohmann::json;

namespace {

// Level dialog buttons at 800 × 600: centre (400, 300) plus the offsets of the painted buttons.
const int kRestartX = 400 - 165, kExitX = 400, kOkX = 400 + 165, kGapX = 400 - 86, kDialogButtonY = 300 + 128;
const int kNewGameX = 479, kNewGameY = 181;
const int kPasswordX = 511, kPasswordY = 238;
const int kCreditsX = 542, kCreditsY = 296;
const int kExitButtonX = 606, kExitButtonY = 411;

// Q, Z and X held together for one frame: the level counts as completed.
void CompleteLevel(ScriptBuilder& s, int frame) {
    for (const char* key : {"Q", "Z", "X"}) {
        s.KeyDown(frame, key);
        s.KeyUp(frame + 1, key);
    }
}

json Screens(const json& dump) {
    return dump["screens"];
}

int ScreensShown(const json& dump) {
    int n = 0;
    for (const auto& [name, flag] : dump["screens"].items()) n += flag.get<int>();
    return n;
}

// One run: skip the intro with Space, hover the buttons, start a new game, use the level dialog,
// leave to the menu, start again and complete level 1 with Q, Z and X.
class NewGameRun : public ::testing::Test {
public:
    static void SetUpTestSuite() {
        ScriptBuilder s;
        s.Dump(1, "intro1")
            .Tap(2, "SPACE")
            .Dump(2, "intro2")
            .Tap(4, "SPACE")
            .Dump(4, "intro3")
            .Tap(6, "SPACE");
        s.Dump(6, "menu");
        // Hover: onto NOVÁ HRA, onto HESLO, stay, off every button, back onto HESLO.
        s.Mouse(10, kNewGameX, kNewGameY).Mouse(14, kPasswordX, kPasswordY).Mouse(22, 100, 100);
        s.Mouse(26, kPasswordX, kPasswordY).Dump(29, "hover");
        for (int f = 30; f < 54; ++f) s.Shot(f, "blink" + std::to_string(f));
        // New game; Escape during the fade in does nothing.
        s.Click(60, kNewGameX, kNewGameY).Tap(70, "ESCAPE").Dump(71, "fading");
        s.Dump(101, "fadeLast").Dump(102, "dialog");
        // Drive bus 0 a little under the dialog, then try the dialog.
        s.KeyDown(110, "UP").KeyUp(114, "UP").Dump(120, "driven");
        s.Tap(125, "ESCAPE").Click(130, kGapX, kDialogButtonY).Dump(131, "gap");
        s.Click(140, kRestartX, kDialogButtonY).Dump(141, "restart");
        s.Tap(150, "ESCAPE").Dump(151, "escape");
        s.Click(160, kExitX, kDialogButtonY).Dump(161, "exit");
        s.Dump(215, "menuAgain");
        // Again, and complete the level.
        // The fade out ended a step below 0, so this fade in takes one frame more.
        s.Click(230, kNewGameX, kNewGameY).Dump(274, "dialogAgain");
        s.Click(280, kOkX, kDialogButtonY).Dump(281, "ok");
        CompleteLevel(s, 290);
        s.Dump(290, "complete").Tap(300, "ESCAPE").Dump(301, "fadingOut");
        s.Dump(340, "level2").Dump(390, "dialog2").Quit(391);
        run_ = std::make_unique<DemoRun>();
        status_ = run_->Run(s.Text());
    }
    static void TearDownTestSuite() { run_.reset(); }
    void SetUp() override { ASSERT_EQ(status_, 0) << run_->errors(); }

    static std::unique_ptr<DemoRun> run_;
    static int status_;
};
std::unique_ptr<DemoRun> NewGameRun::run_;
int NewGameRun::status_ = -1;

void NewGameRun_ThreeSpacePressesReachTheMainMenu() {
    EXPECT_EQ(Screens(NewGameRun::run_->Dump("intro1"))["intro1"], 1);
    EXPECT_EQ(Screens(NewGameRun::run_->Dump("intro2"))["intro2"], 1);
    EXPECT_EQ(Screens(NewGameRun::run_->Dump("intro3"))["intro3"], 1);
    const json menu = NewGameRun::run_->Dump("menu");
    EXPECT_EQ(Screens(menu)["mainMenu"], 1);
    EXPECT_EQ(ScreensShown(menu), 1);
    EXPECT_EQ(menu["active"], 1);
    EXPECT_TRUE(menu["sounds"]["played"].empty()) << "the intro screens play nothing";
}

void NewGameRun_HoverPlaysTheClickOncePerNewButton() {
    const json hover = NewGameRun::run_->Dump("hover");
    std::vector<int> frames;
    for (const auto& e : hover["sounds"]["played"]) {
        EXPECT_EQ(e["file"], "sounds/klik.wav");
        frames.push_back(e["frame"]);
    }
    EXPECT_EQ(frames, (std::vector<int>{10, 14, 26}));
    EXPECT_EQ(hover["hoveredButton"], 1);
}

void NewGameRun_HoveredButtonBlinksEvery333MillisecondsAndTheOthersStayStill() {
    // HESLO (virtual 389.5..632.5 × 211..264) is under the mouse; NOVÁ HRA above it is not.
    std::vector<int> changes;
    Picture previous = NewGameRun::run_->Shot("blink30");
    ASSERT_TRUE(previous.Valid());
    for (int f = 31; f < 54; ++f) {
        const Picture shot = NewGameRun::run_->Shot("blink" + std::to_string(f));
        ASSERT_TRUE(shot.Valid()) << f;
        if (shot.RegionDiffers(previous, 390, 212, 632, 263)) changes.push_back(f);
        EXPECT_FALSE(shot.RegionDiffers(previous, 358, 155, 600, 207)) << "NOVÁ HRA changed at frame " << f;
        previous = shot;
    }
    // At 30 frames per second the lit phase changes every 10 or 11 frames.
    ASSERT_GE(changes.size(), 2u);
    for (size_t i = 1; i < changes.size(); ++i) {
        EXPECT_GE(changes[i] - changes[i - 1], 10);
        EXPECT_LE(changes[i] - changes[i - 1], 11);
    }
}

void NewGameRun_NewGameFadesInForAbout1429MillisecondsThenShowsTheDialogOfLevel1() {
    const json fading = NewGameRun::run_->Dump("fading");
    EXPECT_EQ(fading["active"], 0);
    EXPECT_EQ(fading["fadingIn"], 1);
    EXPECT_EQ(fading["levelDialogShown"], 0) << "Escape during the fade opened the dialog";
    EXPECT_EQ(fading["currentLevel"], 1);
    EXPECT_EQ(fading["isNight"], 0);
    EXPECT_EQ(Screens(fading)["mainMenu"], 1) << "the main menu is what the game returns to";
    EXPECT_EQ(CountPlays(fading, "sounds/den.wav"), 1);
    EXPECT_EQ(fading["sounds"]["looping"], json::array({"sounds/den.wav"}));
    EXPECT_EQ(fading["world"]["busCount"], 6);
    EXPECT_EQ(fading["world"]["obstacleCount"], 2);

    // Clicked at frame 60: the fade's 43rd step, 1433 ms later, passes 1 and raises the dialog.
    const json last = NewGameRun::run_->Dump("fadeLast");
    EXPECT_EQ(last["fadingIn"], 1);
    EXPECT_EQ(last["levelDialogShown"], 0);
    EXPECT_NEAR(last["fadeValue"].get<double>(), 42 * 0.7 / 30, 1e-3);
    const json dialog = NewGameRun::run_->Dump("dialog");
    EXPECT_EQ(dialog["fadingIn"], 0);
    EXPECT_EQ(dialog["levelDialogShown"], 1);
    EXPECT_GT(dialog["fadeValue"].get<double>(), 1.0);
    EXPECT_EQ(dialog["sounds"]["looping"], json::array({"sounds/den.wav"}));
}

void NewGameRun_DialogGapAndEscapeDoNothingRestartRebuildsTheLevel() {
    const json driven = NewGameRun::run_->Dump("driven");
    const json& bus0 = driven["world"]["buses"][0];
    EXPECT_LT(bus0["position"][2].get<double>(), 10 - 1.0) << "bus 0 was driven towards the exit";

    const json gap = NewGameRun::run_->Dump("gap");
    EXPECT_EQ(gap["levelDialogShown"], 1);
    EXPECT_TRUE(gap["sounds"]["played"].empty());

    const json restart = NewGameRun::run_->Dump("restart");
    EXPECT_EQ(restart["levelDialogShown"], 0);
    EXPECT_EQ(restart["fadingIn"], 0);
    EXPECT_EQ(CountPlays(restart, "sounds/start.wav"), 1);
    EXPECT_EQ(restart["sounds"]["played"].size(), 1u);
    EXPECT_EQ(restart["currentLevel"], 1);
    EXPECT_EQ(restart["sounds"]["looping"], json::array({"sounds/den.wav"}))
        << "RESTART leaves the sounds alone";
    const json& fresh = restart["world"]["buses"][0];
    EXPECT_NEAR(fresh["position"][0].get<double>(), -10, 0.1);
    EXPECT_NEAR(fresh["position"][2].get<double>(), 10, 0.1);
    EXPECT_EQ(fresh["speed"], 0.0);
    EXPECT_EQ(restart["world"]["busCount"], 6);
    EXPECT_EQ(restart["world"]["selectedBus"], 0);
}

void NewGameRun_EscapeOpensTheDialogAndExitFadesBackToTheSilentMainMenu() {
    EXPECT_EQ(NewGameRun::run_->Dump("escape")["levelDialogShown"], 1);
    const json exit = NewGameRun::run_->Dump("exit");
    EXPECT_EQ(exit["levelDialogShown"], 0);
    EXPECT_EQ(exit["fadingToMenu"], 1);
    EXPECT_EQ(exit["active"], 0);
    EXPECT_EQ(CountPlays(exit, "sounds/klik.wav"), 1);
    const json menu = NewGameRun::run_->Dump("menuAgain");
    EXPECT_EQ(menu["active"], 1);
    EXPECT_EQ(menu["fadingToMenu"], 0);
    EXPECT_EQ(Screens(menu)["mainMenu"], 1);
    EXPECT_EQ(ScreensShown(menu), 1);
    EXPECT_TRUE(menu["sounds"]["looping"].empty()) << menu["sounds"].dump();
}

void NewGameRun_OkClosesTheDialogAndCompletionFadesIntoLevel2WithTheNightLoop() {
    EXPECT_EQ(NewGameRun::run_->Dump("dialogAgain")["levelDialogShown"], 1);
    const json ok = NewGameRun::run_->Dump("ok");
    EXPECT_EQ(ok["levelDialogShown"], 0);
    EXPECT_EQ(CountPlays(ok, "sounds/start.wav"), 1);

    const json complete = NewGameRun::run_->Dump("complete");
    EXPECT_EQ(complete["fadingToNextLevel"], 1);
    EXPECT_EQ(CountPlays(complete, "sounds/konec.wav"), 1);
    const json fadingOut = NewGameRun::run_->Dump("fadingOut");
    EXPECT_EQ(fadingOut["levelDialogShown"], 0) << "Escape during the fade out opened the dialog";
    EXPECT_EQ(CountPlays(fadingOut, "sounds/konec.wav"), 0) << "the completion sound plays once";

    const json level2 = NewGameRun::run_->Dump("level2");
    EXPECT_EQ(level2["currentLevel"], 2);
    EXPECT_EQ(level2["isNight"], 1);
    EXPECT_EQ(level2["fadingToNextLevel"], 0);
    EXPECT_EQ(level2["fadingIn"], 1);
    EXPECT_EQ(level2["active"], 0);
    EXPECT_EQ(CountPlays(level2, "sounds/noc.wav"), 1);
    EXPECT_EQ(level2["sounds"]["looping"], json::array({"sounds/noc.wav"}));
    EXPECT_EQ(level2["world"]["busCount"], 7);
    EXPECT_EQ(level2["world"]["obstacleCount"], 4);
    const json dialog2 = NewGameRun::run_->Dump("dialog2");
    EXPECT_EQ(dialog2["levelDialogShown"], 1);
    EXPECT_EQ(dialog2["currentLevel"], 2);
}

// Every check above, on the one run (a run per check would multiply the time under CTest).
TEST_F(NewGameRun, Checks) {
    {
        SCOPED_TRACE("ThreeSpacePressesReachTheMainMenu");
        NewGameRun_ThreeSpacePressesReachTheMainMenu();
    }
    {
        SCOPED_TRACE("HoverPlaysTheClickOncePerNewButton");
        NewGameRun_HoverPlaysTheClickOncePerNewButton();
    }
    {
        SCOPED_TRACE("HoveredButtonBlinksEvery333MillisecondsAndTheOthersStayStill");
        NewGameRun_HoveredButtonBlinksEvery333MillisecondsAndTheOthersStayStill();
    }
    {
        SCOPED_TRACE("NewGameFadesInForAbout1429MillisecondsThenShowsTheDialogOfLevel1");
        NewGameRun_NewGameFadesInForAbout1429MillisecondsThenShowsTheDialogOfLevel1();
    }
    {
        SCOPED_TRACE("DialogGapAndEscapeDoNothingRestartRebuildsTheLevel");
        NewGameRun_DialogGapAndEscapeDoNothingRestartRebuildsTheLevel();
    }
    {
        SCOPED_TRACE("EscapeOpensTheDialogAndExitFadesBackToTheSilentMainMenu");
        NewGameRun_EscapeOpensTheDialogAndExitFadesBackToTheSilentMainMenu();
    }
    {
        SCOPED_TRACE("OkClosesTheDialogAndCompletionFadesIntoLevel2WithTheNightLoop");
        NewGameRun_OkClosesTheDialogAndCompletionFadesIntoLevel2WithTheNightLoop();
    }
}

// Passwords: a wrong one shows the message for two seconds or until a click; a known one starts
// its level.
class PasswordRun : public ::testing::Test {
public:
    static void SetUpTestSuite() {
        ScriptBuilder s;
        s.Tap(2, "SPACE").Tap(4, "SPACE").Tap(6, "SPACE");
        s.Click(10, kPasswordX, kPasswordY).Dump(11, "screen");
        int f = s.Type(14, "NERAB");
        s.Dump(f, "typed").Tap(26, "RETURN").Dump(26, "wrong").Dump(80, "wrongLate").Dump(90, "wrongGone");
        // Four letters fail too; KREDITY under the mouse still lights up (with its sound), but a click on
        // it only closes the message.
        s.Click(100, kPasswordX, kPasswordY);
        f = s.Type(104, "NERA");
        s.Tap(f + 2, "RETURN").Dump(f + 2, "four");
        s.Mouse(125, kCreditsX, kCreditsY).Dump(127, "hoverDuringMessage");
        s.Click(130, kCreditsX, kCreditsY).Dump(130, "closed").Dump(132, "stillMenu");
        // The password of level 5.
        s.Click(140, kPasswordX, kPasswordY);
        f = s.Type(144, "KUCUR");
        s.Tap(f + 2, "RETURN").Dump(f + 2, "kucur").Quit(f + 4);
        run_ = std::make_unique<DemoRun>();
        status_ = run_->Run(s.Text());
    }
    static void TearDownTestSuite() { run_.reset(); }
    void SetUp() override { ASSERT_EQ(status_, 0) << run_->errors(); }

    static std::unique_ptr<DemoRun> run_;
    static int status_;
};
std::unique_ptr<DemoRun> PasswordRun::run_;
int PasswordRun::status_ = -1;

void PasswordRun_WrongPasswordShowsTheMessageForTwoSeconds() {
    const json screen = PasswordRun::run_->Dump("screen");
    EXPECT_EQ(Screens(screen)["password"], 1);
    EXPECT_EQ(Screens(screen)["mainMenu"], 0);
    const json typed = PasswordRun::run_->Dump("typed");
    EXPECT_EQ(typed["passwordInput"], "NERAB_  ");
    EXPECT_EQ(typed["cursor"], 5);
    EXPECT_EQ(CountPlays(typed, "sounds/klik.wav"), 5);

    const json wrong = PasswordRun::run_->Dump("wrong");
    EXPECT_EQ(wrong["messageShown"], 1);
    EXPECT_EQ(wrong["messageKind"], 1);
    EXPECT_EQ(Screens(wrong)["mainMenu"], 1);
    EXPECT_EQ(Screens(wrong)["password"], 0);
    EXPECT_EQ(wrong["passwordInput"], "        ");
    EXPECT_EQ(wrong["active"], 1);
    EXPECT_EQ(wrong["currentLevel"], 0);
    // 54 frames later (1.8 s) it is still up; 64 frames later (2.13 s) it is gone.
    EXPECT_EQ(PasswordRun::run_->Dump("wrongLate")["messageShown"], 1);
    EXPECT_EQ(PasswordRun::run_->Dump("wrongGone")["messageShown"], 0);
}

void PasswordRun_FourLettersFailAndAClickOnAButtonOnlyClosesTheMessage() {
    const json four = PasswordRun::run_->Dump("four");
    EXPECT_EQ(four["messageShown"], 1);
    EXPECT_EQ(four["messageKind"], 1);
    const json hover = PasswordRun::run_->Dump("hoverDuringMessage");
    EXPECT_EQ(hover["messageShown"], 1);
    EXPECT_EQ(hover["hoveredButton"], 2);
    EXPECT_EQ(CountPlays(hover, "sounds/klik.wav"), 1);
    const json closed = PasswordRun::run_->Dump("closed");
    EXPECT_EQ(closed["messageShown"], 0);
    EXPECT_EQ(CountPlays(closed, "sounds/klik.wav"), 0) << closed["sounds"].dump();
    const json after = PasswordRun::run_->Dump("stillMenu");
    EXPECT_EQ(Screens(after)["mainMenu"], 1);
    EXPECT_EQ(Screens(after)["credits"], 0);
}

void PasswordRun_KnownPasswordStartsItsLevelAtNight() {
    const json kucur = PasswordRun::run_->Dump("kucur");
    EXPECT_EQ(kucur["active"], 0);
    EXPECT_EQ(kucur["fadingIn"], 1);
    EXPECT_EQ(kucur["currentLevel"], 5);
    EXPECT_EQ(kucur["isNight"], 1);
    EXPECT_EQ(kucur["world"]["busCount"], 16);
    EXPECT_EQ(kucur["world"]["obstacleCount"], 7);
    EXPECT_EQ(Screens(kucur)["mainMenu"], 1);
    EXPECT_EQ(Screens(kucur)["password"], 0);
    EXPECT_EQ(kucur["messageShown"], 0);
    EXPECT_EQ(CountPlays(kucur, "sounds/noc.wav"), 1);
    EXPECT_EQ(kucur["sounds"]["looping"], json::array({"sounds/noc.wav"}));
}

// Every check above, on the one run (a run per check would multiply the time under CTest).
TEST_F(PasswordRun, Checks) {
    {
        SCOPED_TRACE("WrongPasswordShowsTheMessageForTwoSeconds");
        PasswordRun_WrongPasswordShowsTheMessageForTwoSeconds();
    }
    {
        SCOPED_TRACE("FourLettersFailAndAClickOnAButtonOnlyClosesTheMessage");
        PasswordRun_FourLettersFailAndAClickOnAButtonOnlyClosesTheMessage();
    }
    {
        SCOPED_TRACE("KnownPasswordStartsItsLevelAtNight");
        PasswordRun_KnownPasswordStartsItsLevelAtNight();
    }
}

// Level 25 by its password, completed: the closing screen with the outro, back to the intro on a key,
// and the main menu's EXIT ending the program.
class LastLevelRun : public ::testing::Test {
public:
    static void SetUpTestSuite() {
        ScriptBuilder s;
        s.Tap(2, "SPACE").Tap(4, "SPACE").Tap(6, "SPACE");
        s.Click(10, kPasswordX, kPasswordY);
        const int f = s.Type(14, "KAVUH");
        s.Tap(f, "RETURN").Dump(f, "level25");
        s.Click(80, kOkX, kDialogButtonY);
        CompleteLevel(s, 90);
        s.Dump(90, "complete").Dump(180, "closing").Dump(181, "closingLater");
        s.Tap(200, "SPACE").Dump(200, "introAgain");
        s.Tap(202, "SPACE").Tap(204, "SPACE").Tap(206, "SPACE").Dump(207, "menu");
        s.Click(210, kExitButtonX, kExitButtonY).Dump(230, "afterExit").Dump(400, "never");
        run_ = std::make_unique<DemoRun>();
        status_ = run_->Run(s.Text());
    }
    static void TearDownTestSuite() { run_.reset(); }

    static std::unique_ptr<DemoRun> run_;
    static int status_;
};
std::unique_ptr<DemoRun> LastLevelRun::run_;
int LastLevelRun::status_ = -1;

void LastLevelRun_CompletingLevel25ShowsTheClosingScreenWithTheOutroOnce() {
    const json level25 = LastLevelRun::run_->Dump("level25");
    EXPECT_EQ(level25["currentLevel"], 25);
    EXPECT_EQ(level25["isNight"], 0);
    EXPECT_EQ(level25["sounds"]["looping"], json::array({"sounds/den.wav"}));
    EXPECT_EQ(CountPlays(LastLevelRun::run_->Dump("complete"), "sounds/konec.wav"), 1);

    const json closing = LastLevelRun::run_->Dump("closing");
    EXPECT_EQ(closing["active"], 1);
    EXPECT_EQ(Screens(closing)["closing"], 1);
    EXPECT_EQ(ScreensShown(closing), 1);
    EXPECT_EQ(closing["fadingIn"], 0);
    EXPECT_EQ(closing["fadingToNextLevel"], 0);
    EXPECT_EQ(closing["currentLevel"], 26);
    EXPECT_EQ(CountPlays(closing, "sounds/outro.wav"), 1);
    EXPECT_TRUE(closing["sounds"]["looping"].empty()) << closing["sounds"].dump();
    EXPECT_EQ(CountPlays(LastLevelRun::run_->Dump("closingLater"), "sounds/outro.wav"), 0);
}

void LastLevelRun_ClosingScreenReturnsToTheFirstIntroOnAKeyAndExitEndsTheProgram() {
    const json intro = LastLevelRun::run_->Dump("introAgain");
    EXPECT_EQ(Screens(intro)["intro1"], 1);
    EXPECT_EQ(ScreensShown(intro), 1);
    EXPECT_TRUE(intro["sounds"]["played"].empty());
    EXPECT_EQ(Screens(LastLevelRun::run_->Dump("menu"))["mainMenu"], 1);
    EXPECT_EQ(LastLevelRun::status_, 0) << LastLevelRun::run_->errors();
    EXPECT_FALSE(LastLevelRun::run_->HasDump("afterExit")) << "the program went on after EXIT";
    EXPECT_FALSE(LastLevelRun::run_->HasDump("never"));
}

// Every check above, on the one run (a run per check would multiply the time under CTest).
TEST_F(LastLevelRun, Checks) {
    {
        SCOPED_TRACE("CompletingLevel25ShowsTheClosingScreenWithTheOutroOnce");
        LastLevelRun_CompletingLevel25ShowsTheClosingScreenWithTheOutroOnce();
    }
    {
        SCOPED_TRACE("ClosingScreenReturnsToTheFirstIntroOnAKeyAndExitEndsTheProgram");
        LastLevelRun_ClosingScreenReturnsToTheFirstIntroOnAKeyAndExitEndsTheProgram();
    }
}

// Without input each intro screen lasts 134 frames at 30 fps (its timer passes 2 after 4444 ms), so
// the main menu comes up at frame 402, 13.4 s in.
TEST(IntroTimer, MainMenuComesUpByItselfAfterAbout13Seconds) {
    ScriptBuilder s;
    s.Dump(133, "intro1").Dump(134, "intro2").Dump(268, "intro3").Dump(401, "intro3Late").Dump(402, "menu");
    DemoRun run;
    ASSERT_EQ(run.Run(s.Text(), {"--frames", "404"}), 0) << run.errors();
    EXPECT_EQ(Screens(run.Dump("intro1"))["intro1"], 1);
    EXPECT_EQ(Screens(run.Dump("intro2"))["intro2"], 1);
    EXPECT_EQ(Screens(run.Dump("intro3"))["intro3"], 1);
    EXPECT_EQ(Screens(run.Dump("intro3Late"))["intro3"], 1);
    const json menu = run.Dump("menu");
    EXPECT_EQ(Screens(menu)["mainMenu"], 1);
    EXPECT_EQ(ScreensShown(menu), 1);
}

}  // namespace
