// GetTickCount and the replaceable tick source.

#include <chrono>

#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "platform/Win32.h"
#include "support/FakeClock.h"

namespace {

uint32_t fixedTicks()
{
    return 4242u;
}

TEST(ClockTest, ReplacedSourceIsReadAndNullRestoresTheRealClock)
{
    vlo::setTickSource(fixedTicks);
    EXPECT_EQ(GetTickCount(), 4242u) << "the replaced source is not what GetTickCount reads";
    EXPECT_EQ(GetTickCount(), 4242u);

    vlo::setTickSource(nullptr);
    // The real clock moves: poll it until it does (a few milliseconds).
    const DWORD first = GetTickCount();
    DWORD later = first;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (later == first && std::chrono::steady_clock::now() < deadline)
        later = GetTickCount();
    EXPECT_NE(later, first) << "the real clock did not advance within 2 s";
    EXPECT_LT(later - first, 1000u) << "the real clock jumped from " << first << " to " << later;
}

TEST(ClockTest, FakeClockAdvancesAndWraps)
{
    vlo::test::FakeClock clock(0xFFFFFFF0u);
    EXPECT_EQ(GetTickCount(), 0xFFFFFFF0u);
    clock.advance(0x20);
    EXPECT_EQ(GetTickCount(), 0x10u) << "32-bit tick counts wrap to 0";
}

} // namespace
