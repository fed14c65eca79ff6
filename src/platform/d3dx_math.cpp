// Matrix routines with Direct3D's conventions: row vectors (point × matrix), left-handed space.
#include <cmath>

#include "platform/d3dx9.h"
#include "platform/matrix_util.h"

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out) {
    if (!out) return out;
    *out = D3DXMATRIX{};
    out->_11 = out->_22 = out->_33 = out->_44 = 1.0f;
    return out;
}

D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* out, float fovY, float aspect, float zn, float zf) {
    if (!out) return out;
    const float yScale = 1.0f / std::tan(fovY / 2.0f);
    const float xScale = yScale / aspect;
    *out = D3DXMATRIX{};
    out->_11 = xScale;
    out->_22 = yScale;
    out->_33 = zf / (zf - zn);
    out->_34 = 1.0f;
    out->_43 = -zn * zf / (zf - zn);
    return out;
}

D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* out, const D3DXVECTOR3* eye, const D3DXVECTOR3* at,
                               const D3DXVECTOR3* up) {
    if (!out || !eye || !at || !up) return out;
    const auto sub = [](D3DXVECTOR3 a, D3DXVECTOR3 b) {
        return D3DXVECTOR3{a.x - b.x, a.y - b.y, a.z - b.z};
    };
    const auto cross = [](D3DXVECTOR3 a, D3DXVECTOR3 b) {
        return D3DXVECTOR3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
    };
    const auto dot = [](D3DXVECTOR3 a, D3DXVECTOR3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; };
    const auto normalize = [&](D3DXVECTOR3 a) {
        float len = std::sqrt(dot(a, a));
        if (len == 0.0f) return a;
        return D3DXVECTOR3{a.x / len, a.y / len, a.z / len};
    };
    const D3DXVECTOR3 zaxis = normalize(sub(*at, *eye));
    const D3DXVECTOR3 xaxis = normalize(cross(*up, zaxis));
    const D3DXVECTOR3 yaxis = cross(zaxis, xaxis);
    D3DXMatrixIdentity(out);
    out->_11 = xaxis.x;
    out->_21 = xaxis.y;
    out->_31 = xaxis.z;
    out->_12 = yaxis.x;
    out->_22 = yaxis.y;
    out->_32 = yaxis.z;
    out->_13 = zaxis.x;
    out->_23 = zaxis.y;
    out->_33 = zaxis.z;
    out->_41 = -dot(xaxis, *eye);
    out->_42 = -dot(yaxis, *eye);
    out->_43 = -dot(zaxis, *eye);
    return out;
}

D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* out, float sx, float sy, float sz) {
    if (!out) return out;
    D3DXMatrixIdentity(out);
    out->_11 = sx;
    out->_22 = sy;
    out->_33 = sz;
    return out;
}

D3DXMATRIX* D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* out, float yaw, float pitch, float roll) {
    if (!out) return out;
    // Roll about z first, then pitch about x, then yaw about y.
    const float sr = std::sin(roll), cr = std::cos(roll);
    const float sp = std::sin(pitch), cp = std::cos(pitch);
    const float sy = std::sin(yaw), cy = std::cos(yaw);
    D3DXMATRIX rz, rx, ry, t;
    D3DXMatrixIdentity(&rz);
    rz._11 = cr;
    rz._12 = sr;
    rz._21 = -sr;
    rz._22 = cr;
    D3DXMatrixIdentity(&rx);
    rx._22 = cp;
    rx._23 = sp;
    rx._32 = -sp;
    rx._33 = cp;
    D3DXMatrixIdentity(&ry);
    ry._11 = cy;
    ry._13 = -sy;
    ry._31 = sy;
    ry._33 = cy;
    D3DXMatrixMultiply(&t, &rz, &rx);
    D3DXMatrixMultiply(out, &t, &ry);
    return out;
}

D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, float x, float y, float z) {
    if (!out) return out;
    D3DXMatrixIdentity(out);
    out->_41 = x;
    out->_42 = y;
    out->_43 = z;
    return out;
}

D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* a, const D3DXMATRIX* b) {
    if (!out || !a || !b) return out;
    D3DXMATRIX r;
    MultiplyMatrices(r, *a, *b);
    *out = r;
    return out;
}

D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m) {
    if (!out || !v || !m) return out;
    const D3DXVECTOR3 p = *v;
    const float w = p.x * m->_14 + p.y * m->_24 + p.z * m->_34 + m->_44;
    out->x = (p.x * m->_11 + p.y * m->_21 + p.z * m->_31 + m->_41) / w;
    out->y = (p.x * m->_12 + p.y * m->_22 + p.z * m->_32 + m->_42) / w;
    out->z = (p.x * m->_13 + p.y * m->_23 + p.z * m->_33 + m->_43) / w;
    return out;
}

D3DXVECTOR3* D3DXVec3Unproject(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DVIEWPORT9* viewport,
                               const D3DXMATRIX* projection, const D3DXMATRIX* view,
                               const D3DXMATRIX* world) {
    if (!out || !v || !viewport) return out;
    D3DXMATRIX m;
    D3DXMatrixIdentity(&m);
    if (world) m = *world;
    if (view) D3DXMatrixMultiply(&m, &m, view);
    if (projection) D3DXMatrixMultiply(&m, &m, projection);
    D3DXMATRIX inverse;
    if (!InvertMatrix(inverse, m)) D3DXMatrixIdentity(&inverse);
    D3DXVECTOR3 ndc;
    ndc.x = 2.0f * (v->x - static_cast<float>(viewport->X)) / static_cast<float>(viewport->Width) - 1.0f;
    ndc.y = 1.0f - 2.0f * (v->y - static_cast<float>(viewport->Y)) / static_cast<float>(viewport->Height);
    ndc.z = (v->z - viewport->MinZ) / (viewport->MaxZ - viewport->MinZ);
    return D3DXVec3TransformCoord(out, &ndc, &inverse);
}
