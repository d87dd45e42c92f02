#include "platform/sdl/TimerList.h"

#include <cstddef>
#include <cstdint>

namespace vlo {
namespace sdl {

namespace {

// Signed distance from now to a tick; correct across the 32-bit wrap as long
// as the two lie less than 2^31 ms apart.
int32_t ticksUntil(DWORD tick, DWORD now)
{
    return int32_t(tick - now);
}

} // namespace

void TimerList::set(HWND window, UINT_PTR id, UINT periodMs, Callback callback, DWORD now)
{
    // Windows raises periods below 10 ms to 10 ms (USER_TIMER_MINIMUM).
    const UINT period = periodMs < 10 ? 10 : periodMs;
    for (Timer& timer : timers) {
        if (timer.window == window && timer.id == id) {
            timer.period = period;
            timer.callback = callback;
            timer.due = now + period;
            return;
        }
    }
    timers.push_back(Timer{window, id, period, callback, now + period});
}

bool TimerList::kill(HWND window, UINT_PTR id)
{
    for (size_t i = 0; i < timers.size(); ++i) {
        if (timers[i].window == window && timers[i].id == id) {
            timers.erase(timers.begin() + long(i));
            return true;
        }
    }
    return false;
}

void TimerList::killAllOf(HWND window)
{
    for (size_t i = timers.size(); i-- > 0;) {
        if (timers[i].window == window)
            timers.erase(timers.begin() + long(i));
    }
}

bool TimerList::takeDue(DWORD now, HWND filterWindow, MSG& out)
{
    Timer* oldest = nullptr;
    for (Timer& timer : timers) {
        if (filterWindow != nullptr && timer.window != filterWindow)
            continue;
        if (ticksUntil(timer.due, now) > 0)
            continue;
        if (oldest == nullptr || ticksUntil(timer.due, oldest->due) < 0)
            oldest = &timer;
    }
    if (oldest == nullptr)
        return false;
    // The next expiry counts from now, not from the missed one: expiries
    // that passed unread are merged into this one message.
    oldest->due = now + oldest->period;
    out = MSG{};
    out.hwnd = oldest->window;
    out.message = WM_TIMER;
    out.wParam = oldest->id;
    out.lParam = LPARAM(reinterpret_cast<uintptr_t>(oldest->callback));
    out.time = now;
    return true;
}

long long TimerList::millisecondsToNext(DWORD now, HWND filterWindow) const
{
    long long best = -1;
    for (const Timer& timer : timers) {
        if (filterWindow != nullptr && timer.window != filterWindow)
            continue;
        const int32_t until = ticksUntil(timer.due, now);
        const long long wait = until > 0 ? until : 0;
        if (best < 0 || wait < best)
            best = wait;
    }
    return best;
}

} // namespace sdl
} // namespace vlo
