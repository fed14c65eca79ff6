#include "platform/compiler_code.h"

#include <link.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

namespace platform {
namespace {

int ReleaseObject(dl_phdr_info* info, size_t, void*) {
    if (!info->dlpi_name || !std::strstr(info->dlpi_name, "libLLVM")) return 0;
    const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& segment = info->dlpi_phdr[i];
        // Only code: a writable or relocated segment holds changes that the file does not.
        if (segment.p_type != PT_LOAD || !(segment.p_flags & PF_X) || (segment.p_flags & PF_W)) continue;
        const uintptr_t start = (info->dlpi_addr + segment.p_vaddr) / page * page;
        const uintptr_t end = (info->dlpi_addr + segment.p_vaddr + segment.p_memsz + page - 1) / page * page;
        madvise(reinterpret_cast<void*>(start), end - start, MADV_DONTNEED);
    }
    return 0;
}

}  // namespace

void ReleaseIdleCompilerCode() {
    // The loader's list holds only loaded objects and is walked under its lock, so a library being
    // unloaded is never touched.
    dl_iterate_phdr(ReleaseObject, nullptr);
}

}  // namespace platform
