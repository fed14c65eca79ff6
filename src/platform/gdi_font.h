// The GDI font handles: only a description that D3DXCreateFont reads.
#pragma once
#include <string>

#include "platform/win32.h"

namespace platform {

struct GdiFontDescription {
    int height = 0;  // > 0: cell height in pixels; < 0: character (em) height; 0: default
    int weight = 400;
    bool italic = false;
    std::string face;
};

// False when `font` is not a live handle from CreateFontA.
bool LookUpGdiFont(HFONT font, GdiFontDescription& out);

}  // namespace platform
