// Arial text drawn at pixel positions through a font made from a GDI font description.
#include "render/text_font.h"

#include "engine/engine.h"
#include "engine/log.h"
#include "render/helpers.h"

TextFont::~TextFont() { Release(); }

// The face is Arial whatever name is passed.
void TextFont::Create(int32_t height, int32_t weight, const char* /*faceName*/) {
    LogWrite("Vytvaram DXFONT");
    Release();
    HFONT gdiFont = CreateFontA(height, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    if (gdiFont == nullptr) LogWrite("  Chyba pri vytvarani fontu");
    HRESULT hr = E_FAIL;
    if (g_pDevice != nullptr && gdiFont != nullptr) hr = D3DXCreateFont(g_pDevice, gdiFont, &font);
    if (FAILED(hr) || font == nullptr) {
        font = nullptr;
        LogWrite("  Chyba pri vytvarani fontu");
    }
    if (gdiFont != nullptr) DeleteObject(gdiFont);
    rect = {0, 0, static_cast<LONG>(g_engine.width), static_cast<LONG>(g_engine.height)};
}

void TextFont::Draw(int32_t x, int32_t y, Color4 color, const char* text) {
    rect.left = x;
    rect.top = y;
    if (font == nullptr || text == nullptr) return;  // never created: nothing to draw with
    font->DrawTextA(nullptr, text, -1, &rect, DT_LEFT | DT_TOP, ToD3DColor(color));
}

void TextFont::Release() {
    if (font != nullptr) {
        font->Release();
        font = nullptr;
    }
}
