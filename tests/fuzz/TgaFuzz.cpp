// Fuzz target: arbitrary bytes as a .tga file decoded through the registry.
#include "ImageFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return vlo::fuzz::decodeThroughRegistry(data, size, ".tga");
}
