#include "platform/sdl/WindowIcon.h"

#include <cstdint>
#include <vector>

#include "platform/IconPicture.h"

namespace vlo {
namespace sdl {

namespace {

constexpr int IconSize = 64;

} // namespace

void setWindowIcon(SDL_Window* window)
{
    std::vector<uint32_t> pixels = iconPixels(IconSize);
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(
        pixels.data(), IconSize, IconSize, 32, IconSize * 4, SDL_PIXELFORMAT_ARGB8888);
    if (icon == nullptr)
        return;
    SDL_SetWindowIcon(window, icon);
    SDL_FreeSurface(icon);
}

} // namespace sdl
} // namespace vlo
