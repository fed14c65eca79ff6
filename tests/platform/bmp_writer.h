// Small BMP files built in memory for the texture and decoder tests.
#pragma once
#include <cstdint>
#include <vector>

namespace bmp_writer {

inline void Put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}
inline void Put32(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back((v >> (8 * i)) & 0xFF);
}

inline void PutHeaders(std::vector<uint8_t>& b, int width, int height, int bits, uint32_t paletteCount,
                       uint32_t imageBytes) {
    const uint32_t offset = 14 + 40 + paletteCount * 4;
    b.push_back('B');
    b.push_back('M');
    Put32(b, offset + imageBytes);
    Put32(b, 0);
    Put32(b, offset);
    Put32(b, 40);
    Put32(b, static_cast<uint32_t>(width));
    Put32(b, static_cast<uint32_t>(height));
    Put16(b, 1);
    Put16(b, static_cast<uint32_t>(bits));
    Put32(b, 0);
    Put32(b, imageBytes);
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, paletteCount);
    Put32(b, 0);
}

// 24-bit, bottom-up; texels given top row first as 0xRRGGBB.
inline std::vector<uint8_t> Make24(int width, int height, const std::vector<uint32_t>& rgb) {
    const int row = (width * 3 + 3) / 4 * 4;
    std::vector<uint8_t> b;
    PutHeaders(b, width, height, 24, 0, static_cast<uint32_t>(row * height));
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t c = rgb[static_cast<size_t>(y) * width + x];
            b.push_back(c & 0xFF);
            b.push_back((c >> 8) & 0xFF);
            b.push_back((c >> 16) & 0xFF);
        }
        for (int p = width * 3; p < row; ++p) b.push_back(0);
    }
    return b;
}

// 8-bit palettised, bottom-up; indices top row first.
inline std::vector<uint8_t> Make8(int width, int height, const std::vector<uint32_t>& palette,
                                  const std::vector<uint8_t>& indices) {
    const int row = (width + 3) / 4 * 4;
    std::vector<uint8_t> b;
    PutHeaders(b, width, height, 8, static_cast<uint32_t>(palette.size()),
               static_cast<uint32_t>(row * height));
    for (uint32_t c : palette) Put32(b, c & 0xFFFFFF);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) b.push_back(indices[static_cast<size_t>(y) * width + x]);
        for (int p = width; p < row; ++p) b.push_back(0);
    }
    return b;
}

}  // namespace bmp_writer
