// Reads only inside the given bytes; every size and offset is checked before it is used.
#include "platform/bmp_decoder.h"

namespace {

constexpr int kMaxDimension = 16384;
constexpr uint64_t kMaxTexels = 64ull * 1024 * 1024;

uint32_t Read16(const uint8_t* p) {
    return p[0] | (p[1] << 8);
}
uint32_t Read32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

bool DecodeBmp(const uint8_t* data, size_t size, DecodedImage& out) {
    out = DecodedImage{};
    if (!data || size < 14 + 12) return false;
    if (data[0] != 'B' || data[1] != 'M') return false;
    const uint64_t pixelOffset = Read32(data + 10);
    const uint32_t headerSize = Read32(data + 14);
    if (headerSize < 12 || 14ull + headerSize > size) return false;

    int64_t width = 0;
    int64_t height = 0;
    uint32_t bitsPerPixel = 0;
    uint32_t compression = 0;
    uint32_t colorsUsed = 0;
    uint32_t paletteEntrySize = 4;
    if (headerSize == 12) {  // the old core header
        width = Read16(data + 18);
        height = static_cast<int16_t>(Read16(data + 20));
        bitsPerPixel = Read16(data + 24);
        paletteEntrySize = 3;
    } else {
        if (headerSize < 40) return false;
        width = static_cast<int32_t>(Read32(data + 18));
        height = static_cast<int32_t>(Read32(data + 22));
        bitsPerPixel = Read16(data + 28);
        compression = Read32(data + 30);
        colorsUsed = Read32(data + 46);
    }
    if (compression != 0) return false;  // only uncompressed BI_RGB
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (width <= 0 || height <= 0 || width > kMaxDimension || height > kMaxDimension) return false;
    if (static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > kMaxTexels) return false;
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 24 &&
        bitsPerPixel != 32)
        return false;

    // Palette
    uint32_t palette[256] = {};
    uint32_t paletteCount = 0;
    if (bitsPerPixel <= 8) {
        const uint32_t maxEntries = 1u << bitsPerPixel;
        paletteCount = colorsUsed == 0 ? maxEntries : colorsUsed;
        if (paletteCount > maxEntries) paletteCount = maxEntries;
        const uint64_t paletteStart = 14ull + headerSize;
        if (paletteStart + static_cast<uint64_t>(paletteCount) * paletteEntrySize > size) return false;
        for (uint32_t i = 0; i < paletteCount; ++i) {
            const uint8_t* e = data + paletteStart + i * paletteEntrySize;
            palette[i] =
                0xFF000000u | (static_cast<uint32_t>(e[2]) << 16) | (static_cast<uint32_t>(e[1]) << 8) | e[0];
        }
        for (uint32_t i = paletteCount; i < 256; ++i) palette[i] = 0xFF000000u;
    }

    const uint64_t rowBytes = ((static_cast<uint64_t>(width) * bitsPerPixel + 31) / 32) * 4;
    if (pixelOffset > size || rowBytes * static_cast<uint64_t>(height) > size - pixelOffset) return false;

    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    out.argb.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int64_t row = 0; row < height; ++row) {
        const int64_t fileRow = topDown ? row : height - 1 - row;
        const uint8_t* src = data + pixelOffset + static_cast<uint64_t>(fileRow) * rowBytes;
        uint32_t* dst = out.argb.data() + row * width;
        for (int64_t x = 0; x < width; ++x) {
            uint32_t c = 0;
            switch (bitsPerPixel) {
                case 1:
                    c = palette[(src[x >> 3] >> (7 - (x & 7))) & 1];
                    break;
                case 4:
                    c = palette[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF];
                    break;
                case 8:
                    c = palette[src[x]];
                    break;
                case 24: {
                    const uint8_t* p = src + x * 3;
                    c = 0xFF000000u | (static_cast<uint32_t>(p[2]) << 16) |
                        (static_cast<uint32_t>(p[1]) << 8) | p[0];
                    break;
                }
                case 32: {
                    const uint8_t* p = src + x * 4;
                    c = 0xFF000000u | (static_cast<uint32_t>(p[2]) << 16) |
                        (static_cast<uint32_t>(p[1]) << 8) | p[0];
                    break;
                }
            }
            dst[x] = c;
        }
    }
    return true;
}
