// Animated models: complete key frames read from a .shd file, one frame copied into a dynamic
// vertex buffer at every draw.
#include "render/model.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/engine.h"
#include "engine/log.h"
#include "platform/regular_file.h"
#include "render/helpers.h"

namespace {

constexpr size_t kHeaderBytes = 12;
constexpr size_t kRecordBytes = 112;
constexpr uint32_t kModelFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1;
constexpr D3DCOLOR kGreenKey = 0xFF00FF00;
// More than any model needs; keeps a hostile header from asking for gigabytes.
constexpr size_t kMaxFileBytes = 256u << 20;

int32_t ReadInt32(const uint8_t* p) {
    uint32_t v = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    int32_t out;
    std::memcpy(&out, &v, 4);
    return out;
}

float ReadFloat(const uint8_t* p) {
    uint32_t v = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    float out;
    std::memcpy(&out, &v, 4);
    return out;
}

void ReadTriangle(const uint8_t* p, ModelTriangle* t) {
    for (int s = 0; s < 3; ++s) {
        const uint8_t* v = p + 32 * s;
        t->positions[s] = {ReadFloat(v), ReadFloat(v + 4), ReadFloat(v + 8)};
        t->normals[s] = {ReadFloat(v + 12), ReadFloat(v + 16), ReadFloat(v + 20)};
        t->texCoords[s][0] = ReadFloat(v + 24);
        t->texCoords[s][1] = ReadFloat(v + 28);
    }
    // Bytes 96 to 111 hold a triangle colour that the game does not use.
}

}  // namespace

Model::~Model() {
    Release();
}

void Model::Load(const char* path) {
    LogWrite("Inicializujem SHD subor");
    LogWriteF("  Subor: %s", path);
    FILE* f = OpenRegularFile(path, "rb");
    if (f == nullptr) {
        LogWrite("  Subor sa nenasiel");
        return;
    }
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0 && bytes.size() <= kMaxFileBytes) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    std::fclose(f);
    LoadFromMemory(bytes.data(), bytes.size());
}

void Model::LoadFromMemory(const uint8_t* data, size_t size) {
    ReleaseGeometry();
    if (size < kHeaderBytes) {
        LogWrite("  Chybny subor: chyba hlavicka");
        return;
    }
    int32_t frames32 = ReadInt32(data + 4);
    int32_t triangles32 = ReadInt32(data + 8);
    LogWriteF("  Pocet trojholnikov: %d", triangles32);
    LogWriteF("  Pocet snimkov: %d", frames32);
    if (frames32 < 0 || triangles32 < 0) {
        LogWrite("  Chybny subor: zaporny pocet");
        return;
    }
    // Keep only the frames the file really holds, so a short file cannot make us read past its end.
    size_t available = (size - kHeaderBytes) / kRecordBytes;
    size_t wantedFrames = static_cast<size_t>(frames32);
    size_t perFrame = static_cast<size_t>(triangles32);
    if (perFrame > available) {
        LogWrite("  Chybny subor: prilis velky pocet trojholnikov");
        return;
    }
    if (perFrame > 0 && wantedFrames > available / perFrame) {
        wantedFrames = available / perFrame;
        LogWriteF("  Chybny subor: subor je kratsi, nacitanych snimkov: %d", static_cast<int>(wantedFrames));
    }
    if (perFrame == 0) wantedFrames = 0;  // frames without triangles hold nothing to keep
    frameCount = static_cast<int32_t>(wantedFrames);
    triangleCount = triangles32;

    if (frameCount > 0) {
        frames = static_cast<ModelTriangle**>(std::calloc(frameCount, sizeof(ModelTriangle*)));
        for (int32_t k = 0; k < frameCount; ++k) {
            frames[k] =
                static_cast<ModelTriangle*>(std::calloc(perFrame > 0 ? perFrame : 1, sizeof(ModelTriangle)));
        }
    }

    HRESULT hr = E_FAIL;
    if (g_pDevice != nullptr && triangleCount > 0) {
        hr = g_pDevice->CreateVertexBuffer(static_cast<UINT>(triangleCount) * 108u,
                                           D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, kModelFvf, D3DPOOL_DEFAULT,
                                           &vertexBuffer, nullptr);
    }
    if (SUCCEEDED(hr) && vertexBuffer != nullptr) {
        LogWrite("  Vertex Buffer vytvoreny");
    } else {
        vertexBuffer = nullptr;
        LogWrite("  Chyba pri vytvarani VB");
    }

    const uint8_t* p = data + kHeaderBytes;
    for (int32_t k = 0; k < frameCount; ++k) {
        for (int32_t t = 0; t < triangleCount; ++t) {
            ReadTriangle(p, &frames[k][t]);
            p += kRecordBytes;
        }
    }
}

