#include "platform/gdi_font.h"

#include <cstring>
#include <set>

struct HFONT__ {
    platform::GdiFontDescription description;
};

namespace {
std::set<HFONT__*>& LiveFonts() {
    static std::set<HFONT__*> live;
    return live;
}
}  // namespace

HFONT CreateFontA(int height, int, int, int, int weight, DWORD italic, DWORD, DWORD, DWORD, DWORD, DWORD,
                  DWORD, DWORD, LPCSTR faceName) {
    auto* font = new HFONT__();
    font->description.height = height;
    font->description.weight = weight <= 0 ? 400 : weight;
    font->description.italic = italic != 0;
    if (faceName && !IS_INTRESOURCE(faceName)) font->description.face.assign(faceName, strnlen(faceName, 32));
    LiveFonts().insert(font);
    return font;
}

BOOL DeleteObject(HGDIOBJ object) {
    auto* font = static_cast<HFONT__*>(object);
    if (!font || !LiveFonts().erase(font)) return FALSE;
    delete font;
    return TRUE;
}

namespace platform {

bool LookUpGdiFont(HFONT font, GdiFontDescription& out) {
    if (!font || !LiveFonts().count(font)) return false;
    out = font->description;
    return true;
}

}  // namespace platform
