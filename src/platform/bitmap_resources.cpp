// Lookup of the bitmap resources compiled into the executable, plus the ones tests register.
#include "platform/bitmap_resources.h"

#include <map>
#include <memory>
#include <vector>

#include "platform/language.h"

namespace {

struct AddedResource {
    std::vector<uint8_t> bytes;
    BitmapResource resource;
};

std::map<int, std::unique_ptr<AddedResource>>& Added() {
    static std::map<int, std::unique_ptr<AddedResource>> added;
    return added;
}

// Binary search in a generated table sorted by id.
const BitmapResource* FindIn(const BitmapResource* table, int count, int id) {
    int lo = 0;
    int hi = count - 1;
    while (lo <= hi) {
        int mid = lo + (hi - lo) / 2;
        const BitmapResource& r = table[mid];
        if (r.id == id) return r.data ? &r : nullptr;
        if (r.id < id) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
        }
    }
    return nullptr;
}

}  // namespace

const BitmapResource* FindBitmapResource(int id) {
    auto& added = Added();
    auto it = added.find(id);
    if (it != added.end()) return &it->second->resource;
    if (GameLanguage() == Language::kEnglish) {
        if (const BitmapResource* twin = FindIn(g_englishBitmapResources, g_englishBitmapResourceCount, id))
            return twin;
    }
    return FindIn(g_bitmapResources, g_bitmapResourceCount, id);
}

void AddBitmapResource(int id, const uint8_t* data, size_t size) {
    auto entry = std::make_unique<AddedResource>();
    if (data && size) entry->bytes.assign(data, data + size);
    entry->resource = BitmapResource{id, entry->bytes.data(), entry->bytes.size()};
    Added()[id] = std::move(entry);
}

void ClearAddedBitmapResources() {
    Added().clear();
}
