// Shared set-up for the game-world tests: a clean world, fixed frame rate, no input, and recorders
// for what the world draws and plays.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/camera.h"
#include "engine/config.h"
#include "engine/engine.h"
#include "engine/frame_timer.h"
#include "engine/game_state.h"
#include "engine/input.h"
#include "game/game_world.h"
#include "game/random.h"
#include "game/world_draw.h"
#include "menu/menu.h"

// The generator written out again, independently of the game's, to predict its draws.
struct ReferenceRandom {
    uint32_t state;
    int32_t next() {
        state = state * 214013u + 2531011u;
        return static_cast<int32_t>((state >> 16) % 32768u);
    }
    float between(float lo, float hi) {
        const float step = 1.0f / 32767.0f;
        const float r = static_cast<float>(next());
        return lo + (r * step) * (hi - lo);
    }
};

struct DrawLog {
    static std::vector<WorldDrawEvent>& events() {
        static std::vector<WorldDrawEvent> e;
        return e;
    }
    static void record(const WorldDrawEvent& event) { events().push_back(event); }
};

struct SoundLog {
    static std::vector<int32_t>& slots() {
        static std::vector<int32_t> s;
        return s;
    }
    static void record(int32_t slot) { slots().push_back(slot); }
};

class WorldTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_world = GameWorld{};
        g_world.clearWorld();
        g_input = Input{};
        g_menu.fadingToNextLevel = 0;
        g_menu.fadingIn = 0;
        g_menu.fadingToMenu = 0;
        SceneDetail = 0;
        isNight = 0;
        g_fps = 30.0f;
        DrawLog::events().clear();
        SoundLog::slots().clear();
        g_worldDrawHook = &DrawLog::record;
        g_worldSoundHook = &SoundLog::record;
        // A viewport and identity transforms: the centre pixel then unprojects to the origin, and the
        // cursor's ground point is steered by the camera eye alone (see aimCursorAt).
        g_engine.viewport = D3DVIEWPORT9{0, 0, 800, 600, 0.0f, 1.0f};
        g_engine.projection = identity();
        g_matView = identity();
        g_input.mousePos = MakeVector(400.0f, 300.0f, 0.0f);
    }
    void TearDown() override {
        g_worldDrawHook = nullptr;
        g_worldSoundHook = nullptr;
        g_fps = 30.0f;
    }

    static D3DXMATRIX identity() {
        D3DXMATRIX m{};
        m._11 = m._22 = m._33 = m._44 = 1.0f;
        return m;
    }

    // With the cursor ray from the eye through the origin, an eye at height 20 puts the ground point
    // (y = 10) half-way: aiming at (x, z) means an eye at (2x, 20, 2z).
    static void aimCursorAt(float x, float z) { g_camera.eye = MakeVector(2.0f * x, 20.0f, 2.0f * z); }

    // Presses the keyboard's drive keys as the game's key handling does before the world runs.
    static void holdUp() {
        g_world.accelerateSelected();
        g_world.crashArmed = 1;
    }
    static void holdDown() {
        g_world.brakeSelected();
        g_world.crashArmed = 1;
    }

    static std::vector<int32_t> drawnSlots() {
        std::vector<int32_t> slots;
        for (const WorldDrawEvent& e : DrawLog::events()) {
            if (e.kind == WorldDrawEvent::kModel) slots.push_back(e.slot);
        }
        return slots;
    }
};