void Model::LoadTexture(int32_t resourceId) {
    LogWriteF("  Textura: %d", resourceId);
    if (texture != nullptr) {
        texture->Release();
        texture = nullptr;
    }
    HRESULT hr = E_FAIL;
    if (g_pDevice != nullptr) {
        hr = D3DXCreateTextureFromResourceExA(g_pDevice, g_hInstance, MAKEINTRESOURCEA(resourceId),
                                              D3DX_DEFAULT, D3DX_DEFAULT, g_engine.textureMipLevels, 0,
                                              g_engine.textureFormat, D3DPOOL_DEFAULT, D3DX_DEFAULT,
                                              D3DX_DEFAULT, kGreenKey, nullptr, nullptr, &texture);
    }
    if (SUCCEEDED(hr) && texture != nullptr) {
        LogWrite("  Textura modelu vytvorena");
    } else {
        texture = nullptr;
        LogWriteF("  chyba pri vytvarani textury: %d", resourceId);
    }
}

void Model::SetMaterial(D3DMATERIAL9 m) {
    material = m;
}

int32_t Model::CurrentFrameIndex() {
    // Past the last frame, or not a number: start over at frame 0.
    if (!(frame < static_cast<float>(frameCount))) frame = 0.0f;
    // A negative frame shows frame 0 (the field is left as the caller set it).
    return frame > 0.0f ? static_cast<int32_t>(frame) : 0;
}

void Model::Draw() {
    int32_t k = CurrentFrameIndex();
    if (g_pDevice == nullptr || vertexBuffer == nullptr || frames == nullptr || k >= frameCount ||
        triangleCount <= 0) {
        return;
    }
    D3DXMATRIX world = BuildWorldMatrix(position, rotation, scale);
    g_pDevice->SetTransform(D3DTS_WORLD, &world);

    void* locked = nullptr;
    if (SUCCEEDED(vertexBuffer->Lock(0, 0, &locked, D3DLOCK_DISCARD | D3DLOCK_NOOVERWRITE)) &&
        locked != nullptr) {
        ModelVertex* out = static_cast<ModelVertex*>(locked);
        const ModelTriangle* tri = frames[k];
        for (int32_t t = 0; t < triangleCount; ++t) {
            for (int s = 0; s < 3; ++s) {
                ModelVertex& v = out[3 * t + s];
                v.x = tri[t].positions[s].x;
                v.y = tri[t].positions[s].y;
                v.z = tri[t].positions[s].z;
                v.nx = tri[t].normals[s].x;
                v.ny = tri[t].normals[s].y;
                v.nz = tri[t].normals[s].z;
                v.diffuse = 0xFFFFFFFF;
                v.u = tri[t].texCoords[s][0];
                v.v = -tri[t].texCoords[s][1];  // the files store -v
            }
        }
        vertexBuffer->Unlock();
    }

    g_pDevice->SetTexture(0, texture);
    g_pDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    g_pDevice->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    g_pDevice->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    g_pDevice->SetMaterial(&material);
    g_engine.SetLighting(lighting);
    g_engine.SetSpecular(specular);
    g_pDevice->SetStreamSource(0, vertexBuffer, 0, sizeof(ModelVertex));
    g_pDevice->SetFVF(kModelFvf);
    g_pDevice->DrawPrimitive(D3DPT_TRIANGLELIST, 0, static_cast<UINT>(triangleCount));
    g_engine.SetUnlitTextureStages();
}

void Model::Release() {
    if (texture != nullptr) {
        texture->Release();
        texture = nullptr;
    }
    ReleaseGeometry();
}

void Model::ReleaseGeometry() {
    if (vertexBuffer != nullptr) {
        vertexBuffer->Release();
        vertexBuffer = nullptr;
    }
    if (frames != nullptr) {
        for (int32_t k = 0; k < frameCount; ++k) std::free(frames[k]);
        std::free(frames);
        frames = nullptr;
    }
    frameCount = 0;
    triangleCount = 0;
}
