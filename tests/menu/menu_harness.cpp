#include "menu/menu_harness.h"

#include <cstring>

#include "engine/config.h"
#include "engine/engine.h"
#include "engine/frame_timer.h"
#include "engine/input.h"
#include "engine/sound.h"

namespace {

std::vector<SoundEvent>* g_events = nullptr;

int SlotOf(const Sound& sound) {
    return static_cast<int>(&sound - &g_resources.sounds[0]);
}

}  // namespace

void MenuHarness::SetUp() {
    SceneDetail = 0;
    ScreenWidth = 800;
    ScreenHeight = 600;
    ScreenFormat = 1;
    SoundEnabled = 1;
    currentLevel = 0;
    isNight = 0;
    // The sounds count as loaded so that playing them reaches the observer; no audio device is open,
    // so nothing is heard.
    for (Sound& s : g_resources.sounds) s.loaded = 1;
    g_events = &events_;
    g_soundObserver.played = [](const Sound& s, uint8_t looped) {
        g_events->push_back({SlotOf(s), false, looped == 1});
    };
    g_soundObserver.stopped = [](const Sound& s) { g_events->push_back({SlotOf(s), true, false}); };
    Build();
}

void MenuHarness::TearDown() {
    g_soundObserver = SoundObserver{};
    g_events = nullptr;
    for (Sound& s : g_resources.sounds) s.loaded = 0;
    menu_.reset();
    g_input = Input{};
}

void MenuHarness::Build(int width, int height) {
    width_ = width;
    height_ = height;
    g_engine.width = static_cast<uint32_t>(width);
    g_engine.height = static_cast<uint32_t>(height);
    std::memset(keys_, 0, sizeof keys_);
    mouseButton_ = false;
    g_input = Input{};
    g_input.mousePos = {width * 0.5f, height * 0.5f, 0.0f};
    g_fps = fps_;
    menu_ = std::make_unique<Menu>();
    menu_->Setup();
    events_.clear();
}

void MenuHarness::Frame() {
    g_fps = fps_;
    for (int i = 0; i < 256; ++i) {
        g_input.keyPressed[i] = keys_[i] && !g_input.keyDown[i];
        g_input.keyDown[i] = keys_[i];
    }
    g_input.mousePressed[0] = mouseButton_ && !g_input.mouseDown[0];
    g_input.mouseDown[0] = mouseButton_;
    if (menu_->active == 1) menu_->RunScreen();
    menu_->UpdateFade();
    menu_->UpdateLevelDialog();
}

void MenuHarness::RunFor(float ms) {
    for (int i = static_cast<int>(ms * fps_ / 1000.0f + 0.5f); i > 0; --i) Frame();
}

void MenuHarness::Tap(int dik) {
    KeyDown(dik);
    Frame();
    KeyDown(dik, false);
    Frame();
}

void MenuHarness::MouseAtPixel(float x, float y) {
    g_input.mousePos = {x, y, 0.0f};
}

void MenuHarness::Click() {
    mouseButton_ = true;
    Frame();
    mouseButton_ = false;
    Frame();
}

std::vector<SoundEvent> MenuHarness::TakePlayed() {
    std::vector<SoundEvent> played;
    for (const SoundEvent& e : events_)
        if (!e.stopped) played.push_back(e);
    events_.clear();
    return played;
}

int MenuHarness::PlayedCount(int slot) {
    int n = 0;
    for (const SoundEvent& e : events_) n += !e.stopped && e.slot == slot;
    return n;
}

int KeyForLetter(char letter) {
    static const int kKeys[26] = {DIK_A, DIK_B, DIK_C, DIK_D, DIK_E, DIK_F, DIK_G, DIK_H, DIK_I,
                                  DIK_J, DIK_K, DIK_L, DIK_M, DIK_N, DIK_O, DIK_P, DIK_Q, DIK_R,
                                  DIK_S, DIK_T, DIK_U, DIK_V, DIK_W, DIK_X, DIK_Z, DIK_Y};
    return letter >= 'A' && letter <= 'Z' ? kKeys[letter - 'A'] : -1;
}
