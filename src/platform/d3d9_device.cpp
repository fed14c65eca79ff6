// Fixed-function Direct3D 9 on one OpenGL program: states live in tables and reach OpenGL lazily,
// at the next draw, through a uniform block and a handful of GL switches.
#include "platform/d3d9_device.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <vector>

#include "platform/automation.h"
#include "platform/compiler_code.h"
#include "platform/heap_pages.h"
#include "platform/matrix_util.h"
#include "platform/platform_internal.h"

namespace platform {
namespace {

// Devices alive now: a font may outlive its device and must not reach through a stale pointer.
std::set<const void*>& LiveDevices() {
    static std::set<const void*> live;
    return live;
}

// Render states beyond the header's enumeration that the emulation honours with their defaults.
constexpr DWORD kRsClipping = 136;
constexpr DWORD kRsColorVertex = 141;
constexpr DWORD kRsLocalViewer = 142;
constexpr DWORD kRsDiffuseMaterialSource = 145;
constexpr DWORD kRsSpecularMaterialSource = 146;
constexpr DWORD kSampAddressW = 3;
constexpr DWORD kSampMaxAnisotropy = 10;

GLenum BlendFactor(DWORD blend) {
    switch (blend) {
        case 1:
            return GL_ZERO;
        case 2:
            return GL_ONE;
        case 3:
            return GL_SRC_COLOR;
        case 4:
            return GL_ONE_MINUS_SRC_COLOR;
        case 5:
            return GL_SRC_ALPHA;
        case 6:
            return GL_ONE_MINUS_SRC_ALPHA;
        case 7:
            return GL_DST_ALPHA;
        case 8:
            return GL_ONE_MINUS_DST_ALPHA;
        case 9:
            return GL_DST_COLOR;
        case 10:
            return GL_ONE_MINUS_DST_COLOR;
        default:
            return GL_ONE;
    }
}

GLenum CompareFunction(DWORD func) {
    switch (func) {
        case 1:
            return GL_NEVER;
        case 2:
            return GL_LESS;
        case 3:
            return GL_EQUAL;
        case 4:
            return GL_LEQUAL;
        case 5:
            return GL_GREATER;
        case 6:
            return GL_NOTEQUAL;
        case 7:
            return GL_GEQUAL;
        default:
            return GL_ALWAYS;
    }
}

GLint AddressMode(DWORD mode) {
    switch (mode) {
        case 2:
            return GL_MIRRORED_REPEAT;
        case 3:
            return GL_CLAMP_TO_EDGE;
        case 4:
            return GL_CLAMP_TO_BORDER;
        default:
            return GL_REPEAT;
    }
}

void ColorToFloats(D3DCOLOR c, float out[4]) {
    out[0] = ((c >> 16) & 0xFF) / 255.0f;
    out[1] = ((c >> 8) & 0xFF) / 255.0f;
    out[2] = (c & 0xFF) / 255.0f;
    out[3] = ((c >> 24) & 0xFF) / 255.0f;
}

void CopyColor(const D3DCOLORVALUE& c, float out[4]) {
    out[0] = c.r;
    out[1] = c.g;
    out[2] = c.b;
    out[3] = c.a;
}

struct VertexLayout {
    bool valid = false;
    int positionComponents = 3;
    UINT normal = 0, diffuse = 0, tex0 = 0, tex1 = 0;
    bool hasNormal = false, hasDiffuse = false;
    int texCount = 0;
    UINT size = 0;
};

VertexLayout LayoutOf(DWORD fvf) {
    VertexLayout l;
    UINT offset = 0;
    const DWORD position = fvf & 0x00E;
    if (position == D3DFVF_XYZ) {
        l.positionComponents = 3;
        offset = 12;
    } else if (position == D3DFVF_XYZRHW) {
        l.positionComponents = 4;
        offset = 16;
    } else {
        return l;
    }
    if (fvf & D3DFVF_NORMAL) {
        l.hasNormal = true;
        l.normal = offset;
        offset += 12;
    }
    if (fvf & 0x020) offset += 4;  // point size
    if (fvf & D3DFVF_DIFFUSE) {
        l.hasDiffuse = true;
        l.diffuse = offset;
        offset += 4;
    }
    if (fvf & 0x080) offset += 4;  // specular colour
    l.texCount = static_cast<int>((fvf >> 8) & 0xF);
    if (l.texCount > 8) return l;
    if (l.texCount >= 1) l.tex0 = offset;
    if (l.texCount >= 2) l.tex1 = offset + 8;
    offset += 8 * l.texCount;
    l.size = offset;
    l.valid = true;
    return l;
}

bool VertexCount(D3DPRIMITIVETYPE type, UINT primitives, UINT& vertices, GLenum& mode) {
    const uint64_t n = primitives;
    uint64_t count = 0;
    switch (static_cast<uint32_t>(type)) {
        case 1:
            count = n;
            mode = GL_POINTS;
            break;
        case 2:
            count = 2 * n;
            mode = GL_LINES;
            break;
        case 3:
            count = n + 1;
            mode = GL_LINE_STRIP;
            break;
        case 4:
            count = 3 * n;
            mode = GL_TRIANGLES;
            break;
        case 5:
            count = n + 2;
            mode = GL_TRIANGLE_STRIP;
            break;
        case 6:
            count = n + 2;
            mode = GL_TRIANGLE_FAN;
            break;
        default:
            return false;
    }
    if (count > 0x7FFFFFFF) return false;
    vertices = static_cast<UINT>(count);
    return true;
}

}  // namespace

GlDevice* GlDevice::Create(const D3DPRESENT_PARAMETERS& params) {
    // Before the driver starts: its own allocations and every texture then land in the large pages.
    if (GetSpeedLevers().largeHeapPages) UseLargeHeapPages();
    if (!AcquireGlContext()) return nullptr;
    auto* device = new GlDevice();
    LiveDevices().insert(static_cast<IDirect3DDevice9*>(device));
    device->generation_ = GlContextGeneration();
    if (!device->Initialise(params)) {
        device->Release();
        return nullptr;
    }
    return device;
}

bool GlDevice::Initialise(const D3DPRESENT_PARAMETERS& params) {
    width_ = static_cast<int>(params.BackBufferWidth);
    height_ = static_cast<int>(params.BackBufferHeight);
    format_ = params.BackBufferFormat;
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maxSize);
    if (width_ <= 0 || height_ <= 0 || width_ > maxSize || height_ > maxSize) return false;

    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glGenRenderbuffers(1, &colorBuffer_);
    glBindRenderbuffer(GL_RENDERBUFFER, colorBuffer_);
    glRenderbufferStorage(GL_RENDERBUFFER, format_ == D3DFMT_R5G6B5 ? GL_RGB565 : GL_RGBA8, width_, height_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colorBuffer_);
    glGenRenderbuffers(1, &depthBuffer_);
    glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, width_, height_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthBuffer_);
    LiveGlObjects().renderbuffers += 2;
    renderbufferBytes_ = static_cast<int64_t>(width_) * height_ * ((format_ == D3DFMT_R5G6B5 ? 2 : 4) + 2);
    LiveGlObjects().bytes += renderbufferBytes_;
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) return false;
    SetDefaults();

    // A device whose programs do not build is no device. The one built to find out is not kept: the
    // first draws choose their own, and each program holds on to more than a megabyte.
    const GLuint none[2] = {0, 0};
    const bool noneOpaque[2] = {false, false};
    const ProgramKey firstKey = CurrentKey(none, noneOpaque);
    const GLuint first = ProgramFor(firstKey);
    if (!first) return false;
    glUseProgram(0);
    glDeleteProgram(first);
    programs_.erase(firstKey);
    --LiveGlObjects().programs;
    glGenVertexArrays(1, &vertexArray_);
    glBindVertexArray(vertexArray_);
    glGenBuffers(1, &uniformBuffer_);
    glBindBuffer(GL_UNIFORM_BUFFER, uniformBuffer_);
    glBufferData(GL_UNIFORM_BUFFER, sizeof(FixedFunctionBlock), nullptr, GL_DYNAMIC_DRAW);
    glBindBufferBase(GL_UNIFORM_BUFFER, 0, uniformBuffer_);
    glGenSamplers(2, samplers_);
    glBindSampler(0, samplers_[0]);
    glBindSampler(1, samplers_[1]);
    glGenBuffers(1, &streamBuffer_);
    LiveGlObjects().buffers += 2;
    LiveGlObjects().bytes += static_cast<int64_t>(sizeof(FixedFunctionBlock));

    glViewport(0, 0, width_, height_);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_DITHER);
    glProvokingVertex(GL_FIRST_VERTEX_CONVENTION);  // flat shading takes the first vertex, as Direct3D
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glClearColor(0, 0, 0, 1);
    glClearDepth(1.0);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SetBackBufferSize(width_, height_);
    return glGetError() == GL_NO_ERROR;
}

