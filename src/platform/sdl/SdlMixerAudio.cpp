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
#include <memory>
#include <unordered_map>

#include "platform/AudioLibrary.h"

namespace vlo {
namespace {

struct MusicDeleter {
    void operator()(Mix_Music* music) const { Mix_FreeMusic(music); }
};
using MusicPtr = std::unique_ptr<Mix_Music, MusicDeleter>;

enum class Phase { Stopped, Playing, Paused };

struct Stream {
    MusicPtr music;
    int volume = 100; // 0..100
    Phase phase = Phase::Stopped;
    // Seconds into the music where playing without restart continues.
    double position = 0.0;
};

// Everything the back end holds between calls.
struct MixerData {
    bool open = false;
    std::unordered_map<DWORD, Stream> streams;
    DWORD lastHandle = 0;
    // The stream the mixer plays or holds paused; 0 when the mixer is idle.
    DWORD onMixer = 0;
};

MixerData& data()
{
    static MixerData mixer;
    return mixer;
}

// Output format: 16-bit stereo; 1024 frames per buffer keep pause and stop
// within about 25 ms at 44100 Hz.
constexpr int kChannels = 2;
constexpr int kBufferFrames = 1024;

int mixerVolume(int volume)
{
    // 0..100 onto SDL2_mixer's linear 0..MIX_MAX_VOLUME, rounded.
    return (volume * MIX_MAX_VOLUME + 50) / 100;
}

Stream* findStream(DWORD handle)
{
    auto found = data().streams.find(handle);
    return found == data().streams.end() ? nullptr : &found->second;
}

// Where the music on the mixer is now, in seconds; 0 when the decoder cannot
// tell (a resume then starts over).
double mixerPosition(Stream& stream)
{
    const double position = Mix_GetMusicPosition(stream.music.get());
    return position > 0.0 ? position : 0.0;
}

// A stream that was playing and that the mixer has let go of has reached its
// end: it counts as stopped, and the next play starts it from the beginning.
void noteEnd(DWORD handle, Stream& stream)
{
    if (stream.phase != Phase::Playing)
        return;
    if (data().onMixer == handle && Mix_PlayingMusic())
        return;
    stream.phase = Phase::Stopped;
    stream.position = 0.0;
    if (data().onMixer == handle)
        data().onMixer = 0;
}

// Takes the stream off the mixer, keeping its position: a playing stream
// becomes stopped (the mixer cannot play two), a paused one stays paused.
void takeOffMixer()
{
    MixerData& mixer = data();
    if (mixer.onMixer == 0)
        return;
    if (Stream* current = findStream(mixer.onMixer)) {
        noteEnd(mixer.onMixer, *current);
        if (current->phase == Phase::Playing) {
            current->position = mixerPosition(*current);
            current->phase = Phase::Stopped;
        }
    }
    Mix_HaltMusic();
    mixer.onMixer = 0;
}

DWORD newHandle()
{
    MixerData& mixer = data();
    // Handles are never 0 and not handed out again while in use.
    do {
        ++mixer.lastHandle;
    } while (mixer.lastHandle == 0 || mixer.streams.count(mixer.lastHandle) != 0);
    return mixer.lastHandle;
}

BOOL mixInit(int device, DWORD frequency, DWORD, HWND, const void*)
{
    MixerData& mixer = data();
    // -1 is the default output device and 1 the first real one; both mean the
    // device SDL picks. Device 0 (no sound) is not offered.
    if (mixer.open || (device != -1 && device != 1))
        return FALSE;
    if (frequency == 0 || frequency > DWORD(INT_MAX))
        return FALSE;
    // Without SDL_AUDIODRIVER and without a sound card this fails: SDL does
    // not fall back to its dummy driver, and the program then plays nothing.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return FALSE;
    // Decoders that are not installed are simply missing; WAV needs none.
    Mix_Init(MIX_INIT_OGG | MIX_INIT_MP3 | MIX_INIT_FLAC | MIX_INIT_MOD);
    if (Mix_OpenAudio(int(frequency), AUDIO_S16SYS, kChannels, kBufferFrames) != 0) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return FALSE;
    }
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
    const DWORD handle = newHandle();
    data().streams[handle].music = std::move(music);
    return handle;
}

BOOL mixChannelSetAttributes(DWORD handle, int frequency, int volume, int pan)
{
    Stream* stream = findStream(handle);
    if (stream == nullptr)
        return FALSE;
    // The playback rate and the panning of the music cannot be changed on
    // SDL2_mixer: only "unchanged" (-1, -101) and the defaults are accepted.
    if (frequency != -1 && frequency != 0)
        return FALSE;
    if (pan != -101 && pan != 0)
        return FALSE;
    if (volume == -1)
        return TRUE;
    if (volume < 0 || volume > 100)
        return FALSE;
    stream->volume = volume;
    if (data().onMixer == handle)
        Mix_VolumeMusic(mixerVolume(volume));
    return TRUE;
}

BOOL mixChannelPlay(DWORD handle, BOOL restart)
{
    MixerData& mixer = data();
    Stream* stream = findStream(handle);
    if (stream == nullptr)
        return FALSE;
    noteEnd(handle, *stream);
    if (mixer.onMixer == handle && !restart) {
        if (stream->phase == Phase::Playing)
            return TRUE;
        if (stream->phase == Phase::Paused) {
            Mix_VolumeMusic(mixerVolume(stream->volume));
            Mix_ResumeMusic();
            stream->phase = Phase::Playing;
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
        stream->phase = Phase::Stopped;
        return FALSE;
    }
    mixer.onMixer = handle;
    stream->phase = Phase::Playing;
    stream->position = start;
    return TRUE;
}

BOOL mixChannelStop(DWORD handle)
{
    Stream* stream = findStream(handle);
    if (stream == nullptr)
        return FALSE;
    if (data().onMixer == handle)
        takeOffMixer();
    stream->phase = Phase::Stopped;
    return TRUE;
}

BOOL mixChannelPause(DWORD handle)
{
    Stream* stream = findStream(handle);
    if (stream == nullptr)
        return FALSE;
    noteEnd(handle, *stream);
    if (stream->phase != Phase::Playing)
        return FALSE;
    Mix_PauseMusic();
    stream->position = mixerPosition(*stream);
    stream->phase = Phase::Paused;
    return TRUE;
}

DWORD mixChannelIsActive(DWORD handle)
{
    Stream* stream = findStream(handle);
    if (stream == nullptr)
        return BASS_ACTIVE_STOPPED;
    noteEnd(handle, *stream);
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

BOOL mixStreamFree(HSTREAM handle)
{
    MixerData& mixer = data();
    if (findStream(handle) == nullptr)
        return FALSE;
    // The mixer must let go of the music before it is freed.
    if (mixer.onMixer == handle) {
        Mix_HaltMusic();
        mixer.onMixer = 0;
    }
    mixer.streams.erase(handle);
    return TRUE;
}

BOOL mixStop()
{
    MixerData& mixer = data();
    if (!mixer.open)
        return FALSE;
    // Stopping the output pauses what plays; a later play without restart
    // continues it.
    if (mixer.onMixer != 0) {
        if (Stream* current = findStream(mixer.onMixer)) {
            noteEnd(mixer.onMixer, *current);
            if (current->phase == Phase::Playing) {
                Mix_PauseMusic();
                current->position = mixerPosition(*current);
                current->phase = Phase::Paused;
            }
        }
    }
    return TRUE;
}

BOOL mixFree()
{
    MixerData& mixer = data();
    if (!mixer.open)
        return FALSE;
    Mix_HaltMusic();
    mixer.onMixer = 0;
    mixer.streams.clear();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
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
