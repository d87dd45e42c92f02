// The ring-buffer queue behind the message loop.

#include <iterator>

#include <gtest/gtest.h>

#include "platform/sdl/MessageQueue.h"

namespace {

MSG message(HWND window, UINT id, WPARAM wParam)
{
    MSG m{};
    m.hwnd = window;
    m.message = id;
    m.wParam = wParam;
    return m;
}

// A pointer message at a screen position, as the event translation makes it.
MSG pointerAt(HWND window, UINT id, int x, int y)
{
    MSG m = message(window, id, 0);
    m.pt = POINT{x, y};
    return m;
}

bool any(const MSG&)
{
    return true;
}

TEST(MessageQueueTest, KeepsArrivalOrderAcrossGrowthAndWrapAround)
{
    vlo::sdl::MessageQueue queue;
    // Interleave pushes and takes so the ring wraps, then overfill it so it
    // has to grow while wrapped.
    WPARAM pushed = 0;
    WPARAM taken = 0;
    MSG out{};
    for (int round = 0; round < 50; ++round) {
        for (int i = 0; i < 3; ++i)
            queue.push(message(nullptr, WM_NULL, pushed++));
        ASSERT_TRUE(queue.take(out, any));
        ASSERT_EQ(out.wParam, taken) << "round " << round;
        ++taken;
    }
    while (queue.take(out, any)) {
        ASSERT_EQ(out.wParam, taken) << "out of order after growth";
        ++taken;
    }
    EXPECT_EQ(taken, pushed) << "messages lost";
    EXPECT_EQ(queue.size(), 0u);
}

TEST(MessageQueueTest, TakesTheFirstMatchAndKeepsTheRestInOrder)
{
    vlo::sdl::MessageQueue queue;
    for (WPARAM i = 0; i < 6; ++i)
        queue.push(message(nullptr, i % 2 == 0 ? WM_TIMER : WM_CLOSE, i));
    MSG out{};
    ASSERT_TRUE(queue.take(out, [](const MSG& m) { return m.message == WM_CLOSE; }));
    EXPECT_EQ(out.wParam, 1u) << "the oldest matching message comes first";
    const WPARAM rest[] = {0, 2, 3, 4, 5};
    for (WPARAM expected : rest) {
        ASSERT_TRUE(queue.take(out, any));
        EXPECT_EQ(out.wParam, expected);
    }
    EXPECT_FALSE(queue.take(out, any)) << "an empty queue gave a message";
}

TEST(MessageQueueTest, RemovesOnlyTheMessagesOfOneWindow)
{
    vlo::sdl::MessageQueue queue;
    HWND a = reinterpret_cast<HWND>(uintptr_t(0x10));
    HWND b = reinterpret_cast<HWND>(uintptr_t(0x20));
    queue.push(message(a, WM_TIMER, 1));
    queue.push(message(b, WM_TIMER, 2));
    queue.push(message(nullptr, WM_QUIT, 3));
    queue.push(message(a, WM_TIMER, 4));
    queue.removeFor(a);
    ASSERT_EQ(queue.size(), 2u);
    MSG out{};
    ASSERT_TRUE(queue.take(out, any));
    EXPECT_EQ(out.wParam, 2u);
    ASSERT_TRUE(queue.take(out, any));
    EXPECT_EQ(out.wParam, 3u);
}

TEST(MessageQueueTest, WaitingMovesBecomeOneWithTheLatestPosition)
{
    vlo::sdl::MessageQueue queue;
    HWND window = reinterpret_cast<HWND>(uintptr_t(0x10));
    queue.pushMouseMove(pointerAt(window, WM_MOUSEMOVE, 1, 2));
    queue.pushMouseMove(pointerAt(window, WM_MOUSEMOVE, 3, 4));
    queue.pushMouseMove(pointerAt(window, WM_MOUSEMOVE, 5, 6));
    ASSERT_EQ(queue.size(), 1u) << "more than one WM_MOUSEMOVE waits";
    MSG out{};
    bool pointer = false;
    ASSERT_TRUE(queue.take(out, any, pointer));
    EXPECT_EQ(out.message, UINT(WM_MOUSEMOVE));
    EXPECT_EQ(out.pt.x, 5);
    EXPECT_EQ(out.pt.y, 6);
    EXPECT_TRUE(pointer) << "a move must be placed against the window when taken";

    // Once taken, the next move waits on its own again.
    queue.pushMouseMove(pointerAt(window, WM_MOUSEMOVE, 7, 8));
    ASSERT_TRUE(queue.take(out, any));
    EXPECT_EQ(out.pt.x, 7);
}

TEST(MessageQueueTest, PressesAndReleasesKeepTheirPlaceAmongMoves)
{
    vlo::sdl::MessageQueue queue;
    HWND window = reinterpret_cast<HWND>(uintptr_t(0x10));
    HWND other = reinterpret_cast<HWND>(uintptr_t(0x20));
    // move move press move move release move, a move of another window,
    // then one more move of the first.
    queue.pushMouseMove(pointerAt(window, WM_MOUSEMOVE, 1, 1));
    queue.pushMouseMove(pointerAt(window, WM_MOUSEMOVE, 2, 2));
    queue.push(pointerAt(window, WM_LBUTTONDOWN, 2, 2), true);
    queue.pushMouseMove(pointerAt(window, WM_MOUSEMOVE, 3, 3));
    queue.pushMouseMove(pointerAt(window, WM_MOUSEMOVE, 4, 4));
    queue.push(pointerAt(window, WM_LBUTTONUP, 4, 4), true);
    queue.pushMouseMove(pointerAt(window, WM_MOUSEMOVE, 5, 5));
    queue.pushMouseMove(pointerAt(other, WM_MOUSEMOVE, 6, 6));
    queue.pushMouseMove(pointerAt(window, WM_MOUSEMOVE, 7, 7));
    struct Expected {
        HWND window;
        UINT id;
        int x;
    };
    const Expected expected[] = {{window, WM_MOUSEMOVE, 2}, {window, WM_LBUTTONDOWN, 2}, {window, WM_MOUSEMOVE, 4},
        {window, WM_LBUTTONUP, 4}, {window, WM_MOUSEMOVE, 5}, {other, WM_MOUSEMOVE, 6}, {window, WM_MOUSEMOVE, 7}};
    ASSERT_EQ(queue.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        MSG out{};
        bool pointer = false;
        ASSERT_TRUE(queue.take(out, any, pointer));
        EXPECT_EQ(out.hwnd, expected[i].window) << "message " << i;
        EXPECT_EQ(out.message, expected[i].id)
            << "message " << i << ": expected 0x" << std::hex << expected[i].id << ", got 0x" << out.message;
        EXPECT_EQ(out.pt.x, expected[i].x) << "message " << i;
        EXPECT_TRUE(pointer) << "message " << i;
    }
}

TEST(MessageQueueTest, PostedMessagesNeitherSplitNorJoinMoves)
{
    vlo::sdl::MessageQueue queue;
    HWND window = reinterpret_cast<HWND>(uintptr_t(0x10));
    // A posted message is no pointer input: the move waiting before it takes
    // the later position, and the posted message itself stays as it was.
    queue.pushMouseMove(pointerAt(window, WM_MOUSEMOVE, 1, 1));
    queue.push(message(window, WM_MOUSEMOVE, 99));
    queue.pushMouseMove(pointerAt(window, WM_MOUSEMOVE, 2, 2));
    ASSERT_EQ(queue.size(), 2u);
    MSG out{};
    bool pointer = false;
    ASSERT_TRUE(queue.take(out, any, pointer));
    EXPECT_TRUE(pointer);
    EXPECT_EQ(out.pt.x, 2) << "the waiting move did not take the latest position";
    ASSERT_TRUE(queue.take(out, any, pointer));
    EXPECT_FALSE(pointer) << "a posted WM_MOUSEMOVE was taken for pointer input";
    EXPECT_EQ(out.wParam, 99u);
}

} // namespace
