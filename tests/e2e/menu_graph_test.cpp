// One player's walk through the whole screen graph (scripts/menu_graph.txt), checked dump by dump.
#include <gtest/gtest.h>

#include <memory>

#include "e2e/e2e_harness.h"

using nlohmann::json;

namespace {

class MenuGraph : public ::testing::Test {
public:
    static void SetUpTestSuite() {
        run_ = std::make_unique<DemoRun>();
        status_ = run_->RunFile(ScriptPath("menu_graph.txt"));
    }
    static void TearDownTestSuite() { run_.reset(); }
    void SetUp() override { ASSERT_EQ(status_, 0) << run_->errors(); }

    // The dump, which must exist.
    static json At(const std::string& name) {
        const json dump = run_->Dump(name);
        EXPECT_TRUE(dump.is_object()) << "no dump " << name;
        return dump.is_object() ? dump
                                : json::object({{"screens", json::object()}, {"sounds", json::object()}});
    }
    // The dump shows menu mode with exactly this screen flag set.
    static void ExpectScreen(const std::string& name, const std::string& screen) {
        const json dump = At(name);
        EXPECT_EQ(dump["active"], 1) << name;
        for (const auto& [flag, value] : dump["screens"].items())
            EXPECT_EQ(value, flag == screen ? 1 : 0) << name << ": " << flag;
    }
    static int Clicks(const std::string& name) { return CountPlays(At(name), "sounds/klik.wav"); }

