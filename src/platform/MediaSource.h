#pragma once
#include <cstdint>
#include <string>

#include "platform/MediaCommand.h"

namespace vlo {

// What the desktop's media controls are told about the current track.
struct MediaTrack {
    // Changes with every track change, also to the same entry again.
    uint32_t serial = 0;
    uint32_t index = 0;
    std::string title;
    std::string artist;
    std::string album;
    // Microseconds; negative when unknown.
    int64_t lengthUs = -1;
    // A file:// URL of the track's picture; empty when there is none.
    std::string artUrl;
};

// The show as the desktop's media controls see it: state, position and
// track, and the commands they may give. All of it on the main thread.
class MediaSource {
public:
    enum class Status { Playing, Paused, Stopped };

    virtual ~MediaSource() = default;
    virtual Status status() = 0;
    // Microseconds into the current track.
    virtual int64_t positionUs() = 0;
    virtual const MediaTrack& track() = 0;
    virtual void command(MediaCommand command) = 0;
};

} // namespace vlo
