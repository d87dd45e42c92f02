#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "Composer.h"
#include "MusicRenderer.h"

namespace vlo::demo {
namespace {

// A short but complete tune: every part plays.
TrackStyle shortTune()
{
    TrackStyle s;
    s.seed = 9;
    s.tempo = 120.0;
    s.tonic = 62;
    s.scale = minorScale();
    s.progression = {0, 5, 2, 6};
    s.bars = 4;
    s.arpFrom = 0, s.arpTo = 4;
    s.melodyFrom = 1, s.melodyTo = 4;
    s.bassFrom = 0, s.bassTo = 4;
    s.drumsFrom = 1, s.drumsTo = 3;
    s.shakerFrom = 1, s.shakerTo = 3;
    return s;
}

double rms(const std::vector<float>& s, size_t from, size_t to)
{
    double e = 0.0;
    for (size_t i = from; i < to; ++i) {
        e += s[i] * s[i];
    }
    return std::sqrt(e / (to - from));
}

class MusicRendererTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { audio = new StereoBuffer(renderScore(compose(shortTune()), 9)); }
    static void TearDownTestSuite()
    {
        delete audio;
        audio = nullptr;
    }
    static StereoBuffer* audio;
};

StereoBuffer* MusicRendererTest::audio = nullptr;

TEST_F(MusicRendererTest, LengthIsTheScoreLength)
{
    EXPECT_EQ(audio->frames(), static_cast<size_t>((4 * 2.0 + 3.0) * kSampleRate));
}

TEST_F(MusicRendererTest, PeaksAtMinusOneDecibelWithoutClippingOrNan)
{
    float peak = 0.0f;
    for (size_t i = 0; i < audio->frames(); ++i) {
        ASSERT_TRUE(std::isfinite(audio->left[i]) && std::isfinite(audio->right[i])) << "frame " << i;
        peak = std::max(peak, std::max(std::fabs(audio->left[i]), std::fabs(audio->right[i])));
    }
    EXPECT_NEAR(peak, 0.89f, 1e-4f);
}

TEST_F(MusicRendererTest, FadesInAndOut)
{
    size_t n = audio->frames();
    EXPECT_LT(std::fabs(audio->left[0]), 1e-6f) << "silent at the first sample";
    EXPECT_LT(std::fabs(audio->left[n - 1]), 1e-3f) << "silent at the last sample";
    double opening = rms(audio->left, 0, kSampleRate / 10);
    double middle = rms(audio->left, 3 * kSampleRate, 4 * kSampleRate);
    double closing = rms(audio->left, n - kSampleRate / 2, n);
    EXPECT_LT(opening, middle * 0.2);
    EXPECT_LT(closing, middle * 0.1);
    EXPECT_GT(middle, 0.05) << "the music is audible in the middle";
}

TEST_F(MusicRendererTest, IsStereoAndDeterministic)
{
    double difference = 0.0;
    for (size_t i = 0; i < audio->frames(); ++i) {
        difference += std::fabs(audio->left[i] - audio->right[i]);
    }
    EXPECT_GT(difference / audio->frames(), 1e-3) << "left and right should not be the same";
    StereoBuffer again = renderScore(compose(shortTune()), 9);
    EXPECT_EQ(again.left, audio->left);
    EXPECT_EQ(again.right, audio->right);
}

TEST(MusicRendererEmptyTest, EmptyScoreGivesSilence)
{
    Score empty;
    empty.length = 0.5;
    StereoBuffer b = renderScore(empty, 1);
    EXPECT_EQ(b.frames(), static_cast<size_t>(0.5 * kSampleRate));
    EXPECT_EQ(rms(b.left, 0, b.frames()), 0.0);
    EXPECT_EQ(renderScore(Score{}, 1).frames(), 0u);
}

} // namespace
} // namespace vlo::demo
