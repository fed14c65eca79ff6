// The main menu: five stacked buttons that light up and blink under the mouse.
#include "engine/engine.h"
#include "engine/frame_timer.h"
#include "menu/menu_screens.h"
#include "platform/win32.h"

void SetUpMainMenu(Menu& menu) {
    menu.hoveredButton = 0;
    menu.mainMenuScreen = 0;
    menu.blinkTimer = 0.0f;
    menu.blinkCount = 0;
    // Row k of three frames: lit, lit (the other blink phase), dark.
    int32_t bitmaps[15];
    for (int32_t f = 0; f < 15; ++f) bitmaps[f] = 137 + f;
    CreatePanel(menu.menuButton, 243.0f, 53.0f, bitmaps, 15, 1);
}

void RunMainMenu(Menu& menu) {
    PlaceAt(menu.background, 400.0f, 300.0f);
    menu.background.Draw();

    menu.blinkTimer += FrameMillis(3.0f);
    if (menu.blinkTimer > 1000.0f) {
        menu.blinkTimer = 0.0f;
        menu.blinkCount += 1;
    }

    Panel& button = menu.menuButton;
    for (int32_t k = 0; k < kMainMenuButtonCount; ++k) {
        button.frame = static_cast<float>(3 * k);
        if (PlaceAndTest(button, kMainMenuButtonCentres[k][0], kMainMenuButtonCentres[k][1])) {
            if (menu.hoveredButton != k) PlaySlot(kSoundClick);
            menu.hoveredButton = k;
        } else if (menu.hoveredButton == k) {
            menu.hoveredButton = kNoButton;
        }
        if (menu.hoveredButton == k) {
            if (menu.blinkCount % 2 == 0) button.frame = static_cast<float>(3 * k + 1);
        } else {
            button.frame = static_cast<float>(3 * k + 2);
        }
        button.Draw();
    }

    // While a message is up the buttons only light up; the message takes the click.
    if (menu.messageShown == 1 || !Clicked()) return;
    PlaySlot(kSoundClick);
    switch (menu.hoveredButton) {
        case kButtonNewGame:
            // The main menu stays the current screen, so the game hands back to it.
            StartLevel(menu, 1);
            break;
        case kButtonPassword:
            menu.passwordScreen = 1;
            menu.mainMenuScreen = 0;
            break;
        case kButtonCredits:
            menu.creditsScreen = 1;
            menu.mainMenuScreen = 0;
            break;
        case kButtonOptions:
            menu.optionsScreen = 1;
            menu.mainMenuScreen = 0;
            break;
        case kButtonExit:
            PostQuitMessage(0);
            break;
        default:
            break;
    }
}
