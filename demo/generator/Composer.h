#pragma once
#include <cstdint>
#include <vector>

#include "Score.h"

namespace vlo::demo {

// What a track should sound like: key, pace, harmony and which parts play
// when. Bars count from 0; a range [from, to) of bars with from >= to is
// silent for that part.
struct TrackStyle {
    uint32_t seed = 1;
    double tempo = 80.0;          // beats per minute, four beats to the bar
    int tonic = 62;               // MIDI note of the key's first degree
    std::vector<int> scale;       // seven semitone offsets from the tonic
    std::vector<int> progression; // scale degree (0-based) of each bar's chord, repeating
    int bars = 8;
    bool sevenths = false; // add the seventh to the pad chords
    int arpFrom = 1, arpTo = 8;
    bool arpSixteenths = false;
    int melodyFrom = 3, melodyTo = 7;
    int bassFrom = 2, bassTo = 8;
    int drumsFrom = 0, drumsTo = 0;
    int shakerFrom = 0, shakerTo = 0;
};

// Major and natural minor and Dorian, as semitone offsets.
std::vector<int> majorScale();
std::vector<int> minorScale();
std::vector<int> dorianScale();

// Writes the track out as notes. The same style always gives the same score.
// Its length is the bars plus a tail of 3 s for the last chord to ring out.
Score compose(const TrackStyle& style);

// Pitch of scale step `step` (0 = tonic, 7 = the tonic an octave up, negative
// steps go down) in the style's key.
float scalePitch(const TrackStyle& style, int step);

} // namespace vlo::demo
