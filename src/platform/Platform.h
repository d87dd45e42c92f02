#pragma once

#include "platform/Win32.h"

namespace vlo {

// Without a real display SDL silently falls back to its offscreen video
// driver. The program treats that as "the window cannot be created"; tools
// and tests that render without a display allow it on purpose.
void setOffscreenAllowed(bool allowed);

// True when the window system is an off-screen one (no real display).
bool isOffscreen();

// Releases every window-system resource the platform layer holds (called at
// the very end of the program so leak checks see a clean exit).
void platformShutdown();

// Asked where a left press at (x, y), in window pixels, lands: true where it
// grabs the window to move it.
using DragAreaTest = bool (*)(void* owner, int x, int y);

// Where the window system does not let a program place its own windows
// (Wayland), a left press where the test answers true hands the window's
// move to the window system; elsewhere (X11) the program moves the window
// itself and the test is never asked. A null test removes it.
void setDragAreaTest(HWND window, DragAreaTest test, void* owner);

// Asked by SwapBuffers on a device context just before it presents the back
// buffer. windowDamaged is true when the window was exposed, resized or shown
// again since its last present, so what it shows may be gone. A false answer
// skips the present: the window keeps showing its last frame.
using PresentFilter = bool (*)(void* owner, bool windowDamaged);

// Installs the present filter of the window behind dc; a null filter removes
// it. Does nothing for a device context of no live window.
void setPresentFilter(HDC dc, PresentFilter filter, void* owner);

// A copy of the frame being drawn in the current context, for frames that
// begin with the same drawing: saveFrameCopy takes the pixels drawn so far,
// restoreFrameCopy writes them back over the whole frame, dropFrameCopy frees
// the copy. Both copies are exact. False (and nothing done) where the driver
// cannot copy framebuffers, or for restoring, when no copy of the frame's
// present size is kept.
bool saveFrameCopy();
bool restoreFrameCopy();
void dropFrameCopy();

} // namespace vlo
