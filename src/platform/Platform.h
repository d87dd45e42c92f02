#pragma once

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

} // namespace vlo
