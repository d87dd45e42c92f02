#include "platform/sdl/PlatformData.h"

#include <cstring>

#include "common/AppIdentity.h"

namespace vlo {
namespace sdl {

PlatformData& platformData()
{
    static PlatformData data;
    return data;
}

PlatformWindow* liveWindow(HWND window)
{
    if (window == nullptr)
        return nullptr;
    for (const auto& live : platformData().windows) {
        if (live.get() == window)
            return live.get();
    }
    return nullptr;
}

HWND windowFromSdlId(Uint32 id)
{
    for (const auto& live : platformData().windows) {
        if (live->sdlId == id)
            return live.get();
    }
    return nullptr;
}

bool ensureEvents()
{
    PlatformData& data = platformData();
    if (data.eventsReady)
        return true;
    // Closing the last window must not also raise SDL_QUIT: the close
    // request arrives once, as SDL_WINDOWEVENT_CLOSE, and becomes one
    // WM_CLOSE. SDL_QUIT then only comes from signals and session end.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // While a button is held SDL captures the mouse itself, so the release
    // outside the window still arrives (with outside coordinates).
    SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "1");
    // A press that activates the window is also a click, as on Windows.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (SDL_InitSubSystem(SDL_INIT_EVENTS) != 0)
        return false;
    // The window system's own events come through too: they tell where on
    // the screen the pointer was when a mouse event was made.
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    data.eventsReady = true;
    return true;
}

bool ensureVideo()
{
    PlatformData& data = platformData();
    if (data.videoReady)
        return true;
    if (!ensureEvents())
        return false;
    // The program's id names its windows to the desktop (X11 window class,
    // Wayland application id), which finds its desktop entry and icon by it.
    // A class the user set is kept.
    SDL_setenv("SDL_VIDEO_X11_WMCLASS", AppId, 0);
    SDL_setenv("SDL_VIDEO_WAYLAND_WMCLASS", AppId, 0);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return false;
    data.videoReady = true;
    return true;
}

bool offscreenDriver()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    // Without a display SDL quietly falls back to these two.
    return driver == nullptr || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
}

} // namespace sdl
} // namespace vlo
