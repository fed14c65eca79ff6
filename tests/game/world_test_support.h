// Shared set-up for the game-world tests: a clean world, fixed frame rate, no input, and records of
// what the world draws and plays (the records stay hooked up after a test: every test starts afresh).
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
#include "platform/d3dx9.h"

// The generator written out again, independently of the game's, to predict its draws.
struct ReferenceRandom {
    uint32_t state;
    int32_t next() {
        state = state * 214013u + 2531011u;
        return static_cast<int32_t>((state >> 16) % 32768u);
    }
    float between(float lo, float hi) {
        return lo + (static_cast<float>(next()) * (1.0f / 32767.0f)) * (hi - lo);
    }
};

inline std::vector<WorldDrawEvent> g_drawn;
inline std::vector<int32_t> g_played;

class WorldTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_world = GameWorld{};
        g_world.clearWorld();
        g_input = Input{};
        g_menu.fadingToNextLevel = g_menu.fadingIn = g_menu.fadingToMenu = 0;
        SceneDetail = isNight = 0;
        g_fps = 30.0f;
        g_drawn.clear(), g_played.clear();
        g_worldDrawHook = [](const WorldDrawEvent& e) { g_drawn.push_back(e); };
        g_worldSoundHook = [](int32_t slot) { g_played.push_back(slot); };
        // A viewport and identity transforms: the centre pixel then unprojects to the origin, and the
        // cursor's ground point is steered by the camera eye alone (see aimCursorAt).
        g_engine.viewport = D3DVIEWPORT9{0, 0, 800, 600, 0.0f, 1.0f};
        D3DXMatrixIdentity(&g_engine.projection), D3DXMatrixIdentity(&g_matView);
        g_input.mousePos = MakeVector(400.0f, 300.0f, 0.0f);
    }
    // With the cursor ray from the eye through the origin, an eye at height 20 puts the ground point
    // (y = 10) half-way: aiming at (x, z) means an eye at (2x, 20, 2z).
    static void aimCursorAt(float x, float z) { g_camera.eye = MakeVector(2.0f * x, 20.0f, 2.0f * z); }
    static Bus& addBus(float x, float z, float heading = kHeadingMinusZ, float halfLength = 20.0f,
                       int type = 0) {
        g_world.addBus(MakeVector(x, 0.0f, z), heading, halfLength, type);
        return g_world.buses[g_world.busCount - 1];
    }
    static void run(int frames) {
        for (int f = 0; f < frames; ++f) g_world.updateWorld();
    }
};
