#pragma once
#include <cstdint>

#include "common/FrameTimer.h"
#include "frontend/ArtFile.h"
#include "platform/MediaSource.h"

namespace vlo {

class ShowScreen;

// The running show as the desktop's media controls see it: the player's
// state, the current track's tags and picture, and the position, timed here
// because the audio library does not report one. Commands go through the
// screen's PlayerCommands.
class ShowRemote : public MediaSource {
public:
    explicit ShowRemote(ShowScreen& screen);

    Status status() override;
    int64_t positionUs() override;
    const MediaTrack& track() override;
    void command(MediaCommand command) override;

private:
    // Follows the player: a new track or a stop starts the position over, a
    // pause holds it.
    void refresh();

    ShowScreen& screen;
    MediaTrack current;
    bool known = false;
    // The player's track and state when last looked at.
    uint32_t seenTrack = 0;
    int seenState = -1;
    FrameTimer position;
    ArtFile art;
};

} // namespace vlo
