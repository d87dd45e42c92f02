#pragma once
#include <cstdint>
#include <vector>

namespace vlo::demo {

// Bytes of a picture ready for a file writer: rows top first with no gap,
// `channels` bytes per pixel in R, G, B(, A) order.
struct PixelImage {
    int width = 0;
    int height = 0;
    int channels = 0;
    std::vector<uint8_t> bytes;
};

} // namespace vlo::demo
