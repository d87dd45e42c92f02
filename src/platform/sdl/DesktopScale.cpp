#include "platform/sdl/DesktopScale.h"

#include <SDL_syswm.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/WholeScale.h"

namespace vlo {
namespace sdl {

namespace {

// The desktop's font density, as the X resources give it (what desktop
// settings write for their scaling).
double xftDpi(SDL_Window* sdlWindow)
{
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(sdlWindow, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11
        || info.info.x11.display == nullptr)
        return 0.0;
    return xftDpiOf(XResourceManagerString(info.info.x11.display));
#else
    (void)sdlWindow;
    return 0.0;
#endif
}

// The density the display reports (from its physical size); the smaller of
// the two directions.
double reportedDpi(SDL_Window* sdlWindow)
{
    const int display = SDL_GetWindowDisplayIndex(sdlWindow);
    float horizontal = 0.0f;
    float vertical = 0.0f;
    if (display < 0 || SDL_GetDisplayDPI(display, nullptr, &horizontal, &vertical) != 0)
        return 0.0;
    return double(std::fmin(horizontal, vertical));
}

// The size of the usable area of the window's display, in screen pixels;
// false when SDL cannot tell.
bool usableSize(SDL_Window* sdlWindow, int& width, int& height)
{
    SDL_Rect usable{};
    const int display = SDL_GetWindowDisplayIndex(sdlWindow);
    if (display < 0 || SDL_GetDisplayUsableBounds(display, &usable) != 0)
        return false;
    width = usable.w;
    height = usable.h;
    return true;
}

} // namespace

double xftDpiOf(const char* resources)
{
    static const char key[] = "Xft.dpi:";
    for (const char* line = resources; line != nullptr && *line != '\0';) {
        if (std::strncmp(line, key, sizeof key - 1) == 0)
            return std::strtod(line + sizeof key - 1, nullptr);
        line = std::strchr(line, '\n');
        if (line != nullptr)
            ++line;
    }
    return 0.0;
}

int desktopScale(SDL_Window* sdlWindow, int width, int height)
{
    const int forced = scaleFromText(std::getenv("VELLUMO_SCALE"));
    if (forced != 0)
        return forced;
    int scale = scaleFromText(std::getenv("GDK_SCALE"));
    if (scale == 0)
        scale = scaleFromDpi(xftDpi(sdlWindow));
    if (scale == 0)
        scale = scaleFromDpi(reportedDpi(sdlWindow));
    if (scale == 0)
        scale = 1;
    int usableWidth = 0;
    int usableHeight = 0;
    if (usableSize(sdlWindow, usableWidth, usableHeight))
        scale = scaleThatFits(scale, width, height, usableWidth, usableHeight);
    return scale;
}

} // namespace sdl
} // namespace vlo
