#include "engine/camera.h"

#include <cmath>

#include "engine/engine.h"

void Camera::UpdateView() {
    eye.y = distance * 1.5f;
    // Always 200: the eye circles the origin at a fixed horizontal distance.
    const float radius = (1.0f / distance) * 200.0f * distance;
    eye.x = std::sin(rotation.y) * radius;
    eye.z = std::cos(rotation.y) * radius;

    const D3DXVECTOR3 from{eye.x, eye.y, eye.z};
    const D3DXVECTOR3 at{target.x, target.y, target.z};
    const D3DXVECTOR3 up{0.0f, 1.0f, 0.0f};
    D3DXMatrixLookAtLH(&g_matView, &from, &at, &up);
    if (g_pDevice) g_pDevice->SetTransform(D3DTS_VIEW, &g_matView);
}
