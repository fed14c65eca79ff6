// Drives the menu object like the frame does, without a device: scripted keys and mouse turned into
// the held and pressed tables, a fixed frame rate, and a record of every sound played or stopped.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/game_state.h"
#include "menu/menu.h"
#include "menu/menu_screens.h"
#include "platform/dinput.h"

struct SoundEvent {
    int slot;
    bool stopped;  // false: played
    bool looped;
};

class MenuHarness : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Builds a fresh menu at the given back-buffer size and start-up settings.
    void Build(int width = 800, int height = 600);
    // Leaves the first logo screen for `screen`.
    void Show(uint8_t Menu::*screen) { menu_->introScreen1 = 0, (*menu_).*screen = 1; }

    // One frame as the game runs it: the mode's screen, then the fade and the level dialog.
    void Frame();
    // Frames for about ms milliseconds at the current rate.
    void RunFor(float ms);
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
    void Tap(int dik);
    void MouseAtVirtual(float x, float y) { MouseAtPixel(x * width_ / 800.0f, y * height_ / 600.0f); }
    void MouseAtPixel(float x, float y);
    void Click();
    void ClickAtVirtual(float x, float y) { MouseAtVirtual(x, y), Click(); }

    // Sounds played (not stopped) since the last call.
    std::vector<SoundEvent> TakePlayed();
    int PlayedCount(int slot);

    std::unique_ptr<Menu> menu_;
    float fps_ = 60.0f;
    int width_ = 800, height_ = 600;
    std::vector<SoundEvent> events_;

private:
    bool keys_[256] = {};
    bool mouseButton_ = false;
};

// The DIK key that types a letter on the password screen (the Y and Z positions are swapped).
int KeyForLetter(char letter);
