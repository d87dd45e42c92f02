#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "Composer.h"
#include "ShowPlan.h"

namespace vlo::demo {
namespace {

TrackStyle simpleStyle()
{
    TrackStyle s;
    s.seed = 5;
    s.tempo = 120.0; // bar = 2 s
    s.tonic = 60;
    s.scale = majorScale();
    s.progression = {0, 3, 4, 0};
    s.bars = 8;
    s.arpFrom = 2, s.arpTo = 4;
    s.melodyFrom = 4, s.melodyTo = 8;
    s.bassFrom = 1, s.bassTo = 8;
    s.drumsFrom = 6, s.drumsTo = 7;
    s.shakerFrom = 0, s.shakerTo = 0;
    return s;
}

bool inScale(const TrackStyle& s, float pitch)
{
    int offset = ((static_cast<int>(std::lround(pitch)) - s.tonic) % 12 + 12) % 12;
    return std::find(s.scale.begin(), s.scale.end(), offset) != s.scale.end();
}

TEST(ComposerTest, ScalePitchWrapsOctaves)
{
    TrackStyle s = simpleStyle();
    EXPECT_FLOAT_EQ(scalePitch(s, 0), 60.0f);
    EXPECT_FLOAT_EQ(scalePitch(s, 2), 64.0f);
    EXPECT_FLOAT_EQ(scalePitch(s, 7), 72.0f);
    EXPECT_FLOAT_EQ(scalePitch(s, -1), 59.0f) << "the leading note below";
    EXPECT_FLOAT_EQ(scalePitch(s, -7), 48.0f);
    EXPECT_FLOAT_EQ(scalePitch(s, -8), 47.0f);
}

TEST(ComposerTest, LengthIsTheBarsPlusTheTail)
{
    Score score = compose(simpleStyle());
    EXPECT_DOUBLE_EQ(score.length, 8 * 2.0 + 3.0);
    EXPECT_DOUBLE_EQ(score.beat, 0.5);
    for (const Note& n : score.notes) {
        EXPECT_GE(n.start, 0.0);
        EXPECT_LT(n.start, 16.0) << "notes start inside the bars";
    }
}

TEST(ComposerTest, EveryPitchedNoteIsInTheKey)
{
    TrackStyle s = simpleStyle();
    for (const Note& n : compose(s).notes) {
        if (n.part == Part::Kick || n.part == Part::Shaker) {
            continue;
        }
        EXPECT_TRUE(inScale(s, n.pitch)) << "pitch " << n.pitch << " at " << n.start << " s";
    }
}

TEST(ComposerTest, PartsPlayOnlyInTheirBars)
{
    TrackStyle s = simpleStyle();
    auto barOf = [](const Note& n) { return static_cast<int>(n.start / 2.0 + 1e-9); };
    bool sawArp = false, sawLead = false, sawKick = false;
    for (const Note& n : compose(s).notes) {
        int bar = barOf(n);
        switch (n.part) {
        case Part::Pluck:
            EXPECT_TRUE(bar >= 2 && bar < 4) << "pluck in bar " << bar;
            sawArp = true;
            break;
        case Part::Lead:
            EXPECT_TRUE(bar >= 4 && bar < 8) << "lead in bar " << bar;
            sawLead = true;
            break;
        case Part::Bass:
            EXPECT_GE(bar, 1) << "bass in bar " << bar;
            break;
        case Part::Kick:
            EXPECT_EQ(bar, 6);
            sawKick = true;
            break;
        case Part::Shaker:
            ADD_FAILURE() << "no shaker was asked for";
            break;
        case Part::Pad:
            break;
        }
    }
    EXPECT_TRUE(sawArp && sawLead && sawKick);
}

TEST(ComposerTest, MelodyLandsOnChordTonesOnStrongBeatsAndEndsOnTheTonic)
{
    TrackStyle s = simpleStyle();
    std::vector<Note> lead;
    for (const Note& n : compose(s).notes) {
        if (n.part == Part::Lead) {
            lead.push_back(n);
        }
    }
    ASSERT_FALSE(lead.empty());
    for (const Note& n : lead) {
        double beatInBar = std::fmod(n.start, 2.0) / 0.5;
        if (std::fabs(beatInBar) < 1e-9 || std::fabs(beatInBar - 2.0) < 1e-9) {
            int bar = static_cast<int>(n.start / 2.0 + 1e-9);
            int chord = s.progression[bar % s.progression.size()];
            std::vector<float> tones;
            for (int k : {0, 2, 4}) {
                for (int octave = -2; octave <= 3; ++octave) {
                    tones.push_back(scalePitch(s, chord + k + 7 * octave));
                }
            }
            EXPECT_NE(std::find(tones.begin(), tones.end(), n.pitch), tones.end())
                << "strong-beat note " << n.pitch << " at " << n.start << " s is not in chord degree " << chord;
        }
    }
    EXPECT_FLOAT_EQ(lead.back().pitch, scalePitch(s, 7)) << "the last phrase comes home";
}

TEST(ComposerTest, SameStyleSameScoreAndSeedsDiffer)
{
    TrackStyle s = simpleStyle();
    Score a = compose(s), b = compose(s);
    ASSERT_EQ(a.notes.size(), b.notes.size());
    for (size_t i = 0; i < a.notes.size(); ++i) {
        EXPECT_EQ(a.notes[i].pitch, b.notes[i].pitch);
        EXPECT_EQ(a.notes[i].start, b.notes[i].start);
    }
    s.seed = 6;
    Score c = compose(s);
    bool differs = false;
    for (size_t i = 0; i < std::min(a.notes.size(), c.notes.size()); ++i) {
        differs = differs || a.notes[i].pitch != c.notes[i].pitch || a.notes[i].start != c.notes[i].start;
    }
    EXPECT_TRUE(differs || a.notes.size() != c.notes.size()) << "another seed, another melody";
}

TEST(ComposerTest, BadStylesGiveAnEmptyScore)
{
    TrackStyle s = simpleStyle();
    s.progression.clear();
    EXPECT_TRUE(compose(s).notes.empty());
    s = simpleStyle();
    s.scale = {0, 2, 4};
    EXPECT_TRUE(compose(s).notes.empty());
    s = simpleStyle();
    s.tempo = 0.0;
    EXPECT_EQ(compose(s).length, 0.0);
}

TEST(ComposerTest, DemoTracksLastBetweenTwentyAndSixtySeconds)
{
    for (const TrackPlan& t : demoShowPlan().tracks) {
        double length = compose(t.style).length;
        EXPECT_GE(length, 20.0) << t.title;
        EXPECT_LE(length, 60.0) << t.title;
    }
}

} // namespace
} // namespace vlo::demo
