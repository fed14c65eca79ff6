// Drawing helpers shared by the rendering tests.
#pragma once
#include <cstdint>

#include "engine/engine.h"
#include "platform/d3dx9.h"
#include "support/device_fixture.h"

struct ScreenVertex {  // format 0x144
    float x, y, z, rhw;
    D3DCOLOR color;
    float u = 0, v = 0;
};

struct ColoredVertex {  // format 0x152
    float x, y, z;
    float nx, ny, nz;
    D3DCOLOR color;
    float u = 0, v = 0;
};

// A screen rectangle at depth z drawn as a fan in the panel's corner order (top left, top right,
// bottom right, bottom left).
inline void DrawScreenQuad(float x0, float y0, float x1, float y1, D3DCOLOR color, float z = 0) {
    const ScreenVertex v[4] = {{x0, y0, z, 1, color, 0, 0},
                               {x1, y0, z, 1, color, 1, 0},
                               {x1, y1, z, 1, color, 1, 1},
                               {x0, y1, z, 1, color, 0, 1}};
    g_pDevice->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    g_pDevice->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, v, sizeof(ScreenVertex));
}

constexpr auto Red = [](uint32_t c) { return int(c >> 16 & 0xFF); };
constexpr auto Green = [](uint32_t c) { return int(c >> 8 & 0xFF); };
constexpr auto Blue = [](uint32_t c) { return int(c & 0xFF); };

inline void Blend(BOOL on, D3DBLEND source, D3DBLEND destination) {
    g_pDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, on);
    g_pDevice->SetRenderState(D3DRS_SRCBLEND, source);
    g_pDevice->SetRenderState(D3DRS_DESTBLEND, destination);
}

// The bitmap resource `id` as a texture of the format, colour key and mip levels; null when it fails.
inline IDirect3DTexture9* LoadTexture(int id, D3DFORMAT format = D3DFMT_A8R8G8B8, D3DCOLOR key = 0,
                                      UINT mips = 1, HRESULT* result = nullptr) {
    IDirect3DTexture9* texture = nullptr;
    const HRESULT hr = D3DXCreateTextureFromResourceExA(
        g_pDevice, nullptr, MAKEINTRESOURCEA(id), D3DX_DEFAULT, D3DX_DEFAULT, mips, 0, format,
        D3DPOOL_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, key, nullptr, nullptr, &texture);
    if (result) *result = hr;
    return texture;
}

inline void ClearTo(D3DCOLOR color) {
    g_pDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, color, 1.0f, 0);
}
