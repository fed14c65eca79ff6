// The English bitmaps: every bitmap that carries words, and only those, has an English twin that the
// lookup gives while the game speaks English, and the twin fits where the Slovak one does.
#include <gtest/gtest.h>

#include <set>

#include "bitmap_table.h"
#include "platform/bitmap_resources.h"
#include "platform/language.h"
#include "support/test_support.h"

namespace {

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
        EXPECT_EQ(BmpBits(english->data, english->size), 24);
        const Picture en = ReadBmp(english->data, english->size), sk = ReadBmp(slovak->data, slovak->size);
        ASSERT_TRUE(en.width == spec.width && en.height == spec.height && sk.width == en.width &&
                    sk.height == en.height);
        // The edge of the art is the Slovak one, keyed ground and frame; only where Slovak words touch
        // the edge may English ones leave it keyed.
        for (int y = 0; y < en.height; ++y)
            for (int x = 0; x < en.width;
                 x += (y == 0 || y == en.height - 1 || x == en.width - 1) ? 1 : en.width - 1)
                ASSERT_TRUE(en.At(x, y) == sk.At(x, y) || en.At(x, y) == 0xFF00FFu) << x << "," << y;
    }
    EXPECT_EQ(twins, worded);
}

}  // namespace
