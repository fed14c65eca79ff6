// The OpenGL objects behind the Direct3D-shaped interfaces (used only inside src/platform).
#pragma once
#include <epoxy/gl.h>

#include <cstdint>
#include <vector>

#include "platform/d3d9.h"

#define D3DERR_INVALIDCALL ((HRESULT)0x8876086Cu)
#define D3DERR_NOTAVAILABLE ((HRESULT)0x8876086Au)
#define E_OUTOFMEMORY ((HRESULT)0x8007000Eu)

namespace platform {

// A 2D texture with its mip chain. OpenGL keeps the only copy of the texels (8 bits per channel, after
// the conversion to the texture's format); ReadTexels reads level 0 back from it. The smaller levels
// are built the first time a draw samples the texture with a mip filter: most textures never are,
// and building them costs start-up time and a third more memory.
class GlTexture final : public IDirect3DTexture9 {
public:
    // argb: width × height texels, top row first. levels 0 = the full chain.
    static GlTexture* Create(int width, int height, const uint32_t* argb, D3DFORMAT format, UINT levels);

    unsigned long AddRef() override;
    unsigned long Release() override;
    UINT GetLevelCount() override { return levels_; }
    UINT GetWidth() override { return static_cast<UINT>(width_); }
    UINT GetHeight() override { return static_cast<UINT>(height_); }
    D3DFORMAT GetFormat() override { return format_; }
    HRESULT ReadTexels(uint32_t* argb, UINT count) override;

    GLuint Name() const { return name_; }
    bool Usable() const;
    // Every texel's alpha is 255.
    bool Opaque() const { return opaque_; }
    // Makes the smaller levels (once); the texture must be bound to the active unit.
    void EnsureMipChain();

private:
    GlTexture() = default;
    ~GlTexture() override;

    unsigned long references_ = 1;
    GLuint name_ = 0;
    uint32_t generation_ = 0;
    int width_ = 0;
    int height_ = 0;
    UINT levels_ = 1;
    bool mipChainBuilt_ = false;
    bool opaque_ = false;
    int64_t bytes_ = 0;
    D3DFORMAT format_ = D3DFMT_A8R8G8B8;
};

// A vertex buffer: a processor copy that Lock hands out and Unlock uploads.
class GlVertexBuffer final : public IDirect3DVertexBuffer9 {
public:
    static GlVertexBuffer* Create(UINT length);

    HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) override;
    HRESULT Unlock() override;
    UINT GetLength() override { return static_cast<UINT>(data_.size()); }
    unsigned long Release() override;
    unsigned long AddRef();

    GLuint Name() const { return name_; }
    bool Usable() const;
    // The bytes as last unlocked, with a number that no other buffer's contents ever had (it changes
    // with every unlock), to remember what was learnt from them.
    const uint8_t* Data() const { return data_.data(); }
    uint64_t ContentsId() const { return contentsId_; }

private:
    GlVertexBuffer() = default;
    ~GlVertexBuffer() override;

    unsigned long references_ = 1;
    GLuint name_ = 0;
    uint32_t generation_ = 0;
    std::vector<uint8_t> data_;
    bool locked_ = false;
    bool discard_ = false;
    size_t dirtyBegin_ = 0;
    size_t dirtyEnd_ = 0;
    uint64_t contentsId_ = 0;
    std::vector<uint8_t> uploaded_;  // what the last discarding unlock uploaded
};

// A vertex of drawn text: pre-transformed (format 0x144).
struct TextVertex {
    float x, y, z, rhw;
    D3DCOLOR color;
    float u, v;
};

// Draws text quads (triangle list) with the glyph atlas, clipped to `clip`, with the device's blending
// as it stands; every other state the text needs is set for the call and restored after it.
HRESULT DrawTextTriangles(IDirect3DDevice9* device, IDirect3DTexture9* atlas, const TextVertex* vertices,
                          UINT vertexCount, const RECT& clip);
// True when `device` is a live device of this platform (textures can be made for it).
bool IsPlatformDevice(IDirect3DDevice9* device);

}  // namespace platform
