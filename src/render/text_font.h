// Arial bold text at pixel positions, in code page 1250.
#pragma once
#include <cstdint>
#include "engine/types.h"
#include "platform/d3dx9.h"

class TextFont {
public:
    ID3DXFont* font = nullptr;
    RECT rect{0, 0, 0, 0};

    ~TextFont();
    void Create(int32_t height, int32_t weight, const char* faceName);
    void Draw(int32_t x, int32_t y, Color4 color, const char* text);
    void Release();
};
