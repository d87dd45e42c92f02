// GetMessageA, PeekMessageA, PostMessageA, DispatchMessageA, DefWindowProcA and window
// timers on a real (hidden) window, with the tick source under test control.

#include <ctime>
#include <vector>

#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/sdl/PlatformWindow.h"
#include "support/FakeClock.h"
#include "support/TestWindow.h"

namespace {

struct Received {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

std::vector<Received>& received()
{
    static std::vector<Received> calls;
    return calls;
}

LRESULT recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    received().push_back(Received{window, message, wParam, lParam});
    return DefWindowProcA(window, message, wParam, lParam);
}

// A private message that marks a place in the queue.
constexpr UINT Marker = 0x0400;

class MessagePumpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        received().clear();
        drain();
    }
    void TearDown() override { drain(); }

    // Empties the queue (a window destroyed by an earlier test may have left
    // a WM_QUIT) by reading up to a marker posted now.
    static void drain()
    {
        PostMessageA(nullptr, Marker, 0xDEAD, 0);
        MSG m{};
        do {
            GetMessageA(&m, nullptr, 0, 0);
        } while (!(m.message == Marker && m.wParam == 0xDEAD));
    }

    // The next message, which must be there without waiting on time.
    static MSG next()
    {
        MSG m{};
        GetMessageA(&m, nullptr, 0, 0);
        return m;
    }
};

TEST_F(MessagePumpTest, PostedMessagesComeBackInOrderAndDispatchToTheProcedure)
{
    vlo::test::TestWindow window(64, 64, recordingProc, "VLO Pump Test 1");
    ASSERT_TRUE(window.valid());
    received().clear();
    for (WPARAM i = 0; i < 5; ++i)
        ASSERT_TRUE(PostMessageA(window.handle(), Marker, i, LPARAM(i * 10)));
    for (WPARAM i = 0; i < 5; ++i) {
        MSG m{};
        ASSERT_EQ(GetMessageA(&m, nullptr, 0, 0), TRUE);
        EXPECT_EQ(m.hwnd, window.handle());
        EXPECT_EQ(m.message, Marker);
        EXPECT_EQ(m.wParam, i) << "expected message " << i << ", got " << m.wParam;
        EXPECT_EQ(m.lParam, LPARAM(i * 10));
        EXPECT_FALSE(TranslateMessage(&m));
        DispatchMessageA(&m);
    }
    ASSERT_EQ(received().size(), 5u) << "each dispatched message reaches the procedure once";
    for (WPARAM i = 0; i < 5; ++i)
        EXPECT_EQ(received()[i].wParam, i);
}

TEST_F(MessagePumpTest, QuitReturnsZeroWithItsExitCode)
{
    PostQuitMessage(7);
    MSG m{};
    EXPECT_EQ(GetMessageA(&m, nullptr, 0, 0), FALSE) << "WM_QUIT must end the loop";
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_EQ(int(m.wParam), 7);

    PostQuitMessage(-1);
    EXPECT_EQ(GetMessageA(&m, nullptr, 0, 0), FALSE);
    EXPECT_EQ(int(m.wParam), -1) << "a negative exit code survives the trip through wParam";
    EXPECT_EQ(DispatchMessageA(&m), 0) << "WM_QUIT belongs to no window";
}

TEST_F(MessagePumpTest, PostingToAGoneWindowFailsAndItsMessagesAreDropped)
{
    HWND gone = nullptr;
    {
        vlo::test::TestWindow window(32, 32, recordingProc, "VLO Pump Test 2");
        ASSERT_TRUE(window.valid());
        gone = window.handle();
        ASSERT_TRUE(PostMessageA(gone, Marker, 1, 0));
    }
    EXPECT_FALSE(PostMessageA(gone, Marker, 2, 0));
    PostMessageA(nullptr, Marker, 3, 0);
    const MSG m = next();
    EXPECT_EQ(m.wParam, 3u) << "a message for a destroyed window was still delivered";
    received().clear();
    MSG stale{};
    stale.hwnd = gone;
    stale.message = Marker;
    EXPECT_EQ(DispatchMessageA(&stale), 0);
    EXPECT_TRUE(received().empty()) << "dispatch reached a destroyed window";
}

