// A textured quad in screen pixels or in the virtual 800 x 600 screen, with a few alternative images.
#pragma once
#include <cstdint>
#include "engine/types.h"
#include "platform/d3d9.h"

struct PanelVertex {
    float x, y, z, rhw;
    D3DCOLOR diffuse;
    float u, v;
};

class Panel {
public:
    IDirect3DTexture9** frames = nullptr;
    PanelVertex* vertices = nullptr;
    Vector3 corners[4] = {};
    float angle = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
    int32_t frameCount = 0;
    float frame = 0.0f;
    Vector3 position{0.0f, 0.0f, 0.0f};
    Color4 color{255.0f, 255.0f, 255.0f, 255.0f};
    uint8_t scaleToScreen = 0;
    int32_t capacity = 0;

    ~Panel();
    void Create(float w, float h, int32_t frameCapacity);
    void AddFrame(int32_t resourceId, Color4 key);
    void SetPosition(Vector3 p);
    void Rebuild();
    uint8_t Contains(Vector3 point);
    void Draw();
    void Release();
};
