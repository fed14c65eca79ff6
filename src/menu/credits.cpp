// The credits: one image until a key or a click.
#include "engine/engine.h"
#include "menu/menu_screens.h"

void SetUpCredits(Menu& menu) {
    menu.creditsScreen = 0;
    CreatePanel(menu.credits, 255.0f, 364.0f, 163, 1);
}

void RunCredits(Menu& menu) {
    PlaceAt(menu.background, 400.0f, 300.0f);
    menu.background.Draw();
    PlaceAt(menu.credits, 584.0f, 335.0f);
    g_engine.BlendAlpha();
    menu.credits.Draw();
    g_engine.BlendOff();

    if (KeyPressed(DIK_RETURN) || Clicked() || KeyPressed(DIK_SPACE) || KeyPressed(DIK_ESCAPE)) {
        menu.creditsScreen = 0;
        menu.mainMenuScreen = 1;
    }
}
