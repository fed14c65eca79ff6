// The bitmap resources compiled into the executable: BMP files by integer id.
#pragma once
#include <cstddef>
#include <cstdint>

struct BitmapResource {
    int id;
    const uint8_t* data;
    size_t size;
};

// The generated table (tools/assetgen), sorted by id.
extern const BitmapResource g_bitmapResources[];
extern const int g_bitmapResourceCount;

// The resource with this id, or nullptr. Resources added with AddBitmapResource take precedence.
const BitmapResource* FindBitmapResource(int id);
// Tests register their own small bitmaps (the bytes are copied). Replaces an earlier one of that id.
void AddBitmapResource(int id, const uint8_t* data, size_t size);
void ClearAddedBitmapResources();
