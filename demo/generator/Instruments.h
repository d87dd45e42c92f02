#pragma once
#include <cstdint>

#include "Score.h"
#include "StereoBuffer.h"

namespace vlo::demo {

// Each instrument adds one note into a buffer; notes that run past the
// buffer's end are cut there. Levels are before mixing: the renderer sets
// each part's gain.

// Three slightly detuned soft saws with a slow swell: the warm chord bed.
void addPadNote(StereoBuffer& out, const Note& note);

// A plucked string (Karplus-Strong): a burst of filtered noise that rings at
// the note's pitch and dies away. `seed` makes each pluck's noise its own.
void addPluckNote(StereoBuffer& out, const Note& note, uint32_t seed);

// A soft flute-like lead: sine with a little second and third harmonic and a
// delayed vibrato.
void addLeadNote(StereoBuffer& out, const Note& note);

// A round bass: sine plus octave, gently saturated.
void addBassNote(StereoBuffer& out, const Note& note);

// A soft kick: a sine falling from 110 to 45 Hz.
void addKick(StereoBuffer& out, const Note& note);

// A shaker: a short burst of bright noise.
void addShaker(StereoBuffer& out, const Note& note, uint32_t seed);

// Equal-power pan gains for pan -1..1.
void panGains(float pan, float& left, float& right);

} // namespace vlo::demo
