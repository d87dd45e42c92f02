// The tick-count timer behind every animation, driven frame by frame with a
// fake tick source.

#include <gtest/gtest.h>

#include "common/FrameTimer.h"
#include "support/FakeClock.h"

namespace {

using vlo::FrameTimer;

TEST(FrameTimerTest, NeverStartedReportsZero)
{
    vlo::test::FakeClock clock(123456);
    FrameTimer timer;
    EXPECT_FALSE(timer.running);
    EXPECT_EQ(timer.seconds(), 0.0f);
    clock.advance(5000);
    EXPECT_EQ(timer.seconds(), 0.0f) << "an unstarted timer counted time";
}

TEST(FrameTimerTest, RunsInSecondsFromStart)
{
    vlo::test::FakeClock clock(1000);
    FrameTimer timer;
    timer.start();
    EXPECT_TRUE(timer.running);
    EXPECT_EQ(timer.seconds(), 0.0f);
    for (int frame = 1; frame <= 100; ++frame) {
        clock.advance(16);
        EXPECT_FLOAT_EQ(timer.seconds(), float(frame * 16) * 0.001f) << "frame " << frame;
    }
    // start again restarts the count.
    timer.start();
    clock.advance(250);
    EXPECT_FLOAT_EQ(timer.seconds(), 0.25f);
}

TEST(FrameTimerTest, StartThenPauseHoldsTheTimeBetweenThem)
{
    vlo::test::FakeClock clock(500);
    FrameTimer timer;
    timer.start();
    timer.pause();
    EXPECT_FALSE(timer.running);
    clock.advance(3000);
    EXPECT_EQ(timer.seconds(), 0.0f) << "a timer stopped at zero moved";

    timer.start();
    clock.advance(40);
    timer.pause();
    clock.advance(3000);
    EXPECT_FLOAT_EQ(timer.seconds(), 0.04f) << "pause must freeze the reported time";
}

TEST(FrameTimerTest, PausedIntervalIsLeftOut)
{
    vlo::test::FakeClock clock(10000);
    FrameTimer timer;
    timer.start();
    clock.advance(1500);
    timer.pause();
    clock.advance(2000); // two seconds paused
    EXPECT_FLOAT_EQ(timer.seconds(), 1.5f);
    timer.resume();
    EXPECT_TRUE(timer.running);
    EXPECT_EQ(timer.pauseTick, 0u);
    EXPECT_FLOAT_EQ(timer.seconds(), 1.5f) << "the pause was counted";
    clock.advance(500);
    EXPECT_FLOAT_EQ(timer.seconds(), 2.0f);
}

TEST(FrameTimerTest, SecondPauseKeepsTheFirstAndResumeWhileRunningChangesNothing)
{
    vlo::test::FakeClock clock(0);
    FrameTimer timer;
    timer.start();
    clock.advance(700);
    timer.pause();
    clock.advance(900);
    timer.pause(); // ignored: already paused
    EXPECT_EQ(timer.pauseTick, 700u);
    EXPECT_FLOAT_EQ(timer.seconds(), 0.7f);

    timer.resume();
    const uint32_t startAfterResume = timer.startTick;
    clock.advance(300);
    timer.resume(); // ignored: already running
    EXPECT_EQ(timer.startTick, startAfterResume) << "resume on a running timer moved its start";
    EXPECT_FLOAT_EQ(timer.seconds(), 1.0f);
}

TEST(FrameTimerTest, RestartFromZeroIsStartThenResume)
{
    vlo::test::FakeClock clock(42);
    FrameTimer timer;
    timer.start();
    clock.advance(800);
    timer.pause();
    clock.advance(100);
    timer.start();
    timer.resume();
    EXPECT_EQ(timer.seconds(), 0.0f);
    clock.advance(10);
    EXPECT_FLOAT_EQ(timer.seconds(), 0.01f);
}

TEST(FrameTimerTest, TickCounterWrapWhileRunning)
{
    // Started 1.5 s before the 32-bit tick count wraps to zero.
    vlo::test::FakeClock clock(0xFFFFFFFFu - 1499u);
    FrameTimer timer;
    timer.start();
    clock.advance(1000);
    EXPECT_FLOAT_EQ(timer.seconds(), 1.0f);
    clock.advance(1000); // past the wrap: the tick count is now 500
    EXPECT_EQ(clock.now(), 500u);
    EXPECT_FLOAT_EQ(timer.seconds(), 2.0f) << "elapsed time lost at the wrap";

    // A pause across the wrap is left out as well.
    FrameTimer paused;
    clock.set(0xFFFFFFFFu - 99u);
    paused.start();
    clock.advance(50);
    paused.pause();
    clock.advance(200); // wraps while paused
    paused.resume();
    clock.advance(50);
    EXPECT_FLOAT_EQ(paused.seconds(), 0.1f);
}

} // namespace
