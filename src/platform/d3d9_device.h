// The Direct3D-9-shaped device over OpenGL 3.3 core.
#pragma once
#include <epoxy/gl.h>

#include <map>
#include <memory>
#include <unordered_map>

#include "platform/d3d9_internal.h"
#include "platform/d3d9_shaders.h"
#include "platform/hidden_faces.h"

namespace platform {

constexpr DWORD kSamplerCount = 16;
constexpr DWORD kStageCount = 8;
constexpr DWORD kTextureSlots = 8;

struct LightSlot {
    D3DLIGHT9 light{};
    bool enabled = false;
};

// Every state the game can set, kept as Direct3D values; OpenGL sees them only when drawing.
struct DeviceTables {
    DWORD renderStates[D3DRS_MAX] = {};
    DWORD samplerStates[kSamplerCount][D3DSAMP_MAX] = {};
    DWORD stageStates[kStageCount][D3DTSS_MAX] = {};
    D3DMATRIX world{};
    D3DMATRIX view{};
    D3DMATRIX projection{};
    D3DMATERIAL9 material{};
    IDirect3DBaseTexture9* textures[kTextureSlots] = {};
    DWORD fvf = 0;
};

class GlDevice final : public IDirect3DDevice9 {
public:
    // Makes the framebuffer and the program; nullptr when the context cannot do it.
    static GlDevice* Create(const D3DPRESENT_PARAMETERS& params);

    unsigned long Release() override;

    HRESULT Clear(DWORD count, const void* rects, DWORD flags, D3DCOLOR color, float z,
                  DWORD stencil) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Present(const RECT* src, const RECT* dst, HWND window, const void* dirty) override;

    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override;
    HRESULT SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) override;
    HRESULT GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) override;
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
    HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) override;
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override;
    HRESULT SetLight(DWORD index, const D3DLIGHT9* light) override;
    HRESULT GetLight(DWORD index, D3DLIGHT9* light) override;
    HRESULT LightEnable(DWORD index, BOOL enable) override;
    HRESULT GetLightEnable(DWORD index, BOOL* enable) override;
    HRESULT SetMaterial(const D3DMATERIAL9* material) override;
    HRESULT GetMaterial(D3DMATERIAL9* material) override;
    HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override;
    HRESULT GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) override;

    HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                               IDirect3DVertexBuffer9** buffer, void* sharedHandle) override;
    HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset, UINT stride) override;
    HRESULT SetFVF(DWORD fvf) override;
    HRESULT GetFVF(DWORD* fvf) override;
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) override;
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertices,
                            UINT stride) override;

    HRESULT ReadBackBuffer(uint8_t* rgba, UINT width, UINT height) override;
    UINT GetDrawCallCount() override { return drawCalls_; }

    HRESULT DrawText(IDirect3DTexture9* atlas, const TextVertex* vertices, UINT vertexCount,
                     const RECT& clip);
    bool Alive() const;

