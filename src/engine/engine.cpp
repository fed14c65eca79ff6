#include "engine/engine.h"

#include <cstring>
#include <initializer_list>

#include "engine/log.h"
#include "platform/language.h"

namespace {
const unsigned kFallbackWidth = 800;
const unsigned kFallbackHeight = 600;

// The vertical field of view, as the float with bits 0x3F3F7CD1 (about 42.86 degrees).
float FieldOfView() {
    const uint32_t bits = 0x3F3F7CD1u;
    float fov;
    std::memcpy(&fov, &bits, sizeof fov);
    return fov;
}
}  // namespace

bool Engine::Init() {
    LogInit();
    LogWrite(kVersionLine);
    LogWrite(">>>Inicializijem ENGINE");
    LogWrite("Nastavenia:");
    LogWriteF("   Sirka: %d  Vyska: %d", static_cast<int>(width), static_cast<int>(height));
    LogWriteF("   Windowed: %d ", windowed);
    LogWriteF("   Max: %.2f  Min: %.2f", farPlane, nearPlane);
    LogWriteF("   BackColor: %f %f %f", backgroundColor.r, backgroundColor.g, backgroundColor.b);
    LogWriteF("   Format Obrazovky: %d ", static_cast<int>(screenFormat));
    LogWriteF("   Format Textur: %d ", static_cast<int>(textureFormat));

    g_pD3D = Direct3DCreate9(D3D_SDK_VERSION);
    if (!g_pD3D) {
        LogWrite("Nemozno vytvorit g_pD3D");
        MessageBoxA(g_hWnd, Texts().deviceError, "ERROR", MB_OK);
        return false;
    }
    LogWrite("g_pD3D vytvorene");

    viewport = D3DVIEWPORT9{0, 0, width, height, nearPlane, farPlane};

    D3DPRESENT_PARAMETERS params;
    std::memset(&params, 0, sizeof params);
    params.BackBufferWidth = width;
    params.BackBufferHeight = height;
    params.BackBufferFormat = screenFormat;
    params.SwapEffect = D3DSWAPEFFECT_DISCARD;
    params.Windowed = windowed;
    params.EnableAutoDepthStencil = TRUE;
    params.AutoDepthStencilFormat = D3DFMT_D16;
    params.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;

    HRESULT hr = g_pD3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, g_hWnd,
                                      D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params, &g_pDevice);
    if (FAILED(hr)) {
        params.BackBufferFormat = D3DFMT_R5G6B5;
        hr = g_pD3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, g_hWnd,
                                  D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params, &g_pDevice);
    }
    if (FAILED(hr) && (width != kFallbackWidth || height != kFallbackHeight)) {
        // A size from a hand-edited config.ini that no device can make: play at the default size.
        LogWriteF("   %ux%u sa nepodarilo vytvorit, skusam %ux%u", static_cast<unsigned>(width),
                  static_cast<unsigned>(height), kFallbackWidth, kFallbackHeight);
        width = params.BackBufferWidth = kFallbackWidth;
        height = params.BackBufferHeight = kFallbackHeight;
        viewport = D3DVIEWPORT9{0, 0, width, height, nearPlane, farPlane};
        for (D3DFORMAT format : {screenFormat, D3DFMT_R5G6B5}) {
            params.BackBufferFormat = format;
            hr = g_pD3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, g_hWnd,
                                      D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params, &g_pDevice);
            if (SUCCEEDED(hr)) break;
        }
    }
    if (FAILED(hr) || !g_pDevice) {
        g_pDevice = nullptr;
        LogWrite("chyba pri inicializacii g_pD3D");
        MessageBoxA(g_hWnd, Texts().deviceIncompatible, "ERROR", MB_OK);
        return false;
    }
    LogWrite("inicializacia g_pD3D uspesna");
    g_pDevice->SetRenderState(D3DRS_NORMALIZENORMALS, TRUE);
    return true;
}

void Engine::Release() {
    if (g_pDevice) {
        g_pDevice->Release();
        g_pDevice = nullptr;
    }
    if (g_pD3D) {
        g_pD3D->Release();
        g_pD3D = nullptr;
    }
}

