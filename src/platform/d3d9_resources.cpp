// Textures and vertex buffers held in OpenGL.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/automation.h"
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

// Where each texel of a level samples the level above it along one axis: the two texels and the
// weight of the second in 1/256, for a bilinear sample at the texel's centre.
struct AxisTap {
    int first, second, weight;
};

std::vector<AxisTap> AxisTaps(int smaller, int larger) {
    std::vector<AxisTap> taps(static_cast<size_t>(smaller));
    for (int d = 0; d < smaller; ++d) {
        const double centre = (d + 0.5) * larger / smaller;  // in texels of the larger level
        const long at = static_cast<long>(std::floor(centre * 256.0 - 128.0 + 0.5));
        const long texel = at >> 8;
        taps[d] = {static_cast<int>(std::clamp<long>(texel, 0, larger - 1)),
                   static_cast<int>(std::clamp<long>(texel + 1, 0, larger - 1)), static_cast<int>(at & 255)};
    }
    return taps;
}

int Lerp8(int a, int b, int weight) {
    return a + (((b - a) * weight + 128) >> 8);
}

// The next smaller level, texel for texel as llvmpipe's glGenerateMipmap makes it (a bilinear sample
// at each texel's centre with 8-bit weights: the average of each 2 x 2 block for even sizes).
std::vector<uint32_t> HalveLevel(const std::vector<uint32_t>& level, int width, int height, int& outWidth,
                                 int& outHeight) {
    outWidth = std::max(1, width / 2);
    outHeight = std::max(1, height / 2);
    const std::vector<AxisTap> xs = AxisTaps(outWidth, width), ys = AxisTaps(outHeight, height);
    std::vector<uint32_t> out(static_cast<size_t>(outWidth) * outHeight);
    for (int y = 0; y < outHeight; ++y) {
        const uint32_t* row0 = level.data() + static_cast<size_t>(ys[y].first) * width;
        const uint32_t* row1 = level.data() + static_cast<size_t>(ys[y].second) * width;
        for (int x = 0; x < outWidth; ++x) {
            const AxisTap& t = xs[x];
            uint32_t texel = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                const auto at = [shift](const uint32_t* row, int i) {
                    return static_cast<int>((row[i] >> shift) & 0xFF);
                };
                const int top = Lerp8(at(row0, t.first), at(row0, t.second), t.weight);
                const int bottom = Lerp8(at(row1, t.first), at(row1, t.second), t.weight);
                texel |= static_cast<uint32_t>(Lerp8(top, bottom, ys[y].weight)) << shift;
            }
            out[static_cast<size_t>(y) * outWidth + x] = texel;
        }
    }
    return out;
}

uint64_t NextContentsId() {
    static uint64_t last = 0;
    return ++last;
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
    texture->mipChainBuilt_ = texture->levels_ == 1;
    texture->generation_ = GlContextGeneration();
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);

    // The texels are quantised here, on the processor; OpenGL keeps the result in 8-bit channels, which
    // llvmpipe samples faster than packed 16-bit texels and which hold exactly the same values.
    std::vector<uint32_t> quantised;
    const uint32_t* texels = argb;
    if (format == D3DFMT_A1R5G5B5) {
        quantised.resize(count);
        for (size_t i = 0; i < count; ++i) quantised[i] = QuantizeA1R5G5B5(argb[i]);
        texels = quantised.data();
    }
    texture->opaque_ = std::all_of(texels, texels + count, [](uint32_t t) { return (t >> 24) == 0xFF; });
    glGenTextures(1, &texture->name_);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture->name_);
    ++GlBindingEpoch();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // Only level 0 for now: with a non-mipmapped filter and a one-level range OpenGL allocates no
    // storage for the levels below (the device's sampler objects decide the filtering at draw time).
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, texels);
    glBindTexture(GL_TEXTURE_2D, 0);
    texture->bytes_ = static_cast<int64_t>(count) * 4;
    GlObjectCounts& live = LiveGlObjects();
    ++live.textures;
    live.bytes += texture->bytes_;
    return texture;
}

