// The English bitmaps: every bitmap that carries words, and only those, has an English twin that the
// lookup gives while the game speaks English, and the twin fits where the Slovak one does.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

#include "bitmap_table.h"
#include "platform/bitmap_resources.h"
#include "platform/language.h"

namespace {

// Width, height and bit depth from a BMP's header, then its outermost pixels (24-bit) as 0xRRGGBB.
std::vector<uint32_t> SizeAndEdge(const BitmapResource* r) {
    int32_t width, height;
    uint32_t offset;
    std::memcpy(&offset, r->data + 10, 4);
    std::memcpy(&width, r->data + 18, 4);
    std::memcpy(&height, r->data + 22, 4);
    std::vector<uint32_t> out = {uint32_t(width), uint32_t(height), r->data[28]};
    const int stride = (width * 3 + 3) & ~3;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; x += (y == 0 || y == height - 1 || x == width - 1) ? 1 : width - 1) {
            const uint8_t* p = r->data + offset + size_t(y) * stride + size_t(x) * 3;
            out.push_back(uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0]);
        }
    }
    return out;
}

TEST(EnglishBitmaps, EveryWordedBitmapHasATwinOfTheSameSizeDepthAndKeyedGround) {
    // Buttons (EXIT is EXIT), THE END, the options' and password labels, CANCEL, credits, the lot's exit,
    // the depot's sign and the shelter's poster.
    std::set<int> worded = {152, 162, 163, 165, 167, 169, 170, 175, 176, 177, 196, 217, 218, 219, 220, 224};
    for (int id = 137; id <= 148; ++id) worded.insert(id);
    std::set<int> twins;
    for (const BitmapSpec& spec : kBitmapTable) {
        const BitmapResource* slovak = FindBitmapResource(spec.id);
        SetGameLanguage(Language::kEnglish);
        const BitmapResource* english = FindBitmapResource(spec.id);
        SetGameLanguage(Language::kSlovak);
        ASSERT_NE(english, nullptr);
        if (english == slovak) continue;
        SCOPED_TRACE(spec.id);
        twins.insert(spec.id);
        ASSERT_EQ(spec.bitDepth, 24);
        const std::vector<uint32_t> en = SizeAndEdge(english), sk = SizeAndEdge(slovak);
        ASSERT_EQ(en.size(), sk.size());
        EXPECT_EQ(std::vector<uint32_t>(en.begin(), en.begin() + 3),
                  std::vector<uint32_t>({uint32_t(spec.width), uint32_t(spec.height), 24u}));
        // The edge of the art is the Slovak one, keyed ground and frame; only where Slovak words touch
        // the edge may English ones leave it keyed.
        for (size_t i = 3; i < en.size(); ++i) {
            if (en[i] != sk[i]) {
                ASSERT_EQ(en[i], 0xFF00FFu) << "edge pixel " << i - 3;
            }
        }
    }
    EXPECT_EQ(twins, worded);
}

}  // namespace
