// Drives the menu object like the frame does, without a device: scripted keys and mouse turned into
// the held and pressed tables, a fixed frame rate, and a record of every sound played.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/config.h"
#include "engine/engine.h"
#include "engine/frame_timer.h"
#include "engine/game_state.h"
#include "engine/input.h"
#include "engine/sound.h"
#include "menu/menu.h"
#include "menu/menu_screens.h"
#include "platform/dinput.h"

struct SoundEvent {
    int slot;
    bool looped;
    bool operator==(const SoundEvent&) const = default;
};

class MenuHarness : public ::testing::Test {
protected:
    void SetUp() override {
        SceneDetail = 0, ScreenWidth = 800, ScreenHeight = 600, ScreenFormat = 1, SoundEnabled = 1;
        currentLevel = 0, isNight = 0;
        // The sounds count as loaded so that playing them reaches the observer; no audio device is
        // open, so nothing is heard.
        for (Sound& s : g_resources.sounds) s.loaded = 1;
        g_soundObserver.played = [](const Sound& s, uint8_t looped) {
            events_.push_back({static_cast<int>(&s - &g_resources.sounds[0]), looped == 1});
        };
        Build();
    }
    void TearDown() override {
        g_soundObserver = SoundObserver{};
        for (Sound& s : g_resources.sounds) s.loaded = 0;
        menu_.reset(), g_input = Input{};
    }
    // Builds a fresh menu at the given back-buffer size and start-up settings.
    void Build(int width = 800, int height = 600) {
        width_ = width, height_ = height;
        g_engine.width = static_cast<uint32_t>(width), g_engine.height = static_cast<uint32_t>(height);
        std::memset(keys_, 0, sizeof keys_), mouseButton_ = false, g_input = Input{}, g_fps = fps_;
        g_input.mousePos = {width * 0.5f, height * 0.5f, 0.0f};
        menu_ = std::make_unique<Menu>(), menu_->Setup(), events_.clear();
    }
    // Leaves the first logo screen for `screen`.
    void Show(uint8_t Menu::*screen) { menu_->introScreen1 = 0, (*menu_).*screen = 1; }

    // One frame as the game runs it: the mode's screen, then the fade and the level dialog.
    void Frame() {
        g_fps = fps_;
        for (int i = 0; i < 256; ++i) {
            g_input.keyPressed[i] = keys_[i] && !g_input.keyDown[i];
            g_input.keyDown[i] = keys_[i];
        }
        g_input.mousePressed[0] = mouseButton_ && !g_input.mouseDown[0];
        g_input.mouseDown[0] = mouseButton_;
        if (menu_->active == 1) menu_->RunScreen();
        menu_->UpdateFade(), menu_->UpdateLevelDialog();
    }
    // Frames for about ms milliseconds at the current rate.
    void RunFor(float ms) {
        for (int i = static_cast<int>(ms * fps_ / 1000.0f + 0.5f); i > 0; --i) Frame();
    }
    // Runs frames until done() holds or the limit passes; returns the milliseconds that took.
    template <typename Pred>
    float RunUntil(Pred done, float limitMs = 60000.0f) {
        float ms = 0.0f;
        for (; !done() && ms < limitMs; ms += 1000.0f / fps_) Frame();
        return ms;
    }

    // Input for the next frames: keys held, a key down for one frame then up for one, the mouse at a
    // virtual-screen point or a pixel, and one click (down for a frame, then up).
    void KeyDown(int dik, bool down = true) { keys_[dik] = down; }
    void Tap(int dik) { KeyDown(dik), Frame(), KeyDown(dik, false), Frame(); }
    void MouseAtVirtual(float x, float y) { MouseAtPixel(x * width_ / 800.0f, y * height_ / 600.0f); }
    void MouseAtPixel(float x, float y) { g_input.mousePos = {x, y, 0.0f}; }
    void Click() { mouseButton_ = true, Frame(), mouseButton_ = false, Frame(); }
    void ClickAtVirtual(float x, float y) { MouseAtVirtual(x, y), Click(); }
    // Taps the keys that type these capital letters on the password screen (Y and Z swapped).
    void Type(const std::string& letters) {
        static const int kKeys[26] = {DIK_A, DIK_B, DIK_C, DIK_D, DIK_E, DIK_F, DIK_G, DIK_H, DIK_I,
                                      DIK_J, DIK_K, DIK_L, DIK_M, DIK_N, DIK_O, DIK_P, DIK_Q, DIK_R,
                                      DIK_S, DIK_T, DIK_U, DIK_V, DIK_W, DIK_X, DIK_Z, DIK_Y};
        for (char c : letters) Tap(kKeys[c - 'A']);
    }

    // Sounds played since the last call.
    std::vector<SoundEvent> TakePlayed() { return std::exchange(events_, {}); }

    std::unique_ptr<Menu> menu_;
    float fps_ = 60.0f;
    int width_ = 800, height_ = 600;
    static inline std::vector<SoundEvent> events_;

private:
    bool keys_[256] = {};
    bool mouseButton_ = false;
};
