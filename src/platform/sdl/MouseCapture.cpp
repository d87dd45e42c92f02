// Mouse capture: while a window holds it, mouse messages go to that window
// even when the pointer is outside it.

#include "platform/sdl/PlatformData.h"

using vlo::sdl::platformData;

HWND SetCapture(HWND window)
{
    auto& data = platformData();
    const HWND previous = data.capture;
    if (vlo::sdl::liveWindow(window) == nullptr)
        return previous;
    data.capture = window;
    // SDL refuses when no window has the keyboard focus (a hidden window, a
    // message posted by a test); the capture still counts as ours, and SDL's
    // own capture while a button is held covers the real presses.
    SDL_CaptureMouse(SDL_TRUE);
    return previous;
}

BOOL ReleaseCapture()
{
    auto& data = platformData();
    data.capture = nullptr;
    if (data.videoReady)
        SDL_CaptureMouse(SDL_FALSE);
    return TRUE;
}

HWND GetCapture()
{
    return platformData().capture;
}
