#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "StereoBuffer.h"
#include "Wavetable.h"

namespace vlo::demo {
namespace {

TEST(WavetableTest, SineMatchesTheFunction)
{
    const Wavetable& s = Wavetable::sine();
    for (double phase : {0.0, 0.125, 0.25, 0.6, 0.99}) {
        EXPECT_NEAR(s.at(phase), std::sin(6.283185307 * phase), 1e-5) << "phase " << phase;
    }
    EXPECT_NEAR(s.at(3.25), 1.0, 1e-5) << "whole cycles are ignored";
    EXPECT_NEAR(s.at(-0.25), -1.0, 1e-5) << "negative phases wrap";
}

TEST(WavetableTest, SoftSawIsNormalisedAndFalling)
{
    const Wavetable& saw = Wavetable::softSaw();
    float peak = 0.0f;
    for (int i = 0; i < 1000; ++i) {
        peak = std::max(peak, std::fabs(saw.at(i / 1000.0)));
    }
    EXPECT_NEAR(peak, 1.0f, 0.01f);
    // The sum of sin(k x) / k falls across the middle of the cycle.
    EXPECT_GT(saw.at(0.3), saw.at(0.7));
}

TEST(WavetableTest, OscillatorAdvancesByFrequencyOverRate)
{
    const Wavetable& s = Wavetable::sine();
    Oscillator osc(kSampleRate / 4.0, 0.0, kSampleRate); // a quarter cycle per frame
    EXPECT_NEAR(osc.next(s), 0.0f, 1e-5f);
    EXPECT_NEAR(osc.next(s), 1.0f, 1e-5f);
    EXPECT_NEAR(osc.next(s), 0.0f, 1e-5f);
    EXPECT_NEAR(osc.next(s), -1.0f, 1e-5f);
    EXPECT_NEAR(osc.next(s), 0.0f, 1e-5f) << "wrapped to the next cycle";
}

} // namespace
} // namespace vlo::demo
