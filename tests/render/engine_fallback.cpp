// Stand-ins for the engine core's log, frame timer and render-state operations, so that the render
// tests link before the engine core exists. They are weak: the real definitions win once linked.
#include <cstdarg>
#include <cstdio>

#include "engine/engine.h"
#include "engine/frame_timer.h"
#include "engine/light_set.h"
#include "engine/log.h"

#define WEAK __attribute__((weak))

WEAK void LogWrite(const char* text) {
    FILE* f = std::fopen("log.txt", "r+");
    if (f == nullptr) return;
    std::fseek(f, 0, SEEK_END);
    std::fprintf(f, "%s\n", text);
    std::fclose(f);
}

WEAK void LogWriteF(const char* format, ...) {
    char line[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    LogWrite(line);
}

WEAK float g_fps = 1000.0f;
WEAK float FrameMillis(float x) { return 1000.0f / g_fps * x; }

WEAK void Engine::BlendOff() {
    g_pDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
    g_pDevice->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ZERO);
    g_pDevice->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ZERO);
}
WEAK void Engine::BlendAdditive() {
    g_pDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    g_pDevice->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    g_pDevice->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
}
WEAK void Engine::BlendAlpha() {
    g_pDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    g_pDevice->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    g_pDevice->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
}
WEAK void Engine::SetCullMode(uint32_t mode) { g_pDevice->SetRenderState(D3DRS_CULLMODE, mode); }
WEAK void Engine::SetTextureFilter(uint32_t sampler, uint32_t filter) {
    g_pDevice->SetSamplerState(sampler, D3DSAMP_MINFILTER, filter);
    g_pDevice->SetSamplerState(sampler, D3DSAMP_MAGFILTER, filter);
}
WEAK void Engine::SetLighting(uint8_t on) { g_pDevice->SetRenderState(D3DRS_LIGHTING, on); }
WEAK void Engine::SetSpecular(uint8_t on) { g_pDevice->SetRenderState(D3DRS_SPECULARENABLE, on); }
WEAK void Engine::SetAlphaTest(uint8_t on) {
    g_pDevice->SetRenderState(D3DRS_ALPHATESTENABLE, on);
    g_pDevice->SetRenderState(D3DRS_ALPHAREF, on);
    g_pDevice->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
}
WEAK void Engine::SetUnlitTextureStages() {
    SetLighting(0);
    SetSpecular(0);
    BlendOff();
    g_pDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    g_pDevice->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    g_pDevice->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    g_pDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    g_pDevice->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    g_pDevice->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_CURRENT);
    g_pDevice->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    g_pDevice->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    g_pDevice->SetTextureStageState(1, D3DTSS_COLORARG2, D3DTA_CURRENT);
    g_pDevice->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    g_pDevice->SetTextureStageState(1, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    g_pDevice->SetTextureStageState(1, D3DTSS_ALPHAARG2, D3DTA_CURRENT);
}

WEAK LightSet::~LightSet() {}
