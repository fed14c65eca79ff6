// The pieces of the menu object: the shared look and input words, and the set-up and run step of
// every screen. Menu::Setup and Menu::RunScreen call them in their fixed order.
#pragma once
#include <cstdint>
#include "engine/input.h"
#include "engine/types.h"
#include "menu/menu.h"
#include "menu/resource_set.h"

// A button under the mouse, and the texts of the overlays.
inline constexpr Color4 kMenuLit{1.0f, 1.0f, 1.0f, 1.0f};
// A button not under the mouse.
inline constexpr Color4 kMenuDimmed{0.5f, 0.5f, 0.5f, 1.0f};
// Magenta: the transparent ground of the menu artwork.
inline constexpr Color4 kMenuColorKey{1.0f, 0.0f, 1.0f, 0.0f};

// Main-menu button k sits at kMainMenuButtonCentres[k] (virtual units).
inline constexpr int kMainMenuButtonCount = 5;
inline constexpr float kMainMenuButtonCentres[kMainMenuButtonCount][2] = {
    {479.0f, 181.0f}, {511.0f, 237.5f}, {542.2f, 295.5f}, {576.5f, 354.5f}, {606.0f, 411.4f}};
inline constexpr int32_t kNoButton = -5;
enum MainMenuButton { kButtonNewGame = 0, kButtonPassword, kButtonCredits, kButtonOptions, kButtonExit };
enum OptionsItem { kItemResolution = 0, kItemDetail, kItemSound, kItemOk, kItemCancel };
enum MessageKind { kMessageRestartNotice = 0, kMessageInvalidPassword = 1 };

// The input words of the screens: a key pressed went down this frame, a key held is down, a click is
// the left button going down this frame.
inline bool KeyPressed(int dik) {
    return g_input.keyPressed[dik] == 1;
}
inline bool KeyHeld(int dik) {
    return g_input.keyDown[dik] == 1;
}
inline bool Clicked() {
    return g_input.mousePressed[0] == 1;
}
// Puts a panel at a place, brings its corners up to date and tells whether the mouse is over it.
bool PlaceAndTest(Panel& panel, float x, float y);
inline void PlaceAt(Panel& panel, float x, float y) {
    panel.position = MakeVector(x, y, 0.0f);
}

inline void PlaySlot(int slot, uint8_t looped = 0) {
    g_resources.sounds[slot].Play(looped);
}
// Starts the day or the night loop for the level just built.
void PlayLevelLoop();
// Creates a panel of one or more bitmaps, each with the given colour key.
void CreatePanel(Panel& panel, float w, float h, const int32_t* bitmaps, int32_t count, uint8_t scaleToScreen,
                 Color4 key = kMenuColorKey);
inline void CreatePanel(Panel& panel, float w, float h, int32_t bitmap, uint8_t scaleToScreen) {
    CreatePanel(panel, w, h, &bitmap, 1, scaleToScreen);
}
// Leaves the menu for a level: game mode, fade in, the level built and its loop started.
void StartLevel(Menu& menu, int32_t level);

void SetUpMainMenu(Menu& menu);
void RunMainMenu(Menu& menu);
void SetUpCredits(Menu& menu);
void RunCredits(Menu& menu);
void SetUpOptions(Menu& menu);
void RunOptions(Menu& menu);
void SetUpPasswordScreen(Menu& menu);
void RunPasswordScreen(Menu& menu);
void SetUpIntro(Menu& menu);
void RunIntroScreen(Menu& menu, int screen);
void SetUpClosingScreen(Menu& menu);
void RunClosingScreen(Menu& menu);
void SetUpTransitions(Menu& menu);
void SetUpMessageOverlay(Menu& menu);
void RunMessageOverlay(Menu& menu);
void SetUpLevelDialog(Menu& menu);
