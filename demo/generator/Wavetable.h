#pragma once
#include <vector>

namespace vlo::demo {

// One cycle of a waveform, read with linear interpolation; far cheaper than
// summing harmonics per sample. The soft saw holds only the first eight
// harmonics, which keeps pad notes warm and free of aliasing at the pitches
// the demo uses.
class Wavetable {
public:
    static const Wavetable& sine();
    static const Wavetable& softSaw();

    // phase in cycles; any real value (only its fraction counts).
    float at(double phase) const;

    // Faster read for a phase already within [0, 1), as kept by Oscillator.
    float atUnit(double phase) const
    {
        double f = phase * kSize;
        int i = static_cast<int>(f);
        if (i >= kSize) {
            i = kSize - 1;
        }
        float t = static_cast<float>(f - i);
        return samples[i] + (samples[i + 1] - samples[i]) * t;
    }

    static const int kSize = 4096;

private:
    explicit Wavetable(int harmonics);

    std::vector<float> samples;
};

// A running phase for one voice: advances by frequency / kSampleRate per
// frame and wraps at 1, so no per-sample floor or time product is needed.
class Oscillator {
public:
    Oscillator(double frequency, double startPhase, int sampleRate)
        : phase(startPhase - static_cast<long>(startPhase))
        , step(frequency / sampleRate)
    {
    }

    float next(const Wavetable& table)
    {
        float v = table.atUnit(phase);
        phase += step;
        if (phase >= 1.0) {
            phase -= 1.0;
        }
        return v;
    }

private:
    double phase;
    double step;
};

} // namespace vlo::demo
