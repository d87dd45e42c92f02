#pragma once
// Where the stream state machine sends its music: the mixer (on the sound
// device, or on the silent device without one) or the preview's output on
// the tick count. Main thread only.

#include <memory>

#include "audio/OutputVoice.h"
#include "audio/decoders/MusicDecoder.h"

namespace vlo {

class AudioOutput {
public:
    virtual ~AudioOutput() = default;

    // Starts the output at `rate` frames per second; false when it cannot.
    virtual bool open(int rate) = 0;
    // Stops the output; every voice must have been destroyed first.
    virtual void close() = 0;
    // Takes an opened decoder on as a voice, halted at its first sample;
    // null when the output cannot play it. Never waits on the file.
    virtual std::unique_ptr<OutputVoice> add(std::unique_ptr<MusicDecoder> decoder) = 0;
    // Called before every request of the player: a chance to replace a lost
    // device and let go of what is done with. Never waits on a file.
    virtual void watch() { }
};

} // namespace vlo
