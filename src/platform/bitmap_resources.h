// The bitmap resources compiled into the executable: BMP files by integer id.
#pragma once
#include <cstddef>
#include <cstdint>

struct BitmapResource {
    int id;
    const uint8_t* data;
    size_t size;
};

// The generated tables (tools/assetgen), sorted by id: every bitmap as the game has it, and the English
// twins of the bitmaps that carry words (same id, size, depth and keyed areas).
extern const BitmapResource g_bitmapResources[];
extern const int g_bitmapResourceCount;
extern const BitmapResource g_englishBitmapResources[];
extern const int g_englishBitmapResourceCount;

// The resource with this id in the game's language (an English twin when there is one), or nullptr.
// Resources added with AddBitmapResource take precedence.
const BitmapResource* FindBitmapResource(int id);
// Tests register their own small bitmaps (the bytes are copied). Replaces an earlier one of that id.
void AddBitmapResource(int id, const uint8_t* data, size_t size);
void ClearAddedBitmapResources();
