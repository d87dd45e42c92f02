#pragma once
// The state of the SDL back end: everything the Windows-style calls keep
// between calls, in one place. Never included outside src/platform/.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/sdl/MessageQueue.h"
#include "platform/sdl/PlatformWindow.h"
#include "platform/sdl/TimerList.h"

namespace vlo {
namespace sdl {

struct PlatformData {
    // Registered window classes by name; each record's lpszClassName points
    // at its own key, so the caller's string need not outlive the call.
    std::map<std::string, WNDCLASSA> classes;
    // Live windows, in creation order.
    std::vector<std::unique_ptr<PlatformWindow>> windows;
    // Live OpenGL contexts.
    std::vector<std::unique_ptr<PlatformGLContext>> contexts;
    HGLRC currentContext = nullptr;

    MessageQueue queue;
    TimerList timers;
    HWND capture = nullptr;

    bool eventsReady = false;
    bool videoReady = false;
    bool offscreenAllowed = false;
};

// The one back-end state of the process.
PlatformData& platformData();

// The live window behind a handle, or null for a stale or foreign handle.
PlatformWindow* liveWindow(HWND window);
// The live window with this SDL window id, or null.
HWND windowFromSdlId(Uint32 id);

// Starts SDL's event subsystem (enough for the message queue); false on failure.
bool ensureEvents();
// Starts SDL's video subsystem; false when it cannot start.
bool ensureVideo();
// True when the running video driver draws to no real display.
bool offscreenDriver();

} // namespace sdl
} // namespace vlo
