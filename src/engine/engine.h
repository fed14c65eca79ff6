// The graphics device, its settings and the render-state operations every other layer goes through.
#pragma once
#include <cstdint>
#include "engine/types.h"
#include "platform/d3dx9.h"

class Engine {
public:
    uint32_t height = 0;
    uint32_t width = 0;
    uint8_t windowed = 0;
    D3DFORMAT screenFormat = D3DFMT_UNKNOWN;
    D3DFORMAT textureFormat = D3DFMT_UNKNOWN;
    float nearPlane = 0.0f;
    float farPlane = 0.0f;
    Color4 backgroundColor{};
    D3DVIEWPORT9 viewport{};
    uint32_t textureMipLevels = 0;
    D3DXMATRIX projection{};

    // Creates the log, logs the settings, creates g_pD3D and g_pDevice (with the 16-bit retry).
    // Returns false when no device exists afterwards (the message box has been shown).
    bool Init();
    void Release();

    void BlendOff();
    void BlendAdditive();
    void BlendAlpha();
    void SetCullMode(uint32_t mode);
    void SetFillMode(uint32_t mode);
    void SetTextureFilter(uint32_t sampler, uint32_t filter);
    void SetShadeMode(uint32_t mode);
    void SetZBuffer(uint8_t on);
    void SetMipFilter(uint32_t sampler, uint8_t on);
    void SetLighting(uint8_t on);
    void SetSpecular(uint8_t on);
    void SetAlphaTest(uint8_t on);
    void SetUnlitTextureStages();
    void SetProjection();
};

extern Engine g_engine;
extern IDirect3D9* g_pD3D;
extern IDirect3DDevice9* g_pDevice;
extern HWND g_hWnd;
extern HINSTANCE g_hInstance;