TEST_F(MessagePumpTest, TimerArrivesEveryPeriodAfterPostedMessages)
{
    vlo::test::FakeClock clock(5000);
    vlo::test::TestWindow window(32, 32, recordingProc, "VLO Pump Test 3");
    ASSERT_TRUE(window.valid());
    ASSERT_NE(SetTimer(window.handle(), 0, 10, nullptr), 0u);

    // Step the clock 1 ms at a time for 100 ms; after each step read up to
    // a marker and note the WM_TIMER messages that came before it.
    std::vector<DWORD> timerTicks;
    for (int step = 1; step <= 100; ++step) {
        clock.advance(1);
        PostMessageA(nullptr, Marker, WPARAM(step), 0);
        for (;;) {
            const MSG m = next();
            if (m.message == WM_TIMER) {
                EXPECT_EQ(m.hwnd, window.handle());
                EXPECT_EQ(m.wParam, 0u) << "the timer id";
                timerTicks.push_back(m.time);
                continue;
            }
            ASSERT_EQ(m.message, Marker);
            ASSERT_EQ(m.wParam, WPARAM(step)) << "lost the marker";
            break;
        }
        // The marker was posted before the timer fell due in this step, but
        // a due timer waits behind posted messages: read it now.
        if (clock.now() % 10 == 0) {
            const MSG m = next();
            EXPECT_EQ(m.message, WM_TIMER) << "no WM_TIMER at tick " << clock.now();
            timerTicks.push_back(m.time);
        }
    }
    ASSERT_EQ(timerTicks.size(), 10u) << "expected one WM_TIMER per 10 ms over 100 ms";
    for (size_t i = 0; i < timerTicks.size(); ++i)
        EXPECT_EQ(timerTicks[i], DWORD(5010 + 10 * i)) << "WM_TIMER " << i;
    KillTimer(window.handle(), 0);
}

TEST_F(MessagePumpTest, LateTimerIsCoalescedToOneMessage)
{
    vlo::test::FakeClock clock(0);
    vlo::test::TestWindow window(32, 32, recordingProc, "VLO Pump Test 4");
    ASSERT_TRUE(window.valid());
    SetTimer(window.handle(), 5, 10, nullptr);
    clock.advance(1000); // a hundred periods nobody read
    MSG m = next();
    EXPECT_EQ(m.message, WM_TIMER);
    EXPECT_EQ(m.wParam, 5u);
    PostMessageA(nullptr, Marker, 1, 0);
    m = next();
    EXPECT_EQ(m.message, Marker) << "expected the marker, got message 0x" << std::hex << m.message
                                 << ": missed expiries were queued";
    EXPECT_TRUE(KillTimer(window.handle(), 5));
    clock.advance(1000);
    PostMessageA(nullptr, Marker, 2, 0);
    EXPECT_EQ(next().message, Marker) << "a killed timer still fired";
}

TEST_F(MessagePumpTest, DestroyingTheWindowKillsItsTimer)
{
    vlo::test::FakeClock clock(0);
    {
        vlo::test::TestWindow window(32, 32, recordingProc, "VLO Pump Test 5");
        ASSERT_TRUE(window.valid());
        SetTimer(window.handle(), 1, 10, nullptr);
    }
    clock.advance(100);
    PostMessageA(nullptr, Marker, 1, 0);
    EXPECT_EQ(next().message, Marker) << "a destroyed window's timer fired";
}

