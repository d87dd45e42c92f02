#include <gtest/gtest.h>

#include <cmath>

#include "Effects.h"

namespace vlo::demo {
namespace {

StereoBuffer sine(double hz, size_t frames)
{
    StereoBuffer b(frames);
    for (size_t i = 0; i < frames; ++i) {
        b.left[i] = b.right[i] = static_cast<float>(std::sin(6.283185307 * hz * i / kSampleRate));
    }
    return b;
}

double rms(const std::vector<float>& s, size_t from, size_t to)
{
    double e = 0.0;
    for (size_t i = from; i < to; ++i) {
        e += s[i] * s[i];
    }
    return std::sqrt(e / (to - from));
}

TEST(EffectsTest, LowPassKeepsLowsAndCutsHighs)
{
    StereoBuffer low = sine(100.0, 22050), high = sine(10000.0, 22050);
    lowPass(low, 1000.0f);
    lowPass(high, 1000.0f);
    double lowLevel = rms(low.left, 4410, 22050);
    double highLevel = rms(high.right, 4410, 22050);
    EXPECT_GT(lowLevel, 0.69) << "a tenth of the cutoff passes almost whole (0.707 RMS)";
    EXPECT_LT(highLevel, 0.12) << "ten times the cutoff is cut by about 20 dB";
}

TEST(EffectsTest, PingPongEchoesAlternateSides)
{
    StereoBuffer b(10000);
    b.left[0] = 1.0f;
    pingPongDelay(b, 1000.0 / kSampleRate, 0.5f, 1.0f);
    // The impulse is mixed to mono and comes back on the left after one
    // delay, then on the right after two, each repeat half as loud.
    EXPECT_FLOAT_EQ(b.left[1000], 0.5f);
    EXPECT_FLOAT_EQ(b.right[1000], 0.0f);
    EXPECT_FLOAT_EQ(b.right[2000], 0.25f);
    EXPECT_FLOAT_EQ(b.left[2000], 0.0f);
    EXPECT_FLOAT_EQ(b.left[3000], 0.125f);
    EXPECT_FLOAT_EQ(b.left[1500], 0.0f);
}

TEST(EffectsTest, PingPongIgnoresDelaysLongerThanTheBuffer)
{
    StereoBuffer b(100);
    b.left[0] = 1.0f;
    pingPongDelay(b, 1.0, 0.5f, 1.0f);
    EXPECT_FLOAT_EQ(b.left[0], 1.0f);
    EXPECT_EQ(rms(b.left, 1, 100), 0.0);
}

TEST(EffectsTest, ReverbTailFollowsAnImpulseAndFades)
{
    StereoBuffer send(3 * kSampleRate), out(3 * kSampleRate);
    send.left[0] = send.right[0] = 1.0f;
    addReverb(send, out, 1.0f, 0.8f, 0.5f);
    EXPECT_EQ(rms(out.left, 0, 1000), 0.0) << "nothing before the shortest comb delay";
    double early = rms(out.left, 2000, 12000);
    double late = rms(out.left, 2 * kSampleRate, 2 * kSampleRate + 10000);
    EXPECT_GT(early, 0.0);
    EXPECT_LT(late, early * 0.5) << "the tail fades";
    // The two sides use different delays, so they differ.
    double difference = 0.0;
    for (size_t i = 0; i < 20000; ++i) {
        difference += std::fabs(out.left[i] - out.right[i]);
    }
    EXPECT_GT(difference, 0.0);

    StereoBuffer mismatched(10);
    addReverb(send, mismatched, 1.0f, 0.8f, 0.5f);
    EXPECT_EQ(rms(mismatched.left, 0, 10), 0.0) << "buffers of different length are left alone";
}

} // namespace
} // namespace vlo::demo
