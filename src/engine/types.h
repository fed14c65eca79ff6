// The shared records: vectors and colours with their builders.
#pragma once

struct Vector3 {
    float x;
    float y;
    float z;
};

// Laid out as D3DCOLORVALUE; components may exceed 1.0.
struct Color4 {
    float r;
    float g;
    float b;
    float a;
};

inline Vector3 MakeVector(float x, float y, float z) { return Vector3{x, y, z}; }
// Alpha first, although it is stored last.
inline Color4 MakeColor(float a, float r, float g, float b) { return Color4{r, g, b, a}; }
// Alpha 0.
inline Color4 MakeColorRGB(float r, float g, float b) { return Color4{r, g, b, 0.0f}; }
