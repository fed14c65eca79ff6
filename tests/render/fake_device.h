// A recording stand-in for the device: keeps the states it is given and writes every call as one
// line ("RS 27 1", "TEX 0 t3", "DRAW 4 0 6", ...), so tests can check what reached the device and in
// which order without a GPU. Vertex buffers are plain memory.
#pragma once
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/d3d9.h"

class FakeTexture : public IDirect3DTexture9 {
public:
    explicit FakeTexture(int id) : id(id) {}
    unsigned long AddRef() override { return ++refs; }
    unsigned long Release() override {
        ++released;
        return --refs;
    }
    UINT GetLevelCount() override { return 1; }
    UINT GetWidth() override { return 1; }
    UINT GetHeight() override { return 1; }
    D3DFORMAT GetFormat() override { return D3DFMT_A8R8G8B8; }
    HRESULT ReadTexels(uint32_t*, UINT) override { return E_FAIL; }
    int id;
    int refs = 1;
    int released = 0;
};

class FakeVertexBuffer : public IDirect3DVertexBuffer9 {
public:
    explicit FakeVertexBuffer(UINT length) : bytes(length) {}
    HRESULT Lock(UINT, UINT, void** data, DWORD flags) override {
        lockFlags.push_back(flags);
        *data = bytes.data();
        return S_OK;
    }
    HRESULT Unlock() override { return S_OK; }
    UINT GetLength() override { return static_cast<UINT>(bytes.size()); }
    unsigned long Release() override {
        ++released;
        return 0;
    }
    std::vector<uint8_t> bytes;
    std::vector<DWORD> lockFlags;
    int released = 0;
};

class FakeDevice : public IDirect3DDevice9 {
public:
    ~FakeDevice() override {
        for (auto* b : buffers) delete b;
    }
    unsigned long Release() override { return 0; }
    HRESULT Clear(DWORD, const void*, DWORD, D3DCOLOR, float, DWORD) override { return S_OK; }
    HRESULT BeginScene() override { return S_OK; }
    HRESULT EndScene() override { return S_OK; }
    HRESULT Present(const RECT*, const RECT*, HWND, const void*) override { return S_OK; }

