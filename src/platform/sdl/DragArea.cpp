// Moving a window by a press on it where only the window system may place
// windows: SDL's hit test hands such a press to the window system.

#include <cstring>

#include "platform/sdl/PlatformData.h"

namespace {

SDL_HitTestResult dragAreaHit(SDL_Window*, const SDL_Point* area, void* data)
{
    PlatformWindow* window = vlo::sdl::liveWindow(static_cast<HWND>(data));
    if (window == nullptr || window->dragAreaTest == nullptr)
        return SDL_HITTEST_NORMAL;
    // SDL's point is in the window's own pixels; the program's are larger by
    // the window's scale.
    const int x = vlo::sdl::floorDivide(area->x, window->scale);
    const int y = vlo::sdl::floorDivide(area->y, window->scale);
    return window->dragAreaTest(window->dragAreaOwner, x, y) ? SDL_HITTEST_DRAGGABLE : SDL_HITTEST_NORMAL;
}

// Wayland lets no client place its own window; X11 and the others do.
bool windowsPlacedBySystem()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr && std::strcmp(driver, "wayland") == 0;
}

} // namespace

namespace vlo {

void setDragAreaTest(HWND handle, DragAreaTest test, void* owner)
{
    PlatformWindow* window = sdl::liveWindow(handle);
    if (window == nullptr)
        return;
    window->dragAreaTest = test;
    window->dragAreaOwner = owner;
    if (windowsPlacedBySystem())
        SDL_SetWindowHitTest(window->sdl, test != nullptr ? dragAreaHit : nullptr, test != nullptr ? handle : nullptr);
}

} // namespace vlo
