// Vector, matrix, material and colour helpers.
#include "render/helpers.h"

#include <cmath>

#include "engine/camera.h"
#include "engine/engine.h"

Vector3 VecSubtract(Vector3 a, Vector3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

Vector3 VecAdd(Vector3 a, Vector3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }

// The second argument crossed with the first: b x a.
Vector3 VecCross(Vector3 a, Vector3 b) {
    return {b.y * a.z - b.z * a.y, b.z * a.x - b.x * a.z, b.x * a.y - b.y * a.x};
}

float VecDot(Vector3 a, Vector3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

float VecLength(Vector3 a) { return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z); }

// A zero vector becomes NaN in every component, as a plain division gives.
void VecNormalize(Vector3* a) {
    float length = VecLength(*a);
    a->x = a->x / length;
    a->y = a->y / length;
    a->z = a->z / length;
}

float Distance(Vector3 a, Vector3 b) { return VecLength(VecSubtract(a, b)); }

float AngleBetween(Vector3 p, Vector3 a, Vector3 b) {
    Vector3 toA = VecSubtract(a, p);
    Vector3 toB = VecSubtract(b, p);
    return std::acos(VecDot(toA, toB) / (VecLength(toB) * VecLength(toA)));
}

Plane PlaneFromPoints(Vector3 p1, Vector3 p2, Vector3 p3) {
    Vector3 n = VecCross(VecSubtract(p3, p2), VecSubtract(p1, p2));
    VecNormalize(&n);
    return {n.x, n.y, n.z, -VecDot(n, p2)};
}

// Scale, then yaw-pitch-roll, then translation (row vectors: the left factor applies first).
D3DXMATRIX BuildWorldMatrix(Vector3 position, Vector3 rotation, Vector3 scale) {
    D3DXMATRIX world;
    D3DXMATRIX step;
    D3DXMatrixIdentity(&world);
    D3DXMatrixScaling(&step, scale.x, scale.y, scale.z);
    D3DXMatrixMultiply(&world, &world, &step);
    D3DXMatrixRotationYawPitchRoll(&step, rotation.y, rotation.x, rotation.z);
    D3DXMatrixMultiply(&world, &world, &step);
    D3DXMatrixTranslation(&step, position.x, position.y, position.z);
    D3DXMatrixMultiply(&world, &world, &step);
    return world;
}

// A world point on the ray from the eye through the pixel (x, y): the pixel on the near plane.
Vector3 UnprojectScreenPoint(float x, float y) {
    D3DXVECTOR3 screen{x, y, 0.0f};
    D3DXVECTOR3 out{0.0f, 0.0f, 0.0f};
    D3DXMATRIX world = BuildWorldMatrix({0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 1.0f});
    D3DXVec3Unproject(&out, &screen, &g_engine.viewport, &g_engine.projection, &g_matView, &world);
    return {out.x, out.y, out.z};
}

// Ambient comes first among the arguments although the record keeps diffuse first.
D3DMATERIAL9 MakeMaterial(Color4 ambient, Color4 diffuse, Color4 specular, Color4 emissive, float power) {
    D3DMATERIAL9 m;
    m.Diffuse = {diffuse.r, diffuse.g, diffuse.b, diffuse.a};
    m.Ambient = {ambient.r, ambient.g, ambient.b, ambient.a};
    m.Specular = {specular.r, specular.g, specular.b, specular.a};
    m.Emissive = {emissive.r, emissive.g, emissive.b, emissive.a};
    m.Power = power;
    return m;
}

static uint32_t ChannelByte(float v) {
    if (v >= 1.0f) return 255;
    if (v > 0.0f) return static_cast<uint32_t>(v * 255.0f + 0.5f);
    return 0;  // zero, negative or not a number
}

D3DCOLOR ToD3DColor(Color4 c) {
    return (ChannelByte(c.a) << 24) | (ChannelByte(c.r) << 16) | (ChannelByte(c.g) << 8) | ChannelByte(c.b);
}

float VirtualToScreenX(float x) { return x * 0.00125f * static_cast<float>(g_engine.width); }

float VirtualToScreenY(float y) { return y * 0.0016666667f * static_cast<float>(g_engine.height); }
