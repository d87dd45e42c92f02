#pragma once
// SDL events to window messages. Never included outside src/platform/.

#include <SDL.h>

#include "platform/Win32.h"

namespace vlo {
namespace sdl {

// Turns one SDL event into the window message Windows would have queued for
// it. False for events that have no message (they are dropped). Pointer
// messages come with the screen position in pt (screen pixels) and no
// client position yet: placePointerMessage makes it when the message is
// taken.
bool translateEvent(const SDL_Event& event, MSG& out);

// True for the mouse messages (moves, presses, releases, double clicks).
bool isPointerMessage(UINT message);

// Gives a pointer message its client position (lParam) against where its
// window is now, and its screen position in the program's screen
// coordinates (which a scaled window divides by its scale).
void placePointerMessage(MSG& message);

// A WM_MOUSEMOVE for a pointer that has moved while the mouse is captured
// although no motion event came for it: SDL drops a motion whose position in
// the window equals its last one, and a window that follows the pointer (a
// drag) makes exactly such positions. False while nothing is captured, no
// button is held, the pointer is where the last pointer message put it, or
// the window system cannot be asked (only X11 can).
bool capturedPointerMove(MSG& out);

// While the mouse is captured, a press or release away from where the last
// pointer message put the pointer is preceded by a move there, as Windows
// does: SDL drops a motion whose position in the window equals the last one,
// and a drag's last step can come with the release before the pointer is
// asked again. Only where the window system can be asked for the pointer
// (X11). False when no move is needed.
bool moveBeforeButton(const MSG& button, MSG& out);

// Notes where a pointer message just made puts the pointer (screen pixels).
void notePointerMessage(const MSG& message);

// The virtual-key code of an SDL key, 0 for keys without one.
WPARAM virtualKey(SDL_Keycode key);

} // namespace sdl
} // namespace vlo
