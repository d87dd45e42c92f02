#pragma once
#include <vector>

namespace vlo::demo {

// The instruments of the demo band.
enum class Part { Pad, Pluck, Lead, Bass, Kick, Shaker };

// One note: times in seconds from the start of the track, pitch as a MIDI
// note number (60 = middle C), velocity 0..1, pan -1 (left) to 1 (right).
struct Note {
    Part part = Part::Pad;
    double start = 0.0;
    double duration = 0.0;
    float pitch = 60.0f;
    float velocity = 1.0f;
    float pan = 0.0f;
};

// A composed track: its notes and its whole length in seconds, the fade
// out included.
struct Score {
    std::vector<Note> notes;
    double length = 0.0;
    double beat = 0.5; // seconds per beat; echoes are timed by it
};

// Frequency in hertz of a MIDI note number.
double noteFrequency(float pitch);

} // namespace vlo::demo
