#include "engine/light_set.h"

#include <cstring>

#include "engine/engine.h"

namespace {
D3DCOLORVALUE ToColorValue(Color4 c) { return D3DCOLORVALUE{c.r, c.g, c.b, c.a}; }
D3DVECTOR ToD3DVector(Vector3 v) { return D3DVECTOR{v.x, v.y, v.z}; }
}  // namespace

LightSet::~LightSet() {
    delete[] records;
    delete[] lights;
    records = nullptr;
    lights = nullptr;
}

void LightSet::Allocate(int32_t n) {
    if (n < 0) n = 0;
    delete[] records;
    delete[] lights;
    records = new LightRecord[n]();
    lights = new D3DLIGHT9[n]();
    capacity = n;
    count = 0;
}

namespace {
LightRecord MakeRecord(uint32_t type, Color4 diffuse, Color4 ambient, Color4 specular, float range) {
    LightRecord r{};
    r.type = type;
    r.diffuse = diffuse;
    r.ambient = ambient;
    r.specular = specular;
    r.range = range;
    r.enabled = 1;
    return r;
}
}  // namespace

void LightSet::AddDirectionalLight(Vector3 direction, Color4 diffuse, Color4 ambient, Color4 specular) {
    if (!records || count >= capacity) return;
    records[count] = MakeRecord(D3DLIGHT_DIRECTIONAL, diffuse, ambient, specular, 10.0f);
    records[count].direction = direction;
    ++count;
}

void LightSet::AddPointLight(Vector3 position, Color4 diffuse, Color4 ambient, Color4 specular,
                             float attenuation0, float range) {
    if (!records || count >= capacity) return;
    records[count] = MakeRecord(D3DLIGHT_POINT, diffuse, ambient, specular, range);
    records[count].position = position;
    records[count].attenuation0 = attenuation0;
    ++count;
}

void LightSet::Apply() {
    if (!records || !lights) return;
    for (int32_t i = 0; i < count; ++i) {
        const LightRecord& r = records[i];
        if (r.enabled == 1) {
            D3DLIGHT9& light = lights[i];
            std::memset(&light, 0, sizeof light);
            light.Type = static_cast<D3DLIGHTTYPE>(r.type);
            light.Diffuse = ToColorValue(r.diffuse);
            light.Specular = ToColorValue(r.specular);
            light.Ambient = ToColorValue(r.ambient);
            light.Position = ToD3DVector(r.position);
            light.Direction = ToD3DVector(r.direction);
            light.Range = r.range;
            light.Attenuation0 = r.attenuation0;
            if (g_pDevice) {
                g_pDevice->SetLight(i, &light);
                g_pDevice->LightEnable(i, TRUE);
            }
        } else if (g_pDevice) {
            g_pDevice->LightEnable(i, FALSE);
        }
    }
}

void LightSet::ReleaseRecords() {
    delete[] records;
    records = nullptr;
    count = 0;
}
