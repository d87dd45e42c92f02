#include <gtest/gtest.h>

#include <cmath>

#include "Instruments.h"

namespace vlo::demo {
namespace {

// Pitch estimate from rising zero crossings of one channel over a window.
double crossingFrequency(const std::vector<float>& s, size_t from, size_t to)
{
    int crossings = 0;
    size_t first = 0, last = 0;
    for (size_t i = from + 1; i < to; ++i) {
        if (s[i - 1] < 0.0f && s[i] >= 0.0f) {
            if (crossings == 0) {
                first = i;
            }
            last = i;
            ++crossings;
        }
    }
    return crossings > 1 ? (crossings - 1) * static_cast<double>(kSampleRate) / (last - first) : 0.0;
}

// Pitch estimate from the lag of the strongest autocorrelation in a range
// of periods; robust for sounds rich in harmonics.
double correlationFrequency(const std::vector<float>& s, size_t from, size_t to, int minLag, int maxLag)
{
    double best = -1e30;
    int bestLag = minLag;
    for (int lag = minLag; lag <= maxLag; ++lag) {
        double sum = 0.0;
        for (size_t i = from; i + lag < to; ++i) {
            sum += s[i] * s[i + lag];
        }
        if (sum > best) {
            best = sum;
            bestLag = lag;
        }
    }
    return static_cast<double>(kSampleRate) / bestLag;
}

double energy(const std::vector<float>& s, size_t from, size_t to)
{
    double e = 0.0;
    for (size_t i = from; i < to && i < s.size(); ++i) {
        e += s[i] * s[i];
    }
    return e;
}

TEST(InstrumentsTest, NoteFrequencyFollowsEqualTemperament)
{
    EXPECT_DOUBLE_EQ(noteFrequency(69.0f), 440.0);
    EXPECT_NEAR(noteFrequency(60.0f), 261.6256, 1e-3);
    EXPECT_NEAR(noteFrequency(81.0f), 880.0, 1e-9);
}

TEST(InstrumentsTest, PanIsEqualPower)
{
    float l, r;
    panGains(0.0f, l, r);
    EXPECT_NEAR(l, r, 1e-6f);
    EXPECT_NEAR(l * l + r * r, 1.0f, 1e-5f);
    panGains(-1.0f, l, r);
    EXPECT_NEAR(r, 0.0f, 1e-6f);
    panGains(5.0f, l, r);
    EXPECT_NEAR(l, 0.0f, 1e-6f) << "pan beyond 1 is held at hard right";
}

TEST(InstrumentsTest, LeadAndBassSoundAtTheirPitch)
{
    StereoBuffer out(kSampleRate);
    addLeadNote(out, Note{Part::Lead, 0.0, 0.8, 69.0f, 1.0f, 0.0f});
    EXPECT_NEAR(crossingFrequency(out.left, 4410, 13230), 440.0, 4.0);

    StereoBuffer bass(kSampleRate);
    addBassNote(bass, Note{Part::Bass, 0.0, 0.8, 45.0f, 1.0f, 0.0f});
    EXPECT_NEAR(crossingFrequency(bass.left, 4410, 30000), 110.0, 2.0);
}

TEST(InstrumentsTest, PluckRingsAtItsPitchAndDiesAway)
{
    StereoBuffer out(2 * kSampleRate);
    addPluckNote(out, Note{Part::Pluck, 0.0, 1.0, 57.0f, 1.0f, 0.0f}, 3);
    EXPECT_NEAR(correlationFrequency(out.left, 2000, 12000, 150, 260), 220.0, 3.0);
    double early = energy(out.left, 0, 4410);
    double late = energy(out.left, 30870, 35280);
    EXPECT_GT(early, late * 100.0) << "60 dB of decay over the ring time";
    EXPECT_EQ(energy(out.left, 44200, 2 * kSampleRate), 0.0) << "silent after its ring time";
}

TEST(InstrumentsTest, NotesStartOnTimeAndStayInsideTheBuffer)
{
    StereoBuffer out(kSampleRate / 2);
    Note pad{Part::Pad, 0.25, 10.0, 60.0f, 1.0f, 0.0f}; // runs far past the end
    addPadNote(out, pad);
    EXPECT_EQ(energy(out.left, 0, kSampleRate / 4), 0.0) << "nothing before the note";
    EXPECT_GT(energy(out.left, kSampleRate / 4, kSampleRate / 2), 0.0);

    StereoBuffer late(100);
    addKick(late, Note{Part::Kick, 5.0, 0.0, 0.0f, 1.0f, 0.0f});
    addShaker(late, Note{Part::Shaker, -1.0, 0.0, 0.0f, 1.0f, 0.0f}, 1);
    EXPECT_EQ(energy(late.left, 0, 100), 0.0) << "notes wholly outside the buffer add nothing";
}

TEST(InstrumentsTest, KickIsShortAndShakerPans)
{
    StereoBuffer out(kSampleRate);
    addKick(out, Note{Part::Kick, 0.0, 0.0, 0.0f, 1.0f, 0.0f});
    EXPECT_GT(energy(out.left, 0, 4410), 50.0 * energy(out.left, 13230, 17640));
    StereoBuffer shaker(kSampleRate / 4);
    addShaker(shaker, Note{Part::Shaker, 0.0, 0.0, 0.0f, 1.0f, 0.8f}, 9);
    EXPECT_GT(energy(shaker.right, 0, shaker.frames()), 2.0 * energy(shaker.left, 0, shaker.frames()));
}

} // namespace
} // namespace vlo::demo
