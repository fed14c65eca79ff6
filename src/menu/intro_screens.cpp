// The three logo screens: a rolling wheel pushes a black bar off each row and uncovers a logo, which
// then darkens to black; about 4.4 s each, Space skips to the next.
#include "engine/engine.h"
#include "engine/frame_timer.h"
#include "menu/menu_screens.h"

namespace {

// One row: the logo, then the bar, then the wheel, whose centre sits on the bar's rear edge so that
// it seems to push the bar across the screen.
void DrawRow(Menu& menu, Panel& logo, float logoX, float rowY, float barX, float wheelX, float angle) {
    PlaceAt(logo, logoX, rowY);
    logo.Draw();
    PlaceAt(menu.coverBar, barX, rowY);
    menu.coverBar.Draw();
    menu.wheel.angle = angle;
    PlaceAt(menu.wheel, wheelX, rowY);
    g_engine.BlendAlpha();
    menu.wheel.Draw();
    g_engine.BlendOff();
}

void LeaveIntroScreen(Menu& menu, int screen) {
    if (screen == 1) {
        menu.introScreen2 = 1;
        menu.introScreen1 = 0;
    } else if (screen == 2) {
        menu.introScreen3 = 1;
        menu.introScreen2 = 0;
    } else {
        menu.mainMenuScreen = 1;
        menu.introScreen3 = 0;
    }
    menu.introTimer = 0.0f;
}

}  // namespace

void SetUpIntro(Menu& menu) {
    menu.introTimer = 0.0f;
    menu.introScreen1 = 1;
    menu.introScreen3 = 0;
    menu.introScreen2 = 0;
    CreatePanel(menu.wheel, 128.0f, 128.0f, 153, 1);
    CreatePanel(menu.coverBar, 1200.0f, 128.0f, 161, 1);
    CreatePanel(menu.logoA, 302.0f, 59.0f, 154, 1);
    CreatePanel(menu.logoC, 411.0f, 93.0f, 157, 1);
    CreatePanel(menu.logoB, 253.0f, 59.0f, 159, 1);
    CreatePanel(menu.titleLogo, 512.0f, 128.0f, 158, 1);
}

void RunIntroScreen(Menu& menu, int screen) {
    float& t = menu.introTimer;
    t += FrameMillis(0.00045f);

    // Lit for the first half, then darkening linearly to black at t = 2.
    Color4 logoColor = t <= 1.0f ? kMenuLit : MakeColorRGB(2.0f - t, 2.0f - t, 2.0f - t);
    if (screen == 1) {
        menu.logoA.color = logoColor;
        menu.logoB.color = logoColor;
    } else if (screen == 2) {
        menu.logoC.color = logoColor;
    } else {
        menu.titleLogo.color = logoColor;
    }

    if (t > 2.0f) {
        LeaveIntroScreen(menu, screen);
        return;
    }

    const float step = 1000.0f * t;
    if (screen == 1) {
        DrawRow(menu, menu.logoA, 300.0f, 400.0f, 400.0f + step, step - 200.0f, -20.0f * t);
        DrawRow(menu, menu.logoB, 500.0f, 200.0f, 400.0f - step, 1000.0f - step, 20.0f * t);
    } else if (screen == 2) {
        DrawRow(menu, menu.logoC, 400.0f, 300.0f, 400.0f - step, 1000.0f - step, 20.0f * t);
    } else {
        DrawRow(menu, menu.titleLogo, 400.0f, 300.0f, 500.0f + step, step - 100.0f, -20.0f * t);
    }

    if (KeyPressed(DIK_SPACE)) LeaveIntroScreen(menu, screen);
}
