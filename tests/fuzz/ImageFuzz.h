#pragma once
// Shared body of the picture fuzz targets: the input goes to a temporary
// file with the format's extension, as the texture loader's extraction file
// would, and runs through everything the texture load does before the
// upload: decoding, depth expansion, the colour key and the power-of-two
// enlargement. Inputs of odd length take the colour key, even ones not, so
// the fuzzer reaches both by adding a byte past the picture's end, which
// every format ignores.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "render/Image.h"
#include "render/TexturePixels.h"

namespace vlo::fuzz {

// Stops the run, so the fuzzer keeps the input as a crash.
inline void require(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "texture pixels: %s\n", what);
        std::abort();
    }
}

// The sides an upload may have for a decoded side: the power-of-two step
// (16 at least), or the side itself above 2048.
inline bool enlargedSideFits(int uploaded, int source)
{
    return uploaded == Image::roundUpPowerOfTwo(source) && uploaded >= source;
}

inline int loadAsTexture(const uint8_t* data, size_t size, const char* extension)
{
    static const std::string path
        = (std::filesystem::temp_directory_path() / ("vlo_fuzz_" + std::to_string(::getpid()) + extension)).string();
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return 0;
    if (size > 0)
        std::fwrite(data, 1, size, file);
    std::fclose(file);

    const bool colorKey = size % 2 == 1;
    TexturePixels prepared;
    const bool usable = prepareTexturePixels(path.c_str(), colorKey, prepared);
    std::remove(path.c_str());
    if (!usable) {
        require(prepared.pixels == nullptr, "pixels handed out for a refused picture");
        return 0;
    }
    const TextureInfo& record = prepared.record;
    require(prepared.pixels != nullptr, "no pixels for a usable picture");
    require(Image::isSupportedDepth(record.bits), "a depth the upload has no format for");
    require(!colorKey || record.bits != 24, "a colour-keyed picture without alpha");
    require(enlargedSideFits(record.width, record.sourceWidth), "width not enlarged to its power-of-two step");
    require(enlargedSideFits(record.height, record.sourceHeight), "height not enlarged to its power-of-two step");

    // The buffer must hold every byte the upload reads: touching one byte in
    // every 512 and the very last lets the address sanitizer catch a shorter
    // buffer without summing hundreds of megabytes.
    const size_t bytes = size_t(record.width) * size_t(record.height) * size_t(record.bits / 8);
    unsigned sum = 0;
    for (size_t i = 0; i < bytes; i += 512)
        sum += prepared.pixels[i];
    sum += prepared.pixels[bytes - 1];
    // The enlargement leaves zeros right of and below the picture.
    const size_t pixelBytes = size_t(record.bits / 8);
    if (record.width > record.sourceWidth)
        require(prepared.pixels[size_t(record.width - 1) * pixelBytes] == 0, "padding column not zero");
    if (record.height > record.sourceHeight)
        require(prepared.pixels[bytes - 1] == 0, "padding row not zero");
    volatile unsigned sink = sum;
    (void)sink;
    return 0;
}

} // namespace vlo::fuzz
