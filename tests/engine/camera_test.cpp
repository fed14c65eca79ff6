#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "app/win_main.h"
#include "engine/camera.h"
#include "engine/engine.h"
#include "engine/frame_timer.h"
#include "engine/input.h"
#include "game/game_world.h"
#include "menu/menu.h"

namespace {

class CameraTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_camera = Camera{};
        g_engine.width = 800;
        g_engine.height = 600;
        std::memset(g_input.keyDown, 0, sizeof g_input.keyDown);
        std::memset(g_input.keyPressed, 0, sizeof g_input.keyPressed);
        g_input.mousePos = MakeVector(400.0f, 300.0f, 0.0f);
        g_fps = 30.0f;
        g_menu.fadingIn = g_menu.fadingToMenu = g_menu.fadingToNextLevel = 0;
        g_menu.levelDialogShown = 0;
        g_world.setUpLevel(1);
    }
    void TearDown() override { g_fps = 1000.0f; }

    // One game frame of the camera: the keys, then the view.
    void Frame() {
        HandleGameKeys();
        g_camera.target = MakeVector(0.0f, 0.0f, 0.0f);
        g_camera.UpdateView();
    }
};

TEST_F(CameraTest, StartsAboveTheLotLookingAtTheOrigin) {
    Frame();
    EXPECT_NEAR(g_camera.eye.x, -181.859f, 0.01f);
    EXPECT_FLOAT_EQ(g_camera.eye.y, 180.0f);
    EXPECT_NEAR(g_camera.eye.z, -83.229f, 0.01f);
    // The view matrix maps the eye to the origin and the target straight ahead (+z).
    auto transform = [](Vector3 p) {
        const D3DXMATRIX& m = g_matView;
        return MakeVector(p.x * m._11 + p.y * m._21 + p.z * m._31 + m._41, p.x * m._12 + p.y * m._22 + p.z * m._32 + m._42,
                          p.x * m._13 + p.y * m._23 + p.z * m._33 + m._43);
    };
    const Vector3 eye = transform(g_camera.eye);
    EXPECT_NEAR(eye.x, 0.0f, 1e-3f);
    EXPECT_NEAR(eye.z, 0.0f, 1e-3f);
    const Vector3 target = transform(MakeVector(0, 0, 0));
    EXPECT_NEAR(target.x, 0.0f, 1e-3f);
    EXPECT_NEAR(target.y, 0.0f, 1e-3f);
    EXPECT_NEAR(target.z, std::sqrt(200.0f * 200.0f + 180.0f * 180.0f), 1e-2f);
}

TEST_F(CameraTest, ArrowsAndExactScreenEdgesTurnIt) {
    g_input.keyDown[DIK_RIGHT] = 1;
    Frame();
    EXPECT_FLOAT_EQ(g_camera.rotation.y, -2.05f);
    g_input.keyDown[DIK_RIGHT] = 0;

    g_input.mousePos.x = 0.0f;  // left edge
    Frame();
    EXPECT_FLOAT_EQ(g_camera.rotation.y, -2.0f);

    g_input.mousePos.x = 1.0f;  // a pixel short of the edge
    Frame();
    EXPECT_FLOAT_EQ(g_camera.rotation.y, -2.0f);
    g_input.mousePos.x = 798.0f;
    Frame();
    EXPECT_FLOAT_EQ(g_camera.rotation.y, -2.0f);
    g_input.mousePos.x = 799.0f;  // the right edge of an 800-pixel screen
    Frame();
    EXPECT_FLOAT_EQ(g_camera.rotation.y, -2.05f);
}

TEST_F(CameraTest, RightArrowWithTheCursorOnTheLeftEdgeCancels) {
    g_input.keyDown[DIK_RIGHT] = 1;
    g_input.mousePos.x = 0.0f;
    for (int i = 0; i < 10; ++i) Frame();
    EXPECT_FLOAT_EQ(g_camera.rotation.y, -2.0f);
}

TEST_F(CameraTest, TurningIsTheSameAngleBySecondAtAnyFrameRate) {
    g_input.keyDown[DIK_LEFT] = 1;
    g_fps = 80.0f;
    for (int i = 0; i < 80; ++i) Frame();
    EXPECT_NEAR(g_camera.rotation.y, -2.0f + 1.5f, 1e-4f);  // 1.5 radians a second
}

TEST_F(CameraTest, ZoomStopsOnceTheEyeReachesItsLimits) {
    Frame();
    g_input.keyDown[DIK_RCONTROL] = 1;
    float highest = 0.0f;
    for (int i = 0; i < 200; ++i) {
        Frame();
        highest = std::max(highest, g_camera.eye.y);
    }
    // It rises while the eye is below 400, so it overshoots by at most one step (7.5 units of height).
    EXPECT_GE(g_camera.eye.y, 400.0f);
    EXPECT_LT(highest, 400.0f + 7.5f + 0.01f);
    const float top = g_camera.distance;
    Frame();
    EXPECT_FLOAT_EQ(g_camera.distance, top);

    g_input.keyDown[DIK_RCONTROL] = 0;
    g_input.keyDown[DIK_RSHIFT] = 1;
    for (int i = 0; i < 200; ++i) Frame();
    EXPECT_LE(g_camera.eye.y, 165.0f);
    EXPECT_GT(g_camera.eye.y, 165.0f - 7.5f - 0.01f);

    // The top and bottom edges of the screen zoom too.
    g_input.keyDown[DIK_RSHIFT] = 0;
    const float low = g_camera.distance;
    g_input.mousePos.y = 599.0f;
    Frame();
    EXPECT_FLOAT_EQ(g_camera.distance, low + 5.0f);
}

TEST_F(CameraTest, EscapeOpensTheDialogOncePerPressAndNotDuringFades) {
    g_input.keyPressed[DIK_ESCAPE] = 1;
    g_menu.fadingIn = 1;
    Frame();
    EXPECT_EQ(g_menu.levelDialogShown, 0);
    g_menu.fadingIn = 0;
    g_menu.fadingToNextLevel = 1;
    Frame();
    EXPECT_EQ(g_menu.levelDialogShown, 0);
    g_menu.fadingToNextLevel = 0;
    g_menu.fadingToMenu = 1;
    Frame();
    EXPECT_EQ(g_menu.levelDialogShown, 0);
    g_menu.fadingToMenu = 0;
    g_input.keyDown[DIK_ESCAPE] = 1;
    g_input.keyPressed[DIK_ESCAPE] = 0;  // held, not pressed
    Frame();
    EXPECT_EQ(g_menu.levelDialogShown, 0);
    g_input.keyPressed[DIK_ESCAPE] = 1;
    Frame();
    EXPECT_EQ(g_menu.levelDialogShown, 1);
}

TEST_F(CameraTest, ArrowKeysDriveTheSelectedBusAndArmTheCrashSound) {
    g_world.crashArmed = 0;
    g_input.keyDown[DIK_UP] = 1;
    Frame();
    EXPECT_FLOAT_EQ(g_world.buses[0].speed, 0.21f);
    EXPECT_EQ(g_world.crashArmed, 1);
    g_input.keyDown[DIK_UP] = 0;
    g_input.keyDown[DIK_DOWN] = 1;
    g_world.crashArmed = 0;
    Frame();
    EXPECT_FLOAT_EQ(g_world.buses[0].speed, 0.0f);
    EXPECT_EQ(g_world.crashArmed, 1);
    g_input.keyDown[DIK_DOWN] = 0;
    g_input.keyPressed[DIK_SPACE] = 1;
    Frame();
    EXPECT_EQ(g_world.selectedBus, 1);
}

}  // namespace
