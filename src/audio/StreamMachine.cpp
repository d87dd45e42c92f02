#include "audio/StreamMachine.h"

#include <climits>
#include <string>
#include <utility>

namespace vlo {

namespace {

// -1 is the default output device and 1 the first real one; both mean the
// device SDL picks. Device 0 (no sound) is not offered.
bool initArgumentsAccepted(int device, DWORD frequency)
{
    if (device != -1 && device != 1)
        return false;
    return frequency != 0 && frequency <= DWORD(INT_MAX);
}

// The playback rate and the panning of the music are not offered: only
// "unchanged" (-1, -101) and the defaults are accepted.
bool attributesAccepted(int frequency, int volume, int pan)
{
    if (frequency != -1 && frequency != 0)
        return false;
    if (pan != -101 && pan != 0)
        return false;
    return volume == -1 || (volume >= 0 && volume <= 100);
}

} // namespace

StreamMachine::StreamMachine(AudioOutput& output)
    : output_(output)
{
}

StreamMachine::Stream* StreamMachine::find(DWORD handle)
{
    output_.watch();
    auto found = streams_.find(handle);
    if (found == streams_.end())
        return nullptr;
    noteEnd(handle, found->second);
    return &found->second;
}

void StreamMachine::noteEnd(DWORD handle, Stream& stream)
{
    if (stream.phase != Phase::Playing || !stream.voice->ended())
        return;
    stream.phase = Phase::Stopped;
    stream.rewound = true;
    if (current_ == handle)
        current_ = 0;
}

void StreamMachine::takeOffOutput()
{
    if (current_ == 0)
        return;
    if (Stream* current = find(current_)) {
        current->voice->halt();
        if (current->phase == Phase::Playing)
            current->phase = Phase::Stopped;
    }
    current_ = 0;
}

BOOL StreamMachine::init(int device, DWORD frequency)
{
    if (open_ || !initArgumentsAccepted(device, frequency))
        return FALSE;
    if (!output_.open(int(frequency)))
        return FALSE;
    open_ = true;
    return TRUE;
}

HSTREAM StreamMachine::createFile(BOOL memory, const void* file, DWORD offset, DWORD length, DWORD flags)
{
    // Whole files by path only: the player never asks for more.
    if (!open_ || memory || file == nullptr || offset != 0 || length != 0 || flags != 0)
        return 0;
    output_.watch();
    std::string why;
    return create(openMusicDecoder(static_cast<const char*>(file), why));
}

HSTREAM StreamMachine::create(std::unique_ptr<MusicDecoder> decoder)
{
    if (!open_ || decoder == nullptr)
        return 0;
    std::unique_ptr<OutputVoice> voice = output_.add(std::move(decoder));
    if (!voice)
        return 0;
    // Handles are never 0 and not handed out again while in use.
    do {
        ++lastHandle_;
    } while (lastHandle_ == 0 || streams_.count(lastHandle_) != 0);
    streams_[lastHandle_].voice = std::move(voice);
    return lastHandle_;
}

BOOL StreamMachine::setAttributes(DWORD handle, int frequency, int volume, int pan)
{
    Stream* stream = find(handle);
    if (stream == nullptr || !attributesAccepted(frequency, volume, pan))
        return FALSE;
    if (volume != -1)
        stream->voice->setVolume(float(volume) / 100.0f);
    return TRUE;
}

BOOL StreamMachine::play(DWORD handle, BOOL restart)
{
    Stream* stream = find(handle);
    if (stream == nullptr)
        return FALSE;
    if (current_ == handle && !restart && stream->phase == Phase::Playing)
        return TRUE;
    if (current_ != handle)
        takeOffOutput();
    stream->voice->start(restart || stream->rewound);
    stream->rewound = false;
    current_ = handle;
    stream->phase = Phase::Playing;
    return TRUE;
}

BOOL StreamMachine::stop(DWORD handle)
{
    Stream* stream = find(handle);
    if (stream == nullptr)
        return FALSE;
    stream->voice->halt();
    stream->phase = Phase::Stopped;
    if (current_ == handle)
        current_ = 0;
    return TRUE;
}

BOOL StreamMachine::pause(DWORD handle)
{
    Stream* stream = find(handle);
    if (stream == nullptr || stream->phase != Phase::Playing)
        return FALSE;
    stream->voice->halt();
    stream->phase = Phase::Paused;
    return TRUE;
}

DWORD StreamMachine::isActive(DWORD handle)
{
    const Stream* stream = find(handle);
    if (stream == nullptr)
        return BASS_ACTIVE_STOPPED;
    switch (stream->phase) {
    case Phase::Playing:
        return BASS_ACTIVE_PLAYING;
    case Phase::Paused:
        return BASS_ACTIVE_PAUSED;
    case Phase::Stopped:
        break;
    }
    return BASS_ACTIVE_STOPPED;
}

BOOL StreamMachine::free(HSTREAM handle)
{
    auto found = streams_.find(handle);
    if (found == streams_.end())
        return FALSE;
    if (current_ == handle)
        current_ = 0;
    // The voice fades out on the output and goes once silent.
    streams_.erase(found);
    return TRUE;
}

BOOL StreamMachine::stopOutput()
{
    if (!open_)
        return FALSE;
    // A later play without restart continues what was playing.
    if (Stream* current = find(current_)) {
        if (current->phase == Phase::Playing) {
            current->voice->halt();
            current->phase = Phase::Paused;
        }
    }
    return TRUE;
}

BOOL StreamMachine::freeOutput()
{
    if (!open_)
        return FALSE;
    current_ = 0;
    streams_.clear();
    output_.close();
    open_ = false;
    return TRUE;
}

} // namespace vlo
