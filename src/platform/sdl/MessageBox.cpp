// Message boxes: the text always goes to standard error, so it is seen even
// where no box can be shown; on a real display SDL's box shows it as well.

#include <cstdio>

#include "platform/sdl/PlatformData.h"

int MessageBoxA(HWND owner, const char* text, const char* caption, UINT)
{
    const char* body = text != nullptr ? text : "";
    const char* title = caption != nullptr ? caption : "Error";
    std::fprintf(stderr, "%s: %s\n", title, body);
    std::fflush(stderr);

    // Used before any window exists too (the archive check comes first), so
    // the video subsystem may have to start here. Without a display SDL
    // would pick its offscreen driver, where a box could never be closed.
    if (!vlo::sdl::ensureVideo() || vlo::sdl::offscreenDriver())
        return IDOK;
    PlatformWindow* parent = vlo::sdl::liveWindow(owner);
    // Every box of the program is a warning with one OK button.
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, title, body,
                             parent != nullptr ? parent->sdl : nullptr);
    return IDOK;
}
