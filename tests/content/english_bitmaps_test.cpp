// The English bitmaps: every bitmap that carries words has an English twin that fits where the Slovak
// one does, and the lookup gives the twin only while the game speaks English.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "bitmap_table.h"
#include "platform/bitmap_resources.h"
#include "platform/language.h"

namespace {

struct Bmp {
    int width = 0, height = 0, bits = 0;
    const uint8_t* pixels = nullptr;
};

Bmp Parse(const BitmapResource* r) {
    Bmp b;
    if (!r || r->size < 54) return b;
    auto u32 = [&](size_t o) {
        uint32_t v;
        std::memcpy(&v, r->data + o, 4);
        return v;
    };
    b.width = int(u32(18));
    b.height = int(u32(22));
    b.bits = r->data[28];
    b.pixels = r->data + u32(10);
    return b;
}

// The outermost pixels of a 24-bit bitmap: its keyed ground, or the edge of its art.
std::vector<uint32_t> BorderRing(const Bmp& b) {
    std::vector<uint32_t> ring;
    const int stride = (b.width * 3 + 3) & ~3;
    for (int y = 0; y < b.height; ++y) {
        for (int x = 0; x < b.width; ++x) {
            if (x >= 1 && y >= 1 && x < b.width - 1 && y < b.height - 1) continue;
            const uint8_t* p = b.pixels + size_t(y) * stride + size_t(x) * 3;
            ring.push_back(uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0]);
        }
    }
    return ring;
}

bool HasMagenta(const Bmp& b) {
    const int stride = (b.width * 3 + 3) & ~3;
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x) {
            const uint8_t* p = b.pixels + size_t(y) * stride + size_t(x) * 3;
            if (p[2] == 255 && p[1] == 0 && p[0] == 255) return true;
        }
    return false;
}

TEST(EnglishBitmaps, EveryWordedBitmapHasATwinOfTheSameSizeDepthAndKeyedGround) {
    // Buttons, THE END, the options' and password labels, CANCEL, credits, the lot's exit, the depot's
    // sign and the shelter's poster.
    std::set<int> worded = {152, 162, 163, 165, 167, 169, 170, 175, 176, 177, 196, 217, 218, 219, 220, 224};
    for (int id = 137; id <= 148; ++id) worded.insert(id);
    std::set<int> twins;
    for (int i = 0; i < g_englishBitmapResourceCount; ++i) {
        const BitmapResource& english = g_englishBitmapResources[i];
        SCOPED_TRACE(english.id);
        twins.insert(english.id);
        const BitmapSpec* spec = FindBitmapSpec(english.id);
        ASSERT_NE(spec, nullptr);
        ASSERT_EQ(spec->bitDepth, 24);
        const Bmp en = Parse(&english);
        const Bmp sk = Parse(FindBitmapResource(english.id));
        EXPECT_EQ(en.width, spec->width);
        EXPECT_EQ(en.height, spec->height);
        EXPECT_EQ(en.bits, spec->bitDepth);
        ASSERT_EQ(sk.width, en.width);
        ASSERT_EQ(sk.height, en.height);
        EXPECT_EQ(HasMagenta(en), HasMagenta(sk));
        // The edge of the art is the Slovak one; only where Slovak words touch it may English ones not.
        const std::vector<uint32_t> enRing = BorderRing(en), skRing = BorderRing(sk);
        for (size_t p = 0; p < enRing.size(); ++p) {
            if (enRing[p] != skRing[p]) {
                ASSERT_EQ(enRing[p], 0xFF00FFu) << "pixel " << p << " of the edge";
            }
        }
    }
    EXPECT_EQ(twins, worded);
}

TEST(EnglishBitmaps, TheLookupFollowsTheGameLanguage) {
    const BitmapResource* slovakButton = FindBitmapResource(137);
    const BitmapResource* dialog = FindBitmapResource(155);
    SetGameLanguage(Language::kEnglish);
    const BitmapResource* englishButton = FindBitmapResource(137);
    EXPECT_EQ(FindBitmapResource(155), dialog) << "a bitmap without words has no twin";
    SetGameLanguage(Language::kSlovak);
    ASSERT_NE(englishButton, nullptr);
    EXPECT_NE(englishButton, slovakButton);
    EXPECT_EQ(englishButton->data, g_englishBitmapResources[0].data);
    EXPECT_EQ(FindBitmapResource(137), slovakButton);
}

}  // namespace