void GlDevice::SetDefaults() {
    DWORD* rs = tables_.renderStates;
    rs[D3DRS_ZENABLE] = 1;
    rs[D3DRS_FILLMODE] = D3DFILL_SOLID;
    rs[D3DRS_SHADEMODE] = D3DSHADE_GOURAUD;
    rs[D3DRS_ZWRITEENABLE] = 1;
    rs[D3DRS_ALPHATESTENABLE] = 0;
    rs[D3DRS_SRCBLEND] = D3DBLEND_ONE;
    rs[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
    rs[D3DRS_CULLMODE] = D3DCULL_CCW;
    rs[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
    rs[D3DRS_ALPHAREF] = 0;
    rs[D3DRS_ALPHAFUNC] = D3DCMP_ALWAYS;
    rs[D3DRS_ALPHABLENDENABLE] = 0;
    rs[D3DRS_SPECULARENABLE] = 0;
    rs[D3DRS_LIGHTING] = 1;
    rs[D3DRS_AMBIENT] = 0;
    rs[D3DRS_NORMALIZENORMALS] = 0;
    rs[kRsClipping] = 1;
    rs[kRsColorVertex] = 1;
    rs[kRsLocalViewer] = 1;
    rs[kRsDiffuseMaterialSource] = 1;  // vertex colour 1
    rs[kRsSpecularMaterialSource] = 2;
    for (DWORD s = 0; s < kSamplerCount; ++s) {
        DWORD* ss = tables_.samplerStates[s];
        ss[D3DSAMP_ADDRESSU] = D3DTADDRESS_WRAP;
        ss[D3DSAMP_ADDRESSV] = D3DTADDRESS_WRAP;
        ss[kSampAddressW] = D3DTADDRESS_WRAP;
        ss[D3DSAMP_MAGFILTER] = D3DTEXF_POINT;
        ss[D3DSAMP_MINFILTER] = D3DTEXF_POINT;
        ss[D3DSAMP_MIPFILTER] = D3DTEXF_NONE;
        ss[kSampMaxAnisotropy] = 1;
    }
    for (DWORD t = 0; t < kStageCount; ++t) {
        DWORD* ts = tables_.stageStates[t];
        ts[D3DTSS_COLOROP] = t == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        ts[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
        ts[D3DTSS_COLORARG2] = D3DTA_CURRENT;
        ts[D3DTSS_ALPHAOP] = t == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        ts[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        ts[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
        ts[D3DTSS_TEXCOORDINDEX] = t;
    }
    IdentityMatrix(tables_.world);
    IdentityMatrix(tables_.view);
    IdentityMatrix(tables_.projection);
}

GlDevice::~GlDevice() {
    LiveDevices().erase(static_cast<IDirect3DDevice9*>(this));
    GlObjectCounts& live = LiveGlObjects();
    live.programs -= static_cast<int64_t>(programs_.size());
    if (framebuffer_) {
        live.renderbuffers -= 2;
        live.bytes -= renderbufferBytes_;
    }
    if (vertexArray_) {
        live.buffers -= 2;
        live.bytes -= static_cast<int64_t>(sizeof(FixedFunctionBlock)) + streamCapacity_;
    }
    for (auto*& texture : tables_.textures) {
        if (texture) texture->Release();
        texture = nullptr;
    }
    if (stream_) stream_->Release();
    stream_ = nullptr;
    if (GlContextAlive(generation_)) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        if (framebuffer_) glDeleteFramebuffers(1, &framebuffer_);
        if (colorBuffer_) glDeleteRenderbuffers(1, &colorBuffer_);
        if (depthBuffer_) glDeleteRenderbuffers(1, &depthBuffer_);
        for (const auto& [key, program] : programs_) glDeleteProgram(program);
        if (vertexArray_) glDeleteVertexArrays(1, &vertexArray_);
        if (uniformBuffer_) glDeleteBuffers(1, &uniformBuffer_);
        if (streamBuffer_) glDeleteBuffers(1, &streamBuffer_);
        if (samplers_[0]) glDeleteSamplers(2, samplers_);
        if (workQuery_) glDeleteQueries(1, &workQuery_);
        ReleaseGlContext();
    }
}

bool GlDevice::Alive() const {
    return GlContextAlive(generation_);
}

unsigned long GlDevice::Release() {
    const unsigned long left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT GlDevice::Clear(DWORD count, const void* rects, DWORD flags, D3DCOLOR color, float z, DWORD) {
    if (!Alive()) return D3DERR_INVALIDCALL;
    GLbitfield mask = 0;
    if (flags & D3DCLEAR_TARGET) mask |= GL_COLOR_BUFFER_BIT;
    if (flags & D3DCLEAR_ZBUFFER) mask |= GL_DEPTH_BUFFER_BIT;
    if (!mask) return S_OK;
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    float c[4];
    ColorToFloats(color, c);
    glClearColor(c[0], c[1], c[2], c[3]);
    glClearDepth(std::clamp(z, 0.0f, 1.0f));
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    fixedDirty_ = true;  // the depth mask follows the tables again at the next draw
    if (count == 0 || !rects) {
        glDisable(GL_SCISSOR_TEST);
        glClear(mask);
        return S_OK;
    }
    // Rectangles as x1, y1, x2, y2 in back-buffer pixels (y from the top).
    const LONG* r = static_cast<const LONG*>(rects);
    glEnable(GL_SCISSOR_TEST);
    for (DWORD i = 0; i < count; ++i, r += 4) {
        const int x1 = std::clamp<int>(r[0], 0, width_), y1 = std::clamp<int>(r[1], 0, height_);
        const int x2 = std::clamp<int>(r[2], 0, width_), y2 = std::clamp<int>(r[3], 0, height_);
        if (x2 <= x1 || y2 <= y1) continue;
        glScissor(x1, height_ - y2, x2 - x1, y2 - y1);
        glClear(mask);
    }
    glDisable(GL_SCISSOR_TEST);
    return S_OK;
}

HRESULT GlDevice::BeginScene() {
    return Alive() ? S_OK : D3DERR_INVALIDCALL;
}
HRESULT GlDevice::EndScene() {
    return Alive() ? S_OK : D3DERR_INVALIDCALL;
}

HRESULT GlDevice::Present(const RECT*, const RECT*, HWND, const void*) {
    if (!Alive()) return D3DERR_INVALIDCALL;
    if (workQueryRunning_) glEndQuery(GL_SAMPLES_PASSED);  // the frame's drawing ends here
    SDL_Window* window = MainWindow();
    if (window && !VideoIsHeadless()) {
        BlitToWindow(framebuffer_, width_, height_);
        fixedDirty_ = true;
    } else {
        // With no window nothing else ends the frame: OpenGL (llvmpipe above all) would keep queueing
        // every draw, with the uniform blocks and vertex uploads it reads, and never let them go.
        // Finishing here also makes a frame cost what it costs on screen.
        glFinish();
    }
    // New states are compiled while the frame is drawn; until the next one the compiler sits idle.
    if (GetSpeedLevers().idleCompilerCode) ReleaseIdleCompilerCode();
    FinishFrameWork();
    if (Automation* automation = GetAutomation()) automation->AfterPresent();
    return S_OK;
}

void GlDevice::FinishFrameWork() {
    FrameWork work;
    work.drawCalls = drawCalls_ - drawCallsAtPresent_;
    work.pixels = static_cast<uint32_t>(width_ * height_);
    drawCallsAtPresent_ = drawCalls_;
    if (workQueryRunning_) {
        workQueryRunning_ = false;
        GLuint64 passed = 0;
        glGetQueryObjectui64v(workQuery_, GL_QUERY_RESULT, &passed);
        work.fragmentsDrawn = passed;
    }
    RecordFrameWork(work);
}

HRESULT GlDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    if (static_cast<uint32_t>(state) >= D3DRS_MAX) return D3DERR_INVALIDCALL;
    tables_.renderStates[state] = value;
    fixedDirty_ = true;
    uniformsDirty_ = true;
    return S_OK;
}

HRESULT GlDevice::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
    if (!value || static_cast<uint32_t>(state) >= D3DRS_MAX) return D3DERR_INVALIDCALL;
    *value = tables_.renderStates[state];
    return S_OK;
}

HRESULT GlDevice::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
    if (sampler >= kSamplerCount || static_cast<uint32_t>(type) >= D3DSAMP_MAX) return D3DERR_INVALIDCALL;
    tables_.samplerStates[sampler][type] = value;
    if (sampler < 2) samplersDirty_[sampler] = true;
    return S_OK;
}

HRESULT GlDevice::GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) {
    if (!value || sampler >= kSamplerCount || static_cast<uint32_t>(type) >= D3DSAMP_MAX)
        return D3DERR_INVALIDCALL;
    *value = tables_.samplerStates[sampler][type];
    return S_OK;
}

HRESULT GlDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    if (stage >= kStageCount || static_cast<uint32_t>(type) >= D3DTSS_MAX) return D3DERR_INVALIDCALL;
    tables_.stageStates[stage][type] = value;
    uniformsDirty_ = true;
    return S_OK;
}

