// Textures from the bitmap resources: decode, colour key, convert, mip chain.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <vector>

#include "platform/bitmap_resources.h"
#include "platform/bmp_decoder.h"
#include "platform/d3d9_internal.h"
#include "platform/d3dx9.h"

namespace {

bool IsDefaultSize(UINT size) {
    return size == 0 || size >= 0xFFFFFFFEu;
}  // D3DX_DEFAULT(_NONPOW2)

// Nearest-texel resampling for an explicitly requested size.
std::vector<uint32_t> Resample(const DecodedImage& image, int width, int height) {
    std::vector<uint32_t> out(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const int sy = static_cast<int>(static_cast<int64_t>(y) * image.height / height);
        for (int x = 0; x < width; ++x) {
            const int sx = static_cast<int>(static_cast<int64_t>(x) * image.width / width);
            out[static_cast<size_t>(y) * width + x] = image.argb[static_cast<size_t>(sy) * image.width + sx];
        }
    }
    return out;
}

// A compiled-in bitmap is read once, when its texture is made; afterwards its bytes need not stay in
// the process's memory. They lie in the executable's read-only data, so the pages are only dropped from
// this process (the system keeps them cached) and a later read brings them back unchanged.
void LetGoOfEmbeddedBytes(const BitmapResource* resource) {
    if (resource < g_bitmapResources || resource >= g_bitmapResources + g_bitmapResourceCount) return;
    const long page = sysconf(_SC_PAGESIZE);
    if (page <= 0) return;
    const auto start = reinterpret_cast<uintptr_t>(resource->data);
    const uintptr_t first = (start + page - 1) / page * page;
    const uintptr_t last = (start + resource->size) / page * page;
    if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
}

}  // namespace

HRESULT D3DXCreateTextureFromResourceExA(IDirect3DDevice9* device, HMODULE, LPCSTR resource, UINT width,
                                         UINT height, UINT mipLevels, DWORD, D3DFORMAT format, D3DPOOL, DWORD,
                                         DWORD, D3DCOLOR colorKey, void*, void*,
                                         IDirect3DTexture9** texture) {
    if (!texture) return D3DERR_INVALIDCALL;
    *texture = nullptr;
    if (!device || !platform::IsPlatformDevice(device)) return D3DERR_INVALIDCALL;
    if (!resource || !IS_INTRESOURCE(resource)) return E_FAIL;  // only numbered resources exist
    const BitmapResource* found = FindBitmapResource(static_cast<int>(reinterpret_cast<uintptr_t>(resource)));
    if (!found) return E_FAIL;
    DecodedImage image;
    const bool decoded = DecodeBmp(found->data, found->size, image);
    LetGoOfEmbeddedBytes(found);
    if (!decoded) return E_FAIL;

    int w = image.width;
    int h = image.height;
    std::vector<uint32_t> texels;
    if ((!IsDefaultSize(width) || !IsDefaultSize(height)) && width <= 16384 && height <= 16384) {
        if (!IsDefaultSize(width)) w = static_cast<int>(width);
        if (!IsDefaultSize(height)) h = static_cast<int>(height);
        texels = Resample(image, w, h);
    } else {
        texels = std::move(image.argb);
    }
    // The bitmap's texels are opaque, so an opaque key matches on all four channels.
    if (colorKey != 0) {
        for (uint32_t& t : texels)
            if (t == colorKey) t = 0x00000000u;
    }
    const UINT levels = mipLevels == D3DX_DEFAULT ? 0 : mipLevels;
    platform::GlTexture* created = platform::GlTexture::Create(w, h, texels.data(), format, levels);
    if (!created) return E_FAIL;
    *texture = created;
    return S_OK;
}