void GlTexture::EnsureMipChain() {
    if (mipChainBuilt_ || !Usable()) return;
    mipChainBuilt_ = true;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(levels_ - 1));
    if (GetSpeedLevers().processorMipmaps) {
        // The same levels as glGenerateMipmap, without the blit programs that llvmpipe would compile for
        // it (most of the first frame's time).
        std::vector<uint32_t> level(static_cast<size_t>(width_) * height_);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, level.data());
        int w = width_, h = height_;
        for (UINT n = 1; n < levels_; ++n) {
            int smallerWidth = 0, smallerHeight = 0;
            level = HalveLevel(level, w, h, smallerWidth, smallerHeight);
            w = smallerWidth;
            h = smallerHeight;
            glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(n), GL_RGBA8, w, h, 0, GL_BGRA,
                         GL_UNSIGNED_INT_8_8_8_8_REV, level.data());
        }
    } else {
        glGenerateMipmap(GL_TEXTURE_2D);
    }
    int64_t bytes = 0;
    for (UINT level = 0; level < levels_; ++level) {
        bytes += static_cast<int64_t>(std::max(1, width_ >> level)) * std::max(1, height_ >> level) * 4;
    }
    LiveGlObjects().bytes += bytes - bytes_;
    ++LiveGlObjects().mipChains;
    bytes_ = bytes;
}

GlTexture::~GlTexture() {
    GlObjectCounts& live = LiveGlObjects();
    --live.textures;
    live.bytes -= bytes_;
    if (name_ && GlContextAlive(generation_)) {
        glDeleteTextures(1, &name_);
        ++GlBindingEpoch();
    }
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
    if (!argb || !Usable()) return D3DERR_INVALIDCALL;
    const size_t total = static_cast<size_t>(width_) * static_cast<size_t>(height_);
    std::vector<uint32_t> texels(total);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, name_);
    ++GlBindingEpoch();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, texels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    const size_t n = std::min<size_t>(count, total);
    std::memcpy(argb, texels.data(), n * sizeof(uint32_t));
    return count <= total ? S_OK : D3DERR_INVALIDCALL;
}

GlVertexBuffer* GlVertexBuffer::Create(UINT length) {
    if (length == 0 || length > (256u << 20)) return nullptr;
    if (!GlContextAlive(GlContextGeneration())) return nullptr;
    auto* buffer = new GlVertexBuffer();
    buffer->data_.assign(length, 0);
    buffer->generation_ = GlContextGeneration();
    buffer->contentsId_ = NextContentsId();
    glGenBuffers(1, &buffer->name_);
    glBindBuffer(GL_ARRAY_BUFFER, buffer->name_);
    glBufferData(GL_ARRAY_BUFFER, length, buffer->data_.data(), GL_DYNAMIC_DRAW);
    ++GlBindingEpoch();
    GlObjectCounts& live = LiveGlObjects();
    ++live.buffers;
    live.bytes += length;
    return buffer;
}

GlVertexBuffer::~GlVertexBuffer() {
    GlObjectCounts& live = LiveGlObjects();
    --live.buffers;
    live.bytes -= static_cast<int64_t>(data_.size());
    if (name_ && GlContextAlive(generation_)) {
        glDeleteBuffers(1, &name_);
        ++GlBindingEpoch();
    }
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
    if (discard_ && GetSpeedLevers().skipUnchangedUploads) {
        // A model refills its buffer before every draw, mostly with what it held already (the same
        // model drawn for the next bus): then there is nothing to upload, and what is known of the
        // contents still holds.
        if (uploaded_.size() == data_.size() &&
            std::memcmp(uploaded_.data(), data_.data(), data_.size()) == 0)
            return S_OK;
        uploaded_ = data_;
    } else {
        uploaded_.clear();
    }
    contentsId_ = NextContentsId();
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
