#pragma once
#include <string>

#include <systemd/sd-bus.h>

#include "platform/MediaRemote.h"

namespace vlo {

// MPRIS over sd-bus: the player's well-known name on the session bus, the
// two interfaces at /org/mpris/MediaPlayer2, and PropertiesChanged for every
// change but the position. Never included outside src/platform/mpris/.
class MprisRemote : public MediaRemote {
public:
    explicit MprisRemote(MediaSource& source);
    ~MprisRemote() override;
    MprisRemote(const MprisRemote&) = delete;
    MprisRemote& operator=(const MprisRemote&) = delete;

    // True once the interfaces are offered under a name of ours.
    bool open();
    void poll() override;

    MediaSource& source;

private:
    void announceChanges();

    sd_bus* bus = nullptr;
    sd_bus_slot* rootSlot = nullptr;
    sd_bus_slot* playerSlot = nullptr;
    // What the desktop was last told.
    MediaSource::Status shownStatus = MediaSource::Status::Stopped;
    uint32_t shownSerial = 0;
    std::string shownArt;
};

} // namespace vlo
