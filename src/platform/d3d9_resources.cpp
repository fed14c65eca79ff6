// Textures and vertex buffers held in OpenGL.
#include <algorithm>
#include <cstring>

#include "platform/d3d9_internal.h"
#include "platform/platform_internal.h"

namespace platform {
namespace {

// A texel as the texture format keeps it, widened back to 8 bits per channel.
uint32_t QuantizeA1R5G5B5(uint32_t argb) {
    const auto five = [](uint32_t v) {
        uint32_t q = (v * 31 + 127) / 255;
        return (q << 3) | (q >> 2);
    };
    const uint32_t a = (argb >> 24) >= 128 ? 0xFFu : 0u;
    const uint32_t r = five((argb >> 16) & 0xFF);
    const uint32_t g = five((argb >> 8) & 0xFF);
    const uint32_t b = five(argb & 0xFF);
    return (a << 24) | (r << 16) | (g << 8) | b;
}

uint16_t PackA1R5G5B5(uint32_t argb) {
    return static_cast<uint16_t>((((argb >> 24) & 0x80) << 8) | (((argb >> 19) & 0x1F) << 10) |
                                 (((argb >> 11) & 0x1F) << 5) | ((argb >> 3) & 0x1F));
}

UINT FullChainLength(int width, int height) {
    UINT levels = 1;
    int size = std::max(width, height);
    while (size > 1) {
        size >>= 1;
        ++levels;
    }
    return levels;
}

}  // namespace

GlTexture* GlTexture::Create(int width, int height, const uint32_t* argb, D3DFORMAT format, UINT levels) {
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384 || !argb) return nullptr;
    if (!GlContextAlive(GlContextGeneration())) return nullptr;
    if (format != D3DFMT_A1R5G5B5) format = D3DFMT_A8R8G8B8;  // every other request keeps 8 bits and alpha
    auto* texture = new GlTexture();
    texture->width_ = width;
    texture->height_ = height;
    texture->format_ = format;
    const UINT full = FullChainLength(width, height);
    texture->levels_ = (levels == 0 || levels > full) ? full : levels;
    texture->generation_ = GlContextGeneration();
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    texture->level0_.assign(argb, argb + count);

    glGenTextures(1, &texture->name_);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture->name_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (format == D3DFMT_A1R5G5B5) {
        std::vector<uint16_t> packed(count);
        for (size_t i = 0; i < count; ++i) {
            texture->level0_[i] = QuantizeA1R5G5B5(argb[i]);
            packed[i] = PackA1R5G5B5(texture->level0_[i]);
        }
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB5_A1, width, height, 0, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV,
                     packed.data());
    } else {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                     argb);
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(texture->levels_ - 1));
    if (texture->levels_ > 1) glGenerateMipmap(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

GlTexture::~GlTexture() {
    if (name_ && GlContextAlive(generation_)) glDeleteTextures(1, &name_);
}

bool GlTexture::Usable() const {
    return name_ && GlContextAlive(generation_);
}

unsigned long GlTexture::AddRef() {
    return ++references_;
}

unsigned long GlTexture::Release() {
    const unsigned long left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT GlTexture::ReadTexels(uint32_t* argb, UINT count) {
    if (!argb) return D3DERR_INVALIDCALL;
    const size_t n = std::min<size_t>(count, level0_.size());
    std::memcpy(argb, level0_.data(), n * sizeof(uint32_t));
    return count <= level0_.size() ? S_OK : D3DERR_INVALIDCALL;
}

GlVertexBuffer* GlVertexBuffer::Create(UINT length) {
    if (length == 0 || length > (256u << 20)) return nullptr;
    if (!GlContextAlive(GlContextGeneration())) return nullptr;
    auto* buffer = new GlVertexBuffer();
    buffer->data_.assign(length, 0);
    buffer->generation_ = GlContextGeneration();
    glGenBuffers(1, &buffer->name_);
    glBindBuffer(GL_ARRAY_BUFFER, buffer->name_);
    glBufferData(GL_ARRAY_BUFFER, length, buffer->data_.data(), GL_DYNAMIC_DRAW);
    return buffer;
}

GlVertexBuffer::~GlVertexBuffer() {
    if (name_ && GlContextAlive(generation_)) glDeleteBuffers(1, &name_);
}

bool GlVertexBuffer::Usable() const {
    return name_ && GlContextAlive(generation_);
}

unsigned long GlVertexBuffer::AddRef() {
    return ++references_;
}

unsigned long GlVertexBuffer::Release() {
    const unsigned long left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT GlVertexBuffer::Lock(UINT offset, UINT size, void** data, DWORD flags) {
    if (!data) return D3DERR_INVALIDCALL;
    *data = nullptr;
    if (locked_ || offset > data_.size()) return D3DERR_INVALIDCALL;
    if (size == 0) size = static_cast<UINT>(data_.size() - offset);  // 0: to the end
    if (size > data_.size() - offset) return D3DERR_INVALIDCALL;
    locked_ = true;
    discard_ = (flags & D3DLOCK_DISCARD) != 0;
    dirtyBegin_ = offset;
    dirtyEnd_ = static_cast<size_t>(offset) + size;
    *data = data_.data() + offset;
    return S_OK;
}

HRESULT GlVertexBuffer::Unlock() {
    if (!locked_) return D3DERR_INVALIDCALL;
    locked_ = false;
    if (!Usable()) return S_OK;
    glBindBuffer(GL_ARRAY_BUFFER, name_);
    if (discard_) {
        // Orphan the old storage so a draw still using it does not stall the upload.
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(data_.size()), data_.data(), GL_DYNAMIC_DRAW);
    } else if (dirtyEnd_ > dirtyBegin_) {
        glBufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(dirtyBegin_),
                        static_cast<GLsizeiptr>(dirtyEnd_ - dirtyBegin_), data_.data() + dirtyBegin_);
    }
    return S_OK;
}

}  // namespace platform