// Each operation issues its device calls every time: there is no state cache here.
void Engine::BlendOff() {
    if (!g_pDevice) return;
    g_pDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
    g_pDevice->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ZERO);
    g_pDevice->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ZERO);
}

void Engine::BlendAdditive() {
    if (!g_pDevice) return;
    g_pDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    g_pDevice->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    g_pDevice->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
}

void Engine::BlendAlpha() {
    if (!g_pDevice) return;
    g_pDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    g_pDevice->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    g_pDevice->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
}

void Engine::SetCullMode(uint32_t mode) {
    if (g_pDevice) g_pDevice->SetRenderState(D3DRS_CULLMODE, mode);
}

void Engine::SetFillMode(uint32_t mode) {
    if (g_pDevice) g_pDevice->SetRenderState(D3DRS_FILLMODE, mode);
}

void Engine::SetTextureFilter(uint32_t sampler, uint32_t filter) {
    if (!g_pDevice) return;
    g_pDevice->SetSamplerState(sampler, D3DSAMP_MINFILTER, filter);
    g_pDevice->SetSamplerState(sampler, D3DSAMP_MAGFILTER, filter);
}

void Engine::SetShadeMode(uint32_t mode) {
    if (g_pDevice) g_pDevice->SetRenderState(D3DRS_SHADEMODE, mode);
}

void Engine::SetZBuffer(uint8_t on) {
    if (g_pDevice) g_pDevice->SetRenderState(D3DRS_ZENABLE, on);
}

void Engine::SetMipFilter(uint32_t sampler, uint8_t on) {
    if (g_pDevice)
        g_pDevice->SetSamplerState(sampler, D3DSAMP_MIPFILTER, on == 1 ? D3DTEXF_LINEAR : D3DTEXF_NONE);
}

void Engine::SetLighting(uint8_t on) {
    if (g_pDevice) g_pDevice->SetRenderState(D3DRS_LIGHTING, on);
}

void Engine::SetSpecular(uint8_t on) {
    if (g_pDevice) g_pDevice->SetRenderState(D3DRS_SPECULARENABLE, on);
}

void Engine::SetAlphaTest(uint8_t on) {
    if (!g_pDevice) return;
    g_pDevice->SetRenderState(D3DRS_ALPHATESTENABLE, on);
    g_pDevice->SetRenderState(D3DRS_ALPHAREF, on);
    g_pDevice->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
}

void Engine::SetUnlitTextureStages() {
    SetLighting(0);
    SetSpecular(0);
    BlendOff();
    if (!g_pDevice) return;
    struct StageState {
        DWORD stage;
        D3DTEXTURESTAGESTATETYPE type;
        DWORD value;
    };
    static const StageState kStates[] = {
        {0, D3DTSS_COLOROP, D3DTOP_MODULATE}, {0, D3DTSS_COLORARG1, D3DTA_TEXTURE},
        {0, D3DTSS_COLORARG2, D3DTA_DIFFUSE}, {0, D3DTSS_ALPHAOP, D3DTOP_MODULATE},
        {0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE}, {0, D3DTSS_ALPHAARG2, D3DTA_CURRENT},
        {1, D3DTSS_COLOROP, D3DTOP_DISABLE},  {1, D3DTSS_COLORARG1, D3DTA_TEXTURE},
        {1, D3DTSS_COLORARG2, D3DTA_CURRENT}, {1, D3DTSS_ALPHAOP, D3DTOP_MODULATE},
        {1, D3DTSS_ALPHAARG1, D3DTA_TEXTURE}, {1, D3DTSS_ALPHAARG2, D3DTA_CURRENT},
    };
    for (const StageState& s : kStates) g_pDevice->SetTextureStageState(s.stage, s.type, s.value);
}

void Engine::SetProjection() {
    // The aspect ratio is 1.0 whatever the screen size: the picture is stretched to the screen.
    D3DXMatrixPerspectiveFovLH(&projection, FieldOfView(), 1.0f, nearPlane, farPlane);
    if (g_pDevice) g_pDevice->SetTransform(D3DTS_PROJECTION, &projection);
}
