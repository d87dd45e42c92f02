// The ring-buffer queue behind the message loop.

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

} // namespace
