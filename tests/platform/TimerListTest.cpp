// Window timers: expiry, coalescing and waiting time, on explicit tick counts.

#include <gtest/gtest.h>

#include "platform/sdl/TimerList.h"

namespace {

const HWND windowA = reinterpret_cast<HWND>(uintptr_t(0x100));
const HWND windowB = reinterpret_cast<HWND>(uintptr_t(0x200));

TEST(TimerListTest, FallsDueOncePerPeriodAndMergesMissedExpiries)
{
    vlo::sdl::TimerList timers;
    timers.set(windowA, 3, 10, nullptr, 1000);
    MSG out{};
    EXPECT_FALSE(timers.takeDue(1009, nullptr, out)) << "due before its period";
    ASSERT_TRUE(timers.takeDue(1010, nullptr, out));
    EXPECT_EQ(out.message, WM_TIMER);
    EXPECT_EQ(out.hwnd, windowA);
    EXPECT_EQ(out.wParam, 3u) << "wParam carries the timer id";
    EXPECT_FALSE(timers.takeDue(1010, nullptr, out)) << "two messages for one expiry";

    // 95 ms unread: one message, and the next expiry counts from now.
    ASSERT_TRUE(timers.takeDue(1115, nullptr, out));
    EXPECT_FALSE(timers.takeDue(1115, nullptr, out)) << "missed expiries were queued up";
    EXPECT_EQ(timers.millisecondsToNext(1115, nullptr), 10);
    EXPECT_TRUE(timers.takeDue(1125, nullptr, out));
}

TEST(TimerListTest, WaitingTimeAndFilters)
{
    vlo::sdl::TimerList timers;
    EXPECT_EQ(timers.millisecondsToNext(0, nullptr), -1) << "no timers, no wait limit";
    timers.set(windowA, 1, 50, nullptr, 0);
    timers.set(windowB, 1, 20, nullptr, 0);
    EXPECT_EQ(timers.millisecondsToNext(5, nullptr), 15);
    EXPECT_EQ(timers.millisecondsToNext(5, windowA), 45);
    EXPECT_EQ(timers.millisecondsToNext(30, nullptr), 0) << "a due timer means no wait";
    MSG out{};
    EXPECT_FALSE(timers.takeDue(30, windowA, out)) << "the filter let another window's timer through";
    EXPECT_TRUE(timers.takeDue(30, windowB, out));
}

TEST(TimerListTest, PeriodsBelowTenMillisecondsAreRaisedAndKillRemoves)
{
    vlo::sdl::TimerList timers;
    timers.set(windowA, 1, 1, nullptr, 0);
    EXPECT_EQ(timers.millisecondsToNext(0, nullptr), 10);
    EXPECT_TRUE(timers.kill(windowA, 1));
    EXPECT_FALSE(timers.kill(windowA, 1)) << "a timer is killed once";
    EXPECT_EQ(timers.millisecondsToNext(0, nullptr), -1);

    timers.set(windowA, 1, 10, nullptr, 0);
    timers.set(windowA, 2, 10, nullptr, 0);
    timers.set(windowB, 1, 10, nullptr, 0);
    timers.killAllOf(windowA);
    MSG out{};
    ASSERT_TRUE(timers.takeDue(100, nullptr, out));
    EXPECT_EQ(out.hwnd, windowB);
    EXPECT_FALSE(timers.takeDue(100, nullptr, out)) << "a killed window's timer survived";
}

TEST(TimerListTest, ExpiryAcrossTheTickWrap)
{
    vlo::sdl::TimerList timers;
    timers.set(windowA, 1, 10, nullptr, 0xFFFFFFFAu);
    MSG out{};
    EXPECT_FALSE(timers.takeDue(0xFFFFFFFFu, nullptr, out));
    EXPECT_EQ(timers.millisecondsToNext(0xFFFFFFFFu, nullptr), 5);
    EXPECT_TRUE(timers.takeDue(4, nullptr, out)) << "expiry lost at the 32-bit wrap";
}

TEST(TimerListTest, SettingAgainRestartsTheSameTimer)
{
    vlo::sdl::TimerList timers;
    timers.set(windowA, 1, 10, nullptr, 0);
    timers.set(windowA, 1, 30, nullptr, 5);
    MSG out{};
    EXPECT_FALSE(timers.takeDue(10, nullptr, out)) << "the old period still fired";
    EXPECT_TRUE(timers.takeDue(35, nullptr, out));
    EXPECT_FALSE(timers.takeDue(35, nullptr, out)) << "restarting made a second timer";
}

} // namespace
