// The game-mode camera orbiting the town's origin.
#pragma once
#include "engine/types.h"
#include "platform/d3dx9.h"

class Camera {
public:
    Vector3 eye{0.0f, 0.0f, 0.0f};
    Vector3 rotation{0.0f, -2.0f, 0.0f};
    Vector3 target{0.0f, 0.0f, 0.0f};
    float distance = 120.0f;

    void UpdateView();
};

extern D3DXMATRIX g_matView;
extern Camera g_camera;
