// Drives the menu object like the frame does, without a device: scripted keys and mouse turned into
// the held and pressed tables, a fixed frame rate, and a record of every sound played or stopped.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "menu/menu.h"
#include "menu/resource_set.h"

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

    // One frame as the game runs it: the mode's screen, then the fade and the level dialog.
    void Frame();
    // Frames for about ms milliseconds at the current rate; returns how many ran.
    int RunFor(float ms);
    // Runs frames until done() holds or the limit passes; returns the milliseconds that took.
    template <typename Pred>
    float RunUntil(Pred done, float limitMs = 60000.0f);

    // Input for the next frames: keys down or up (pressed is derived as the game derives it), the
    // mouse at a virtual-screen point or a pixel, and one click (down for a frame, then up).
    void KeyDown(int dik) { keys_[dik] = true; }
    void KeyUp(int dik) { keys_[dik] = false; }
    void Tap(int dik);  // down for one frame, then up for one frame
    void MouseAtVirtual(float x, float y);
    void MouseAtPixel(float x, float y);
    void Click();  // one frame with the left button down, then one with it up

    // Sounds played (not stopped) since the last call.
    std::vector<SoundEvent> TakePlayed();
    int PlayedCount(int slot);

    std::unique_ptr<Menu> menu_;
    float fps_ = 60.0f;
    int width_ = 800;
    int height_ = 600;
    std::vector<SoundEvent> events_;

private:
    void ReadInput();
    bool keys_[256] = {};
    bool mouseButton_ = false;
};

template <typename Pred>
float MenuHarness::RunUntil(Pred done, float limitMs) {
    float ms = 0.0f;
    while (!done() && ms < limitMs) {
        Frame();
        ms += 1000.0f / fps_;
    }
    return ms;
}

// The DIK key that types a letter on the password screen (the Y and Z positions are swapped).
int KeyForLetter(char letter);
