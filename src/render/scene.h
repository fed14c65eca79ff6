// The town: one static mesh of material groups, loaded from a text token stream and drawn in three
// passes by blend mode, one draw call per group.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include "engine/types.h"
#include "platform/d3d9.h"

struct SceneGroup {
    IDirect3DTexture9** textures = nullptr;
    int32_t textureCount = 0;
    float frameDuration = 0.0f;
    float frameTimer = 0.0f;
    int32_t currentTexture = 0;
    int32_t materialKind = 0;
    int32_t blendMode = 0;
    int32_t textureMode = 0;
    int32_t specular = 0;
    int32_t smooth = 0;
    int32_t primitiveCount = 0;
    int32_t firstVertex = 0;
};

struct SceneFace {
    Vector3 positions[3];
    float texCoords[3][2];
    float detailCoords[3][2];
    Vector3 normals[3];
    int32_t group;
};

struct SceneVertex {
    float x, y, z;
    float nx, ny, nz;
    float u, v;
    float du, dv;
};

class Scene {
public:
    IDirect3DVertexBuffer9* vertexBuffer = nullptr;
    FILE* file = nullptr;
    int32_t minPolygonsInNode = 0;
    int32_t groupCount = 0;
    SceneGroup* groups = nullptr;
    int32_t faceCount = 0;
    SceneFace* faces = nullptr;

    void Load(const char* path);
    // The reading behind Load, on the file's bytes (tests and the fuzzer call it directly).
    void LoadFromMemory(const char* data, size_t size);
    void Release();
    void Draw();
    void DrawGroup(int32_t g);
    void SetMaterial(int32_t kind);
    void SetBlend(int32_t mode);
};
extern Scene g_scene;

// Smooths the normals of one group's faces (their indices in face order): every vertex gets the
// normalised sum of the normals at its exact position, the first-visited vertex's normal counted twice.
void SmoothGroupNormals(SceneFace* faces, const int32_t* faceIndices, size_t faceCount);
