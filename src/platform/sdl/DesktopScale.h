#pragma once
// How many screen pixels the desktop gives each pixel of a program that
// knows nothing of scaling. Never included outside src/platform/.

#include <SDL.h>

namespace vlo {
namespace sdl {

// The whole-number scale for a window of width x height window pixels on
// the display of sdlWindow, 1 or more. In this order: the environment
// variable VELLUMO_SCALE (a whole number, taken as it is), GDK_SCALE, the
// X resource Xft.dpi (96 dots per inch are scale 1), the display's reported
// density. Scales not given by VELLUMO_SCALE shrink until the window fits
// the display.
int desktopScale(SDL_Window* sdlWindow, int width, int height);

// Xft.dpi in an X resource database text ("Xft.dpi:\t192\n..."), 0 when it
// has none.
double xftDpiOf(const char* resources);

} // namespace sdl
} // namespace vlo
