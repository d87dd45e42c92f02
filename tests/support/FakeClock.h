#pragma once
// A tick source under the test's control: GetTickCount returns now() until
// the test moves it. Restores the real clock when it goes out of scope.
//
//   vlo::test::FakeClock clock(1000);   // GetTickCount() == 1000
//   clock.advance(16);                  // one frame later: 1016

#include <cstdint>

#include "platform/Clock.h"

namespace vlo {
namespace test {

class FakeClock {
public:
    explicit FakeClock(uint32_t start = 0)
    {
        ticks() = start;
        setTickSource(&FakeClock::read);
    }
    ~FakeClock() { setTickSource(nullptr); }
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    void set(uint32_t value) { ticks() = value; }
    // Unsigned: advancing past 2^32 - 1 wraps like the real tick count.
    void advance(uint32_t milliseconds) { ticks() += milliseconds; }
    uint32_t now() const { return ticks(); }

private:
    static uint32_t& ticks()
    {
        static uint32_t value = 0;
        return value;
    }
    static uint32_t read() { return ticks(); }
};

} // namespace test
} // namespace vlo
