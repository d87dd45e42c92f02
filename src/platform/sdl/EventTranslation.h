#pragma once
// SDL events to window messages. Never included outside src/platform/.

#include <SDL.h>

#include "platform/Win32.h"

namespace vlo {
namespace sdl {

// Turns one SDL event into the window message Windows would have queued for
// it. False for events that have no message (they are dropped).
bool translateEvent(const SDL_Event& event, MSG& out);

// The virtual-key code of an SDL key, 0 for keys without one.
WPARAM virtualKey(SDL_Keycode key);

} // namespace sdl
} // namespace vlo
