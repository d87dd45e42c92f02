#pragma once
#include <string>

namespace vlo::pack {

// Opens music files with the viewer's own audio back end, as its music
// player does (BASS_Init, then BASS_StreamCreateFile), without playing them.
class MusicCheck {
public:
    // Starts the back end on the default output device, or on SDL's dummy
    // audio driver where there is no sound device.
    MusicCheck();
    ~MusicCheck();
    MusicCheck(const MusicCheck&) = delete;
    MusicCheck& operator=(const MusicCheck&) = delete;

    // Whether the back end started; without it files are only looked for.
    bool ready() const { return started; }

    // Why the viewer would skip the music file at path (relative to
    // showFolder unless absolute); empty when it opens.
    std::string problemWith(const std::string& showFolder, const std::string& path) const;

private:
    bool started = false;
};

} // namespace vlo::pack
