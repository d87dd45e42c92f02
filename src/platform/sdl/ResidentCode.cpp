#include "platform/sdl/ResidentCode.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cinttypes>
#include <cstdio>
#include <cstring>

namespace vlo::sdl {

namespace {

// Growth that makes a present drop again: 16 MiB of pages. A shader
// compile brings back tens of MiB of the compiler; the code of ordinary
// frames (larger in sanitizer builds) stays well below.
size_t regrowthPages()
{
    const long pageSize = sysconf(_SC_PAGESIZE);
    return size_t(16) * 1024 * 1024 / size_t(pageSize > 0 ? pageSize : 4096);
}

} // namespace

// The files under /proc are read with plain descriptors and buffers on the
// stack: this runs after presented frames, which allocate nothing.
size_t residentSharedPages()
{
    const int fd = open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    char text[128];
    const ssize_t length = read(fd, text, sizeof text - 1);
    close(fd);
    if (length <= 0)
        return 0;
    text[length] = '\0';
    unsigned long size = 0;
    unsigned long resident = 0;
    unsigned long shared = 0;
    return std::sscanf(text, "%lu %lu %lu", &size, &resident, &shared) == 3 ? size_t(shared) : 0;
}

namespace {

// One line of /proc/self/maps: start-end perms offset dev inode [path]
void dropIfCode(const char* line)
{
    uintptr_t start = 0;
    uintptr_t end = 0;
    char perms[5] = {};
    unsigned long long offset = 0;
    char device[16] = {};
    unsigned long long inode = 0;
    if (std::sscanf(line, "%" SCNxPTR "-%" SCNxPTR " %4s %llx %15s %llu", &start, &end, perms, &offset, device, &inode)
        != 6)
        return;
    // Code only: r-x and private. A writable mapping, or a read-only one
    // that was written before it was made read-only (relocations), holds
    // bytes the file lacks; code mappings never do (a debugger's
    // breakpoint is the exception, and is lost, not corrupted).
    const bool code = perms[0] == 'r' && perms[1] == '-' && perms[2] == 'x' && perms[3] == 'p';
    if (!code || inode == 0 || end <= start)
        return;
    madvise(reinterpret_cast<void*>(start), end - start, MADV_DONTNEED);
}

} // namespace

void dropResidentCode()
{
    const int fd = open("/proc/self/maps", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    // Lines are gathered across reads; one longer than the buffer (a very
    // long path) is skipped.
    char buffer[8192];
    size_t held = 0;
    bool skipping = false;
    for (;;) {
        const ssize_t got = read(fd, buffer + held, sizeof buffer - 1 - held);
        if (got <= 0)
            break;
        held += size_t(got);
        size_t from = 0;
        for (size_t at = 0; at < held; ++at) {
            if (buffer[at] != '\n')
                continue;
            buffer[at] = '\0';
            if (!skipping)
                dropIfCode(buffer + from);
            skipping = false;
            from = at + 1;
        }
        std::memmove(buffer, buffer + from, held - from);
        held -= from;
        if (held == sizeof buffer - 1) {
            held = 0;
            skipping = true;
        }
    }
    close(fd);
}

void ResidentCodeTrim::afterContextCreated()
{
    drop();
    // The first frame compiles the driver's first shaders: its present
    // drops once more before anything settles.
    dropAtNextPresent = true;
}

void ResidentCodeTrim::afterPresent()
{
    if (dropAtNextPresent) {
        dropAtNextPresent = false;
        drop();
        return;
    }
    const size_t now = residentSharedPages();
    // The code every frame runs has come back by the first present after
    // a drop: that is the level later growth counts from, or each present
    // would drop the frame's own code again.
    if (settling) {
        settledPages = now;
        settling = false;
        return;
    }
    if (now > settledPages + regrowthPages())
        drop();
}

void ResidentCodeTrim::drop()
{
    dropResidentCode();
    settling = true;
}

} // namespace vlo::sdl
