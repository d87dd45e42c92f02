#pragma once
// One music on an output, as the stream state machine drives it. The voice
// keeps its place between a halt and the next start; what is heard follows
// each change with the output's own ramp. Destroying the voice lets it go
// (it fades out first where something is heard). Main thread only.

namespace vlo {

class OutputVoice {
public:
    virtual ~OutputVoice() = default;

    // Plays from where the voice is, or from its first sample.
    virtual void start(bool fromStart) = 0;
    // Stops playing, keeping the place.
    virtual void halt() = 0;
    // Volume 0..1. A voice at 0 keeps time as at any other volume.
    virtual void setVolume(float volume) = 0;
    // Whether the music has played its last sample since the last start.
    virtual bool ended() = 0;
};

} // namespace vlo
