#pragma once

#include "platform/Win32.h"

namespace vlo {

// Without a real display SDL silently falls back to its offscreen video
// driver. The program treats that as "the window cannot be created"; tools
// and tests that render without a display allow it on purpose.
void setOffscreenAllowed(bool allowed);

// True when the window system is an off-screen one (no real display).
bool isOffscreen();

// A window program (Windows) gets no terminal of its own: where it was
// started from one and its output goes nowhere else, its standard output and
// error go to that terminal. Elsewhere nothing changes.
void useStartingTerminal();

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

// Run by SwapBuffers on a device context just before it presents the back
// buffer. windowDamaged is true when the window was exposed, resized or shown
// again since its last present, so what it shows may be gone. A false answer
// skips the present: the window keeps showing its last frame.
using PresentHook = bool (*)(void* owner, bool windowDamaged);

// Installs the present hook of the window behind dc; a null hook removes it.
// Does nothing for a device context of no live window.
void setPresentHook(HDC dc, PresentHook hook, void* owner);

// The OpenGL framebuffer that drawing on dc's window goes to while that
// window's context is current: 0, the window's own back buffer, or on a
// window the desktop scales, the framebuffer object of the program's size
// that each present enlarges onto the window. 0 for a device context of no
// live window.
unsigned int drawFrameBuffer(HDC dc);

} // namespace vlo
