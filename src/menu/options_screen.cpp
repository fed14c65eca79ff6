// The options screen: click a value to step it; OK writes config.ini for the next start.
#include "engine/config.h"
#include "engine/engine.h"
#include "menu/menu_screens.h"

namespace {

// A hand-edited config.ini can hold values no choice has. They are brought into range here, so the
// value panel never shows a frame that does not exist and clicks always cycle through real choices:
// an unknown detail level shows as the first choice, and any non-zero sound setting means sound on,
// as it does at start-up.
int32_t DetailChoice(int32_t sceneDetail) {
    return sceneDetail >= 0 && sceneDetail <= 2 ? sceneDetail : 0;
}
int32_t SoundChoice(int32_t soundEnabled) {
    return soundEnabled != 0 ? 1 : 0;
}

// One clickable value: hover, step on a click (wrapping to the first choice), show and draw.
void RunValue(Menu& menu, Panel& value, float x, float y, int32_t item, int32_t& choice, int32_t choices) {
    menu.optionsHover = PlaceAndTest(value, x, y) ? item : kNoButton;
    if (menu.optionsHover == item) {
        if (Clicked()) {
            choice += 1;
            if (choice >= choices || choice < 0) choice = 0;
        }
        value.frame = static_cast<float>(choice);
        value.color = kMenuLit;
    } else {
        value.color = kMenuDimmed;
    }
    value.Draw();
}

void RunButton(Menu& menu, Panel& button, float x, float y, int32_t item) {
    if (PlaceAndTest(button, x, y)) {
        menu.optionsHover = item;
    } else if (menu.optionsHover == item) {
        menu.optionsHover = kNoButton;
    }
    button.color = menu.optionsHover == item ? kMenuLit : kMenuDimmed;
    button.Draw();
}

void DrawLabel(Panel& label, float x, float y) {
    PlaceAt(label, x, y);
    label.Draw();
}

void BackToMainMenu(Menu& menu) {
    menu.mainMenuScreen = 1;
    menu.optionsScreen = 0;
}

}  // namespace

void SetUpOptions(Menu& menu) {
    menu.optionsScreen = 0;
    CreatePanel(menu.detailLabel, 250.0f, 31.0f, 165, 1);
    const int32_t detailBitmaps[] = {166, 167, 168};
    CreatePanel(menu.detailValue, 147.0f, 27.0f, detailBitmaps, 3, 1);
    CreatePanel(menu.soundLabel, 109.0f, 27.0f, 177, 1);
    const int32_t soundBitmaps[] = {162, 176};
    CreatePanel(menu.soundValue, 147.0f, 27.0f, soundBitmaps, 2, 1);
    CreatePanel(menu.screenLabel, 214.0f, 25.0f, 170, 1);
    const int32_t screenBitmaps[] = {171, 172, 173};
    CreatePanel(menu.screenValue, 147.0f, 23.0f, screenBitmaps, 3, 1);
    CreatePanel(menu.okButton, 52.0f, 24.0f, 174, 1);
    CreatePanel(menu.cancelButton, 141.0f, 24.0f, 175, 1);

    menu.optionsHover = 0;
    if (ScreenWidth == 640) menu.resolutionIndex = 0;
    if (ScreenWidth == 800) menu.resolutionIndex = 1;
    if (ScreenWidth == 1024) menu.resolutionIndex = 2;
    menu.sceneDetail = DetailChoice(SceneDetail);
    menu.soundEnabled = SoundChoice(SoundEnabled);

    menu.screenValue.frame = static_cast<float>(menu.resolutionIndex);
    menu.soundValue.frame = static_cast<float>(menu.soundEnabled);
    menu.detailValue.frame = static_cast<float>(menu.sceneDetail);
}

void RunOptions(Menu& menu) {
    PlaceAt(menu.background, 400.0f, 300.0f);
    menu.background.Draw();
    g_engine.BlendAlpha();

    DrawLabel(menu.screenLabel, 576.0f, 188.0f);
    RunValue(menu, menu.screenValue, 577.0f, 225.0f, kItemResolution, menu.resolutionIndex, 3);
    DrawLabel(menu.detailLabel, 602.0f, 271.0f);
    RunValue(menu, menu.detailValue, 577.0f, 309.0f, kItemDetail, menu.sceneDetail, 3);
    DrawLabel(menu.soundLabel, 526.0f, 350.0f);
    RunValue(menu, menu.soundValue, 573.0f, 389.0f, kItemSound, menu.soundEnabled, 2);
    RunButton(menu, menu.okButton, 602.0f, 461.0f, kItemOk);
    RunButton(menu, menu.cancelButton, 649.0f, 500.0f, kItemCancel);

    g_engine.BlendOff();

    if (Clicked()) {
        PlaySlot(kSoundClick);
        if (menu.optionsHover == kItemOk) {
            // The settings take effect at the next start. If the file cannot be written the writer
            // has logged it; the screen still closes as usual.
            WriteConfig(menu.sceneDetail, menu.resolutionIndex, menu.soundEnabled);
            BackToMainMenu(menu);
            menu.messageShown = 1;
            menu.messageKind = kMessageRestartNotice;
            // The confirming click must not close the notice it raises.
            g_input.mousePressed[0] = 0;
        } else if (menu.optionsHover == kItemCancel) {
            BackToMainMenu(menu);
        }
    }
    if (KeyPressed(DIK_ESCAPE)) {
        PlaySlot(kSoundClick);
        BackToMainMenu(menu);
    }
}
