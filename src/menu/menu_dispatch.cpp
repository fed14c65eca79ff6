// One menu frame: silence the level loops, run the first screen whose flag is set, then the message.
#include "menu/menu_screens.h"

void Menu::RunScreen() {
    g_resources.sounds[kSoundNightLoop].Stop();
    g_resources.sounds[kSoundDayLoop].Stop();

    if (mainMenuScreen == 1) {
        RunMainMenu(*this);
    } else if (creditsScreen == 1) {
        RunCredits(*this);
    } else if (passwordScreen == 1) {
        RunPasswordScreen(*this);
    } else if (optionsScreen == 1) {
        RunOptions(*this);
    } else if (introScreen3 == 1) {
        RunIntroScreen(*this, 3);
    } else if (introScreen2 == 1) {
        RunIntroScreen(*this, 2);
    } else if (introScreen1 == 1) {
        RunIntroScreen(*this, 1);
    } else if (closingScreen == 1) {
        RunClosingScreen(*this);
    }

    if (messageShown == 1) RunMessageOverlay(*this);
}
