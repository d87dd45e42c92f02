#pragma once
#include <cstdint>

#include "Score.h"
#include "StereoBuffer.h"

namespace vlo::demo {

// Plays a score into stereo audio: each part on its own bus with its own
// treatment (the pad low-passed, the plucks echoed, a shared room reverb),
// mixed, faded in over 1.5 s and out over the last 4 s, and scaled so that
// the loudest sample peaks at 0.89 (-1 dB). `seed` varies the noise of the
// plucks and shakers; the same score and seed always give the same samples.
StereoBuffer renderScore(const Score& score, uint32_t seed);

} // namespace vlo::demo
