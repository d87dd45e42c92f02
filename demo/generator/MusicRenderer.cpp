#include "MusicRenderer.h"

#include <algorithm>
#include <cmath>

#include "Effects.h"
#include "Instruments.h"

namespace vlo::demo {

namespace {

const double kFadeIn = 1.5;
const double kFadeOut = 4.0;
const float kPeak = 0.89f;

void mixInto(StereoBuffer& out, const StereoBuffer& bus, float gain)
{
    for (size_t i = 0; i < out.frames(); ++i) {
        out.left[i] += bus.left[i] * gain;
        out.right[i] += bus.right[i] * gain;
    }
}

} // namespace

StereoBuffer renderScore(const Score& score, uint32_t seed)
{
    size_t frames = static_cast<size_t>(std::max(0.0, score.length) * kSampleRate);
    StereoBuffer pad(frames), pluck(frames), lead(frames), bass(frames), drums(frames), shaker(frames);
    uint32_t noteIndex = 0;
    for (const Note& note : score.notes) {
        uint32_t noteSeed = seed * 1000003u + noteIndex++;
        switch (note.part) {
        case Part::Pad:
            addPadNote(pad, note);
            break;
        case Part::Pluck:
            addPluckNote(pluck, note, noteSeed);
            break;
        case Part::Lead:
            addLeadNote(lead, note);
            break;
        case Part::Bass:
            addBassNote(bass, note);
            break;
        case Part::Kick:
            addKick(drums, note);
            break;
        case Part::Shaker:
            addShaker(shaker, note, noteSeed);
            break;
        }
    }
    lowPass(pad, 1500.0f);
    lowPass(shaker, 9000.0f);
    pingPongDelay(pluck, score.beat * 0.75, 0.35f, 0.3f);

    StereoBuffer out(frames);
    mixInto(out, pad, 0.45f);
    mixInto(out, pluck, 0.42f);
    mixInto(out, lead, 0.20f);
    mixInto(out, bass, 0.32f);
    mixInto(out, drums, 0.45f);
    mixInto(out, shaker, 0.05f);

    // The room: bass and kick stay dry so the low end keeps its shape.
    StereoBuffer send(frames);
    mixInto(send, pad, 0.3f);
    mixInto(send, pluck, 0.5f);
    mixInto(send, lead, 0.45f);
    mixInto(send, shaker, 0.1f);
    addReverb(send, out, 1.0f, 0.82f, 0.45f);

    float peak = 0.0f;
    for (size_t i = 0; i < frames; ++i) {
        double t = static_cast<double>(i) / kSampleRate;
        double fade = 1.0;
        if (t < kFadeIn) {
            fade = 0.5 - 0.5 * std::cos(3.141592653589793 * t / kFadeIn);
        }
        double left = score.length - t;
        if (left < kFadeOut) {
            fade *= 0.5 - 0.5 * std::cos(3.141592653589793 * std::max(0.0, left) / kFadeOut);
        }
        out.left[i] *= static_cast<float>(fade);
        out.right[i] *= static_cast<float>(fade);
        peak = std::max(peak, std::max(std::fabs(out.left[i]), std::fabs(out.right[i])));
    }
    if (peak > 0.0f) {
        float gain = kPeak / peak;
        for (size_t i = 0; i < frames; ++i) {
            out.left[i] *= gain;
            out.right[i] *= gain;
        }
    }
    return out;
}

} // namespace vlo::demo