HRESULT GlDevice::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) {
    if (!value || stage >= kStageCount || static_cast<uint32_t>(type) >= D3DTSS_MAX)
        return D3DERR_INVALIDCALL;
    *value = tables_.stageStates[stage][type];
    return S_OK;
}

HRESULT GlDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    if (!matrix) return D3DERR_INVALIDCALL;
    switch (static_cast<uint32_t>(state)) {
        case D3DTS_WORLD:
            tables_.world = *matrix;
            break;
        case D3DTS_VIEW:
            tables_.view = *matrix;
            lightsDirty_ = true;  // lights are kept in view space
            break;
        case D3DTS_PROJECTION:
            tables_.projection = *matrix;
            break;
        default:
            return D3DERR_INVALIDCALL;
    }
    matricesDirty_ = true;
    uniformsDirty_ = true;
    return S_OK;
}

HRESULT GlDevice::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
    if (!matrix) return D3DERR_INVALIDCALL;
    switch (static_cast<uint32_t>(state)) {
        case D3DTS_WORLD:
            *matrix = tables_.world;
            return S_OK;
        case D3DTS_VIEW:
            *matrix = tables_.view;
            return S_OK;
        case D3DTS_PROJECTION:
            *matrix = tables_.projection;
            return S_OK;
        default:
            return D3DERR_INVALIDCALL;
    }
}

HRESULT GlDevice::SetLight(DWORD index, const D3DLIGHT9* light) {
    if (!light) return D3DERR_INVALIDCALL;
    const uint32_t type = light->Type;
    if (type < D3DLIGHT_POINT || type > D3DLIGHT_DIRECTIONAL) return D3DERR_INVALIDCALL;
    if (lights_.size() >= 4096 && lights_.find(index) == lights_.end()) return E_OUTOFMEMORY;
    lights_[index].light = *light;
    lightsDirty_ = true;
    uniformsDirty_ = true;
    return S_OK;
}

HRESULT GlDevice::GetLight(DWORD index, D3DLIGHT9* light) {
    if (!light) return D3DERR_INVALIDCALL;
    auto it = lights_.find(index);
    if (it == lights_.end()) return D3DERR_INVALIDCALL;
    *light = it->second.light;
    return S_OK;
}

HRESULT GlDevice::LightEnable(DWORD index, BOOL enable) {
    auto it = lights_.find(index);
    if (it == lights_.end()) {
        if (lights_.size() >= 4096) return E_OUTOFMEMORY;
        // Enabling a light that was never set gives Direct3D's default: white, directional along +z.
        LightSlot slot;
        slot.light.Type = D3DLIGHT_DIRECTIONAL;
        slot.light.Diffuse = {1, 1, 1, 0};
        slot.light.Direction = {0, 0, 1};
        it = lights_.emplace(index, slot).first;
    }
    it->second.enabled = enable != FALSE;
    lightsDirty_ = true;
    uniformsDirty_ = true;
    return S_OK;
}

HRESULT GlDevice::GetLightEnable(DWORD index, BOOL* enable) {
    if (!enable) return D3DERR_INVALIDCALL;
    auto it = lights_.find(index);
    if (it == lights_.end()) return D3DERR_INVALIDCALL;
    *enable = it->second.enabled ? TRUE : FALSE;
    return S_OK;
}

