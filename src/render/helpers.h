// Vector, matrix, material and colour helpers with Direct3D's conventions (left-handed, y up,
// row vectors: A x B applies A first).
#pragma once
#include <cstdint>
#include "engine/types.h"
#include "platform/d3dx9.h"

struct Plane {
    float a;
    float b;
    float c;
    float d;
};

Vector3 VecSubtract(Vector3 a, Vector3 b);
Vector3 VecAdd(Vector3 a, Vector3 b);
// b x a: the second argument crossed with the first.
Vector3 VecCross(Vector3 a, Vector3 b);
float VecDot(Vector3 a, Vector3 b);
float VecLength(Vector3 a);
void VecNormalize(Vector3* a);
float Distance(Vector3 a, Vector3 b);
float AngleBetween(Vector3 p, Vector3 a, Vector3 b);
Plane PlaneFromPoints(Vector3 p1, Vector3 p2, Vector3 p3);
D3DXMATRIX BuildWorldMatrix(Vector3 position, Vector3 rotation, Vector3 scale);
Vector3 UnprojectScreenPoint(float x, float y);
D3DMATERIAL9 MakeMaterial(Color4 ambient, Color4 diffuse, Color4 specular, Color4 emissive, float power);
D3DCOLOR ToD3DColor(Color4 c);
float VirtualToScreenX(float x);
float VirtualToScreenY(float y);
