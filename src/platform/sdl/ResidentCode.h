#pragma once
// Library code in the resident set. A process keeps mapped every page of
// library code it has ever run, and the OpenGL driver's shader compiler
// (LLVM under llvmpipe) is by far the largest such library: tens of MiB of
// code that runs while a context is created and while the first frames'
// shaders compile, and seldom after. Unmapping clean code pages costs
// nothing to keep: the page cache still holds them, and a page that runs
// again is mapped in again on its next use, with the same bytes.

#include <cstddef>

namespace vlo::sdl {

// Pages of the process that are file-backed or shared memory and resident
// now (the third field of /proc/self/statm); 0 when it cannot be read.
size_t residentSharedPages();

// Unmaps the resident pages of every executable, read-only, file-backed
// mapping (library and program code). Writable and read-only data
// mappings stay as they are: those may hold private copies (relocated
// pointers) that the file does not have.
void dropResidentCode();

// When to drop: once the driver's start-up has run (a new context), at the
// first present after that (the first shaders are compiled), and after a
// presented frame whenever the shared resident pages have grown by
// a few MiB since the first present after the last drop (by then the code
// each frame runs is back; more growth means the driver compiled shaders).
class ResidentCodeTrim {
public:
    void afterContextCreated();
    // Work that has the driver compile new code once (the copy of a frame
    // made or used for the first time): the next present drops again.
    void afterNewDriverWork() { dropAtNextPresent = true; }
    void afterPresent();

private:
    void drop();

    // Shared resident pages at the first present after the last drop.
    size_t settledPages = 0;
    bool settling = false;
    bool dropAtNextPresent = false;
};

} // namespace vlo::sdl