HRESULT GlDevice::SetMaterial(const D3DMATERIAL9* material) {
    if (!material) return D3DERR_INVALIDCALL;
    tables_.material = *material;
    uniformsDirty_ = true;
    return S_OK;
}

HRESULT GlDevice::GetMaterial(D3DMATERIAL9* material) {
    if (!material) return D3DERR_INVALIDCALL;
    *material = tables_.material;
    return S_OK;
}

HRESULT GlDevice::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) {
    if (stage >= kTextureSlots) return D3DERR_INVALIDCALL;
    if (texture && !dynamic_cast<GlTexture*>(texture)) return D3DERR_INVALIDCALL;
    if (texture) texture->AddRef();  // the device keeps what is bound alive, as Direct3D does
    if (tables_.textures[stage]) tables_.textures[stage]->Release();
    tables_.textures[stage] = texture;
    uniformsDirty_ = true;
    return S_OK;
}

HRESULT GlDevice::GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) {
    if (!texture) return D3DERR_INVALIDCALL;
    *texture = nullptr;
    if (stage >= kTextureSlots) return D3DERR_INVALIDCALL;
    *texture = tables_.textures[stage];
    if (*texture) (*texture)->AddRef();  // the caller owns one reference, as with Direct3D
    return S_OK;
}

HRESULT GlDevice::CreateVertexBuffer(UINT length, DWORD, DWORD, D3DPOOL, IDirect3DVertexBuffer9** buffer,
                                     void*) {
    if (!buffer) return D3DERR_INVALIDCALL;
    *buffer = nullptr;
    if (length == 0 || !Alive()) return D3DERR_INVALIDCALL;
    GlVertexBuffer* created = GlVertexBuffer::Create(length);
    if (!created) return E_OUTOFMEMORY;
    *buffer = created;
    return S_OK;
}

HRESULT GlDevice::SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset, UINT stride) {
    if (stream != 0) return D3DERR_INVALIDCALL;
    auto* ours = dynamic_cast<GlVertexBuffer*>(buffer);
    if (buffer && !ours) return D3DERR_INVALIDCALL;
    if (ours) ours->AddRef();
    if (stream_) stream_->Release();
    stream_ = buffer;
    streamOffset_ = offset;
    streamStride_ = stride;
    return S_OK;
}

HRESULT GlDevice::SetFVF(DWORD fvf) {
    tables_.fvf = fvf;
    uniformsDirty_ = true;
    return S_OK;
}

HRESULT GlDevice::GetFVF(DWORD* fvf) {
    if (!fvf) return D3DERR_INVALIDCALL;
    *fvf = tables_.fvf;
    return S_OK;
}

void GlDevice::ApplyFixedStates() {
    if (!fixedDirty_) return;
    fixedDirty_ = false;
    const DWORD* rs = tables_.renderStates;
    if (rs[D3DRS_ZENABLE]) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(CompareFunction(rs[D3DRS_ZFUNC]));
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    glDepthMask(rs[D3DRS_ZWRITEENABLE] ? GL_TRUE : GL_FALSE);
    if (rs[D3DRS_ALPHABLENDENABLE]) {
        glEnable(GL_BLEND);
        glBlendFunc(BlendFactor(rs[D3DRS_SRCBLEND]), BlendFactor(rs[D3DRS_DESTBLEND]));
    } else {
        glDisable(GL_BLEND);
    }
    switch (rs[D3DRS_FILLMODE]) {
        case D3DFILL_POINT:
            glPolygonMode(GL_FRONT_AND_BACK, GL_POINT);
            break;
        case D3DFILL_WIREFRAME:
            glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
            break;
        default:
            glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
            break;
    }
}

void GlDevice::ApplyCullMode(DWORD cullMode) {
    if (cullMode == appliedCullMode_) return;
    appliedCullMode_ = cullMode;
    // Direct3D's front faces are clockwise on screen; the back buffer keeps the screen's orientation.
    switch (cullMode) {
        case D3DCULL_CW:
            glEnable(GL_CULL_FACE);
            glFrontFace(GL_CW);
            glCullFace(GL_FRONT);
            break;
        case D3DCULL_CCW:
            glEnable(GL_CULL_FACE);
            glFrontFace(GL_CW);
            glCullFace(GL_BACK);
            break;
        default:
            glDisable(GL_CULL_FACE);
            break;
    }
}

void GlDevice::NoteVertexAlpha(bool opaque) {
    if (opaque == vertexAlphaOpaque_) return;
    vertexAlphaOpaque_ = opaque;
    uniformsDirty_ = true;  // the program may now leave out the alpha test, or need it back
}

bool GlDevice::DiffuseAlphaOpaque(const GlVertexBuffer& buffer, UINT firstVertex, UINT vertexCount,
                                  UINT diffuseOffset) {
    ShapeMemo& memo = MemoFor(buffer, firstVertex, vertexCount);
    if (memo.diffuseOpaque < 0) {
        const uint8_t* alpha = buffer.Data() + streamOffset_ +
                               static_cast<size_t>(firstVertex) * streamStride_ + diffuseOffset + 3;
        bool all = true;
        for (UINT v = 0; v < vertexCount && all; ++v)
            all = alpha[static_cast<size_t>(v) * streamStride_] == 0xFF;
        memo.diffuseOpaque = all ? 1 : 0;
    }
    return memo.diffuseOpaque == 1;
}

GlDevice::ShapeMemo& GlDevice::MemoFor(const GlVertexBuffer& buffer, UINT firstVertex, UINT vertexCount) {
    const uint64_t range = (static_cast<uint64_t>(firstVertex) << 32) | vertexCount;
    for (ShapeMemo& memo : shapeMemos_) {
        if (memo.contents == buffer.ContentsId() && memo.range == range && memo.offset == streamOffset_ &&
            memo.stride == streamStride_)
            return memo;
    }
    // Remembered for the few ranges drawn last (a model's buffer is refilled before every draw).
    if (shapeMemos_.size() >= 128) shapeMemos_.erase(shapeMemos_.begin());
    shapeMemos_.push_back({buffer.ContentsId(), range, streamOffset_, streamStride_, nullptr, -1, {}});
    return shapeMemos_.back();
}

const MeshShape* GlDevice::ShapeOf(const GlVertexBuffer& buffer, UINT firstVertex, UINT vertexCount) {
    ShapeMemo& memo = MemoFor(buffer, firstVertex, vertexCount);
    if (memo.shape) return memo.shape;
    const uint8_t* positions =
        buffer.Data() + streamOffset_ + static_cast<size_t>(firstVertex) * streamStride_;
    const uint64_t hash = HashMeshPositions(positions, streamStride_, vertexCount / 3);
    auto it = shapes_.find(hash);
    if (it == shapes_.end()) {
        if (shapes_.size() >= 1024) {
            shapes_.clear();
            for (ShapeMemo& m : shapeMemos_) m.shape = nullptr;
        }
        auto shape = std::make_unique<MeshShape>(AnalyseMeshShape(positions, streamStride_, vertexCount / 3));
        it = shapes_.emplace(hash, std::move(shape)).first;
    }
    memo.shape = it->second.get();
    return memo.shape;
}

