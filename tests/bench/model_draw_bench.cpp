// Drawing the bus body on the real device (llvmpipe): one frame of 18 buses, each drawn the way the
// world draws it (its key frame copied into the dynamic buffer, then one draw), cleared and presented
// so that the rasterising is measured too.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/engine.h"
#include "platform/d3dx9.h"
#include "render/model.h"
#include "support/device_fixture.h"

namespace {

class BusScene {
public:
    bool Open(int width, int height) {
        if (!CreateTestDevice(width, height)) return false;
        model_.Load((std::string(VOLTRANA_GAME_DIR) + "/models/karosa.shd").c_str());
        model_.LoadTexture(190);
        model_.SetMaterial({{1, 1, 1, 1}, {1, 1, 1, 1}, {0.5f, 0.5f, 0.5f, 1}, {}, 5});
        model_.specular = 1;
        if (model_.triangleCount <= 0 || model_.texture == nullptr) return false;

        D3DXMATRIX view, projection;  // the lot seen from above and in front
        const D3DXVECTOR3 eye{0, 220, -260}, at{0, 0, 0}, up{0, 1, 0};
        D3DXMatrixLookAtLH(&view, &eye, &at, &up);
        D3DXMatrixPerspectiveFovLH(&projection, 0.8f, 1.0f, 10.0f, 3000.0f);
        g_pDevice->SetTransform(D3DTS_VIEW, &view);
        g_pDevice->SetTransform(D3DTS_PROJECTION, &projection);
        D3DLIGHT9 sun = {};
        sun.Type = D3DLIGHT_DIRECTIONAL, sun.Diffuse = sun.Specular = {1, 1, 1, 1};
        sun.Ambient = {0.3f, 0.3f, 0.3f, 1}, sun.Direction = {0.3f, -1, 0.5f};
        g_pDevice->SetLight(0, &sun), g_pDevice->LightEnable(0, TRUE);
        g_engine.SetTextureFilter(0, D3DTEXF_LINEAR);
        g_engine.SetAlphaTest(1);
        return true;
    }
    void Close() {
        model_.Release();
        if (model_.texture) model_.texture->Release();
        model_.texture = nullptr;
        DestroyTestDevice();
    }
    // The 18 buses of the largest level, on a 6 x 3 grid of the lot, half of them turned.
    void DrawBuses(int phase) {
        for (int i = 0; i < 18; ++i) {
            model_.position = {-60.0f + 24.0f * (i % 6), 0.0f, -50.0f + 50.0f * (i / 6)};
            model_.rotation = {i % 2 ? 1.5707964f : 0.0f, 0.0f, 0.0f};
            model_.frame = static_cast<float>(20 + (i + phase) % 12);
            model_.Draw();
        }
    }

private:
    Model model_;
};

// Draws frames of 18 buses until the state ends.
void BM_ModelDraw18BusesFrame(benchmark::State& state) {
    BusScene scene;
    if (!scene.Open(static_cast<int>(state.range(0)), static_cast<int>(state.range(1))))
        return state.SkipWithError("no device or no bus model"), scene.Close();
    int phase = 0;
    for (auto _ : state) {
        g_pDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF406080u, 1.0f, 0);
        g_pDevice->BeginScene(), scene.DrawBuses(phase++), g_pDevice->EndScene();
        g_pDevice->Present(nullptr, nullptr, nullptr, nullptr);
    }
    scene.Close();
}
BENCHMARK(BM_ModelDraw18BusesFrame)->Args({800, 600})->Unit(benchmark::kMillisecond);

}  // namespace
