#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FILE* OpenRegularFile(const char* path, const char* mode) {
    if (!path || !mode) return nullptr;
    // Without O_NONBLOCK opening a FIFO waits for a writer that never comes.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st;
    FILE* f = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? fdopen(fd, mode) : nullptr;
    if (!f) close(fd);
    return f;
}
