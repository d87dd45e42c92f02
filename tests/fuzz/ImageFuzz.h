#pragma once
// Shared body of the image fuzz targets: the input goes to a temporary file
// with the format's extension, as the texture loader's extraction file would,
// and is decoded through the registry.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "render/codecs/ImageCodecRegistry.h"

namespace vlo::fuzz {

inline int decodeThroughRegistry(const uint8_t* data, size_t size, const char* extension)
{
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("vlo_fuzz_" + std::to_string(::getpid()) + extension)).string();
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return 0;
    if (size > 0)
        std::fwrite(data, 1, size, file);
    std::fclose(file);

    ImageCodecRegistry registry;
    int width = 0;
    int height = 0;
    int bits = 0;
    unsigned char* pixels = nullptr;
    if (registry.load(path.c_str(), &width, &height, &bits, &pixels) && pixels) {
        // The buffer must hold every byte the reported size promises: reading
        // one byte in every 512 and the very last lets the address sanitizer
        // catch a shorter buffer without summing hundreds of megabytes.
        const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * static_cast<size_t>(bits / 8);
        unsigned sum = 0;
        for (size_t i = 0; i < bytes; i += 512)
            sum += pixels[i];
        if (bytes > 0)
            sum += pixels[bytes - 1];
        volatile unsigned sink = sum;
        (void)sink;
    }
    delete[] pixels;
    std::remove(path.c_str());
    return 0;
}

} // namespace vlo::fuzz
