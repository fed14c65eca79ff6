#include "app/win_main.h"
#include "engine/camera.h"
#include "engine/engine.h"
#include "engine/frame_timer.h"
#include "engine/input.h"
#include "game/game_world.h"
#include "menu/menu.h"

void HandleGameKeys() {
    const Input& in = g_input;
    const float right = static_cast<float>(g_engine.width) - 1.0f;
    const float bottom = static_cast<float>(g_engine.height) - 1.0f;

    // The edges are exact comparisons: a pixel short of the edge does nothing.
    if (in.keyDown[DIK_RIGHT] == 1 || in.mousePos.x == right) g_camera.rotation.y -= FrameStep(0.05f);
    if (in.keyDown[DIK_LEFT] == 1 || in.mousePos.x == 0.0f) g_camera.rotation.y += FrameStep(0.05f);

    if (in.keyDown[DIK_UP] == 1) {
        g_world.accelerateSelected();
        g_world.crashArmed = 1;
    }
    if (in.keyDown[DIK_DOWN] == 1) {
        g_world.brakeSelected();
        g_world.crashArmed = 1;
    }
    if (in.keyPressed[DIK_SPACE] == 1) g_world.selectNextBus();
    if (in.keyPressed[DIK_ESCAPE] == 1 && !g_menu.fadingToNextLevel && !g_menu.fadingIn && !g_menu.fadingToMenu)
        g_menu.levelDialogShown = 1;

    // The zoom limits test the eye height of the previous frame's view.
    if ((in.keyDown[DIK_RCONTROL] == 1 || in.mousePos.y == bottom) && g_camera.eye.y < 400.0f)
        g_camera.distance += FrameStep(5.0f);
    if ((in.keyDown[DIK_RSHIFT] == 1 || in.mousePos.y == 0.0f) && g_camera.eye.y > 165.0f)
        g_camera.distance -= FrameStep(5.0f);
}
