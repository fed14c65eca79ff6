// A defensive decoder for the BMP files stored as bitmap resources.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

struct DecodedImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb;  // width * height texels, top row first, alpha 255
};

// Uncompressed 1-, 4-, 8-bit palettised, 24- and 32-bit BMPs, bottom-up or top-down. Anything
// truncated, compressed, oversized or otherwise malformed yields false and leaves `out` empty.
bool DecodeBmp(const uint8_t* data, size_t size, DecodedImage& out);
