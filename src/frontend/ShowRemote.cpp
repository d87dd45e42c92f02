#include "frontend/ShowRemote.h"

#include "content/ShowConfig.h"
#include "content/TrackTags.h"
#include "frontend/PlayerCommands.h"
#include "frontend/ShowScreen.h"
#include "music/MusicPlayer.h"

namespace vlo {

ShowRemote::ShowRemote(ShowScreen& owner)
    : screen(owner)
{
}

void ShowRemote::refresh()
{
    if (screen.config == nullptr || screen.player == nullptr)
        return;
    const uint32_t index = screen.config->currentTrack;
    const int state = screen.player->state;
    // A track opened anew (also the same entry again) is Stopped, then Playing.
    const bool newTrack = !known || index != seenTrack;
    if (newTrack) {
        const TrackTags tags(screen.config->currentTrackFile());
        current.serial += 1;
        current.index = index;
        current.title = tags.title;
        current.artist = tags.artist;
        current.album = tags.album;
        current.lengthUs = tags.lengthMs >= 0 ? tags.lengthMs * 1000 : -1;
        current.artUrl = art.write(screen.config->currentTrackPicture());
        known = true;
        seenTrack = index;
    }
    if (newTrack || state != seenState) {
        if (state == Playing && (newTrack || seenState != Paused))
            position.start();
        else if (state == Playing)
            position.resume();
        else if (state == Paused)
            position.pause();
        else
            position = FrameTimer();
        seenState = state;
    }
}

MediaSource::Status ShowRemote::status()
{
    refresh();
    if (screen.player == nullptr)
        return Status::Stopped;
    switch (screen.player->state) {
    case Playing:
        return Status::Playing;
    case Paused:
        return Status::Paused;
    default:
        return Status::Stopped;
    }
}

int64_t ShowRemote::positionUs()
{
    refresh();
    return int64_t(double(position.seconds()) * 1e6);
}

const MediaTrack& ShowRemote::track()
{
    refresh();
    return current;
}

void ShowRemote::command(MediaCommand command)
{
    if (screen.commands != nullptr)
        screen.commands->fromBus(command);
}

} // namespace vlo
