#include "Wavetable.h"

#include <cmath>

namespace vlo::demo {

namespace {

const double kTwoPi = 6.283185307179586;

} // namespace

Wavetable::Wavetable(int harmonics)
    : samples(kSize + 1)
{
    double peak = 0.0;
    for (int i = 0; i < kSize; ++i) {
        double t = static_cast<double>(i) / kSize;
        double v = 0.0;
        for (int k = 1; k <= harmonics; ++k) {
            v += std::sin(kTwoPi * k * t) / k;
        }
        samples[i] = static_cast<float>(v);
        peak = std::fmax(peak, std::fabs(v));
    }
    for (int i = 0; i < kSize; ++i) {
        samples[i] = static_cast<float>(samples[i] / peak);
    }
    samples[kSize] = samples[0]; // guard for interpolation
}

const Wavetable& Wavetable::sine()
{
    static const Wavetable table(1);
    return table;
}

const Wavetable& Wavetable::softSaw()
{
    static const Wavetable table(8);
    return table;
}

float Wavetable::at(double phase) const
{
    double f = (phase - std::floor(phase)) * kSize;
    int i = static_cast<int>(f);
    if (i >= kSize) {
        i = kSize - 1;
    }
    float t = static_cast<float>(f - i);
    return samples[i] + (samples[i + 1] - samples[i]) * t;
}

} // namespace vlo::demo
