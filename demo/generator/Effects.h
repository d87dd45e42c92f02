#pragma once
#include "StereoBuffer.h"

namespace vlo::demo {

// One-pole low-pass at cutoffHz on both channels, in place.
void lowPass(StereoBuffer& buffer, float cutoffHz);

// Echoes that bounce between the channels: each repeat `delaySeconds` after
// the one before, `feedback` times as loud; `mix` is the echoes' level.
void pingPongDelay(StereoBuffer& buffer, double delaySeconds, float feedback, float mix);

// A Freeverb-style room (eight comb filters and four all-pass filters per
// channel): adds the reverberation of `send` into `out` at level `wet`.
// roomSize and damping lie in 0..1. Both buffers have the same length.
void addReverb(const StereoBuffer& send, StereoBuffer& out, float wet, float roomSize, float damping);

} // namespace vlo::demo
