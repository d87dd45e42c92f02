#include "platform/sdl/WindowPosition.h"

#include <SDL_syswm.h>

namespace vlo {
namespace sdl {

void windowScreenPosition(SDL_Window* window, int& x, int& y)
{
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) == SDL_TRUE && info.subsystem == SDL_SYSWM_X11
        && info.info.x11.display != nullptr) {
        Display* display = info.info.x11.display;
        ::Window child = 0;
        if (XTranslateCoordinates(display, info.info.x11.window, DefaultRootWindow(display), 0, 0, &x, &y, &child) != 0)
            return;
    }
#endif
    SDL_GetWindowPosition(window, &x, &y);
}

bool pointerScreenPosition(SDL_Window* window, int& x, int& y, bool& buttonHeld)
{
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) == SDL_TRUE && info.subsystem == SDL_SYSWM_X11
        && info.info.x11.display != nullptr) {
        Display* display = info.info.x11.display;
        ::Window root = 0;
        ::Window child = 0;
        int windowX = 0;
        int windowY = 0;
        unsigned int mask = 0;
        if (XQueryPointer(display, DefaultRootWindow(display), &root, &child, &x, &y, &windowX, &windowY, &mask) == 0)
            return false;
        buttonHeld = (mask & (Button1Mask | Button2Mask | Button3Mask)) != 0;
        return true;
    }
#else
    (void)window;
    (void)x;
    (void)y;
    (void)buttonHeld;
#endif
    return false;
}

} // namespace sdl
} // namespace vlo