private:
    GlDevice() = default;
    ~GlDevice() override;

    bool Initialise(const D3DPRESENT_PARAMETERS& params);
    void SetDefaults();
    // Brings OpenGL up to date with the tables before a draw.
    void ApplyFixedStates();
    void ApplyUniforms();
    // The program for the current states and the bound textures (0: none; `opaque`: no texel below 255).
    ProgramKey CurrentKey(const GLuint textures[2], const bool opaque[2]) const;
    GLuint ProgramFor(const ProgramKey& key);
    void ApplySamplers();
    bool BindVertexLayout(GLuint buffer, UINT offset, UINT stride, DWORD fvf);
    // `buffer`: the vertex buffer drawn from (nullptr for vertices from memory).
    HRESULT Draw(D3DPRIMITIVETYPE type, UINT primitiveCount, GLint first, const GlVertexBuffer* buffer);
    void ApplyCullMode(DWORD cullMode);
    // Whether this draw's back faces cannot show (see hidden_faces.h), so it may cull them.
    bool BackFacesHidden(const GlVertexBuffer& buffer, UINT firstVertex, UINT vertexCount);
    const MeshShape* ShapeOf(const GlVertexBuffer& buffer, UINT firstVertex, UINT vertexCount);
    // Ends the frame's count and hands it on; called by Present once the frame is complete.
    void FinishFrameWork();

    unsigned long references_ = 1;
    uint32_t generation_ = 0;
    int width_ = 0;
    int height_ = 0;
    D3DFORMAT format_ = D3DFMT_A8R8G8B8;
    GLuint framebuffer_ = 0;
    GLuint colorBuffer_ = 0;
    GLuint depthBuffer_ = 0;
    GLuint program_ = 0;  // the variant in use
    std::map<ProgramKey, GLuint> programs_;
    GLuint vertexArray_ = 0;
    GLuint uniformBuffer_ = 0;
    GLuint samplers_[2] = {};
    GLuint streamBuffer_ = 0;
    GLsizeiptr streamCapacity_ = 0;
    UINT drawCalls_ = 0;

    DeviceTables tables_;
    std::map<DWORD, LightSlot> lights_;
    IDirect3DVertexBuffer9* stream_ = nullptr;
    UINT streamOffset_ = 0;
    UINT streamStride_ = 0;

    bool fixedDirty_ = true;
    bool uniformsDirty_ = true;
    bool matricesDirty_ = true;
    bool lightsDirty_ = true;
    bool samplersDirty_[2] = {true, true};
    FixedFunctionBlock block_{};
    // What the vertex array currently describes.
    GLuint layoutBuffer_ = 0;
    UINT layoutOffset_ = ~0u;
    UINT layoutStride_ = 0;
    DWORD layoutFvf_ = ~0u;
    GLuint boundTextures_[2] = {~0u, ~0u};
    uint32_t bindingEpoch_ = 0;
    int64_t renderbufferBytes_ = 0;
    // Counting the work of a frame (FrameWorkCounting): a samples-passed query runs from the frame's
    // first draw to its Present.
    GLuint workQuery_ = 0;
    bool workQueryRunning_ = false;
    UINT drawCallsAtPresent_ = 0;
    DWORD appliedCullMode_ = ~0u;
    // The alpha test of the program in use, after leaving out a test that cannot fail.
    int16_t alphaFunction_ = D3DCMP_ALWAYS;
    // Shapes of the vertex ranges drawn, found by their positions' hash.
    std::unordered_map<uint64_t, std::unique_ptr<MeshShape>> shapes_;
    // What is known of a range of a buffer's current contents (the few ranges drawn last).
    struct ShapeMemo {
        uint64_t contents, range;
        UINT offset, stride;
        const MeshShape* shape;  // null until asked for
        int diffuseOpaque;       // every vertex colour's alpha is 255: 1 yes, 0 no, -1 not asked yet
        // Bounding boxes (low x, y, z, high x, y, z) of each run of kChunkTriangles triangles; empty
        // until asked for.
        std::vector<float> chunkBoxes;
    };
    static constexpr UINT kChunkTriangles = 32;
    // Draws the triangles of the range whose chunks can reach the screen (all of them for a draw that
    // is not from a buffer or not a triangle list), in their order.
    void DrawVisibleTriangles(GLenum mode, GLint first, UINT vertexCount, const GlVertexBuffer* buffer);
    std::vector<GLint> runFirsts_;
    std::vector<GLsizei> runCounts_;
    ShapeMemo& MemoFor(const GlVertexBuffer& buffer, UINT firstVertex, UINT vertexCount);
    bool DiffuseAlphaOpaque(const GlVertexBuffer& buffer, UINT firstVertex, UINT vertexCount,
                            UINT diffuseOffset);
    // The draw about to be made has vertex colours whose alpha is all 255 (or not).
    void NoteVertexAlpha(bool opaque);
    bool vertexAlphaOpaque_ = false;
    std::vector<ShapeMemo> shapeMemos_;
};

}  // namespace platform
