// The one frame shown while the game loads.
#include "engine/engine.h"
#include "engine/log.h"
#include "menu/resource_set.h"
#include "platform/language.h"
#include "render/text_font.h"

void ShowLoadingScreen() {
    if (g_pDevice == nullptr) {
        LogWrite("Obrazovka nacitavania: chyba zariadenie");
        return;
    }
    TextFont font;
    font.Create(35, 700, "Arial");
    g_pDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
    g_pDevice->BeginScene();
    const PlacedText& text = Texts().loading;
    const int32_t x = static_cast<int32_t>(g_engine.width / 2) + text.left;
    const int32_t y = static_cast<int32_t>(g_engine.height / 2) - 14;
    font.Draw(x, y, MakeColor(1.0f, 1.0f, 1.0f, 1.0f), text.text);
    g_pDevice->EndScene();
    g_pDevice->Present(nullptr, nullptr, nullptr, nullptr);
    font.Release();
}
