#pragma once
// The output of previews: plays no sound and keeps each voice's place on the
// GetTickCount clock, so that with the tick source replaced a preview sees
// tracks end and the show advance exactly when an undisturbed run would.
// A voice lasts its music's real length (as the decoder tells it; a music
// of unknown length never ends by itself). No audio device is opened and no
// sample decoded: the decoder is only asked the length, then closed.

#include "audio/AudioOutput.h"

namespace vlo {

class PreviewOutput : public AudioOutput {
public:
    bool open(int rate) override;
    void close() override { }
    std::unique_ptr<OutputVoice> add(std::unique_ptr<MusicDecoder> decoder) override;
};

} // namespace vlo
