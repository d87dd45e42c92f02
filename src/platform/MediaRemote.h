#pragma once
#include <memory>

#include "platform/MediaSource.h"

namespace vlo {

// The desktop's media controls (MPRIS on the session bus). Portable code
// sees only this; the bus library stays behind it.
class MediaRemote {
public:
    virtual ~MediaRemote() = default;
    // Answers every request waiting and announces what changed in the
    // source since the last call. Called on the main thread between frames.
    virtual void poll() = 0;
};

// Offers the source on the desktop; null (and nothing shown anywhere) where
// the desktop has no such service, for example without a session bus.
std::unique_ptr<MediaRemote> openMediaRemote(MediaSource& source);

} // namespace vlo
