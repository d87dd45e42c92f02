#include "Instruments.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "Rng.h"
#include "Wavetable.h"

namespace vlo::demo {

namespace {

const double kTwoPi = 6.283185307179586;

// First and one-past-last frame of a sound starting at `start` seconds and
// lasting `length` seconds, clipped to the buffer.
void frameSpan(const StereoBuffer& out, double start, double length, size_t& first, size_t& last)
{
    double s = std::max(0.0, start) * kSampleRate;
    double e = std::max(0.0, start + length) * kSampleRate;
    first = std::min(out.frames(), static_cast<size_t>(s));
    last = std::min(out.frames(), static_cast<size_t>(e));
}

// Attack-sustain-release envelope: rises over `attack`, holds until the
// note's end, then falls over `release`. t in seconds from the note's start.
float envelope(double t, double duration, double attack, double release)
{
    double level = attack > 0.0 ? std::min(1.0, t / attack) : 1.0;
    // A smoothstep rise sounds softer than a straight line.
    level = level * level * (3.0 - 2.0 * level);
    if (t > duration) {
        double r = 1.0 - (t - duration) / release;
        level *= r > 0.0 ? r * r : 0.0;
    }
    return static_cast<float>(level);
}

} // namespace

double noteFrequency(float pitch)
{
    return 440.0 * std::pow(2.0, (pitch - 69.0) / 12.0);
}

void panGains(float pan, float& left, float& right)
{
    float p = std::min(1.0f, std::max(-1.0f, pan));
    double angle = (p + 1.0) * 0.25 * 3.141592653589793;
    left = static_cast<float>(std::cos(angle));
    right = static_cast<float>(std::sin(angle));
}

void addPadNote(StereoBuffer& out, const Note& note)
{
    const double attack = 0.9;
    const double release = 1.6;
    size_t first, last;
    frameSpan(out, note.start, note.duration + release, first, last);
    double f = noteFrequency(note.pitch);
    const Wavetable& saw = Wavetable::softSaw();
    const Wavetable& sine = Wavetable::sine();
    // Detuned copies spread across the stereo field.
    const double detune[3] = {0.9965, 1.0, 1.0037};
    const float pans[3] = {-0.6f, 0.0f, 0.6f};
    float gl[3], gr[3];
    std::vector<Oscillator> voices;
    for (int v = 0; v < 3; ++v) {
        panGains(std::min(1.0f, std::max(-1.0f, pans[v] + note.pan)), gl[v], gr[v]);
        voices.emplace_back(f * detune[v], 0.31 * v, kSampleRate);
    }
    Oscillator body(f, 0.0, kSampleRate);
    float l0, r0;
    panGains(note.pan, l0, r0);
    for (size_t i = first; i < last; ++i) {
        double t = static_cast<double>(i) / kSampleRate - note.start;
        float env = envelope(t, note.duration, attack, release) * note.velocity;
        float left = 0.0f, right = 0.0f;
        for (int v = 0; v < 3; ++v) {
            float s = voices[v].next(saw);
            left += s * gl[v];
            right += s * gr[v];
        }
        float b = body.next(sine) * 0.8f;
        out.left[i] += (left * 0.33f + b * l0) * env;
        out.right[i] += (right * 0.33f + b * r0) * env;
    }
}

void addPluckNote(StereoBuffer& out, const Note& note, uint32_t seed)
{
    double f = noteFrequency(note.pitch);
    const double ring = std::max(0.6, note.duration);
    size_t first, last;
    frameSpan(out, note.start, ring, first, last);
    if (first >= last) {
        return;
    }
    size_t period = std::max<size_t>(2, static_cast<size_t>(kSampleRate / f + 0.5));
    std::vector<float> line(period);
    Rng rng(seed * 2654435761u + 1);
    // Low-passed noise gives a soft, round attack rather than a bright twang.
    float previous = 0.0f;
    for (float& s : line) {
        float n = rng.range(-1.0f, 1.0f);
        previous = previous * 0.5f + n * 0.5f;
        s = previous;
    }
    // Loss per pass chosen so that the string falls by 60 dB over `ring`.
    double passes = ring * f;
    float loss = static_cast<float>(std::pow(0.001, 1.0 / passes));
    float l, r;
    panGains(note.pan, l, r);
    size_t index = 0;
    for (size_t i = first; i < last; ++i) {
        size_t next = index + 1 == period ? 0 : index + 1;
        float s = line[index];
        line[index] = (s + line[next]) * 0.5f * loss;
        index = next;
        double t = static_cast<double>(i - first) / kSampleRate;
        float fade = t > ring - 0.05 ? static_cast<float>(std::max(0.0, (ring - t) / 0.05)) : 1.0f;
        float v = s * note.velocity * fade;
        out.left[i] += v * l;
        out.right[i] += v * r;
    }
}

void addLeadNote(StereoBuffer& out, const Note& note)
{
    const double release = 0.35;
    size_t first, last;
    frameSpan(out, note.start, note.duration + release, first, last);
    double f = noteFrequency(note.pitch);
    const Wavetable& sine = Wavetable::sine();
    float l, r;
    panGains(note.pan, l, r);
    double phase = 0.0;
    for (size_t i = first; i < last; ++i) {
        double t = static_cast<double>(i) / kSampleRate - note.start;
        // Vibrato creeps in after the note has settled.
        double depth = std::min(1.0, std::max(0.0, (t - 0.25) / 0.4)) * 0.004;
        phase += f * (1.0 + depth * std::sin(kTwoPi * 5.2 * t)) / kSampleRate;
        float s = sine.at(phase) + 0.22f * sine.at(phase * 2.0) + 0.08f * sine.at(phase * 3.0);
        float env = envelope(t, note.duration, 0.07, release) * note.velocity;
        out.left[i] += s * env * l;
        out.right[i] += s * env * r;
    }
}

void addBassNote(StereoBuffer& out, const Note& note)
{
    const double release = 0.25;
    size_t first, last;
    frameSpan(out, note.start, note.duration + release, first, last);
    double f = noteFrequency(note.pitch);
    const Wavetable& sine = Wavetable::sine();
    Oscillator fundamental(f, 0.0, kSampleRate);
    Oscillator octave(2.0 * f, 0.0, kSampleRate);
    for (size_t i = first; i < last; ++i) {
        double t = static_cast<double>(i) / kSampleRate - note.start;
        float s = fundamental.next(sine) + 0.3f * octave.next(sine);
        s = std::tanh(s * 1.4f) / 1.1f;
        float env = envelope(t, note.duration, 0.02, release) * note.velocity;
        // A slight decay over long notes keeps the bass from droning.
        env *= static_cast<float>(0.7 + 0.3 * std::exp(-t * 1.5));
        out.left[i] += s * env;
        out.right[i] += s * env;
    }
}

void addKick(StereoBuffer& out, const Note& note)
{
    const double length = 0.45;
    size_t first, last;
    frameSpan(out, note.start, length, first, last);
    double phase = 0.0;
    for (size_t i = first; i < last; ++i) {
        double t = static_cast<double>(i - first) / kSampleRate;
        double f = 45.0 + 65.0 * std::exp(-t * 30.0);
        phase += f / kSampleRate;
        float env = static_cast<float>(std::exp(-t * 9.0) * std::min(1.0, t / 0.002));
        float s = static_cast<float>(std::sin(kTwoPi * phase)) * env * note.velocity;
        out.left[i] += s;
        out.right[i] += s;
    }
}

void addShaker(StereoBuffer& out, const Note& note, uint32_t seed)
{
    const double length = 0.09;
    size_t first, last;
    frameSpan(out, note.start, length, first, last);
    Rng rng(seed * 40503u + 7);
    float l, r;
    panGains(note.pan, l, r);
    float previous = 0.0f;
    for (size_t i = first; i < last; ++i) {
        double t = static_cast<double>(i - first) / kSampleRate;
        float n = rng.range(-1.0f, 1.0f);
        // First difference: a simple high-pass for a bright, airy grain.
        float s = n - previous;
        previous = n;
        float env = static_cast<float>(std::min(1.0, t / 0.008) * std::exp(-t * 45.0)) * note.velocity;
        out.left[i] += s * env * l;
        out.right[i] += s * env * r;
    }
}

} // namespace vlo::demo
