#include <cstdio>

#include "app/globals.h"
#include "app/win_main.h"
#include "engine/camera.h"
#include "engine/engine.h"
#include "engine/frame_timer.h"
#include "engine/game_state.h"
#include "engine/input.h"
#include "engine/light_set.h"
#include "engine/log.h"
#include "game/game_world.h"
#include "menu/menu.h"
#include "render/helpers.h"
#include "render/scene.h"

namespace {

uint32_t ClearChannel(float value) {
    if (value >= 1.0f) return 255;
    if (value <= 0.0f) return 0;
    return static_cast<uint32_t>(value * 255.0f + 0.5f);
}

D3DCOLOR ClearColour() {
    const Color4& c = g_engine.backgroundColor;
    return 0xFF000000u | ClearChannel(c.r) << 16 | ClearChannel(c.g) << 8 | ClearChannel(c.b);
}

void RunGameFrame() {
    HandleGameKeys();
    g_camera.target = MakeVector(0.0f, 0.0f, 0.0f);
    g_camera.UpdateView();

    if (g_lightSet.records && g_lightSet.count >= 2) {
        g_lightSet.records[0].enabled = isNight == 0 ? 1 : 0;
        g_lightSet.records[1].enabled = isNight == 0 ? 0 : 1;
    }
    g_lightSet.Apply();

    g_engine.SetAlphaTest(1);
    g_world.updateWorld();
    g_engine.SetAlphaTest(0);

    g_scene.Draw();

    g_engine.BlendAlpha();
    if (g_input.keyDown[DIK_F] == 1) {
        char text[64];
        std::snprintf(text, sizeof text, "FPS: %d ", g_fpsWhole);
        g_smallFont.Draw(20, 20, MakeColor(1.0f, 1.0f, 1.0f, 1.0f), text);
    }
    g_engine.BlendOff();
}

}  // namespace

void RenderFrame() {
    FrameBegin();
    if (g_pDevice) {
        g_pDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, ClearColour(), 1.0f, 0);
        g_pDevice->BeginScene();
    }
    g_input.ReadKeyboard();
    g_input.ReadMouse();
    g_engine.SetProjection();
    ShowCursor(FALSE);

    if (g_menu.active == 1) {
        g_menu.RunScreen();
        if (g_menu.mainMenuScreen) {
            g_smallFont.Draw(static_cast<int32_t>(g_engine.width) - 250, static_cast<int32_t>(g_engine.height) - 15,
                             MakeColor(1.0f, 0.7f, 0.7f, 0.7f), kVersionLine);
        }
    } else {
        RunGameFrame();
    }

    g_menu.UpdateFade();
    g_menu.UpdateLevelDialog();

    g_engine.BlendAlpha();
    g_cursorPanel.position = MakeVector(g_input.mousePos.x + g_cursorPanel.width * 0.5f,
                                        g_input.mousePos.y + g_cursorPanel.height * 0.5f, 0.0f);
    g_cursorPanel.Draw();
    g_engine.BlendOff();

    if (g_pDevice) {
        g_pDevice->EndScene();
        g_pDevice->Present(nullptr, nullptr, nullptr, nullptr);
    }
    FrameEnd();
}
