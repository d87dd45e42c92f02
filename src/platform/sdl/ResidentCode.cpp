#include "platform/sdl/ResidentCode.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cinttypes>
#include <cstdio>

namespace vlo::sdl {

namespace {

// Growth that makes a present drop again: 4 MiB of pages.
size_t regrowthPages()
{
    const long pageSize = sysconf(_SC_PAGESIZE);
    return size_t(4) * 1024 * 1024 / size_t(pageSize > 0 ? pageSize : 4096);
}

} // namespace

size_t residentSharedPages()
{
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr)
        return 0;
    unsigned long size = 0;
    unsigned long resident = 0;
    unsigned long shared = 0;
    const int read = std::fscanf(statm, "%lu %lu %lu", &size, &resident, &shared);
    std::fclose(statm);
    return read == 3 ? size_t(shared) : 0;
}

void dropResidentCode()
{
    FILE* maps = std::fopen("/proc/self/maps", "r");
    if (maps == nullptr)
        return;
    // start-end perms offset dev inode [path]
    char line[4096];
    while (std::fgets(line, sizeof line, maps) != nullptr) {
        uintptr_t start = 0;
        uintptr_t end = 0;
        char perms[5] = {};
        unsigned long long offset = 0;
        char device[16] = {};
        unsigned long long inode = 0;
        if (std::sscanf(line, "%" SCNxPTR "-%" SCNxPTR " %4s %llx %15s %llu", &start, &end, perms, &offset,
                        device, &inode) != 6)
            continue;
        // Code only: r-x and private. A writable mapping, or a read-only
        // one that was written before it was made read-only (relocations),
        // holds bytes the file lacks; code mappings never do (a debugger's
        // breakpoint is the exception, and is lost, not corrupted).
        const bool code = perms[0] == 'r' && perms[1] == '-' && perms[2] == 'x' && perms[3] == 'p';
        if (!code || inode == 0 || end <= start)
            continue;
        madvise(reinterpret_cast<void*>(start), end - start, MADV_DONTNEED);
    }
    std::fclose(maps);
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
