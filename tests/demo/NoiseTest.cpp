#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "Noise.h"
#include "Rng.h"

namespace vlo::demo {
namespace {

TEST(NoiseTest, StaysInRangeAndIsSmooth)
{
    Noise n(42);
    float previous = n.at(0.0f, 0.0f);
    float lo = 1.0f, hi = 0.0f;
    for (int i = 1; i < 5000; ++i) {
        float x = i * 0.01f;
        float v = n.fractal(x, x * 0.5f, 4);
        ASSERT_GE(v, 0.0f);
        ASSERT_LE(v, 1.0f);
        lo = std::min(lo, v);
        hi = std::max(hi, v);
        float w = n.at(x, 0.0f);
        EXPECT_LT(std::fabs(w - previous), 0.05f) << "a step of 0.01 moves the noise little, at x=" << x;
        previous = w;
    }
    EXPECT_GT(hi - lo, 0.3f) << "the noise does vary";
}

TEST(NoiseTest, SameSeedSameValuesOtherSeedOthers)
{
    Noise a(7), b(7), c(8);
    int differ = 0;
    for (int i = 0; i < 50; ++i) {
        float x = i * 0.37f, y = i * 0.11f;
        EXPECT_EQ(a.at(x, y), b.at(x, y));
        differ += a.at(x, y) != c.at(x, y);
    }
    EXPECT_GT(differ, 40);
}

TEST(NoiseTest, ContinuousAcrossLatticeLines)
{
    Noise n(3);
    for (float x : {1.0f, 2.0f, 7.0f, -3.0f}) {
        EXPECT_NEAR(n.at(x - 1e-3f, 0.5f), n.at(x + 1e-3f, 0.5f), 5e-3f) << "across x=" << x;
        EXPECT_NEAR(n.at(0.5f, x - 1e-3f), n.at(0.5f, x + 1e-3f), 5e-3f) << "across y=" << x;
    }
}

TEST(RngTest, RangesAndRepeatability)
{
    Rng a(99), b(99);
    for (int i = 0; i < 1000; ++i) {
        float u = a.uniform();
        ASSERT_GE(u, 0.0f);
        ASSERT_LT(u, 1.0f);
        int k = a.below(7);
        ASSERT_GE(k, 0);
        ASSERT_LT(k, 7);
        float r = a.range(-2.0f, 3.0f);
        ASSERT_GE(r, -2.0f);
        ASSERT_LT(r, 3.0f);
        b.uniform();
        b.below(7);
        b.range(-2.0f, 3.0f);
    }
    EXPECT_EQ(a.next(), b.next());
    Rng zero(0);
    EXPECT_NE(zero.next(), 0u) << "a zero seed must not stall xorshift";
}

} // namespace
} // namespace vlo::demo
