// Drawing the town scene: one draw call per material group, in three passes by blend mode
// (opaque, alpha-tested and blended, additive), with day and night materials.
#include "engine/engine.h"
#include "engine/frame_timer.h"
#include "engine/game_state.h"
#include "render/helpers.h"
#include "render/scene.h"

namespace {

constexpr uint32_t kSceneFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2;

Color4 Grey(float v) { return Color4{v, v, v, v}; }

struct MaterialRow {
    float diffuse, ambient, specular, emissive, power;
};

// By material kind, by day and by night.
constexpr MaterialRow kDay[3] = {
    {1.0f, 0.3f, 0.0f, 0.3f, 0.0f},
    {1.0f, 1.0f, 1.0f, 1.0f, 5.0f},
    {1.0f, 0.3f, 1.0f, 0.1f, 5.0f},
};
constexpr MaterialRow kNight[3] = {
    {1.0f, 0.3f, 0.0f, 0.0f, 0.0f},
    {1.0f, 1.0f, 0.0f, 0.0f, 5.0f},
    {1.0f, 0.3f, 1.0f, 0.1f, 5.0f},
};

IDirect3DTexture9* TextureAt(const SceneGroup& group, int32_t i) {
    if (group.textures == nullptr || i < 0 || i >= group.textureCount) return nullptr;
    return group.textures[i];
}

}  // namespace

void Scene::SetMaterial(int32_t kind) {
    MaterialRow row{0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    if (kind >= 0 && kind < 3 && isNight == 0) row = kDay[kind];
    if (kind >= 0 && kind < 3 && isNight == 1) row = kNight[kind];
    D3DMATERIAL9 m =
        MakeMaterial(Grey(row.ambient), Grey(row.diffuse), Grey(row.specular), Grey(row.emissive), row.power);
    if (g_pDevice != nullptr) g_pDevice->SetMaterial(&m);
}

void Scene::SetBlend(int32_t mode) {
    if (g_pDevice == nullptr) return;
    if (mode == 0) g_engine.BlendOff();
    if (mode == 1) g_engine.BlendAlpha();
    if (mode == 2) g_engine.BlendAdditive();
}

void Scene::Draw() {
    if (g_pDevice == nullptr || vertexBuffer == nullptr || groups == nullptr) return;
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    g_pDevice->SetTransform(D3DTS_WORLD, &identity);
    g_pDevice->SetStreamSource(0, vertexBuffer, 0, sizeof(SceneVertex));
    g_pDevice->SetFVF(kSceneFvf);
    g_engine.SetLighting(1);
    g_engine.SetCullMode(D3DCULL_CCW);

    for (int32_t g = 0; g < groupCount; ++g) {
        if (groups[g].blendMode == 0) DrawGroup(g);
    }
    g_engine.SetAlphaTest(1);
    g_engine.SetTextureFilter(0, D3DTEXF_POINT);
    for (int32_t g = 0; g < groupCount; ++g) {
        if (groups[g].blendMode == 1) DrawGroup(g);
    }
    g_engine.SetAlphaTest(0);
    g_engine.SetTextureFilter(0, D3DTEXF_LINEAR);
    for (int32_t g = 0; g < groupCount; ++g) {
        if (groups[g].blendMode == 2) DrawGroup(g);
    }
    g_engine.SetCullMode(D3DCULL_NONE);
    g_engine.SetUnlitTextureStages();
}

void Scene::DrawGroup(int32_t g) {
    if (g_pDevice == nullptr || groups == nullptr || g < 0 || g >= groupCount) return;
    SceneGroup& group = groups[g];
    SetMaterial(group.materialKind);
    SetBlend(group.blendMode);
    g_engine.SetSpecular(group.specular != 0 ? 1 : 0);
    g_engine.SetLighting(1);

    switch (group.textureMode) {
        case 0:
            g_pDevice->SetTexture(0, TextureAt(group, 0));
            break;
        case 1:
            // The timer must pass the duration; what it went over by is dropped.
            group.frameTimer += FrameMillis(1.0f);
            if (group.frameTimer > group.frameDuration) {
                group.currentTexture += 1;
                group.frameTimer = 0.0f;
                if (group.currentTexture == group.textureCount) group.currentTexture = 0;
            }
            if (group.currentTexture < 0 || group.currentTexture >= group.textureCount) group.currentTexture = 0;
            g_pDevice->SetTexture(0, TextureAt(group, group.currentTexture));
            break;
        case 2:
            g_pDevice->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
            g_pDevice->SetTexture(0, TextureAt(group, 0));
            // Without a detail texture the group is drawn with its base texture alone.
            if (group.textureCount >= 2) {
                g_pDevice->SetTextureStageState(1, D3DTSS_TEXCOORDINDEX, 1);
                g_pDevice->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_ADDSIGNED);
                g_pDevice->SetTexture(1, TextureAt(group, 1));
            }
            break;
        default:
            break;  // whatever texture is bound stays
    }

    if (group.primitiveCount > 0) {
        g_pDevice->DrawPrimitive(D3DPT_TRIANGLELIST, static_cast<UINT>(group.firstVertex),
                                 static_cast<UINT>(group.primitiveCount));
    }
    g_pDevice->SetRenderState(D3DRS_SPECULARENABLE, 0);
    g_engine.SetUnlitTextureStages();
}
