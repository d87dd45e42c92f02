// The audio back end the program plays through: file streams as voices of
// the AudioMixer, on the default SDL audio device or, without one, on the
// mixer's silent device. One music plays at a time, as the player wants:
// starting a second stream stops the first (which fades out in the mixer).
//
// The phases and handles here answer the player at once; what is heard
// follows through the mixer's short ramps.

#include <memory>
#include <string>
#include <utility>

#include "platform/AudioLibrary.h"
#include "platform/sdl/AudioMixer.h"
#include "platform/sdl/MixerDevice.h"
#include "platform/sdl/StreamTable.h"

namespace vlo {
namespace {

struct Stream {
    std::shared_ptr<AudioMixer::Voice> voice;
    StreamPhase phase = StreamPhase::Stopped;
    // The next play without restart starts over all the same: the music had
    // reached its end.
    bool rewound = false;

    void rewind() { rewound = true; }
};

struct MixerData {
    AudioMixer mixer;
    StreamTable<Stream> streams;
};

MixerData& data()
{
    static MixerData state;
    return state;
}

bool hasEnded(DWORD, const Stream& stream)
{
    return data().mixer.ended(stream.voice);
}

// Every call from the main thread first lets the mixer replace a lost
// device, then finds the stream with its end noted.
Stream* findStream(DWORD handle)
{
    MixerData& state = data();
    state.mixer.watchDevice();
    return state.streams.findNoted(handle, hasEnded);
}

// A stream that plays now stops, keeping its place; a paused one stays
// paused. Either way it no longer holds the output.
void takeOffOutput()
{
    StreamTable<Stream>& streams = data().streams;
    if (streams.current == 0)
        return;
    if (Stream* current = streams.findNoted(streams.current, hasEnded)) {
        data().mixer.halt(current->voice);
        if (current->phase == StreamPhase::Playing)
            current->phase = StreamPhase::Stopped;
    }
    streams.current = 0;
}

BOOL mixerInit(int device, DWORD frequency, DWORD, HWND, const void*)
{
    MixerData& state = data();
    if (state.streams.open || !initArgumentsAccepted(device, frequency))
        return FALSE;
    if (!state.mixer.open(int(frequency)))
        return FALSE;
    state.streams.open = true;
    return TRUE;
}

HSTREAM mixerStreamCreateFile(BOOL memory, const void* file, DWORD offset, DWORD length, DWORD flags)
{
    // Whole files by path only: the player never asks for more.
    MixerData& state = data();
    if (!state.streams.open || memory || file == nullptr || offset != 0 || length != 0 || flags != 0)
        return 0;
    state.mixer.watchDevice();
    std::string why;
    std::shared_ptr<AudioMixer::Voice> voice = state.mixer.add(openMusicDecoder(static_cast<const char*>(file), why));
    if (!voice)
        return 0;
    Stream stream;
    stream.voice = std::move(voice);
    return state.streams.add(std::move(stream));
}

BOOL mixerChannelSetAttributes(DWORD handle, int frequency, int volume, int pan)
{
    Stream* stream = findStream(handle);
    if (stream == nullptr || !attributesAccepted(frequency, volume, pan))
        return FALSE;
    if (volume != -1)
        data().mixer.setVolume(stream->voice, float(volume) / 100.0f);
    return TRUE;
}

BOOL mixerChannelPlay(DWORD handle, BOOL restart)
{
    MixerData& state = data();
    Stream* stream = findStream(handle);
    if (stream == nullptr)
        return FALSE;
    if (state.streams.current == handle && !restart && stream->phase == StreamPhase::Playing)
        return TRUE;
    if (state.streams.current != handle)
        takeOffOutput();
    state.mixer.start(stream->voice, restart || stream->rewound);
    stream->rewound = false;
    state.streams.current = handle;
    stream->phase = StreamPhase::Playing;
    return TRUE;
}

BOOL mixerChannelStop(DWORD handle)
{
    MixerData& state = data();
    Stream* stream = findStream(handle);
    if (stream == nullptr)
        return FALSE;
    state.mixer.halt(stream->voice);
    stream->phase = StreamPhase::Stopped;
    if (state.streams.current == handle)
        state.streams.current = 0;
    return TRUE;
}

BOOL mixerChannelPause(DWORD handle)
{
    Stream* stream = findStream(handle);
    if (stream == nullptr || stream->phase != StreamPhase::Playing)
        return FALSE;
    data().mixer.halt(stream->voice);
    stream->phase = StreamPhase::Paused;
    return TRUE;
}

DWORD mixerChannelIsActive(DWORD handle)
{
    const Stream* stream = findStream(handle);
    return stream == nullptr ? BASS_ACTIVE_STOPPED : activeState(stream->phase);
}

BOOL mixerStreamFree(HSTREAM handle)
{
    MixerData& state = data();
    Stream* stream = state.streams.find(handle);
    if (stream == nullptr)
        return FALSE;
    // Fades out in the mixer and goes once silent.
    state.mixer.release(stream->voice);
    state.streams.erase(handle);
    return TRUE;
}

BOOL mixerStop()
{
    MixerData& state = data();
    if (!state.streams.open)
        return FALSE;
    // Stopping the output pauses what plays; a later play without restart
    // continues it.
    if (Stream* current = findStream(state.streams.current)) {
        if (current->phase == StreamPhase::Playing) {
            state.mixer.halt(current->voice);
            current->phase = StreamPhase::Paused;
        }
    }
    return TRUE;
}

BOOL mixerFree()
{
    MixerData& state = data();
    if (!state.streams.open)
        return FALSE;
    state.streams.clear();
    state.mixer.close();
    state.streams.open = false;
    return TRUE;
}

const AudioBackend kMixerBackend = {
    mixerInit,
    mixerStreamCreateFile,
    mixerChannelSetAttributes,
    mixerChannelPlay,
    mixerChannelStop,
    mixerChannelPause,
    mixerChannelIsActive,
    mixerStreamFree,
    mixerStop,
    mixerFree,
};

} // namespace

const AudioBackend& mixerAudioBackend()
{
    return kMixerBackend;
}

SDL_AudioDeviceID mixerOutputDevice()
{
    return data().mixer.device();
}

} // namespace vlo
