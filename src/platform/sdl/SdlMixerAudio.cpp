// The audio back end on SDL2_mixer: file streams as Mix_Music objects on the
// one music channel of the mixer. SDL2_mixer plays one music at a time, and
// so does this program; starting a second stream halts the first.
//
// SDL2_mixer keeps a single music volume and cannot tell a paused music from
// a playing one through Mix_PlayingMusic (which stays 1 while paused), so each
// stream keeps its own volume and play phase here, and the mixer is asked only
// whether the stream it was given is still running.

#include <SDL.h>
#include <SDL_mixer.h>

#include <climits>
#include <utility>

#include "platform/AudioLibrary.h"
#include "platform/sdl/StreamTable.h"

namespace vlo {
namespace {

struct Stream {
    MusicPtr music;
    int volume = 100; // 0..100
    StreamPhase phase = StreamPhase::Stopped;
    // Seconds into the music where playing without restart continues.
    double position = 0.0;

    void rewind() { position = 0.0; }
};

StreamTable<Stream>& data()
{
    static StreamTable<Stream> mixer;
    return mixer;
}

int mixerVolume(int volume)
{
    // 0..100 onto SDL2_mixer's linear 0..MIX_MAX_VOLUME, rounded.
    return (volume * MIX_MAX_VOLUME + 50) / 100;
}

// Where the music on the mixer is now, in seconds; 0 when the decoder cannot
// tell (a resume then starts over).
double mixerPosition(Stream& stream)
{
    const double position = Mix_GetMusicPosition(stream.music.get());
    return position > 0.0 ? position : 0.0;
}

// A playing stream has ended once the mixer has let go of it.
bool hasEnded(DWORD handle, const Stream&)
{
    return !(data().current == handle && Mix_PlayingMusic());
}

// Takes the stream off the mixer, keeping its position: a playing stream
// becomes stopped (the mixer cannot play two), a paused one stays paused.
void takeOffMixer()
{
    StreamTable<Stream>& mixer = data();
    if (mixer.current == 0)
        return;
    if (Stream* current = mixer.findNoted(mixer.current, hasEnded)) {
        if (current->phase == StreamPhase::Playing) {
            current->position = mixerPosition(*current);
            current->phase = StreamPhase::Stopped;
        }
    }
    Mix_HaltMusic();
    mixer.current = 0;
}

BOOL mixInit(int device, DWORD frequency, DWORD, HWND, const void*)
{
    StreamTable<Stream>& mixer = data();
    if (mixer.open || !initArgumentsAccepted(device, frequency))
        return FALSE;
    // Without SDL_AUDIODRIVER and without a sound card this fails: SDL does
    // not fall back to its dummy driver, and the program then plays nothing.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return FALSE;
    if (!openMixer(frequency))
        return FALSE;
    mixer.open = true;
    return TRUE;
}

HSTREAM mixStreamCreateFile(BOOL memory, const void* file, DWORD offset, DWORD length, DWORD flags)
{
    if (!data().open || file == nullptr || flags != 0)
        return 0;
    MusicPtr music;
    if (memory) {
        // The caller keeps the bytes alive for the life of the stream.
        if (length == 0 || length > DWORD(INT_MAX))
            return 0;
        SDL_RWops* source = SDL_RWFromConstMem(static_cast<const char*>(file) + offset, int(length));
        if (source == nullptr)
            return 0;
        music.reset(Mix_LoadMUS_RW(source, SDL_TRUE));
    } else {
        // Only whole files: SDL2_mixer decoders cannot be confined to a slice.
        if (offset != 0 || length != 0)
            return 0;
        music.reset(Mix_LoadMUS(static_cast<const char*>(file)));
    }
    if (!music)
        return 0;
    Stream stream;
    stream.music = std::move(music);
    return data().add(std::move(stream));
}

BOOL mixChannelSetAttributes(DWORD handle, int frequency, int volume, int pan)
{
    Stream* stream = data().find(handle);
    if (stream == nullptr || !attributesAccepted(frequency, volume, pan))
        return FALSE;
    if (volume == -1)
        return TRUE;
    stream->volume = volume;
    if (data().current == handle)
        Mix_VolumeMusic(mixerVolume(volume));
    return TRUE;
}

BOOL mixChannelPlay(DWORD handle, BOOL restart)
{
    StreamTable<Stream>& mixer = data();
    Stream* stream = mixer.findNoted(handle, hasEnded);
    if (stream == nullptr)
        return FALSE;
    if (mixer.current == handle && !restart) {
        if (stream->phase == StreamPhase::Playing)
            return TRUE;
        if (stream->phase == StreamPhase::Paused) {
            Mix_VolumeMusic(mixerVolume(stream->volume));
            Mix_ResumeMusic();
            stream->phase = StreamPhase::Playing;
            return TRUE;
        }
    }
    const double start = restart ? 0.0 : stream->position;
    takeOffMixer();
    Mix_VolumeMusic(mixerVolume(stream->volume));
    // One pass through the music; a fade-in of 0 ms is a plain start at the
    // given position.
    if (Mix_FadeInMusicPos(stream->music.get(), 1, 0, start) != 0) {
        Mix_HaltMusic();
        stream->phase = StreamPhase::Stopped;
        return FALSE;
    }
    mixer.current = handle;
    stream->phase = StreamPhase::Playing;
    stream->position = start;
    return TRUE;
}

BOOL mixChannelStop(DWORD handle)
{
    Stream* stream = data().find(handle);
    if (stream == nullptr)
        return FALSE;
    if (data().current == handle)
        takeOffMixer();
    stream->phase = StreamPhase::Stopped;
    return TRUE;
}

BOOL mixChannelPause(DWORD handle)
{
    Stream* stream = data().findNoted(handle, hasEnded);
    if (stream == nullptr || stream->phase != StreamPhase::Playing)
        return FALSE;
    Mix_PauseMusic();
    stream->position = mixerPosition(*stream);
    stream->phase = StreamPhase::Paused;
    return TRUE;
}

DWORD mixChannelIsActive(DWORD handle)
{
    const Stream* stream = data().findNoted(handle, hasEnded);
    return stream == nullptr ? BASS_ACTIVE_STOPPED : activeState(stream->phase);
}

BOOL mixStreamFree(HSTREAM handle)
{
    StreamTable<Stream>& mixer = data();
    if (mixer.find(handle) == nullptr)
        return FALSE;
    // The mixer must let go of the music before it is freed.
    if (mixer.current == handle)
        Mix_HaltMusic();
    mixer.erase(handle);
    return TRUE;
}

BOOL mixStop()
{
    StreamTable<Stream>& mixer = data();
    if (!mixer.open)
        return FALSE;
    // Stopping the output pauses what plays; a later play without restart
    // continues it.
    if (mixer.current != 0) {
        if (Stream* current = mixer.findNoted(mixer.current, hasEnded)) {
            if (current->phase == StreamPhase::Playing) {
                Mix_PauseMusic();
                current->position = mixerPosition(*current);
                current->phase = StreamPhase::Paused;
            }
        }
    }
    return TRUE;
}

BOOL mixFree()
{
    StreamTable<Stream>& mixer = data();
    if (!mixer.open)
        return FALSE;
    Mix_HaltMusic();
    mixer.clear();
    closeMixer();
    mixer.open = false;
    return TRUE;
}

const AudioBackend kSdlMixerBackend = {
    mixInit,
    mixStreamCreateFile,
    mixChannelSetAttributes,
    mixChannelPlay,
    mixChannelStop,
    mixChannelPause,
    mixChannelIsActive,
    mixStreamFree,
    mixStop,
    mixFree,
};

} // namespace

const AudioBackend& sdlMixerAudioBackend()
{
    return kSdlMixerBackend;
}

} // namespace vlo
