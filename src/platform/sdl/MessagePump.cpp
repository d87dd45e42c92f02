// The message loop calls: our own queue of posted and input messages, fed
// from SDL's event queue, with WM_TIMER messages made when timers fall due.

#include <algorithm>

#include "platform/sdl/EventTranslation.h"
#include "platform/sdl/PlatformData.h"

using vlo::sdl::liveWindow;
using vlo::sdl::PlatformData;
using vlo::sdl::platformData;

namespace {

// The longest single wait; a later due timer is reached in several waits.
constexpr long long LongestWaitMs = 1000;

bool inFilter(const MSG& message, HWND window, UINT filterMin, UINT filterMax)
{
    // WM_QUIT belongs to no window and passes every window filter.
    if (window != nullptr && message.hwnd != window && message.message != WM_QUIT)
        return false;
    if (filterMin == 0 && filterMax == 0)
        return true;
    return message.message >= filterMin && message.message <= filterMax;
}

// Moves every waiting SDL event into our queue as its window message; mouse
// moves are coalesced there.
void drainSdlEvents(PlatformData& data)
{
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        MSG message;
        if (!vlo::sdl::translateEvent(event, message))
            continue;
        MSG moved;
        if (vlo::sdl::isPointerMessage(message.message) && vlo::sdl::moveBeforeButton(message, moved)) {
            vlo::sdl::notePointerMessage(moved);
            data.queue.pushMouseMove(moved);
        }
        if (vlo::sdl::isPointerMessage(message.message))
            vlo::sdl::notePointerMessage(message);
        if (message.message == WM_MOUSEMOVE)
            data.queue.pushMouseMove(message);
        else
            data.queue.push(message, vlo::sdl::isPointerMessage(message.message));
    }
    // While captured (a drag), the pointer itself is asked where it is.
    MSG moved;
    if (vlo::sdl::capturedPointerMove(moved))
        data.queue.pushMouseMove(moved);
}

// The WM_QUIT that PostQuitMessage asked for, if the filter lets it through;
// `remove` clears the request.
bool takeQuit(PlatformData& data, MSG& out, HWND window, UINT filterMin, UINT filterMax, bool remove)
{
    if (!data.quitPosted)
        return false;
    MSG quit{};
    quit.message = WM_QUIT;
    quit.wParam = WPARAM(intptr_t(data.quitCode));
    quit.time = GetTickCount();
    if (!inFilter(quit, window, filterMin, filterMax))
        return false;
    if (remove)
        data.quitPosted = false;
    out = quit;
    return true;
}

bool timersWantedBy(UINT filterMin, UINT filterMax)
{
    return (filterMin == 0 && filterMax == 0) || (WM_TIMER >= filterMin && WM_TIMER <= filterMax);
}

// The next message without waiting: posted and input messages in arrival
// order first, then the quit flag, then timers (only when taking).
bool nextMessage(PlatformData& data, MSG& out, HWND window, UINT filterMin, UINT filterMax, bool remove)
{
    drainSdlEvents(data);
    const auto wanted = [&](const MSG& m) { return inFilter(m, window, filterMin, filterMax); };
    if (!remove)
        return data.queue.peek(out, wanted) || takeQuit(data, out, window, filterMin, filterMax, false);
    bool pointer = false;
    if (data.queue.take(out, wanted, pointer)) {
        // Against the window's position now: a window moved since the event
        // was made neither loses nor doubles the motion.
        if (pointer)
            vlo::sdl::placePointerMessage(out);
        return true;
    }
    if (takeQuit(data, out, window, filterMin, filterMax, true))
        return true;
    return timersWantedBy(filterMin, filterMax) && data.timers.takeDue(GetTickCount(), window, out);
}

} // namespace

BOOL GetMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax)
{
    PlatformData& data = platformData();
    if (msg == nullptr)
        return -1;
    const bool timersWanted = timersWantedBy(filterMin, filterMax);
    vlo::sdl::ensureEvents();
    for (;;) {
        if (nextMessage(data, *msg, window, filterMin, filterMax, true))
            return msg->message == WM_QUIT ? FALSE : TRUE;

        // Nothing to return: sleep in SDL until an event comes or the next
        // timer is due. Posted messages cannot arrive meanwhile: only this
        // thread posts them.
        const DWORD now = GetTickCount();
        long long wait = timersWanted ? data.timers.millisecondsToNext(now, window) : -1;
        if (wait < 0 || wait > LongestWaitMs)
            wait = LongestWaitMs;
        if (wait > 0)
            SDL_WaitEventTimeout(nullptr, int(wait));
    }
}

BOOL PeekMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags)
{
    if (msg == nullptr)
        return FALSE;
    vlo::sdl::ensureEvents();
    return nextMessage(platformData(), *msg, window, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0) ? TRUE
                                                                                                           : FALSE;
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (window != nullptr && liveWindow(window) == nullptr)
        return FALSE;
    MSG posted{};
    posted.hwnd = window;
    posted.message = message;
    posted.wParam = wParam;
    posted.lParam = lParam;
    posted.time = GetTickCount();
    platformData().queue.push(posted);
    return TRUE;
}

void PostQuitMessage(int exitCode)
{
    // A flag, not a message: any number of calls give one WM_QUIT, with the
    // last code, after the messages already waiting. The code travels as
    // WPARAM; int(wParam) gives it back, negative codes included.
    PlatformData& data = platformData();
    data.quitPosted = true;
    data.quitCode = exitCode;
}

BOOL TranslateMessage(const MSG*)
{
    // No WM_CHAR messages are made: the program reads no typed text.
    return FALSE;
}

LRESULT DispatchMessageA(const MSG* msg)
{
    if (msg == nullptr)
        return 0;
    PlatformWindow* window = liveWindow(msg->hwnd);
    if (msg->message == WM_TIMER && msg->lParam != 0) {
        // A timer with a callback calls it instead of the window procedure.
        auto callback = reinterpret_cast<vlo::sdl::TimerList::Callback>(msg->lParam);
        callback(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
        return 0;
    }
    // Messages for no window (WM_QUIT and other thread messages) and for a
    // window that is gone are not dispatched.
    if (window == nullptr || window->procedure == nullptr)
        return 0;
    return window->procedure(window, msg->message, msg->wParam, msg->lParam);
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    PlatformWindow* live = liveWindow(window);
    // Alt+F4 is the system's close command: the window is asked to close.
    if (message == WM_SYSKEYDOWN && wParam == VK_F4 && live != nullptr && live->procedure != nullptr)
        live->procedure(window, WM_CLOSE, 0, 0);
    // Any other message needs no default action of ours; the window stays
    // (DefWindowProc would destroy it on WM_CLOSE, but every window of the
    // program answers WM_CLOSE itself).
    return 0;
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT periodMs, void* callback)
{
    PlatformData& data = platformData();
    if (window != nullptr && liveWindow(window) == nullptr)
        return 0;
    if (window == nullptr) {
        // A thread timer gets a fresh identifier; the given one is ignored.
        static UINT_PTR nextThreadTimer = 1;
        id = nextThreadTimer++;
    }
    data.timers.set(window, id, periodMs, reinterpret_cast<vlo::sdl::TimerList::Callback>(callback), GetTickCount());
    // For a window timer any non-zero result means success; its identifier
    // stays the given one.
    return window == nullptr ? id : std::max<UINT_PTR>(id, 1);
}

BOOL KillTimer(HWND window, UINT_PTR id)
{
    return platformData().timers.kill(window, id) ? TRUE : FALSE;
}
