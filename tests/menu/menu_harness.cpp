#include "menu/menu_harness.h"

#include <cstring>

#include "engine/config.h"
#include "engine/engine.h"
#include "engine/frame_timer.h"
#include "engine/game_state.h"
#include "engine/input.h"
#include "engine/sound.h"
#include "render/panel.h"

namespace {

MenuHarness* g_current = nullptr;
const char* const kSoundFiles[8] = {"sounds/naraz1.wav", "sounds/naraz2.wav", "sounds/klik.wav",
                                    "sounds/start.wav",  "sounds/konec.wav",  "sounds/noc.wav",
                                    "sounds/den.wav",    "sounds/outro.wav"};

int SlotOf(const Sound& sound) {
    for (int i = 0; i < 8; ++i)
        if (&g_resources.sounds[i] == &sound) return i;
    return -1;
}

void OnPlayed(const Sound& sound, uint8_t looped);
void OnStopped(const Sound& sound);

std::vector<SoundEvent>* g_events = nullptr;
void OnPlayed(const Sound& sound, uint8_t looped) {
    if (g_events) g_events->push_back({SlotOf(sound), false, looped == 1});
}
void OnStopped(const Sound& sound) {
    if (g_events) g_events->push_back({SlotOf(sound), true, false});
}

}  // namespace

void MenuHarness::SetUp() {
    g_current = this;
    SceneDetail = 0;
    ScreenWidth = 800;
    ScreenHeight = 600;
    ScreenFormat = 1;
    SoundEnabled = 1;
    currentLevel = 0;
    isNight = 0;
    // The sounds count as loaded so that playing them reaches the observer; no audio device is open,
    // so nothing is heard.
    for (int i = 0; i < 8; ++i) {
        g_resources.sounds[i].loaded = 1;
        g_resources.sounds[i].file = kSoundFiles[i];
    }
    g_events = &events_;
    g_soundObserver.played = OnPlayed;
    g_soundObserver.stopped = OnStopped;
    Build();
}

void MenuHarness::TearDown() {
    g_soundObserver.played = nullptr;
    g_soundObserver.stopped = nullptr;
    g_events = nullptr;
    for (int i = 0; i < 8; ++i) g_resources.sounds[i].loaded = 0;
    menu_.reset();
    std::memset(&g_input.keyDown, 0, sizeof g_input.keyDown);
    std::memset(&g_input.keyPressed, 0, sizeof g_input.keyPressed);
    g_current = nullptr;
}

void MenuHarness::Build(int width, int height) {
    width_ = width;
    height_ = height;
    g_engine.width = static_cast<uint32_t>(width);
    g_engine.height = static_cast<uint32_t>(height);
    std::memset(keys_, 0, sizeof keys_);
    mouseButton_ = false;
    g_input = Input{};
    g_input.mousePos = {static_cast<float>(width) * 0.5f, static_cast<float>(height) * 0.5f, 0.0f};
    g_fps = fps_;
    menu_ = std::make_unique<Menu>();
    menu_->Setup();
    events_.clear();
}

void MenuHarness::ReadInput() {
    for (int i = 0; i < 256; ++i) {
        uint8_t down = keys_[i] ? 1 : 0;
        g_input.keyPressed[i] = g_input.keyDown[i] ? 0 : down;
        g_input.keyDown[i] = down;
    }
    g_input.mousePressed[0] = (mouseButton_ && !g_input.mouseDown[0]) ? 1 : 0;
    g_input.mouseDown[0] = mouseButton_ ? 1 : 0;
}

void MenuHarness::Frame() {
    g_fps = fps_;
    ReadInput();
    if (menu_->active == 1) menu_->RunScreen();
    menu_->UpdateFade();
    menu_->UpdateLevelDialog();
}

int MenuHarness::RunFor(float ms) {
    int frames = static_cast<int>(ms * fps_ / 1000.0f + 0.5f);
    for (int i = 0; i < frames; ++i) Frame();
    return frames;
}

void MenuHarness::Tap(int dik) {
    KeyDown(dik);
    Frame();
    KeyUp(dik);
    Frame();
}

void MenuHarness::MouseAtVirtual(float x, float y) {
    MouseAtPixel(x * static_cast<float>(width_) / 800.0f, y * static_cast<float>(height_) / 600.0f);
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
    for (const SoundEvent& e : events_)
        if (!e.stopped && e.slot == slot) ++n;
    return n;
}

int KeyForLetter(char letter) {
    static const struct {
        char letter;
        int dik;
    } kKeys[] = {{'A', DIK_A}, {'B', DIK_B}, {'C', DIK_C}, {'D', DIK_D}, {'E', DIK_E}, {'F', DIK_F},
                 {'G', DIK_G}, {'H', DIK_H}, {'I', DIK_I}, {'J', DIK_J}, {'K', DIK_K}, {'L', DIK_L},
                 {'M', DIK_M}, {'N', DIK_N}, {'O', DIK_O}, {'P', DIK_P}, {'Q', DIK_Q}, {'R', DIK_R},
                 {'S', DIK_S}, {'T', DIK_T}, {'U', DIK_U}, {'V', DIK_V}, {'W', DIK_W}, {'X', DIK_X},
                 {'Z', DIK_Y}, {'Y', DIK_Z}};
    for (const auto& k : kKeys)
        if (k.letter == letter) return k.dik;
    return -1;
}