bool GlDevice::BackFacesHidden(const GlVertexBuffer& buffer, UINT firstVertex, UINT vertexCount) {
    if (!GetSpeedLevers().hiddenBackFaces) return false;
    const DWORD* rs = tables_.renderStates;
    // Only an opaque solid draw that the game leaves unculled, whose front faces hide what lies behind
    // them: depth tested and written, nothing blended or discarded.
    if (rs[D3DRS_CULLMODE] != D3DCULL_NONE || rs[D3DRS_FILLMODE] != D3DFILL_SOLID) return false;
    if (!rs[D3DRS_ZENABLE] || !rs[D3DRS_ZWRITEENABLE]) return false;
    if (rs[D3DRS_ZFUNC] != D3DCMP_LESS && rs[D3DRS_ZFUNC] != D3DCMP_LESSEQUAL) return false;
    if (rs[D3DRS_ALPHABLENDENABLE] &&
        (rs[D3DRS_SRCBLEND] != D3DBLEND_ONE || rs[D3DRS_DESTBLEND] != D3DBLEND_ZERO))
        return false;
    if (alphaFunction_ != D3DCMP_ALWAYS || (tables_.fvf & 0x00E) != D3DFVF_XYZ) return false;
    if (streamStride_ < 12 || vertexCount < 3) return false;

    D3DMATRIX worldView, worldViewProjection, inverse;
    MultiplyMatrices(worldView, tables_.world, tables_.view);
    // A mirroring transform turns front faces into back faces.
    const float det = worldView._11 * (worldView._22 * worldView._33 - worldView._23 * worldView._32) -
                      worldView._12 * (worldView._21 * worldView._33 - worldView._23 * worldView._31) +
                      worldView._13 * (worldView._21 * worldView._32 - worldView._22 * worldView._31);
    if (!(det > 0.0f) || !InvertMatrix(inverse, worldView)) return false;
    const MeshShape* shape = ShapeOf(buffer, firstVertex, vertexCount);
    if (!shape->closed) return false;
    // The whole mesh beyond the near plane: the eye is outside it and no front face is cut away.
    MultiplyMatrices(worldViewProjection, worldView, tables_.projection);
    const D3DMATRIX& m = worldViewProjection;
    for (int corner = 0; corner < 8; ++corner) {
        const float x = (corner & 1) ? shape->high[0] : shape->low[0];
        const float y = (corner & 2) ? shape->high[1] : shape->low[1];
        const float z = (corner & 4) ? shape->high[2] : shape->low[2];
        const float clipZ = x * m._13 + y * m._23 + z * m._33 + m._43;
        const float clipW = x * m._14 + y * m._24 + z * m._34 + m._44;
        if (!(clipW > 0.0f) || !(clipZ > 1e-4f * clipW)) return false;
    }
    const float eye[3] = {inverse._41, inverse._42, inverse._43};
    return BackFacesHiddenFrom(*shape, eye);
}

void GlDevice::ApplySamplers() {
    for (int s = 0; s < 2; ++s) {
        if (!samplersDirty_[s]) continue;
        samplersDirty_[s] = false;
        const DWORD* ss = tables_.samplerStates[s];
        const bool linearMin = ss[D3DSAMP_MINFILTER] >= D3DTEXF_LINEAR;
        GLint minFilter;
        switch (ss[D3DSAMP_MIPFILTER]) {
            case D3DTEXF_POINT:
                minFilter = linearMin ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
                break;
            case D3DTEXF_LINEAR:
                minFilter = linearMin ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
                break;
            default:
                minFilter = linearMin ? GL_LINEAR : GL_NEAREST;
                break;
        }
        glSamplerParameteri(samplers_[s], GL_TEXTURE_MIN_FILTER, minFilter);
        glSamplerParameteri(samplers_[s], GL_TEXTURE_MAG_FILTER,
                            ss[D3DSAMP_MAGFILTER] >= D3DTEXF_LINEAR ? GL_LINEAR : GL_NEAREST);
        glSamplerParameteri(samplers_[s], GL_TEXTURE_WRAP_S, AddressMode(ss[D3DSAMP_ADDRESSU]));
        glSamplerParameteri(samplers_[s], GL_TEXTURE_WRAP_T, AddressMode(ss[D3DSAMP_ADDRESSV]));
    }
}

void GlDevice::ApplyUniforms() {
    GLuint names[2] = {0, 0};
    bool opaque[2] = {false, false};
    for (int s = 0; s < 2; ++s) {
        auto* texture = static_cast<GlTexture*>(tables_.textures[s]);  // SetTexture takes only ours
        if (texture && texture->Usable()) {
            names[s] = texture->Name();
            opaque[s] = texture->Opaque();
        }
        const bool mipmapped = tables_.samplerStates[s][D3DSAMP_MIPFILTER] != D3DTEXF_NONE;
        if (names[s] != boundTextures_[s] || (mipmapped && names[s] != 0)) {
            glActiveTexture(GL_TEXTURE0 + s);
            if (names[s] != boundTextures_[s]) glBindTexture(GL_TEXTURE_2D, names[s]);
            boundTextures_[s] = names[s];
            if (mipmapped && names[s] != 0) texture->EnsureMipChain();
        }
    }
    if (!uniformsDirty_) return;
    uniformsDirty_ = false;
    FixedFunctionBlock& b = block_;
    if (matricesDirty_) {
        matricesDirty_ = false;
        D3DMATRIX worldView, worldViewProjection, inverse;
        MultiplyMatrices(worldView, tables_.world, tables_.view);
        MultiplyMatrices(worldViewProjection, worldView, tables_.projection);
        std::memcpy(b.worldView, &worldView, sizeof(b.worldView));
        std::memcpy(b.worldViewProjection, &worldViewProjection, sizeof(b.worldViewProjection));
        D3DMATRIX normal = worldView;
        if (InvertMatrix(inverse, worldView)) {
            for (int i = 0; i < 4; ++i)
                for (int j = 0; j < 4; ++j) normal.m[i][j] = inverse.m[j][i];
        }
        std::memcpy(b.normalMatrix, &normal, sizeof(b.normalMatrix));
    }
    if (lightsDirty_) {
        lightsDirty_ = false;
        int count = 0;
        const D3DMATRIX& v = tables_.view;
        for (const auto& [index, slot] : lights_) {
            if (!slot.enabled || count >= kMaxActiveLights) continue;
            const D3DLIGHT9& l = slot.light;
            CopyColor(l.Diffuse, b.lightDiffuse[count]);
            CopyColor(l.Specular, b.lightSpecular[count]);
            CopyColor(l.Ambient, b.lightAmbient[count]);
            const D3DVECTOR p = l.Position;
            b.lightPosition[count][0] = p.x * v._11 + p.y * v._21 + p.z * v._31 + v._41;
            b.lightPosition[count][1] = p.x * v._12 + p.y * v._22 + p.z * v._32 + v._42;
            b.lightPosition[count][2] = p.x * v._13 + p.y * v._23 + p.z * v._33 + v._43;
            b.lightPosition[count][3] = l.Type == D3DLIGHT_DIRECTIONAL ? 0.0f : 1.0f;
            const D3DVECTOR d = l.Direction;
            float dx = -(d.x * v._11 + d.y * v._21 + d.z * v._31);
            float dy = -(d.x * v._12 + d.y * v._22 + d.z * v._32);
            float dz = -(d.x * v._13 + d.y * v._23 + d.z * v._33);
            const float len = std::sqrt(dx * dx + dy * dy + dz * dz);
            if (len > 0.0f) {
                dx /= len;
                dy /= len;
                dz /= len;
            }
            b.lightDirection[count][0] = dx;
            b.lightDirection[count][1] = dy;
            b.lightDirection[count][2] = dz;
            b.lightDirection[count][3] = 0.0f;
            b.lightParams[count][0] = l.Range;
            b.lightParams[count][1] = l.Attenuation0;
            b.lightParams[count][2] = l.Attenuation1;
            b.lightParams[count][3] = l.Attenuation2;
            ++count;
        }
        b.flags0[0] = count;
    }
    const DWORD* rs = tables_.renderStates;
    const D3DMATERIAL9& m = tables_.material;
    CopyColor(m.Diffuse, b.materialDiffuse);
    CopyColor(m.Ambient, b.materialAmbient);
    CopyColor(m.Specular, b.materialSpecular);
    CopyColor(m.Emissive, b.materialEmissive);
    ColorToFloats(rs[D3DRS_AMBIENT], b.globalAmbient);
    b.misc[0] = static_cast<float>(width_);
    b.misc[1] = static_cast<float>(height_);
    b.misc[2] = static_cast<float>(rs[D3DRS_ALPHAREF] & 0xFF);
    b.misc[3] = m.Power;
    // Fresh storage for every change: rewriting storage that queued draws still read would make the
    // rasteriser finish them first.
    const ProgramKey key = CurrentKey(names, opaque);
    alphaFunction_ = key[9];
    const GLuint program = ProgramFor(key);
    if (program && program != program_) {
        glUseProgram(program);
        program_ = program;
    }
    glBindBuffer(GL_UNIFORM_BUFFER, uniformBuffer_);
    glBufferData(GL_UNIFORM_BUFFER, sizeof(FixedFunctionBlock), &b, GL_STREAM_DRAW);
}

