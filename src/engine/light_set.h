// The two scene lights, copied to the device every game frame.
#pragma once
#include <cstdint>
#include "engine/types.h"
#include "platform/d3d9.h"

struct LightRecord {
    uint32_t type;
    Vector3 position;
    Vector3 direction;
    Color4 diffuse;
    Color4 ambient;
    Color4 specular;
    float range;
    float attenuation0;
    uint8_t enabled;
};

class LightSet {
public:
    LightRecord* records = nullptr;
    D3DLIGHT9* lights = nullptr;
    int32_t count = 0;
    int32_t capacity = 0;

    ~LightSet();
    void Allocate(int32_t n);
    void AddDirectionalLight(Vector3 direction, Color4 diffuse, Color4 ambient, Color4 specular);
    void AddPointLight(Vector3 position, Color4 diffuse, Color4 ambient, Color4 specular, float attenuation0,
                       float range);
    void Apply();
    void ReleaseRecords();
};
extern LightSet g_lightSet;
