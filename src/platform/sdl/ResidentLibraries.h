#pragma once

namespace vlo::sdl {

// In builds with AddressSanitizer: keeps every shared library loaded so far
// (the OpenGL driver SDL loaded, its DRI and LLVM back ends) resident for the
// rest of the process. Otherwise destroying the last GL window unloads them,
// and the memory they keep until exit is reported as leaked from an unknown
// module that no suppression can name. Does nothing in other builds.
void keepLoadedLibrariesResident();

} // namespace vlo::sdl