ProgramKey GlDevice::CurrentKey(const GLuint textures[2], const bool opaque[2]) const {
    const DWORD* rs = tables_.renderStates;
    const DWORD fvf = tables_.fvf;
    const bool pretransformed = (fvf & 0x00E) == D3DFVF_XYZRHW;
    const bool lighting = rs[D3DRS_LIGHTING] != 0 && !pretransformed;
    const bool specular = lighting && rs[D3DRS_SPECULARENABLE] != 0;
    const auto op = [](DWORD o) -> int16_t {
        return (o == D3DTOP_DISABLE || o == D3DTOP_SELECTARG1 || o == D3DTOP_SELECTARG2 ||
                o == D3DTOP_MODULATE || o == D3DTOP_ADD || o == D3DTOP_ADDSIGNED)
                   ? static_cast<int16_t>(o)
                   : static_cast<int16_t>(D3DTOP_MODULATE);
    };
    const auto arg = [](DWORD a) -> int16_t {
        a &= 7;
        return static_cast<int16_t>(a <= D3DTA_TEXTURE ? a : D3DTA_CURRENT);
    };
    ProgramKey key{};
    key[0] = pretransformed;
    key[1] = lighting;
    key[2] = specular;
    key[3] = lighting && rs[D3DRS_NORMALIZENORMALS] != 0;
    key[4] = lighting && (fvf & D3DFVF_DIFFUSE) && rs[kRsColorVertex] && rs[kRsDiffuseMaterialSource] == 1;
    key[7] = rs[D3DRS_SHADEMODE] == D3DSHADE_FLAT;
    key[8] = specular;
    const DWORD func = rs[D3DRS_ALPHATESTENABLE] ? rs[D3DRS_ALPHAFUNC] : D3DCMP_ALWAYS;
    key[9] = static_cast<int16_t>(func >= D3DCMP_NEVER && func <= D3DCMP_ALWAYS ? func : D3DCMP_ALWAYS);
    // A stage runs when its colour operation is on and a texture is bound to it; a disabled stage 0
    // also ends the cascade.
    const bool cascade = tables_.stageStates[0][D3DTSS_COLOROP] != D3DTOP_DISABLE;
    for (int s = 0; s < 2; ++s) {
        const DWORD* ts = tables_.stageStates[s];
        const bool on = cascade && ts[D3DTSS_COLOROP] != D3DTOP_DISABLE && textures[s] != 0;
        if (!on) continue;
        key[5 + s] = (ts[D3DTSS_TEXCOORDINDEX] & 0xFFFF) == 1 ? 1 : 0;
        int16_t* k = &key[10 + 7 * s];
        k[0] = 1;
        k[1] = op(ts[D3DTSS_COLOROP]);
        k[2] = arg(ts[D3DTSS_COLORARG1]);
        k[3] = arg(ts[D3DTSS_COLORARG2]);
        k[4] = op(ts[D3DTSS_ALPHAOP]);
        k[5] = arg(ts[D3DTSS_ALPHAARG1]);
        k[6] = arg(ts[D3DTSS_ALPHAARG2]);
    }
    // An alpha test that cannot fail is left out: a program without discard lets llvmpipe test depth
    // before shading, which spares every hidden pixel of an opaque model its texture reads.
    if (key[9] != D3DCMP_ALWAYS) {
        const bool vertexAlpha = (fvf & D3DFVF_DIFFUSE) && (!lighting || key[4]);
        const bool diffuseOpaque =
            vertexAlpha ? vertexAlphaOpaque_ : (!lighting || tables_.material.Diffuse.a >= 1.0f);
        if (FragmentAlphaIsOne(key, diffuseOpaque, opaque) &&
            AlphaTestPasses(key[9], static_cast<int>(rs[D3DRS_ALPHAREF] & 0xFF), 255))
            key[9] = D3DCMP_ALWAYS;
    }
    return key;
}

GLuint GlDevice::ProgramFor(const ProgramKey& key) {
    auto it = programs_.find(key);
    if (it != programs_.end()) return it->second;
    const GLuint program = BuildFixedFunctionProgram(key);
    if (program) {
        programs_.emplace(key, program);
        ++LiveGlObjects().programs;
    }
    if (program_) glUseProgram(program_);  // building leaves the new one in use
    return program;
}

