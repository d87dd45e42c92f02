// Window position and size. The windows are borderless, so the window
// rectangle and the client area cover the same screen pixels. A scaled
// window (see PlatformWindow::scale) is shown that many times larger; the
// program is given a screen shrunk by the scale, so sizes, positions and
// motion all stay in its own pixels.

#include "platform/sdl/PlatformData.h"
#include "platform/sdl/WindowPosition.h"

using vlo::sdl::liveWindow;

BOOL GetClientRect(HWND handle, RECT* rect)
{
    PlatformWindow* window = liveWindow(handle);
    if (window == nullptr || rect == nullptr)
        return FALSE;
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window->sdl, &width, &height);
    *rect = RECT{0, 0, width / window->scale, height / window->scale};
    return TRUE;
}

BOOL GetWindowRect(HWND handle, RECT* rect)
{
    PlatformWindow* window = liveWindow(handle);
    if (window == nullptr || rect == nullptr)
        return FALSE;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    vlo::sdl::windowScreenPosition(window->sdl, x, y);
    SDL_GetWindowSize(window->sdl, &width, &height);
    const int scale = window->scale;
    x = vlo::sdl::floorDivide(x, scale);
    y = vlo::sdl::floorDivide(y, scale);
    *rect = RECT{x, y, x + width / scale, y + height / scale};
    return TRUE;
}

// Moves and sizes in screen pixels; the z-order argument is ignored (the
// program only ever moves its one window).
BOOL SetWindowPos(HWND handle, HWND, int x, int y, int width, int height, UINT flags)
{
    PlatformWindow* window = liveWindow(handle);
    if (window == nullptr)
        return FALSE;
    const int scale = window->scale;
    if ((flags & SWP_NOMOVE) == 0)
        SDL_SetWindowPosition(window->sdl, x * scale, y * scale);
    if ((flags & SWP_NOSIZE) == 0 && width > 0 && height > 0)
        SDL_SetWindowSize(window->sdl, width * scale, height * scale);
    return TRUE;
}
