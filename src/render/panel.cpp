// Screen panels: textured quads in pixels or in the virtual 800 x 600 screen.
#include "render/panel.h"

#include <cmath>
#include <cstdlib>

#include "engine/engine.h"
#include "engine/log.h"
#include "render/helpers.h"

namespace {

constexpr uint32_t kPanelFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;
constexpr float kTexU[4] = {0.0f, 1.0f, 1.0f, 0.0f};
constexpr float kTexV[4] = {0.0f, 0.0f, 1.0f, 1.0f};

void AxisAlignedCorners(Vector3 centre, float width, float height, Vector3 corners[4]) {
    float hw = width * 0.5f;
    float hh = height * 0.5f;
    corners[0] = {centre.x - hw, centre.y - hh, 0.0f};
    corners[1] = {centre.x + hw, centre.y - hh, 0.0f};
    corners[2] = {centre.x + hw, centre.y + hh, 0.0f};
    corners[3] = {centre.x - hw, centre.y + hh, 0.0f};
}

}  // namespace

Panel::~Panel() { Release(); }

void Panel::Create(float w, float h, int32_t frameCapacity) {
    LogWriteF("Vytvaram 2D Panel NumFrames: %d", frameCapacity);
    Release();
    capacity = frameCapacity > 0 ? frameCapacity : 0;
    frames = static_cast<IDirect3DTexture9**>(std::calloc(capacity > 0 ? capacity : 1, sizeof(IDirect3DTexture9*)));
    vertices = static_cast<PanelVertex*>(std::calloc(4, sizeof(PanelVertex)));
    width = w;
    height = h;
    AxisAlignedCorners(position, width, height, corners);
}

void Panel::AddFrame(int32_t resourceId, Color4 key) {
    LogWriteF("  AddFrame: %d %d", frameCount, resourceId);
    if (frames == nullptr || frameCount >= capacity) {
        LogWriteF("  Chyba: panel ma miesto len pre %d snimkov", capacity);
        return;
    }
    // The key is always opaque: the bitmaps' texels are, and all four channels are compared.
    D3DCOLOR colorKey = ToD3DColor(key) | 0xFF000000u;
    IDirect3DTexture9* texture = nullptr;
    HRESULT hr = E_FAIL;
    if (g_pDevice != nullptr) {
        hr = D3DXCreateTextureFromResourceExA(g_pDevice, g_hInstance, MAKEINTRESOURCEA(resourceId), D3DX_DEFAULT,
                                              D3DX_DEFAULT, 0, 0, g_engine.textureFormat, D3DPOOL_DEFAULT,
                                              D3DX_DEFAULT, D3DX_DEFAULT, colorKey, nullptr, nullptr, &texture);
    }
    if (SUCCEEDED(hr) && texture != nullptr) {
        frames[frameCount] = texture;
        LogWrite("  Textura vytvorena");
    } else {
        frames[frameCount] = nullptr;
        LogWriteF("  chyba pri vytvarani textury: %d", resourceId);
    }
    frameCount += 1;
}

void Panel::SetPosition(Vector3 p) {
    position = {static_cast<float>(g_engine.width) * p.x, static_cast<float>(g_engine.height) * p.y, 0.0f};
}

void Panel::Rebuild() {
    AxisAlignedCorners(position, width, height, corners);
    const Vector3 m = position;
    for (Vector3& c : corners) {
        float r = Distance(m, c);
        if (!(r > 0.0f)) {
            c = {m.x, m.y, 0.0f};  // a panel without size has no direction to turn
            continue;
        }
        float s = (c.x - m.x) / r;
        float phi = std::asin(s);
        if ((c.y - m.y) / r < 0.0f && s != 0.0f) phi = 3.14f - phi;
        float theta = phi + angle;
        c = {m.x + r * std::sin(theta), m.y + r * std::cos(theta), 0.0f};
    }
    if (scaleToScreen == 1) {
        for (Vector3& c : corners) {
            c.x = VirtualToScreenX(c.x);
            c.y = VirtualToScreenY(c.y);
        }
    }
    if (vertices == nullptr) return;
    D3DCOLOR diffuse = ToD3DColor(color);
    for (int i = 0; i < 4; ++i) {
        vertices[i] = {corners[i].x, corners[i].y, 0.0f, 1.0f, diffuse, kTexU[i], kTexV[i]};
    }
}

uint8_t Panel::Contains(Vector3 point) {
    float sum = AngleBetween(point, corners[0], corners[1]) + AngleBetween(point, corners[1], corners[2]) +
                AngleBetween(point, corners[2], corners[3]) + AngleBetween(point, corners[3], corners[0]);
    return (sum > 6.24f && sum < 6.3f) ? 1 : 0;
}

void Panel::Draw() {
    // Past the last frame, or not a number: back to frame 0.
    if (!(frame < static_cast<float>(frameCount))) frame = 0.0f;
    Rebuild();
    if (g_pDevice == nullptr || vertices == nullptr) return;
    int32_t index = frame > 0.0f ? static_cast<int32_t>(frame) : 0;
    IDirect3DTexture9* texture = (frames != nullptr && index < frameCount) ? frames[index] : nullptr;
    g_pDevice->SetTexture(0, texture);
    g_pDevice->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    g_pDevice->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    g_pDevice->SetFVF(kPanelFvf);
    g_pDevice->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, vertices, sizeof(PanelVertex));
    g_pDevice->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
    g_pDevice->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP);
}

void Panel::Release() {
    if (frames != nullptr) {
        for (int32_t i = 0; i < frameCount && i < capacity; ++i) {
            if (frames[i] != nullptr) frames[i]->Release();
        }
        std::free(frames);
        frames = nullptr;
    }
    std::free(vertices);
    vertices = nullptr;
    frameCount = 0;
    capacity = 0;
}
