#include "Composer.h"

#include <algorithm>
#include <cstdlib>

#include "Rng.h"

namespace vlo::demo {

namespace {

int floorDiv(int a, int b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

bool inRange(int bar, int from, int to)
{
    return bar >= from && bar < to;
}

// Rhythms for one bar of melody, in beats; a negative length is a rest.
const std::vector<std::vector<double>>& melodyRhythms()
{
    static const std::vector<std::vector<double>> rhythms = {
        {1.0, 0.5, 0.5, 2.0},
        {1.5, 0.5, 1.0, 1.0},
        {-1.0, 1.0, 0.5, 0.5, 1.0},
        {2.0, 1.0, 1.0},
        {0.5, 0.5, 1.0, -0.5, 1.5},
        {3.0, -1.0},
    };
    return rhythms;
}

bool isChordTone(int step, int chordRoot)
{
    int d = ((step - chordRoot) % 7 + 7) % 7;
    return d == 0 || d == 2 || d == 4;
}

// The chord tone nearest to a step, preferring the one below on a tie.
int nearestChordTone(int step, int chordRoot)
{
    for (int distance = 0; distance < 4; ++distance) {
        if (isChordTone(step - distance, chordRoot)) {
            return step - distance;
        }
        if (isChordTone(step + distance, chordRoot)) {
            return step + distance;
        }
    }
    return step;
}

void addPad(Score& score, const TrackStyle& style, int bar, double barLength, int chord)
{
    // Close voicing under the melody: root, third, fifth (and seventh) from
    // the octave below the tonic, plus the root an octave up for shine.
    std::vector<int> steps = {chord - 7, chord - 5, chord - 3};
    if (style.sevenths) {
        steps.push_back(chord - 1);
    }
    steps.push_back(chord);
    bool last = bar == style.bars - 1;
    for (size_t i = 0; i < steps.size(); ++i) {
        Note n;
        n.part = Part::Pad;
        n.start = bar * barLength;
        n.duration = last ? barLength * 1.5 : barLength;
        n.pitch = scalePitch(style, steps[i]);
        n.velocity = i + 1 == steps.size() ? 0.35f : 0.55f;
        n.pan = (static_cast<float>(i) - 1.5f) * 0.15f;
        score.notes.push_back(n);
    }
}

void addBass(Score& score, const TrackStyle& style, int bar, double barLength, int chord)
{
    double beat = barLength / 4.0;
    float root = scalePitch(style, chord) - 24.0f;
    if (root < 33.0f) {
        root += 12.0f;
    }
    const double starts[3] = {0.0, 2.0, 3.5};
    const double lengths[3] = {1.8, 1.3, 0.45};
    for (int i = 0; i < 3; ++i) {
        Note n;
        n.part = Part::Bass;
        n.start = bar * barLength + starts[i] * beat;
        n.duration = lengths[i] * beat;
        // The pickup on beat 3.5 walks up to the fifth.
        n.pitch = i == 2 ? root + 7.0f : root;
        n.velocity = i == 0 ? 0.9f : 0.7f;
        score.notes.push_back(n);
    }
}

void addArpeggio(Score& score, const TrackStyle& style, int bar, double barLength, int chord)
{
    int perBar = style.arpSixteenths ? 16 : 8;
    double step = barLength / perBar;
    // Up and down through two octaves of the chord.
    const int shape[8] = {0, 2, 4, 7, 9, 7, 4, 2};
    for (int i = 0; i < perBar; ++i) {
        Note n;
        n.part = Part::Pluck;
        n.start = bar * barLength + i * step;
        n.duration = 1.4;
        n.pitch = scalePitch(style, chord + shape[i % 8]);
        n.velocity = (i % 4 == 0) ? 0.8f : 0.55f;
        n.pan = (i % 2 == 0) ? -0.35f : 0.35f;
        score.notes.push_back(n);
    }
}

void addDrums(Score& score, const TrackStyle& style, int bar, double barLength)
{
    double beat = barLength / 4.0;
    if (inRange(bar, style.drumsFrom, style.drumsTo)) {
        for (double at : {0.0, 2.0, 2.75}) {
            Note n;
            n.part = Part::Kick;
            n.start = bar * barLength + at * beat;
            n.velocity = at == 0.0 ? 1.0f : 0.7f;
            score.notes.push_back(n);
        }
    }
    if (inRange(bar, style.shakerFrom, style.shakerTo)) {
        for (int i = 0; i < 8; ++i) {
            Note n;
            n.part = Part::Shaker;
            n.start = bar * barLength + i * beat * 0.5;
            n.velocity = i % 2 == 1 ? 0.9f : 0.45f;
            n.pan = 0.4f;
            score.notes.push_back(n);
        }
    }
}

} // namespace

std::vector<int> majorScale()
{
    return {0, 2, 4, 5, 7, 9, 11};
}
std::vector<int> minorScale()
{
    return {0, 2, 3, 5, 7, 8, 10};
}
std::vector<int> dorianScale()
{
    return {0, 2, 3, 5, 7, 9, 10};
}

float scalePitch(const TrackStyle& style, int step)
{
    if (style.scale.size() != 7) {
        return static_cast<float>(style.tonic);
    }
    int octave = floorDiv(step, 7);
    int degree = step - octave * 7;
    return static_cast<float>(style.tonic + 12 * octave + style.scale[degree]);
}

Score compose(const TrackStyle& style)
{
    Score score;
    if (style.progression.empty() || style.scale.size() != 7 || style.bars <= 0 || style.tempo <= 0.0) {
        return score;
    }
    double barLength = 4.0 * 60.0 / style.tempo;
    double beat = barLength / 4.0;
    Rng rng(style.seed);

    int melodyStep = 7 + 4; // the fifth above the upper tonic
    std::vector<double> rhythm;
    for (int bar = 0; bar < style.bars; ++bar) {
        int chord = style.progression[bar % style.progression.size()];
        addPad(score, style, bar, barLength, chord);
        if (inRange(bar, style.bassFrom, style.bassTo)) {
            addBass(score, style, bar, barLength, chord);
        }
        if (inRange(bar, style.arpFrom, style.arpTo)) {
            addArpeggio(score, style, bar, barLength, chord);
        }
        addDrums(score, style, bar, barLength);

        if (!inRange(bar, style.melodyFrom, style.melodyTo)) {
            continue;
        }
        // A new rhythm every two bars, so each phrase states it twice.
        if ((bar - style.melodyFrom) % 2 == 0) {
            rhythm = melodyRhythms()[rng.below(static_cast<int>(melodyRhythms().size()))];
        }
        double at = 0.0;
        bool phraseEnd = bar + 1 == style.melodyTo;
        for (size_t i = 0; i < rhythm.size(); ++i) {
            double length = std::abs(rhythm[i]);
            if (rhythm[i] > 0.0) {
                static const int moves[] = {-2, -1, -1, 0, 1, 1, 2, -3, 3};
                melodyStep += moves[rng.below(9)];
                melodyStep = std::max(5, std::min(14, melodyStep));
                bool strong = at == 0.0 || at == 2.0 || i + 1 == rhythm.size();
                if (strong) {
                    melodyStep = nearestChordTone(melodyStep, chord + 7);
                }
                if (phraseEnd && i + 1 == rhythm.size()) {
                    melodyStep = 7; // come home to the tonic
                }
                Note n;
                n.part = Part::Lead;
                n.start = bar * barLength + at * beat;
                n.duration = length * beat * 0.92;
                n.pitch = scalePitch(style, melodyStep);
                n.velocity = strong ? 0.85f : 0.7f;
                n.pan = -0.15f;
                score.notes.push_back(n);
            }
            at += length;
        }
    }
    score.length = style.bars * barLength + 3.0;
    score.beat = beat;
    return score;
}

} // namespace vlo::demo