bool GlDevice::BindVertexLayout(GLuint buffer, UINT offset, UINT stride, DWORD fvf) {
    const VertexLayout l = LayoutOf(fvf);
    if (!l.valid || stride < l.size) return false;
    if (bindingEpoch_ != GlBindingEpoch()) {
        // A texture or buffer was made, read or deleted since the last draw, and a deleted name may
        // have come back for a new object: bind everything afresh.
        bindingEpoch_ = GlBindingEpoch();
        boundTextures_[0] = boundTextures_[1] = ~0u;
        layoutFvf_ = ~0u;
    }
    if (buffer == layoutBuffer_ && offset == layoutOffset_ && stride == layoutStride_ && fvf == layoutFvf_)
        return true;
    layoutBuffer_ = buffer;
    layoutOffset_ = offset;
    layoutStride_ = stride;
    layoutFvf_ = fvf;
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    const auto at = [offset](UINT o) {
        return reinterpret_cast<const void*>(static_cast<uintptr_t>(offset + o));
    };
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, l.positionComponents, GL_FLOAT, GL_FALSE, stride, at(0));
    if (l.hasNormal) {
        glEnableVertexAttribArray(1);
        glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride, at(l.normal));
    } else {
        glDisableVertexAttribArray(1);
        glVertexAttrib3f(1, 0, 0, 0);
    }
    if (l.hasDiffuse) {
        glEnableVertexAttribArray(2);
        glVertexAttribPointer(2, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, stride, at(l.diffuse));
    } else {
        glDisableVertexAttribArray(2);
        glVertexAttrib4f(2, 1, 1, 1, 1);  // no vertex colour: white
    }
    if (l.texCount >= 1) {
        glEnableVertexAttribArray(3);
        glVertexAttribPointer(3, 2, GL_FLOAT, GL_FALSE, stride, at(l.tex0));
    } else {
        glDisableVertexAttribArray(3);
        glVertexAttrib2f(3, 0, 0);
    }
    if (l.texCount >= 2) {
        glEnableVertexAttribArray(4);
        glVertexAttribPointer(4, 2, GL_FLOAT, GL_FALSE, stride, at(l.tex1));
    } else {
        glDisableVertexAttribArray(4);
        glVertexAttrib2f(4, 0, 0);
    }
    return true;
}

HRESULT GlDevice::Draw(D3DPRIMITIVETYPE type, UINT primitiveCount, GLint first,
                       const GlVertexBuffer* buffer) {
    UINT vertices = 0;
    GLenum mode = GL_TRIANGLES;
    if (!VertexCount(type, primitiveCount, vertices, mode)) return D3DERR_INVALIDCALL;
    ApplyFixedStates();
    ApplySamplers();
    ApplyUniforms();
    const bool cullHidden =
        buffer && mode == GL_TRIANGLES && BackFacesHidden(*buffer, static_cast<UINT>(first), vertices);
    ApplyCullMode(cullHidden ? static_cast<DWORD>(D3DCULL_CCW) : tables_.renderStates[D3DRS_CULLMODE]);
    if (FrameWorkCounting() && !workQueryRunning_) {
        if (!workQuery_) glGenQueries(1, &workQuery_);
        glBeginQuery(GL_SAMPLES_PASSED, workQuery_);
        workQueryRunning_ = true;
    }
    DrawVisibleTriangles(mode, first, vertices, buffer);
    ++drawCalls_;
    return S_OK;
}

void GlDevice::DrawVisibleTriangles(GLenum mode, GLint first, UINT vertexCount,
                                    const GlVertexBuffer* buffer) {
    const UINT chunkVertices = 3 * kChunkTriangles;
    if (!buffer || mode != GL_TRIANGLES || vertexCount < 2 * chunkVertices ||
        !GetSpeedLevers().offscreenChunks || (tables_.fvf & 0x00E) != D3DFVF_XYZ || streamStride_ < 12) {
        glDrawArrays(mode, first, static_cast<GLsizei>(vertexCount));
        return;
    }
    ShapeMemo& memo = MemoFor(*buffer, static_cast<UINT>(first), vertexCount);
    if (memo.chunkBoxes.empty()) {
        const uint8_t* base = buffer->Data() + streamOffset_ + static_cast<size_t>(first) * streamStride_;
        for (UINT start = 0; start < vertexCount; start += chunkVertices) {
            float box[6];
            for (UINT v = start; v < std::min(vertexCount, start + chunkVertices); ++v) {
                float p[3];
                std::memcpy(p, base + static_cast<size_t>(v) * streamStride_, sizeof p);
                for (int k = 0; k < 3; ++k) {
                    box[k] = v == start ? p[k] : std::min(box[k], p[k]);
                    box[3 + k] = v == start ? p[k] : std::max(box[3 + k], p[k]);
                }
            }
            memo.chunkBoxes.insert(memo.chunkBoxes.end(), box, box + 6);
        }
    }
    D3DMATRIX worldView, m;
    MultiplyMatrices(worldView, tables_.world, tables_.view);
    MultiplyMatrices(m, worldView, tables_.projection);
    // A chunk whose box lies wholly beyond one side of the view volume draws nothing; the margin keeps
    // any chunk that a rounding could bring onto the screen.
    const auto offscreen = [&m](const float* box) {
        int outside[6] = {0, 0, 0, 0, 0, 0};
        for (int corner = 0; corner < 8; ++corner) {
            const float x = box[(corner & 1) ? 3 : 0], y = box[(corner & 2) ? 4 : 1],
                        z = box[(corner & 4) ? 5 : 2];
            const float cx = x * m._11 + y * m._21 + z * m._31 + m._41;
            const float cy = x * m._12 + y * m._22 + z * m._32 + m._42;
            const float cz = x * m._13 + y * m._23 + z * m._33 + m._43;
            const float cw = x * m._14 + y * m._24 + z * m._34 + m._44;
            const float margin = 1e-3f * std::fabs(cw) + 1e-3f;
            outside[0] += cx > cw + margin;
            outside[1] += cx < -cw - margin;
            outside[2] += cy > cw + margin;
            outside[3] += cy < -cw - margin;
            outside[4] += cz > cw + margin;
            outside[5] += cz < -margin;
        }
        return std::find(outside, outside + 6, 8) != outside + 6;
    };
    runFirsts_.clear();
    runCounts_.clear();
    const size_t chunks = memo.chunkBoxes.size() / 6;
    for (size_t c = 0; c < chunks; ++c) {
        if (offscreen(&memo.chunkBoxes[6 * c])) continue;
        const GLint start = first + static_cast<GLint>(c * chunkVertices);
        const GLsizei count =
            static_cast<GLsizei>(std::min<UINT>(chunkVertices, vertexCount - c * chunkVertices));
        if (!runCounts_.empty() && runFirsts_.back() + runCounts_.back() == start) {
            runCounts_.back() += count;
        } else {
            runFirsts_.push_back(start);
            runCounts_.push_back(count);
        }
    }
    if (runFirsts_.size() == 1) {
        glDrawArrays(mode, runFirsts_[0], runCounts_[0]);
    } else if (!runFirsts_.empty()) {
        glMultiDrawArrays(mode, runFirsts_.data(), runCounts_.data(),
                          static_cast<GLsizei>(runFirsts_.size()));
    }
}

