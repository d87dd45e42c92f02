#pragma once
// The window timers of SetTimer. Never included outside src/platform/.

#include <vector>

#include "platform/Win32.h"

namespace vlo {
namespace sdl {

// Window timers with their periods in milliseconds of GetTickCount. A timer
// does not queue a message when it falls due: the WM_TIMER is made when the
// queue is asked and nothing else is waiting, so at most one is ever pending
// per timer and a late reader gets one WM_TIMER, not a backlog (as Windows
// does).
class TimerList {
public:
    using Callback = void (*)(HWND, UINT, UINT_PTR, DWORD);

    // Starts or restarts the timer (window, id) with the first expiry one
    // period from now.
    void set(HWND window, UINT_PTR id, UINT periodMs, Callback callback, DWORD now);
    bool kill(HWND window, UINT_PTR id);
    void killAllOf(HWND window);
    void clear() { timers.clear(); }

    // Takes the due timer that has waited longest, if any, as a WM_TIMER
    // message, and schedules its next expiry one period after now.
    bool takeDue(DWORD now, HWND filterWindow, MSG& out);
    // Milliseconds until the next timer falls due (0 when one is due), or
    // -1 without timers.
    long long millisecondsToNext(DWORD now, HWND filterWindow) const;

private:
    struct Timer {
        HWND window;
        UINT_PTR id;
        UINT period;
        Callback callback;
        DWORD due;
    };

    std::vector<Timer> timers;
};

} // namespace sdl
} // namespace vlo
