// The closing screen after the last level: the title, the end, and two wheels that drop and bounce.
#include "engine/engine.h"
#include "engine/frame_timer.h"
#include "menu/menu_screens.h"

namespace {

// The wheels' floor (virtual y) and how much of their speed a bounce keeps.
constexpr float kFloor = 500.0f;
constexpr float kGravity = 0.45f;
constexpr float kBounce = -0.6f;

void MoveWheel(float& y, float& speed) {
    y += FrameStep(speed);
    speed += FrameStep(kGravity);
    if (y > kFloor) {
        y -= FrameStep(speed);
        speed *= kBounce;
        if (speed > -0.1f && speed < 0.1f) speed = 0.0f;
    }
}

void DrawWheel(Menu& menu, float x, float y) {
    PlaceAt(menu.wheel, x, y);
    g_engine.BlendAlpha();
    menu.wheel.Draw();
    g_engine.BlendOff();
}

}  // namespace

void SetUpClosingScreen(Menu& menu) {
    menu.wheelY[0] = -200.0f;
    menu.wheelY[1] = -400.0f;
    menu.wheelSpeed[0] = 0.0f;
    menu.wheelSpeed[1] = 0.0f;
    menu.closingScreen = 0;
    // Red on black; its key is magenta given with alpha 1.
    const int32_t bitmap = 152;
    CreatePanel(menu.theEnd, 147.0f, 42.0f, &bitmap, 1, 1, MakeColor(1.0f, 1.0f, 0.0f, 1.0f));
}

void RunClosingScreen(Menu& menu) {
    menu.titleLogo.color = kMenuLit;
    PlaceAt(menu.titleLogo, 400.0f, 300.0f);
    menu.titleLogo.Draw();
    PlaceAt(menu.theEnd, 400.0f, 420.0f);
    menu.theEnd.Draw();

    for (int i = 0; i < 2; ++i) MoveWheel(menu.wheelY[i], menu.wheelSpeed[i]);

    menu.wheel.angle = 0.0f;
    DrawWheel(menu, 200.0f, menu.wheelY[0]);
    DrawWheel(menu, 600.0f, menu.wheelY[1]);

    if (KeyPressed(DIK_SPACE) || KeyPressed(DIK_RETURN) || KeyPressed(DIK_ESCAPE) || Clicked()) {
        menu.introScreen1 = 1;
        menu.closingScreen = 0;
        // Later visits drop the wheels from lower down.
        menu.wheelY[0] = -50.0f;
        menu.wheelY[1] = -100.0f;
        menu.wheelSpeed[0] = 0.0f;
        menu.wheelSpeed[1] = 0.0f;
        menu.introTimer = 0.0f;
    }
}
