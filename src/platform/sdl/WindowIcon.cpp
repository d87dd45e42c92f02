#include "platform/sdl/WindowIcon.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace vlo {
namespace sdl {

namespace {

constexpr int IconSize = 64;

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

void setWindowIcon(SDL_Window* window)
{
    // ARGB words, one per pixel, sampled at pixel centres.
    std::vector<uint32_t> pixels(IconSize * IconSize);
    for (int y = 0; y < IconSize; ++y) {
        for (int x = 0; x < IconSize; ++x)
            pixels[size_t(y * IconSize + x)] = iconPixel(float(x) + 0.5f, float(y) + 0.5f);
    }
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(
        pixels.data(), IconSize, IconSize, 32, IconSize * 4, SDL_PIXELFORMAT_ARGB8888);
    if (icon == nullptr)
        return;
    SDL_SetWindowIcon(window, icon);
    SDL_FreeSurface(icon);
}

} // namespace sdl
} // namespace vlo
