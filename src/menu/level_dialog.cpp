// The level dialog: level number and password, with RESTART, EXIT and OK painted along its bottom.
#include <cstdio>

#include "engine/engine.h"
#include "engine/game_state.h"
#include "game/game_world.h"
#include "menu/level_passwords.h"
#include "menu/menu_screens.h"
#include "platform/language.h"

namespace {

// A button's rectangle in pixels relative to the screen centre; all bounds exclusive.
struct DialogButton {
    float left, right, top, bottom;
};
constexpr DialogButton kRestart{-230.0f, -100.0f, 108.0f, 148.0f};
constexpr DialogButton kExit{-73.0f, 73.0f, 108.0f, 148.0f};
constexpr DialogButton kOk{100.0f, 230.0f, 108.0f, 148.0f};

bool ClickedOn(const DialogButton& b, float cx, float cy) {
    const Vector3& p = g_input.mousePos;
    return Clicked() && p.x > cx + b.left && p.x < cx + b.right && p.y > cy + b.top && p.y < cy + b.bottom;
}

}  // namespace

void SetUpLevelDialog(Menu& menu) {
    menu.levelDialogShown = 0;
    menu.levelTitleFont.Create(65, 700, "Arial");
    menu.levelPasswordFont.Create(35, 700, "Arial");
    CreatePanel(menu.levelDialog, 513.0f, 350.0f, 155, 0);
}

void Menu::UpdateLevelDialog() {
    if (levelDialogShown != 1) return;

    g_engine.BlendAlpha();
    levelDialog.SetPosition(MakeVector(0.5f, 0.5f, 0.0f));
    levelDialog.Draw();
    g_engine.BlendOff();

    const int32_t halfWidth = static_cast<int32_t>(g_engine.width / 2);
    const int32_t halfHeight = static_cast<int32_t>(g_engine.height / 2);
    const GameTexts& texts = Texts();
    char text[64];
    std::snprintf(text, sizeof text, texts.levelTitle.text, currentLevel);
    levelTitleFont.Draw(halfWidth + texts.levelTitle.left, halfHeight - 75, kMenuLit, text);
    // Slot n - 1 holds the password of level n; a level number outside the table shows none.
    const int32_t slot = currentLevel - 1;
    const char* password = slot >= 0 && slot < kPasswordSlots ? levelPasswords[slot] : "";
    std::snprintf(text, sizeof text, texts.levelPassword.text, kPasswordLength, password);
    levelPasswordFont.Draw(halfWidth + texts.levelPassword.left, halfHeight + 15, kMenuLit, text);

    const float cx = static_cast<float>(g_engine.width) * 0.5f;
    const float cy = static_cast<float>(g_engine.height) * 0.5f;
    if (ClickedOn(kRestart, cx, cy)) {
        PlaySlot(kSoundStart);
        setUpLevel(currentLevel);
        levelDialogShown = 0;
    }
    if (ClickedOn(kExit, cx, cy)) {
        PlaySlot(kSoundClick);
        fadingToMenu = 1;
        levelDialogShown = 0;
    }
    if (ClickedOn(kOk, cx, cy)) {
        PlaySlot(kSoundStart);
        levelDialogShown = 0;
    }
}
