// The password screen: type a level's five letters to start at that level.
#include <cstring>

#include "engine/engine.h"
#include "engine/game_state.h"
#include "menu/level_passwords.h"
#include "menu/menu_screens.h"

namespace {

// Letter keys in the order they are examined each frame, with the letter each one types. The keys
// at the Y and Z positions type each other's letter; Q and W type nothing.
struct LetterKey {
    int dik;
    char letter;
};
constexpr LetterKey kLetterKeys[] = {{DIK_A, 'A'}, {DIK_B, 'B'}, {DIK_C, 'C'}, {DIK_D, 'D'}, {DIK_E, 'E'},
                                     {DIK_F, 'F'}, {DIK_G, 'G'}, {DIK_H, 'H'}, {DIK_I, 'I'}, {DIK_J, 'J'},
                                     {DIK_K, 'K'}, {DIK_L, 'L'}, {DIK_M, 'M'}, {DIK_N, 'N'}, {DIK_O, 'O'},
                                     {DIK_P, 'P'}, {DIK_R, 'R'}, {DIK_S, 'S'}, {DIK_T, 'T'}, {DIK_U, 'U'},
                                     {DIK_V, 'V'}, {DIK_X, 'X'}, {DIK_Y, 'Z'}, {DIK_Z, 'Y'}};

constexpr Color4 kPasswordTextColor{0.4f, 0.4f, 0.4f, 1.0f};

void ClearInput(Menu& menu) {
    std::memcpy(menu.passwordInput, "        ", sizeof menu.passwordInput);
    menu.cursor = 0;
}

void TypeLetter(Menu& menu, char letter) {
    PlaySlot(kSoundClick);
    menu.passwordInput[menu.cursor] = letter;
    if (menu.cursor < kPasswordLength) menu.cursor += 1;
}

}  // namespace

void SetUpPasswordScreen(Menu& menu) {
    menu.passwordScreen = 0;
    ClearInput(menu);
    menu.passwordFont.Create(static_cast<int32_t>(35.0f * static_cast<float>(g_engine.width) / 800.0f), 700,
                             "Arial");
    CreatePanel(menu.enterPasswordLabel, 195.0f, 35.0f, 169, 1);
}

void RunPasswordScreen(Menu& menu) {
    PlaceAt(menu.background, 400.0f, 300.0f);
    menu.background.Draw();

    g_engine.BlendAlpha();
    PlaceAt(menu.enterPasswordLabel, 520.0f, 220.0f);
    menu.enterPasswordLabel.Draw();
    // The text shown is what the previous frame left.
    menu.passwordFont.Draw(static_cast<int32_t>(505.0f * static_cast<float>(g_engine.width) / 800.0f),
                           static_cast<int32_t>(255.0f * static_cast<float>(g_engine.height) / 600.0f),
                           kPasswordTextColor, menu.passwordInput);
    g_engine.BlendOff();

    for (const LetterKey& key : kLetterKeys) {
        if (KeyPressed(key.dik)) TypeLetter(menu, key.letter);
    }
    if (KeyPressed(DIK_BACK)) {
        PlaySlot(kSoundClick);
        menu.passwordInput[menu.cursor] = ' ';
        if (menu.cursor > 0) menu.cursor -= 1;
    }
    // With five letters typed a sixth lands at index 5 and is covered by the mark at once.
    menu.passwordInput[menu.cursor] = '_';

    // STORNO, or Escape held.
    bool overCancel = PlaceAndTest(menu.cancelButton, 647.0f, 418.0f);
    menu.cancelButton.color = overCancel ? kMenuLit : kMenuDimmed;
    if ((Clicked() && overCancel) || KeyHeld(DIK_ESCAPE)) {
        PlaySlot(kSoundClick);
        menu.passwordScreen = 0;
        menu.mainMenuScreen = 1;
        ClearInput(menu);
    }
    g_engine.BlendAlpha();
    menu.cancelButton.Draw();
    g_engine.BlendOff();

    // OK, or Return or keypad Enter held.
    bool overOk = PlaceAndTest(menu.okButton, 603.0f, 373.0f);
    menu.okButton.color = overOk ? kMenuLit : kMenuDimmed;
    if ((Clicked() && overOk) || KeyHeld(DIK_RETURN) || KeyHeld(DIK_NUMPADENTER)) {
        PlaySlot(kSoundClick);
        bool matched = false;
        for (int32_t i = 0; i < kPasswordSlots; ++i) {
            if (std::memcmp(menu.passwordInput, menu.levelPasswords[i], kPasswordLength) == 0) {
                StartLevel(menu, i + 1);
                matched = true;
                break;
            }
        }
        // The game hands back to the main menu.
        menu.passwordScreen = 0;
        menu.mainMenuScreen = 1;
        if (!matched) {
            // The keys and the click of this frame must not close the message they raise; that
            // includes an Escape that went down together with Return and cancelled first.
            g_input.keyPressed[DIK_RETURN] = 0;
            g_input.keyPressed[DIK_NUMPADENTER] = 0;
            g_input.keyPressed[DIK_ESCAPE] = 0;
            g_input.mousePressed[0] = 0;
            menu.messageShown = 1;
            menu.messageKind = kMessageInvalidPassword;
        }
        ClearInput(menu);
    }
    g_engine.BlendAlpha();
    menu.okButton.Draw();
    g_engine.BlendOff();
}
