// Fuzz target: arbitrary bytes as a .jpg file, taken through the whole texture
// load short of the upload (see ImageFuzz.h).
#include "ImageFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return vlo::fuzz::loadAsTexture(data, size, ".jpg");
}
