#include "ImageEncoders.h"

namespace vlo::demo {

bool checkPixelImage(const PixelImage& image, int maxSide, bool allowRgb, bool allowRgba, std::string& error)
{
    if (image.width <= 0 || image.height <= 0 || image.width > maxSide || image.height > maxSide) {
        error = "bad picture size " + std::to_string(image.width) + " x " + std::to_string(image.height)
            + " (sides 1 to " + std::to_string(maxSide) + ")";
        return false;
    }
    if (!((image.channels == 3 && allowRgb) || (image.channels == 4 && allowRgba))) {
        error = "unsupported channel count " + std::to_string(image.channels);
        return false;
    }
    size_t expected
        = static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * static_cast<size_t>(image.channels);
    if (image.bytes.size() != expected) {
        error
            = "pixel data holds " + std::to_string(image.bytes.size()) + " bytes, expected " + std::to_string(expected);
        return false;
    }
    return true;
}

} // namespace vlo::demo
