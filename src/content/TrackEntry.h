#pragma once
#include <string>

namespace vlo {

// One music line of the configuration: the music file on disk and the
// archive path of the track's picture.
struct TrackEntry {
    std::string file;
    std::string picture;
};

} // namespace vlo
