// Message boxes: the text always goes to standard error, so it is seen even
// where no box can be shown; on a real display SDL's box shows it as well.

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/sdl/PlatformData.h"

namespace {

// Whether a display would be used if video started now: one is named, and
// SDL is not told to use a driver without one.
bool displayNamed()
{
    const char* driver = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    if (driver != nullptr && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0))
        return false;
    return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
}

} // namespace

int MessageBoxA(HWND owner, const char* text, const char* caption, UINT)
{
    const char* body = text != nullptr ? text : "";
    const char* title = caption != nullptr ? caption : "Error";
    std::fprintf(stderr, "%s: %s\n", title, body);
    std::fflush(stderr);

    // SDL can show a box before its video subsystem starts (the archive check
    // comes before any window), but only on a real display: on the offscreen
    // driver, or with no display named at all, nobody could ever close it.
    if (vlo::sdl::platformData().videoReady) {
        if (vlo::sdl::offscreenDriver())
            return IDOK;
    } else if (!displayNamed()) {
        return IDOK;
    }
    PlatformWindow* parent = vlo::sdl::liveWindow(owner);
    // Every box of the program is a warning with one OK button.
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, title, body, parent != nullptr ? parent->sdl : nullptr);
    return IDOK;
}
