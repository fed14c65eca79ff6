// A recording stand-in for the device: keeps the states it is given and writes every call as one
// line ("RS 27 1", "TEX 0 t3", "DRAW 4 0 6", ...), so tests can check what reached the device and in
// which order without a GPU. Vertex buffers are plain memory.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "platform/d3d9.h"

class FakeTexture : public IDirect3DTexture9 {
public:
    explicit FakeTexture(int id) : id(id) {}
    unsigned long AddRef() override { return 1; }
    unsigned long Release() override { return 0; }
    UINT GetLevelCount() override { return 1; }
    UINT GetWidth() override { return 1; }
    UINT GetHeight() override { return 1; }
    D3DFORMAT GetFormat() override { return D3DFMT_A8R8G8B8; }
    HRESULT ReadTexels(uint32_t*, UINT) override { return E_FAIL; }
    int id;
};

class FakeVertexBuffer : public IDirect3DVertexBuffer9 {
public:
    explicit FakeVertexBuffer(UINT length) : bytes(length) {}
    HRESULT Lock(UINT, UINT, void** data, DWORD flags) override {
        return lockFlags.push_back(flags), *data = bytes.data(), S_OK;
    }
    HRESULT Unlock() override { return S_OK; }
    UINT GetLength() override { return static_cast<UINT>(bytes.size()); }
    unsigned long Release() override { return ++releases, 0; }
    std::vector<uint8_t> bytes;
    std::vector<DWORD> lockFlags;
    int releases = 0;
};

// The getters are never asked by the code under test: they answer nothing.
class FakeDevice : public IDirect3DDevice9 {
public:
    unsigned long Release() override { return 0; }
    HRESULT Clear(DWORD, const void*, DWORD, D3DCOLOR, float, DWORD) override { return S_OK; }
    HRESULT BeginScene() override { return S_OK; }
    HRESULT EndScene() override { return S_OK; }
    HRESULT Present(const RECT*, const RECT*, HWND, const void*) override { return S_OK; }
    HRESULT SetRenderState(D3DRENDERSTATETYPE s, DWORD v) override { return Log("RS", s, v); }
    HRESULT GetRenderState(D3DRENDERSTATETYPE, DWORD*) override { return E_FAIL; }
    HRESULT SetSamplerState(DWORD i, D3DSAMPLERSTATETYPE t, DWORD v) override { return Log("SS", i, t, v); }
    HRESULT GetSamplerState(DWORD, D3DSAMPLERSTATETYPE, DWORD*) override { return E_FAIL; }
    HRESULT SetTextureStageState(DWORD i, D3DTEXTURESTAGESTATETYPE t, DWORD v) override {
        return Log("TSS", i, t, v);
    }
    HRESULT GetTextureStageState(DWORD, D3DTEXTURESTAGESTATETYPE, DWORD*) override { return E_FAIL; }
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE t, const D3DMATRIX*) override { return Log("XF", t); }
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE, D3DMATRIX*) override { return E_FAIL; }
    HRESULT SetLight(DWORD, const D3DLIGHT9*) override { return S_OK; }
    HRESULT GetLight(DWORD, D3DLIGHT9*) override { return E_FAIL; }
    HRESULT LightEnable(DWORD, BOOL) override { return S_OK; }
    HRESULT GetLightEnable(DWORD, BOOL*) override { return E_FAIL; }
    HRESULT SetMaterial(const D3DMATERIAL9* m) override { return materials.push_back(*m), Log("MAT"); }
    HRESULT GetMaterial(D3DMATERIAL9*) override { return E_FAIL; }
    HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture9* t) override {
        auto* fake = dynamic_cast<FakeTexture*>(t);
        return Log("TEX " + std::to_string(stage) + (fake ? " t" + std::to_string(fake->id) : " null"));
    }
    HRESULT GetTexture(DWORD, IDirect3DBaseTexture9**) override { return E_FAIL; }
    HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL, IDirect3DVertexBuffer9** out,
                               void*) override {
        *out = length ? buffers.emplace_back(new FakeVertexBuffer(length)).get() : nullptr;
        return Log("VB", length, usage, fvf), length ? S_OK : E_FAIL;
    }
    HRESULT SetStreamSource(UINT, IDirect3DVertexBuffer9*, UINT, UINT stride) override {
        return Log("STREAM", stride);
    }
    HRESULT SetFVF(DWORD f) override { return Log("FVF", f); }
    HRESULT GetFVF(DWORD*) override { return E_FAIL; }
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT start, UINT count) override {
        return ++draws, Log("DRAW", type, start, count);
    }
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT count, const void* v, UINT stride) override {
        const auto* bytes = static_cast<const uint8_t*>(v);
        upVertices.assign(bytes, bytes + stride * (count + 2));
        return ++draws, Log("DRAWUP", type, count, stride);
    }
    HRESULT ReadBackBuffer(uint8_t*, UINT, UINT) override { return E_FAIL; }
    UINT GetDrawCallCount() override { return draws; }

    // Records a call: its name and its numbers, separated by spaces.
    template <typename... Numbers>
    HRESULT Log(std::string line, Numbers... numbers) {
        (line.append(" ").append(std::to_string(numbers)), ...);
        return calls.push_back(line), S_OK;
    }
    // Index of the first call line equal to `line` at or after `from`, or -1.
    int Find(const std::string& line, int from = 0) const {
        for (size_t i = from; i < calls.size(); ++i)
            if (calls[i] == line) return static_cast<int>(i);
        return -1;
    }
    // The last line starting with `prefix` (before the first draw if asked), or "none".
    std::string Last(const std::string& prefix, bool beforeFirstDraw = false) const {
        std::string last = "none";
        for (const auto& c : calls) {
            if (beforeFirstDraw && c.rfind("DRAW", 0) == 0) break;
            if (c.rfind(prefix, 0) == 0) last = c;
        }
        return last;
    }

    std::vector<std::string> calls;
    std::vector<D3DMATERIAL9> materials;
    std::vector<std::unique_ptr<FakeVertexBuffer>> buffers;
    UINT draws = 0;
    std::vector<uint8_t> upVertices;
};

// Puts a FakeDevice in g_pDevice for the life of the object.
struct ScopedFakeDevice {
    ScopedFakeDevice() : previous(g_pDevice) { g_pDevice = &device; }
    ~ScopedFakeDevice() { g_pDevice = previous; }
    FakeDevice device;
    IDirect3DDevice9* previous;
};
