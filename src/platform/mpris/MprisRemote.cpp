#include "platform/mpris/MprisRemote.h"

#include <unistd.h>

#include "common/AppIdentity.h"

namespace vlo {

namespace {

constexpr const char* ObjectPath = "/org/mpris/MediaPlayer2";
constexpr const char* RootInterface = "org.mpris.MediaPlayer2";
constexpr const char* PlayerInterface = "org.mpris.MediaPlayer2.Player";
constexpr const char* BusName = "org.mpris.MediaPlayer2.vellumo";
// Track ids are object paths of our own, outside /org/mpris.
constexpr const char* TrackIdPrefix = "/org/vellumo/Vellumo/track/";

MediaSource& sourceOf(void* userdata)
{
    return static_cast<MprisRemote*>(userdata)->source;
}

const char* statusName(MediaSource::Status status)
{
    switch (status) {
    case MediaSource::Status::Playing:
        return "Playing";
    case MediaSource::Status::Paused:
        return "Paused";
    default:
        return "Stopped";
    }
}

int getTrue(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*, sd_bus_error*)
{
    return sd_bus_message_append(reply, "b", 1);
}

int getFalse(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*, sd_bus_error*)
{
    return sd_bus_message_append(reply, "b", 0);
}

int getOne(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*, sd_bus_error*)
{
    return sd_bus_message_append(reply, "d", 1.0);
}

int getNoStrings(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*, sd_bus_error*)
{
    return sd_bus_message_append(reply, "as", 0);
}

int getIdentity(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*, sd_bus_error*)
{
    return sd_bus_message_append(reply, "s", AppName);
}

int getDesktopEntry(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*, sd_bus_error*)
{
    return sd_bus_message_append(reply, "s", AppId);
}

// The play list starts over after its last entry.
int getLoopStatus(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*, sd_bus_error*)
{
    return sd_bus_message_append(reply, "s", "Playlist");
}

int getStatus(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void* userdata, sd_bus_error*)
{
    return sd_bus_message_append(reply, "s", statusName(sourceOf(userdata).status()));
}

int getPosition(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void* userdata, sd_bus_error*)
{
    return sd_bus_message_append(reply, "x", sourceOf(userdata).positionUs());
}

int appendEntry(sd_bus_message* reply, const char* key, const char* type, const void* value)
{
    int result = sd_bus_message_open_container(reply, 'e', "sv");
    if (result >= 0)
        result = sd_bus_message_append_basic(reply, 's', key);
    if (result >= 0)
        result = sd_bus_message_open_container(reply, 'v', type);
    if (result >= 0)
        result = sd_bus_message_append_basic(reply, type[0], value);
    if (result >= 0)
        result = sd_bus_message_close_container(reply);
    if (result >= 0)
        result = sd_bus_message_close_container(reply);
    return result;
}

int appendStringList(sd_bus_message* reply, const char* key, const std::string& value)
{
    int result = sd_bus_message_open_container(reply, 'e', "sv");
    if (result >= 0)
        result = sd_bus_message_append(reply, "s", key);
    if (result >= 0)
        result = sd_bus_message_append(reply, "v", "as", 1, value.c_str());
    if (result >= 0)
        result = sd_bus_message_close_container(reply);
    return result;
}

int getMetadata(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void* userdata, sd_bus_error*)
{
    const MediaTrack& track = sourceOf(userdata).track();
    const std::string trackId = TrackIdPrefix + std::to_string(track.index);
    int result = sd_bus_message_open_container(reply, 'a', "{sv}");
    if (result >= 0)
        result = appendEntry(reply, "mpris:trackid", "o", trackId.c_str());
    if (result >= 0)
        result = appendEntry(reply, "xesam:title", "s", track.title.c_str());
    if (result >= 0 && !track.artist.empty())
        result = appendStringList(reply, "xesam:artist", track.artist);
    if (result >= 0 && !track.album.empty())
        result = appendEntry(reply, "xesam:album", "s", track.album.c_str());
    if (result >= 0 && track.lengthUs >= 0)
        result = appendEntry(reply, "mpris:length", "x", &track.lengthUs);
    if (result >= 0 && !track.artUrl.empty())
        result = appendEntry(reply, "mpris:artUrl", "s", track.artUrl.c_str());
    if (result >= 0)
        result = sd_bus_message_close_container(reply);
    return result;
}

template <MediaCommand command> int run(sd_bus_message* message, void* userdata, sd_bus_error*)
{
    sourceOf(userdata).command(command);
    return sd_bus_reply_method_return(message, "");
}

// The show has no seeking: Seek, SetPosition and OpenUri are accepted and
// change nothing, as the interface asks of a player with CanSeek false.
int ignore(sd_bus_message* message, void*, sd_bus_error*)
{
    return sd_bus_reply_method_return(message, "");
}

const sd_bus_vtable rootTable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("Raise", "", "", run<MediaCommand::Raise>, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Quit", "", "", run<MediaCommand::Quit>, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_PROPERTY("CanQuit", "b", getTrue, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("CanRaise", "b", getTrue, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Fullscreen", "b", getFalse, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("CanSetFullscreen", "b", getFalse, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("HasTrackList", "b", getFalse, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Identity", "s", getIdentity, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("DesktopEntry", "s", getDesktopEntry, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("SupportedUriSchemes", "as", getNoStrings, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("SupportedMimeTypes", "as", getNoStrings, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_VTABLE_END,
};

const sd_bus_vtable playerTable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("Next", "", "", run<MediaCommand::Next>, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Previous", "", "", run<MediaCommand::Previous>, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Pause", "", "", run<MediaCommand::Pause>, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("PlayPause", "", "", run<MediaCommand::PlayPause>, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Stop", "", "", run<MediaCommand::Stop>, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Play", "", "", run<MediaCommand::Play>, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Seek", "x", "", ignore, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("SetPosition", "ox", "", ignore, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("OpenUri", "s", "", ignore, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_SIGNAL("Seeked", "x", 0),
    SD_BUS_PROPERTY("PlaybackStatus", "s", getStatus, 0, SD_BUS_VTABLE_PROPERTY_EMITS_CHANGE),
    SD_BUS_PROPERTY("LoopStatus", "s", getLoopStatus, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Rate", "d", getOne, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Shuffle", "b", getFalse, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Metadata", "a{sv}", getMetadata, 0, SD_BUS_VTABLE_PROPERTY_EMITS_CHANGE),
    SD_BUS_PROPERTY("Volume", "d", getOne, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Position", "x", getPosition, 0, 0),
    SD_BUS_PROPERTY("MinimumRate", "d", getOne, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("MaximumRate", "d", getOne, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("CanGoNext", "b", getTrue, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("CanGoPrevious", "b", getTrue, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("CanPlay", "b", getTrue, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("CanPause", "b", getTrue, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("CanSeek", "b", getFalse, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("CanControl", "b", getTrue, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_VTABLE_END,
};

} // namespace

MprisRemote::MprisRemote(MediaSource& source_)
    : source(source_)
{
}

MprisRemote::~MprisRemote()
{
    sd_bus_slot_unref(playerSlot);
    sd_bus_slot_unref(rootSlot);
    sd_bus_flush_close_unref(bus);
}

bool MprisRemote::open()
{
    if (sd_bus_open_user(&bus) < 0)
        return false;
    if (sd_bus_add_object_vtable(bus, &rootSlot, ObjectPath, RootInterface, rootTable, this) < 0
        || sd_bus_add_object_vtable(bus, &playerSlot, ObjectPath, PlayerInterface, playerTable, this) < 0)
        return false;
    // A second show running takes the interface's per-instance name.
    if (sd_bus_request_name(bus, BusName, 0) < 0) {
        const std::string instance = std::string(BusName) + ".instance" + std::to_string(getpid());
        if (sd_bus_request_name(bus, instance.c_str(), 0) < 0)
            return false;
    }
    shownStatus = source.status();
    shownSerial = source.track().serial;
    shownArt = source.track().artUrl;
    return true;
}

void MprisRemote::poll()
{
    // Each call handles one message; requests only come in between frames,
    // so the handlers run on this thread with the show at rest.
    while (sd_bus_process(bus, nullptr) > 0) { }
    announceChanges();
}

void MprisRemote::announceChanges()
{
    const MediaSource::Status status = source.status();
    const MediaTrack& track = source.track();
    const bool statusChanged = status != shownStatus;
    const bool trackChanged = track.serial != shownSerial || track.artUrl != shownArt;
    if (!statusChanged && !trackChanged)
        return;
    shownStatus = status;
    shownSerial = track.serial;
    shownArt = track.artUrl;
    if (statusChanged && trackChanged)
        sd_bus_emit_properties_changed(bus, ObjectPath, PlayerInterface, "PlaybackStatus", "Metadata", nullptr);
    else
        sd_bus_emit_properties_changed(
            bus, ObjectPath, PlayerInterface, statusChanged ? "PlaybackStatus" : "Metadata", nullptr);
    sd_bus_flush(bus);
}

std::unique_ptr<MediaRemote> openMediaRemote(MediaSource& source)
{
    auto remote = std::make_unique<MprisRemote>(source);
    if (!remote->open())
        return nullptr;
    return remote;
}

} // namespace vlo
