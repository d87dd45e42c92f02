#include "platform/sdl/ResidentLibraries.h"

#if defined(__SANITIZE_ADDRESS__)
#include <dlfcn.h>
#include <link.h>
#endif

namespace vlo::sdl {

#if defined(__SANITIZE_ADDRESS__)

namespace {

int pinLibrary(dl_phdr_info* info, size_t, void*)
{
    // The main program has an empty name; everything else is a shared object.
    if (info->dlpi_name != nullptr && info->dlpi_name[0] != '\0') {
        // RTLD_NOLOAD takes another reference to a library that is already
        // loaded; RTLD_NODELETE makes it stay when the last dlclose comes.
        dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
    }
    return 0;
}

} // namespace

void keepLoadedLibrariesResident()
{
    dl_iterate_phdr(&pinLibrary, nullptr);
}

#else

void keepLoadedLibrariesResident()
{
}

#endif

} // namespace vlo::sdl