    HRESULT SetRenderState(D3DRENDERSTATETYPE s, DWORD v) override {
        renderStates[s] = v;
        Log("RS " + std::to_string(s) + " " + std::to_string(v));
        return S_OK;
    }
    HRESULT GetRenderState(D3DRENDERSTATETYPE s, DWORD* v) override {
        *v = renderStates[s];
        return S_OK;
    }
    HRESULT SetSamplerState(DWORD i, D3DSAMPLERSTATETYPE t, DWORD v) override {
        samplerStates[{i, t}] = v;
        Log("SS " + std::to_string(i) + " " + std::to_string(t) + " " + std::to_string(v));
        return S_OK;
    }
    HRESULT GetSamplerState(DWORD i, D3DSAMPLERSTATETYPE t, DWORD* v) override {
        *v = samplerStates[{i, t}];
        return S_OK;
    }
    HRESULT SetTextureStageState(DWORD i, D3DTEXTURESTAGESTATETYPE t, DWORD v) override {
        stageStates[{i, t}] = v;
        Log("TSS " + std::to_string(i) + " " + std::to_string(t) + " " + std::to_string(v));
        return S_OK;
    }
    HRESULT GetTextureStageState(DWORD i, D3DTEXTURESTAGESTATETYPE t, DWORD* v) override {
        *v = stageStates[{i, t}];
        return S_OK;
    }
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE t, const D3DMATRIX* m) override {
        transforms[t] = *m;
        Log("XF " + std::to_string(t));
        return S_OK;
    }
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE t, D3DMATRIX* m) override {
        *m = transforms[t];
        return S_OK;
    }
    HRESULT SetLight(DWORD, const D3DLIGHT9*) override { return S_OK; }
    HRESULT GetLight(DWORD, D3DLIGHT9*) override { return S_OK; }
    HRESULT LightEnable(DWORD, BOOL) override { return S_OK; }
    HRESULT GetLightEnable(DWORD, BOOL*) override { return S_OK; }
    HRESULT SetMaterial(const D3DMATERIAL9* m) override {
        material = *m;
        materials.push_back(*m);
        Log("MAT");
        return S_OK;
    }
    HRESULT GetMaterial(D3DMATERIAL9* m) override {
        *m = material;
        return S_OK;
    }
    HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture9* t) override {
        textures[stage] = t;
        auto* fake = dynamic_cast<FakeTexture*>(t);
        Log("TEX " + std::to_string(stage) + " " + (fake ? "t" + std::to_string(fake->id) : std::string("null")));
        return S_OK;
    }
    HRESULT GetTexture(DWORD stage, IDirect3DBaseTexture9** t) override {
        *t = textures[stage];
        return S_OK;
    }
    HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL, IDirect3DVertexBuffer9** out,
                               void*) override {
        Log("VB " + std::to_string(length) + " " + std::to_string(usage) + " " + std::to_string(fvf));
        if (length == 0) {
            *out = nullptr;
            return E_FAIL;
        }
        auto* b = new FakeVertexBuffer(length);
        buffers.push_back(b);
        *out = b;
        return S_OK;
    }
    HRESULT SetStreamSource(UINT, IDirect3DVertexBuffer9*, UINT, UINT stride) override {
        Log("STREAM " + std::to_string(stride));
        return S_OK;
    }
    HRESULT SetFVF(DWORD f) override {
        fvf = f;
        Log("FVF " + std::to_string(f));
        return S_OK;
    }
    HRESULT GetFVF(DWORD* f) override {
        *f = fvf;
        return S_OK;
    }
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT start, UINT count) override {
        ++draws;
        Log("DRAW " + std::to_string(type) + " " + std::to_string(start) + " " + std::to_string(count));
        return S_OK;
    }
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT count, const void* v, UINT stride) override {
        ++draws;
        upVertices.assign(static_cast<const uint8_t*>(v), static_cast<const uint8_t*>(v) + stride * (count + 2));
        Log("DRAWUP " + std::to_string(type) + " " + std::to_string(count) + " " + std::to_string(stride));
        return S_OK;
    }
    HRESULT ReadBackBuffer(uint8_t*, UINT, UINT) override { return E_FAIL; }
    UINT GetDrawCallCount() override { return draws; }

    void Log(const std::string& line) { calls.push_back(line); }
    // Index of the first call line equal to `line` at or after `from`, or -1.
    int Find(const std::string& line, int from = 0) const {
        for (size_t i = from; i < calls.size(); ++i) {
            if (calls[i] == line) return static_cast<int>(i);
        }
        return -1;
    }
    std::vector<std::string> DrawLines() const {
        std::vector<std::string> out;
        for (const auto& c : calls) {
            if (c.rfind("DRAW", 0) == 0) out.push_back(c);
        }
        return out;
    }

    std::vector<std::string> calls;
    std::map<uint32_t, DWORD> renderStates;
    std::map<std::pair<DWORD, uint32_t>, DWORD> samplerStates;
    std::map<std::pair<DWORD, uint32_t>, DWORD> stageStates;
    std::map<uint32_t, D3DMATRIX> transforms;
    std::map<DWORD, IDirect3DBaseTexture9*> textures;
    std::vector<D3DMATERIAL9> materials;
    std::vector<FakeVertexBuffer*> buffers;
    D3DMATERIAL9 material{};
    DWORD fvf = 0;
    UINT draws = 0;
    std::vector<uint8_t> upVertices;
};

// Puts a FakeDevice in g_pDevice for the life of the object.
class ScopedFakeDevice {
public:
    ScopedFakeDevice();
    ~ScopedFakeDevice();
    FakeDevice device;

private:
    IDirect3DDevice9* previous_;
};