HRESULT GlDevice::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) {
    if (!Alive()) return D3DERR_INVALIDCALL;
    auto* buffer = dynamic_cast<GlVertexBuffer*>(stream_);
    if (!buffer || !buffer->Usable()) return D3DERR_INVALIDCALL;
    UINT vertices = 0;
    GLenum mode;
    if (!VertexCount(type, primitiveCount, vertices, mode)) return D3DERR_INVALIDCALL;
    if (primitiveCount == 0) return S_OK;
    const VertexLayout l = LayoutOf(tables_.fvf);
    if (!l.valid || streamStride_ < l.size) return D3DERR_INVALIDCALL;
    // Never read past the end of the buffer.
    const uint64_t end = static_cast<uint64_t>(streamOffset_) +
                         (static_cast<uint64_t>(startVertex) + vertices - 1) * streamStride_ + l.size;
    if (end > buffer->GetLength() || startVertex > 0x7FFFFFFF) return D3DERR_INVALIDCALL;
    if (!BindVertexLayout(buffer->Name(), streamOffset_, streamStride_, tables_.fvf))
        return D3DERR_INVALIDCALL;
    NoteVertexAlpha(l.hasDiffuse && GetSpeedLevers().opaqueVertexAlpha &&
                    DiffuseAlphaOpaque(*buffer, startVertex, vertices, l.diffuse));
    return Draw(type, primitiveCount, static_cast<GLint>(startVertex), buffer);
}

HRESULT GlDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertices,
                                  UINT stride) {
    if (!Alive() || !vertices) return D3DERR_INVALIDCALL;
    UINT count = 0;
    GLenum mode;
    if (!VertexCount(type, primitiveCount, count, mode)) return D3DERR_INVALIDCALL;
    // Drawing from memory unbinds stream 0, as Direct3D does.
    if (stream_) stream_->Release();
    stream_ = nullptr;
    if (primitiveCount == 0) return S_OK;
    const VertexLayout l = LayoutOf(tables_.fvf);
    if (!l.valid || stride < l.size) return D3DERR_INVALIDCALL;
    const uint64_t bytes = static_cast<uint64_t>(count) * stride;
    if (bytes > (64u << 20)) return D3DERR_INVALIDCALL;
    glBindBuffer(GL_ARRAY_BUFFER, streamBuffer_);
    if (static_cast<GLsizeiptr>(bytes) > streamCapacity_) {
        const GLsizeiptr grown = std::max<GLsizeiptr>(static_cast<GLsizeiptr>(bytes), 64 * 1024);
        LiveGlObjects().bytes += grown - streamCapacity_;
        streamCapacity_ = grown;
    }
    glBufferData(GL_ARRAY_BUFFER, streamCapacity_, nullptr, GL_STREAM_DRAW);  // orphan
    glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(bytes), vertices);
    if (!BindVertexLayout(streamBuffer_, 0, stride, tables_.fvf)) return D3DERR_INVALIDCALL;
    NoteVertexAlpha(false);
    return Draw(type, primitiveCount, 0, nullptr);
}

HRESULT GlDevice::ReadBackBuffer(uint8_t* rgba, UINT width, UINT height) {
    if (!rgba || !Alive() || width != static_cast<UINT>(width_) || height != static_cast<UINT>(height_))
        return D3DERR_INVALIDCALL;
    std::vector<uint8_t> pixels(static_cast<size_t>(width_) * height_ * 4);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    const size_t row = static_cast<size_t>(width_) * 4;
    for (int y = 0; y < height_; ++y) {
        uint8_t* dst = rgba + static_cast<size_t>(y) * row;
        std::memcpy(dst, pixels.data() + static_cast<size_t>(height_ - 1 - y) * row, row);
        for (size_t x = 3; x < row; x += 4) dst[x] = 255;  // the screen shows no alpha
    }
    return S_OK;
}

HRESULT GlDevice::DrawText(IDirect3DTexture9* atlas, const TextVertex* vertices, UINT vertexCount,
                           const RECT& clip) {
    if (!Alive() || !vertices || vertexCount < 3) return D3DERR_INVALIDCALL;
    const int left = std::clamp<int>(clip.left, 0, width_);
    const int top = std::clamp<int>(clip.top, 0, height_);
    const int right = std::clamp<int>(clip.right, 0, width_);
    const int bottom = std::clamp<int>(clip.bottom, 0, height_);
    if (right <= left || bottom <= top) return S_OK;

    // The text's own states for this one draw; blending stays the caller's.
    const DeviceTables saved = tables_;
    DWORD* rs = tables_.renderStates;
    rs[D3DRS_ALPHATESTENABLE] = 1;  // texels without coverage never paint, even with blending off
    rs[D3DRS_ALPHAREF] = 1;
    rs[D3DRS_ALPHAFUNC] = D3DCMP_GREATEREQUAL;
    rs[D3DRS_CULLMODE] = D3DCULL_NONE;
    rs[D3DRS_ZENABLE] = 0;
    rs[D3DRS_FILLMODE] = D3DFILL_SOLID;
    rs[D3DRS_SHADEMODE] = D3DSHADE_GOURAUD;
    DWORD* s0 = tables_.stageStates[0];
    s0[D3DTSS_COLOROP] = D3DTOP_MODULATE;
    s0[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
    s0[D3DTSS_COLORARG2] = D3DTA_DIFFUSE;
    s0[D3DTSS_ALPHAOP] = D3DTOP_MODULATE;
    s0[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
    s0[D3DTSS_ALPHAARG2] = D3DTA_DIFFUSE;
    s0[D3DTSS_TEXCOORDINDEX] = 0;
    tables_.stageStates[1][D3DTSS_COLOROP] = D3DTOP_DISABLE;
    DWORD* ss = tables_.samplerStates[0];
    ss[D3DSAMP_MINFILTER] = D3DTEXF_POINT;
    ss[D3DSAMP_MAGFILTER] = D3DTEXF_POINT;
    ss[D3DSAMP_MIPFILTER] = D3DTEXF_NONE;
    ss[D3DSAMP_ADDRESSU] = D3DTADDRESS_CLAMP;
    ss[D3DSAMP_ADDRESSV] = D3DTADDRESS_CLAMP;
    tables_.textures[0] = atlas;  // borrowed for this draw; the saved tables hold the real binding
    tables_.fvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;
    fixedDirty_ = uniformsDirty_ = true;
    samplersDirty_[0] = true;

    glEnable(GL_SCISSOR_TEST);
    glScissor(left, height_ - bottom, right - left, bottom - top);
    IDirect3DVertexBuffer9* stream = stream_;
    stream_ = nullptr;  // keep the caller's stream binding across the draw
    HRESULT hr = DrawPrimitiveUP(D3DPT_TRIANGLELIST, vertexCount / 3, vertices, sizeof(TextVertex));
    stream_ = stream;
    glDisable(GL_SCISSOR_TEST);

    tables_ = saved;
    fixedDirty_ = uniformsDirty_ = true;
    samplersDirty_[0] = true;
    return hr;
}

HRESULT DrawTextTriangles(IDirect3DDevice9* device, IDirect3DTexture9* atlas, const TextVertex* vertices,
                          UINT vertexCount, const RECT& clip) {
    if (!LiveDevices().count(device)) return D3DERR_INVALIDCALL;
    auto* ours = dynamic_cast<GlDevice*>(device);
    if (!ours) return D3DERR_INVALIDCALL;
    return ours->DrawText(atlas, vertices, vertexCount, clip);
}

bool IsPlatformDevice(IDirect3DDevice9* device) {
    if (!LiveDevices().count(device)) return false;
    auto* ours = dynamic_cast<GlDevice*>(device);
    return ours && ours->Alive();
}

}  // namespace platform
