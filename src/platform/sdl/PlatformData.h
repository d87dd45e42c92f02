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

// The pointer position of the window system's last pointer event, for the
// SDL mouse event made from it: client position (window pixels) and screen
// position (screen pixels). valid until that SDL event has taken it.
struct PointerSample {
    bool valid = false;
    int x = 0;
    int y = 0;
    int rootX = 0;
    int rootY = 0;
};

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
    PointerSample pointerSample;
    // Screen position (screen pixels) of the last pointer message made.
    POINT lastPointer{0, 0};
    bool lastPointerKnown = false;
    // PostQuitMessage sets the flag; GetMessageA turns it into one WM_QUIT
    // once no posted or input message waits.
    bool quitPosted = false;
    int quitCode = 0;

    bool eventsReady = false;
    bool videoReady = false;
    bool offscreenAllowed = false;
};

// a / b rounded toward minus infinity, for b > 0.
inline int floorDivide(int a, int b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

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
