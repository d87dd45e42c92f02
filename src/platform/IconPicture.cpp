#include "platform/IconPicture.h"

#include <cmath>

namespace vlo {

namespace {

// The icon: a dark record with a golden label on a rounded vellum-coloured
// square, as data/icons/org.vellumo.Vellumo.svg draws it (64 x 64 units).
uint32_t iconPixel(float x, float y)
{
    const float inset = std::fmax(std::fabs(x - 32.0f) - 22.0f, 0.0f);
    const float insetY = std::fmax(std::fabs(y - 32.0f) - 22.0f, 0.0f);
    if (std::hypot(inset, insetY) > 8.0f)
        return 0x00000000u;
    const float radius = std::hypot(x - 32.0f, y - 32.0f);
    if (radius < 2.5f)
        return 0xFFF3E6C8u;
    if (radius < 9.0f)
        return 0xFFD9A62Fu;
    if (radius < 24.0f)
        return 0xFF2A2420u;
    return 0xFFF3E6C8u;
}

} // namespace

std::vector<uint32_t> iconPixels(int size)
{
    // The drawing is 64 x 64 units whatever the size.
    const float unit = 64.0f / float(size);
    std::vector<uint32_t> pixels(size_t(size) * size_t(size));
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x)
            pixels[size_t(y * size + x)] = iconPixel((float(x) + 0.5f) * unit, (float(y) + 0.5f) * unit);
    }
    return pixels;
}

} // namespace vlo
