// Building the menu object at start-up, and the helpers every screen shares.
#include "engine/game_state.h"
#include "game/game_world.h"
#include "menu/level_passwords.h"
#include "menu/menu_screens.h"

void CreatePanel(Panel& panel, float w, float h, const int32_t* bitmaps, int32_t count, uint8_t scaleToScreen,
                 Color4 key) {
    panel.Create(w, h, count);
    for (int32_t i = 0; i < count; ++i) panel.AddFrame(bitmaps[i], key);
    panel.scaleToScreen = scaleToScreen;
}

bool PlaceAndTest(Panel& panel, float x, float y) {
    PlaceAt(panel, x, y);
    panel.Rebuild();
    return panel.Contains(g_input.mousePos) == 1;
}

void PlayLevelLoop() {
    if (isNight == 0) PlaySlot(kSoundDayLoop, 1);
    if (isNight == 1) PlaySlot(kSoundNightLoop, 1);
}

void StartLevel(Menu& menu, int32_t level) {
    menu.active = 0;
    menu.fadingIn = 1;
    currentLevel = level;
    setUpLevel(level);
    PlayLevelLoop();
}

void Menu::Setup() {
    active = 1;
    FillLevelPasswords(levelPasswords);
    CreatePanel(background, 800.0f, 600.0f, 160, 1);

    SetUpMainMenu(*this);
    SetUpCredits(*this);
    SetUpOptions(*this);
    SetUpPasswordScreen(*this);
    SetUpIntro(*this);
    SetUpClosingScreen(*this);

    SetUpTransitions(*this);
    SetUpMessageOverlay(*this);
    SetUpLevelDialog(*this);
}
