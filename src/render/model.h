// An animated mesh stored as complete key frames (.shd), drawn by truncated frame number.
#pragma once
#include <cstddef>
#include <cstdint>
#include "engine/types.h"
#include "platform/d3d9.h"

struct ModelTriangle {
    Vector3 positions[3];
    Vector3 normals[3];
    float texCoords[3][2];
};

struct ModelVertex {
    float x, y, z;
    float nx, ny, nz;
    D3DCOLOR diffuse;
    float u, v;
};

class Model {
public:
    IDirect3DVertexBuffer9* vertexBuffer = nullptr;
    IDirect3DTexture9* texture = nullptr;
    D3DMATERIAL9 material{};
    ModelTriangle** frames = nullptr;
    Vector3 position{0.0f, 0.0f, 0.0f};
    Vector3 rotation{0.0f, 0.0f, 0.0f};
    Vector3 scale{1.0f, 1.0f, 1.0f};
    uint8_t lighting = 1;
    uint8_t specular = 0;
    float frame = 0.0f;
    int32_t triangleCount = 0;
    int32_t frameCount = 0;

    ~Model();
    void Load(const char* path);
    // The reading behind Load, on the file's bytes (tests and the fuzzer call it directly).
    void LoadFromMemory(const uint8_t* data, size_t size);
    void LoadTexture(int32_t resourceId);
    void SetMaterial(D3DMATERIAL9 m);
    void Draw();
    void Release();
    // The frame index Draw shows: resets `frame` to 0 when it is at or past frameCount (or not a
    // number); a negative frame shows frame 0.
    int32_t CurrentFrameIndex();
    // Frees the frames and the vertex buffer, keeping the texture.
    void ReleaseGeometry();
};
