#pragma once
// Where a window's top-left corner is on the screen, in screen pixels.
// Never included outside src/platform/.

#include <SDL.h>

namespace vlo {
namespace sdl {

// The position the display server has for the window now. SDL's own copy
// is updated only from the move notices it reads, and misses some: a window
// moved to (0, 0) by another program, with no window manager, sends a
// notice SDL takes for "not moved". On X11 the server is asked (one round
// trip, which also carries our own pending moves out first); elsewhere
// SDL's copy is all there is.
void windowScreenPosition(SDL_Window* window, int& x, int& y);

// Where the pointer is on the screen now, in screen pixels, and whether a
// mouse button is held, as the display server has it (one round trip); false
// where it cannot be asked (not X11).
bool pointerScreenPosition(SDL_Window* window, int& x, int& y, bool& buttonHeld);

} // namespace sdl
} // namespace vlo
