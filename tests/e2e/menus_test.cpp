// One player's walk through the menus, checked dump by dump: the intro screens, the credits, the
// password screen and its message, the blinking main menu, the options and config.ini, and EXIT.
#include <gtest/gtest.h>

#include "e2e/e2e_harness.h"

namespace {

const int kResolutionX = 577, kResolutionY = 225, kDetailX = 577, kDetailY = 309, kSoundX = 573,
          kSoundY = 389, kOptionsOkX = 602, kOptionsOkY = 461, kStornoX = 649, kStornoY = 500;

TEST(Menus, AWalkThroughEveryScreen) {
    ScriptBuilder s;
    // The first intro screen leaves by its timer (frame 134), the second by Space, the third by timer.
    s.Dump(133, "intro1").Dump(134, "intro2").Tap(140, "SPACE").Dump(140, "intro3").Dump(270, "intro3Late");
    s.Dump(280, "menu");
    // Credits: opened by a click, closed by Return, opened again, closed by a click.
    s.Click(285, kCreditsX, kCreditsY).Dump(285, "credits").Tap(290, "RETURN").Dump(290, "creditsByKey");
    s.Click(295, kCreditsX, kCreditsY).Click(300, 100, 100).Dump(300, "creditsByClick");
    // Password: STORNO, Escape held, a wrong word, four letters.
    s.Click(305, kPasswordX, kPasswordY).Dump(305, "password").Click(310, 647, 418).Dump(310, "storno");
    s.Click(315, kPasswordX, kPasswordY).Hold(317, 318, "ESCAPE").Dump(318, "escape");
    s.Click(320, kPasswordX, kPasswordY).Dump(321, "passwordAgain");
    s.Dump(s.Type(324, "NERAB"), "typed").Tap(336, "RETURN").Dump(336, "wrong");
    s.Dump(390, "wrongLate").Dump(400, "wrongGone");  // 1.8 s and 2.13 s later
    s.Click(410, kPasswordX, kPasswordY);
    s.Tap(s.Type(414, "NERA") + 2, "RETURN").Dump(424, "four");
    // Under the message KREDITY still lights up with its sound, but a click only closes the message.
    s.Mouse(435, kCreditsX, kCreditsY).Dump(437, "hoverUnderMessage").Click(440, kCreditsX, kCreditsY);
    s.Dump(440, "closed").Dump(442, "stillMenu");
    // Hover: onto NOVÁ HRA, onto HESLO, off every button, back onto HESLO; HESLO blinks.
    s.Mouse(450, 100, 100).Dump(452, "beforeHover").Mouse(460, kNewGameX, kNewGameY);
    s.Mouse(464, kPasswordX, kPasswordY).Mouse(472, 100, 100);
    s.Mouse(476, kPasswordX, kPasswordY).Dump(479, "hover");
    for (int f = 480; f < 504; ++f) s.Shot(f, "blink" + std::to_string(f));
    // Options: a choice left by STORNO is shown again; Escape leaves too; OK writes config.ini.
    s.Click(510, kOptionsX, kOptionsY).Dump(510, "options");
    s.Click(513, kResolutionX, kResolutionY).Dump(513, "changed").Click(516, kStornoX, kStornoY);
    s.Dump(516, "optionsStorno").Click(519, kOptionsX, kOptionsY).Dump(520, "again");
    s.Tap(522, "ESCAPE").Dump(522, "optionsEscape").Click(525, kOptionsX, kOptionsY);
    for (int f : {528, 530, 532}) s.Click(f, kResolutionX, kResolutionY).Dump(f, "res" + std::to_string(f));
    for (int f : {534, 536}) s.Click(f, kDetailX, kDetailY).Dump(f, "detail" + std::to_string(f));
    for (int f : {538, 540, 542}) s.Click(f, kSoundX, kSoundY).Dump(f, "sound" + std::to_string(f));
    s.Click(544, kOptionsOkX, kOptionsOkY).Dump(544, "ok").Dump(545, "okNext").Dump(599, "noticeLate");
    s.Dump(609, "noticeGone").Mouse(614, kNewGameX, kNewGameY).Dump(616, "hoverAfter");
    s.Click(620, kExitX, kExitY).Dump(630, "never");

    GameFolder folder(ConfigText().c_str());
    RunDemo(folder, s);
    ExpectDumps(folder, R"({
        "intro1": {"screen": "intro1"}, "intro2": {"screen": "intro2"}, "intro3": {"screen": "intro3"},
        "intro3Late": {"screen": "intro3"},
        "menu": {"screen": "mainMenu", "/active": 1, "/sounds/played": []},
        "credits": {"screen": "credits", "plays klik": 2},  // the hover and the click
        "creditsByKey": {"screen": "mainMenu", "plays klik": 0},
        "creditsByClick": {"screen": "mainMenu", "plays klik": 1},
        "password": {"screen": "password"}, "storno": {"screen": "mainMenu", "plays klik": 1},
        "escape": {"screen": "mainMenu"},
        "typed": {"/passwordInput": "NERAB_  ", "/cursor": 5, "plays klik": 5},
        "wrong": {"/messageShown": 1, "/messageKind": 1, "screen": "mainMenu", "/passwordInput": "        ",
                  "/currentLevel": 0, "/active": 1},
        "wrongLate": {"/messageShown": 1}, "wrongGone": {"/messageShown": 0},
        "four": {"/messageShown": 1, "/messageKind": 1},
        "hoverUnderMessage": {"/messageShown": 1, "/hoveredButton": 2, "plays klik": 1},
        "closed": {"/messageShown": 0, "plays klik": 0}, "stillMenu": {"screen": "mainMenu"},
        "hover": {"frames klik": [460, 464, 476], "/hoveredButton": 1},
        "options": {"screen": "options", "/resolutionIndex": 1, "/sceneDetail": 1, "/soundEnabled": 1},
        "changed": {"/resolutionIndex": 2}, "again": {"/resolutionIndex": 2},
        "optionsStorno": {"screen": "mainMenu", "/messageShown": 0, "plays klik": 1},
        "optionsEscape": {"screen": "mainMenu", "/messageShown": 0, "plays klik": 1},
        "res528": {"/resolutionIndex": 0}, "res530": {"/resolutionIndex": 1},
        "res532": {"/resolutionIndex": 2},
        "detail534": {"/sceneDetail": 2}, "detail536": {"/sceneDetail": 0},
        "sound538": {"/soundEnabled": 0}, "sound540": {"/soundEnabled": 1}, "sound542": {"/soundEnabled": 0},
        "ok": {"screen": "mainMenu", "/messageShown": 1, "/messageKind": 0}, "okNext": {"/messageShown": 1},
        "noticeLate": {"/messageShown": 1}, "noticeGone": {"/messageShown": 0},
        "hoverAfter": {"plays klik": 1}  // the running game keeps its sound until the next start
    })");
    EXPECT_FALSE(folder.Dump("never").is_object()) << "the program went on after EXIT";
    EXPECT_EQ(ReadFileBytes(folder.File("config.ini")), ConfigText(0, 1024, 768, 0));

    // HESLO (virtual 389.5..632.5 x 211..264) blinks every 333 ms: 10 or 11 frames at 30 fps; NOVÁ HRA
    // above it stays still.
    std::vector<int> changes;
    Picture previous = folder.Shot("blink480");
    ASSERT_TRUE(previous.Valid());
    for (int f = 481; f < 504; ++f) {
        const Picture shot = folder.Shot("blink" + std::to_string(f));
        if (shot.RegionDiffers(previous, 390, 212, 632, 263)) changes.push_back(f);
        EXPECT_FALSE(shot.RegionDiffers(previous, 358, 155, 600, 207)) << "NOVÁ HRA changed at frame " << f;
        previous = shot;
    }
    ASSERT_GE(changes.size(), 2u);
    for (size_t i = 1; i < changes.size(); ++i) EXPECT_NEAR(changes[i] - changes[i - 1], 10.5, 0.5);
}

}  // namespace