    static std::unique_ptr<DemoRun> run_;
    static int status_;
};
std::unique_ptr<DemoRun> MenuGraph::run_;
int MenuGraph::status_ = -1;

void MenuGraph_IntroScreensLeaveByTimerAndBySpaceSilently() {
    MenuGraph::ExpectScreen("01_intro1", "intro1");
    MenuGraph::ExpectScreen("02_intro2_by_timer", "intro2");
    MenuGraph::ExpectScreen("03_intro3_by_space", "intro3");
    MenuGraph::ExpectScreen("04_intro3_still", "intro3");
    MenuGraph::ExpectScreen("05_menu_by_timer", "mainMenu");
    MenuGraph::ExpectScreen("31_intro1_from_closing", "intro1");
    MenuGraph::ExpectScreen("32_intro2_by_space", "intro2");
    MenuGraph::ExpectScreen("33_intro2_still", "intro2");
    MenuGraph::ExpectScreen("34_intro3_by_timer", "intro3");
    MenuGraph::ExpectScreen("35_menu_by_space", "mainMenu");
    for (const char* name :
         {"01_intro1", "02_intro2_by_timer", "03_intro3_by_space", "04_intro3_still", "05_menu_by_timer",
          "32_intro2_by_space", "33_intro2_still", "34_intro3_by_timer", "35_menu_by_space"})
        EXPECT_TRUE(MenuGraph::At(name)["sounds"]["played"].empty()) << name;
}

void MenuGraph_CreditsOpenWithAClickAndCloseByKeyOrClickWithoutSound() {
    MenuGraph::ExpectScreen("06_credits", "credits");
    EXPECT_EQ(MenuGraph::Clicks("06_credits"), 2);  // the hover and the click
    MenuGraph::ExpectScreen("07_menu_from_credits_by_key", "mainMenu");
    EXPECT_EQ(MenuGraph::Clicks("07_menu_from_credits_by_key"), 0);
    MenuGraph::ExpectScreen("08_menu_from_credits_by_click", "mainMenu");
    EXPECT_EQ(MenuGraph::Clicks("08_menu_from_credits_by_click"), 1);  // only the click that opened them
}

void MenuGraph_PasswordScreenCancelsByStornoAndEscapeAndChecksTheWord() {
    MenuGraph::ExpectScreen("09_password", "password");
    MenuGraph::ExpectScreen("10_menu_from_password_storno", "mainMenu");
    EXPECT_EQ(MenuGraph::Clicks("10_menu_from_password_storno"), 1);
    MenuGraph::ExpectScreen("11_menu_from_password_escape", "mainMenu");
    const json invalid = MenuGraph::At("12_menu_with_invalid_password");
    MenuGraph::ExpectScreen("12_menu_with_invalid_password", "mainMenu");
    EXPECT_EQ(invalid["messageShown"], 1);
    EXPECT_EQ(invalid["messageKind"], 1);
    EXPECT_EQ(MenuGraph::At("13_message_closed")["messageShown"], 0);
    const json game = MenuGraph::At("14_game_by_password");
    EXPECT_EQ(game["active"], 0);
    EXPECT_EQ(game["fadingIn"], 1);
    EXPECT_EQ(game["currentLevel"], 1);
    EXPECT_EQ(game["screens"]["mainMenu"], 1);
    EXPECT_EQ(game["screens"]["password"], 0);
    EXPECT_EQ(game["sounds"]["looping"], json::array({"sounds/den.wav"}));
}

void MenuGraph_DialogExitFadesToTheMainMenu() {
    EXPECT_EQ(MenuGraph::At("15_dialog")["levelDialogShown"], 1);
    const json fading = MenuGraph::At("16_fading_to_menu");
    EXPECT_EQ(fading["fadingToMenu"], 1);
    EXPECT_EQ(MenuGraph::Clicks("16_fading_to_menu"), 1);
    MenuGraph::ExpectScreen("17_menu_from_game", "mainMenu");
    EXPECT_TRUE(MenuGraph::At("17_menu_from_game")["sounds"]["looping"].empty());
}

void MenuGraph_OptionsOkStornoAndEscape() {
    MenuGraph::ExpectScreen("18_options", "options");
    const json notice = MenuGraph::At("19_menu_with_restart_notice");
    MenuGraph::ExpectScreen("19_menu_with_restart_notice", "mainMenu");
    EXPECT_EQ(notice["messageShown"], 1);
    EXPECT_EQ(notice["messageKind"], 0);
    EXPECT_EQ(notice["sceneDetail"], 2);
    MenuGraph::ExpectScreen("20_menu_from_options_storno", "mainMenu");
    EXPECT_EQ(MenuGraph::At("20_menu_from_options_storno")["messageShown"], 0);
    MenuGraph::ExpectScreen("21_menu_from_options_escape", "mainMenu");
    EXPECT_EQ(MenuGraph::run_->File("config.ini"),
              "SceneDetail 2\nScreenWidth 800\nScreenHeight 600\nScreenFormat 1\nSoundEnabled 1");
}

void MenuGraph_NewGameAndLevelCompletion() {
    const json game = MenuGraph::At("22_new_game");
    EXPECT_EQ(game["active"], 0);
    EXPECT_EQ(game["currentLevel"], 1);
    EXPECT_EQ(MenuGraph::At("23_dialog")["levelDialogShown"], 1);
    const json completed = MenuGraph::At("24_completed");
    EXPECT_EQ(completed["fadingToNextLevel"], 1);
    EXPECT_EQ(CountPlays(completed, "sounds/konec.wav"), 1);
    const json level2 = MenuGraph::At("25_level2");
    EXPECT_EQ(level2["currentLevel"], 2);
    EXPECT_EQ(level2["sounds"]["looping"], json::array({"sounds/noc.wav"}));
    EXPECT_EQ(MenuGraph::Clicks("25_level2"), 0) << "a completed level hands over without a click";
}

void MenuGraph_LastLevelLeadsToTheClosingScreenAndBackToTheIntro() {
    EXPECT_EQ(MenuGraph::At("28_level25")["currentLevel"], 25);
    EXPECT_EQ(MenuGraph::At("29_dialog25")["levelDialogShown"], 1);
    MenuGraph::ExpectScreen("30_closing", "closing");
    const json closing = MenuGraph::At("30_closing");
    EXPECT_EQ(CountPlays(closing, "sounds/outro.wav"), 1);
    EXPECT_EQ(CountPlays(closing, "sounds/klik.wav"), 0);
    EXPECT_TRUE(closing["sounds"]["looping"].empty());
    EXPECT_EQ(MenuGraph::Clicks("31_intro1_from_closing"), 0);
}

void MenuGraph_ExitEndsTheProgram() {
    EXPECT_EQ(MenuGraph::status_, 0);
    EXPECT_FALSE(MenuGraph::run_->HasDump("36_never"));
}

// Every check above, on the one run (a run per check would multiply the time under CTest).
TEST_F(MenuGraph, Checks) {
    {
        SCOPED_TRACE("IntroScreensLeaveByTimerAndBySpaceSilently");
        MenuGraph_IntroScreensLeaveByTimerAndBySpaceSilently();
    }
    {
        SCOPED_TRACE("CreditsOpenWithAClickAndCloseByKeyOrClickWithoutSound");
        MenuGraph_CreditsOpenWithAClickAndCloseByKeyOrClickWithoutSound();
    }
    {
        SCOPED_TRACE("PasswordScreenCancelsByStornoAndEscapeAndChecksTheWord");
        MenuGraph_PasswordScreenCancelsByStornoAndEscapeAndChecksTheWord();
    }
    {
        SCOPED_TRACE("DialogExitFadesToTheMainMenu");
        MenuGraph_DialogExitFadesToTheMainMenu();
    }
    {
        SCOPED_TRACE("OptionsOkStornoAndEscape");
        MenuGraph_OptionsOkStornoAndEscape();
    }
    {
        SCOPED_TRACE("NewGameAndLevelCompletion");
        MenuGraph_NewGameAndLevelCompletion();
    }
    {
        SCOPED_TRACE("LastLevelLeadsToTheClosingScreenAndBackToTheIntro");
        MenuGraph_LastLevelLeadsToTheClosingScreenAndBackToTheIntro();
    }
    {
        SCOPED_TRACE("ExitEndsTheProgram");
        MenuGraph_ExitEndsTheProgram();
    }
}

}  // namespace
