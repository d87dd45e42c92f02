#pragma once
#include <string>

namespace vlo::pack {

// Asks of music files what the viewer's audio back end asks when its player
// opens them: the same file-kind check and the same decoders, without a
// sound device and without playing anything.
class MusicCheck {
public:
    // Why the viewer would skip the music file at path (relative to
    // showFolder unless absolute); empty when it opens.
    std::string problemWith(const std::string& showFolder, const std::string& path) const;
};

} // namespace vlo::pack
