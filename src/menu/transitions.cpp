// The fades over a black quad between the menu and the levels, and from one level to the next.
#include "engine/engine.h"
#include "engine/frame_timer.h"
#include "engine/game_state.h"
#include "game/game_world.h"
#include "menu/menu_screens.h"

namespace {

// A fade runs from black to clear (or back) in 1 / 0.0007 ms, about 1.4 s.
constexpr float kFadeRate = 0.0007f;
constexpr int32_t kLastLevel = 25;

// The fade out after a completed level is over: build the next level, start its loop and fade in, or
// after the last level show the closing screen.
void EnterNextLevel(Menu& menu) {
    menu.fadingToNextLevel = 0;
    menu.fadingIn = 1;
    currentLevel += 1;
    setUpLevel(currentLevel);
    g_resources.sounds[kSoundDayLoop].Stop();
    g_resources.sounds[kSoundNightLoop].Stop();
    PlayLevelLoop();
    if (currentLevel == kLastLevel + 1) {
        menu.active = 1;
        menu.closingScreen = 1;
        menu.mainMenuScreen = 0;
        menu.fadingIn = 0;
        // A level dialog left open while the last level was driven out would otherwise stay over the
        // closing screen, naming a level that does not exist.
        menu.levelDialogShown = 0;
        PlaySlot(kSoundOutro);
    }
}

}  // namespace

void SetUpTransitions(Menu& menu) {
    CreatePanel(menu.fadePanel, static_cast<float>(g_engine.width) + 10.0f,
                static_cast<float>(g_engine.height) + 10.0f, 136, 0);
    menu.fadeValue = 0.0f;
    menu.fadingIn = 0;
    menu.fadingToMenu = 0;
    menu.fadingToNextLevel = 0;
}

void Menu::UpdateFade() {
    if (fadingIn == 1) {
        fadeValue += FrameMillis(kFadeRate);
        if (fadeValue > 1.0f) {
            fadingIn = 0;
            levelDialogShown = 1;
        }
    } else if (fadingToMenu == 1) {
        fadeValue -= FrameMillis(kFadeRate);
        if (fadeValue < 0.0f) {
            fadingToMenu = 0;
            // The main menu's flag stayed set while the game ran, so it is what shows now.
            active = 1;
        }
    } else if (fadingToNextLevel == 1) {
        fadeValue -= FrameMillis(kFadeRate);
        if (fadeValue < 0.0f) EnterNextLevel(*this);
    } else {
        return;
    }

    g_engine.BlendAlpha();
    fadePanel.SetPosition(MakeVector(0.5f, 0.5f, 0.0f));
    // Opaque at 0, clear at 1; the colour conversion clamps the alpha to 0 to 1.
    fadePanel.color.a = 1.0f - fadeValue;
    fadePanel.Draw();
    g_engine.BlendOff();
}
