#include "platform/WholeScale.h"

#include <cmath>
#include <cstdlib>

namespace vlo {

namespace {

// The density at which the desktop draws one screen pixel per pixel.
constexpr double BaseDpi = 96.0;

} // namespace

int scaleFromText(const char* text)
{
    if (text == nullptr || *text == '\0')
        return 0;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (*end != '\0' || value < 1 || value > LargestScale)
        return 0;
    return int(value);
}

int scaleFromDpi(double dpi)
{
    if (!(dpi > 0.0))
        return 0;
    // A scale of 1.5 is not a whole-number one; the window stays at 1.
    const int scale = int(std::floor(dpi / BaseDpi + 1e-6));
    return scale < 1 ? 1 : (scale > LargestScale ? LargestScale : scale);
}

int scaleThatFits(int scale, int width, int height, int usableWidth, int usableHeight)
{
    while (scale > 1 && (width * scale > usableWidth || height * scale > usableHeight))
        --scale;
    return scale < 1 ? 1 : scale;
}

} // namespace vlo
