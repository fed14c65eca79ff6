#include "platform/heap_pages.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace platform {

void UseLargeHeapPages() {
    static bool done = false;
    if (done) return;
    done = true;
    constexpr int kRegion = 128 << 20;
    // Blocks below the mapping threshold come from the heap; the trim threshold keeps the region's
    // unused top in the heap, so that it stays advised.
    if (mallopt(M_MMAP_THRESHOLD, 32 << 20) != 1 || mallopt(M_TRIM_THRESHOLD, 2 * kRegion) != 1 ||
        mallopt(M_TOP_PAD, kRegion) != 1)
        return;
    // One block bigger than the heap's free top makes the heap grow by the block and the pad; the block
    // is never written, so none of it becomes resident (volatile: the compiler may not leave out an
    // allocation that is only freed).
    void* const top = sbrk(0);
    if (top == reinterpret_cast<void*>(-1)) return;
    void* volatile block = std::malloc(30 << 20);
    const auto after = reinterpret_cast<uintptr_t>(sbrk(0));
    // From the block's page on: the block begins where the heap's free top began.
    const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    const uintptr_t start =
        std::min(reinterpret_cast<uintptr_t>(block), reinterpret_cast<uintptr_t>(top)) / page * page;
    if (block && after > reinterpret_cast<uintptr_t>(top))
        madvise(reinterpret_cast<void*>(start), after - start, MADV_HUGEPAGE);
    std::free(block);
    mallopt(M_TOP_PAD, 128 << 10);  // the allocator's usual pad from now on
}

}  // namespace platform