TEST_F(MessagePumpTest, GetMessageBlocksUntilTheRealTimerWithoutSpinning)
{
    vlo::test::TestWindow window(32, 32, recordingProc, "VLO Pump Test 6");
    ASSERT_TRUE(window.valid());
    SetTimer(window.handle(), 9, 200, nullptr);
    const DWORD before = GetTickCount();
    const std::clock_t cpuBefore = std::clock();
    MSG m{};
    ASSERT_EQ(GetMessageA(&m, nullptr, 0, 0), TRUE);
    const DWORD waited = GetTickCount() - before;
    const double cpuMs = 1000.0 * double(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
    EXPECT_EQ(m.message, WM_TIMER);
    EXPECT_GE(waited, 199u) << "returned before the timer was due";
    EXPECT_LT(waited, 2000u);
    // A busy wait would burn about the whole 200 ms.
    EXPECT_LT(cpuMs, 100.0) << "GetMessageA used " << cpuMs << " ms of CPU while waiting";
    KillTimer(window.handle(), 9);
}

TEST_F(MessagePumpTest, DefWindowProcTurnsAltF4IntoCloseAndIgnoresTheRest)
{
    vlo::test::TestWindow window(32, 32, recordingProc, "VLO Pump Test 7");
    ASSERT_TRUE(window.valid());
    received().clear();
    EXPECT_EQ(DefWindowProcA(window.handle(), WM_SYSKEYDOWN, VK_F4, 0), 0);
    ASSERT_EQ(received().size(), 1u) << "Alt+F4 must send exactly one message";
    EXPECT_EQ(received()[0].message, WM_CLOSE);

    received().clear();
    EXPECT_EQ(DefWindowProcA(window.handle(), WM_SYSKEYDOWN, 'X', 0), 0);
    EXPECT_EQ(DefWindowProcA(window.handle(), WM_KEYDOWN, VK_F4, 0), 0);
    EXPECT_EQ(DefWindowProcA(window.handle(), WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(DefWindowProcA(window.handle(), WM_PAINT, 0, 0), 0);
    EXPECT_TRUE(received().empty()) << "DefWindowProcA sent " << received().size() << " messages";
    EXPECT_NE(GetDC(window.handle()), nullptr) << "DefWindowProcA destroyed the window";
}

TEST_F(MessagePumpTest, WindowFilterSkipsOtherWindowsButNotQuit)
{
    vlo::test::TestWindow a(32, 32, recordingProc, "VLO Pump Test 8a");
    vlo::test::TestWindow b(32, 32, recordingProc, "VLO Pump Test 8b");
    ASSERT_TRUE(a.valid() && b.valid());
    PostMessageA(a.handle(), Marker, 1, 0);
    PostMessageA(b.handle(), Marker, 2, 0);
    MSG m{};
    ASSERT_TRUE(GetMessageA(&m, b.handle(), 0, 0));
    EXPECT_EQ(m.wParam, 2u) << "the filter returned another window's message";
    PostQuitMessage(0);
    EXPECT_FALSE(GetMessageA(&m, b.handle(), 0, 0)) << "WM_QUIT passes every window filter";
    ASSERT_TRUE(GetMessageA(&m, nullptr, 0, 0));
    EXPECT_EQ(m.wParam, 1u);
}

TEST_F(MessagePumpTest, QuitFlagGivesOneQuitAfterWaitingMessagesAndBeforeDueTimers)
{
    vlo::test::FakeClock clock(1000);
    vlo::test::TestWindow window(64, 64, recordingProc, "VLO Pump Test 9");
    ASSERT_TRUE(window.valid());
    ASSERT_NE(SetTimer(window.handle(), 3, 10, nullptr), 0u);
    clock.advance(10); // the timer is due from here on

    // Quits asked for between posted messages and before input arrives: the
    // messages all come first, whenever they were posted.
    PostMessageA(window.handle(), Marker, 1, 0);
    PostQuitMessage(11);
    PostMessageA(window.handle(), Marker, 2, 0);
    PostQuitMessage(12);
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.windowID = window.handle()->sdlId;
    motion.motion.x = 5;
    motion.motion.y = 6;
    ASSERT_EQ(SDL_PushEvent(&motion), 1) << SDL_GetError();
    PostQuitMessage(13);

    MSG m{};
    ASSERT_EQ(GetMessageA(&m, nullptr, 0, 0), TRUE);
    EXPECT_EQ(m.message, Marker);
    EXPECT_EQ(m.wParam, 1u);
    ASSERT_EQ(GetMessageA(&m, nullptr, 0, 0), TRUE);
    EXPECT_EQ(m.message, Marker);
    EXPECT_EQ(m.wParam, 2u);
    ASSERT_EQ(GetMessageA(&m, nullptr, 0, 0), TRUE) << "WM_QUIT came before the waiting input";
    EXPECT_EQ(m.message, UINT(WM_MOUSEMOVE));
    EXPECT_EQ(m.lParam, MAKELPARAM(5, 6));
    ASSERT_EQ(GetMessageA(&m, nullptr, 0, 0), FALSE) << "expected WM_QUIT, got message 0x" << std::hex << m.message;
    EXPECT_EQ(m.message, UINT(WM_QUIT));
    EXPECT_EQ(m.hwnd, nullptr);
    EXPECT_EQ(int(m.wParam), 13) << "the last exit code given";
    ASSERT_EQ(GetMessageA(&m, nullptr, 0, 0), TRUE) << "a second WM_QUIT from three calls";
    EXPECT_EQ(m.message, UINT(WM_TIMER)) << "the due timer waits behind the quit";
    EXPECT_EQ(m.wParam, 3u);

    // The flag is clear once read: nothing more, until it is set again.
    PostMessageA(nullptr, Marker, 3, 0);
    ASSERT_EQ(GetMessageA(&m, nullptr, 0, 0), TRUE) << "a WM_QUIT came twice";
    EXPECT_EQ(m.wParam, 3u);
    PostQuitMessage(14);
    ASSERT_EQ(GetMessageA(&m, nullptr, 0, 0), FALSE) << "a quit asked for after the first was read was lost";
    EXPECT_EQ(int(m.wParam), 14);
    clock.advance(10);
    ASSERT_EQ(GetMessageA(&m, nullptr, 0, 0), TRUE);
    EXPECT_EQ(m.message, UINT(WM_TIMER));
    KillTimer(window.handle(), 3);
}

TEST_F(MessagePumpTest, PeekReturnsAtOnceAndTakesOnlyWithRemove)
{
    vlo::test::TestWindow window(64, 64, recordingProc, "VLO Pump Test Peek");
    ASSERT_TRUE(window.valid());
    MSG m{};
    const std::clock_t before = std::clock();
    EXPECT_EQ(PeekMessageA(&m, nullptr, Marker, Marker, PM_REMOVE), FALSE) << "an empty queue gave a message";
    EXPECT_LT(double(std::clock() - before) / CLOCKS_PER_SEC, 0.5) << "processor seconds in one empty peek";

    ASSERT_TRUE(PostMessageA(window.handle(), Marker, 1, 0));
    ASSERT_TRUE(PostMessageA(window.handle(), Marker, 2, 0));
    ASSERT_EQ(PeekMessageA(&m, nullptr, Marker, Marker, PM_NOREMOVE), TRUE);
    EXPECT_EQ(m.wParam, 1u);
    ASSERT_EQ(PeekMessageA(&m, nullptr, Marker, Marker, PM_NOREMOVE), TRUE);
    EXPECT_EQ(m.wParam, 1u) << "PM_NOREMOVE took the message";
    ASSERT_EQ(PeekMessageA(&m, nullptr, Marker, Marker, PM_REMOVE), TRUE);
    EXPECT_EQ(m.wParam, 1u);
    ASSERT_EQ(PeekMessageA(&m, nullptr, Marker, Marker, PM_REMOVE), TRUE);
    EXPECT_EQ(m.wParam, 2u) << "the second message after the first was taken";
    EXPECT_EQ(PeekMessageA(&m, nullptr, Marker, Marker, PM_REMOVE), FALSE);

    // The quit is looked at without being taken, then taken once.
    PostQuitMessage(5);
    ASSERT_EQ(PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE), TRUE);
    EXPECT_EQ(m.message, WM_QUIT);
    ASSERT_EQ(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE), TRUE);
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_EQ(int(m.wParam), 5);
    EXPECT_EQ(PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE), FALSE) << "one quit came back twice";
}

} // namespace
