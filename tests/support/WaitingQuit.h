#pragma once
// Takes the quit a thread has asked for, without blocking. PostQuitMessage
// sets a flag whose WM_QUIT comes only when no other message waits, so the
// queue is first read up to a marker posted now; a thread timer then proves
// the flag clear: GetMessageA returns the quit before any due timer.
//
//   PostQuitMessage(0);
//   EXPECT_EQ(vlo::test::takeWaitingQuits(clock), 1);

#include "platform/Win32.h"
#include "support/FakeClock.h"

namespace vlo {
namespace test {

// Returns how many WM_QUIT messages were waiting (posted ones included);
// other messages up to the marker are taken undispatched. The fake clock is
// moved on for the timer and set back afterwards.
inline int takeWaitingQuits(FakeClock& clock)
{
    constexpr UINT Marker = 0x0400 + 0x5EC; // a private message number
    constexpr WPARAM Tag = 0x5EC0;
    PostMessageA(nullptr, Marker, Tag, 0);
    int quits = 0;
    MSG message{};
    for (;;) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == -1)
            return quits;
        if (got == FALSE)
            ++quits;
        else if (message.message == Marker && message.wParam == Tag)
            break;
    }

    const uint32_t before = clock.now();
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, nullptr);
    clock.advance(10);
    for (;;) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == -1)
            break;
        if (got == FALSE) {
            ++quits;
            continue;
        }
        if (message.message == WM_TIMER && message.hwnd == nullptr && message.wParam == timer)
            break;
    }
    KillTimer(nullptr, timer);
    clock.set(before);
    return quits;
}

} // namespace test
} // namespace vlo
