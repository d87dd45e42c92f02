// A silent audio back end for previews: streams open only for files that
// SDL2_mixer decodes, play no sound, and end after the music's real duration
// counted on the GetTickCount clock. With the tick source replaced, a preview
// sees tracks end and the show advance exactly when an undisturbed run would.
//
// Mix_LoadMUS needs an opened mixer, so the mixer is opened on SDL's dummy
// audio driver, whatever the machine has: nothing reaches a sound device.
// The decoded music is only measured; it is freed again at once.

#include <SDL.h>
#include <SDL_mixer.h>

#include <climits>
#include <cmath>
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

// Durations SDL2_mixer cannot tell (some tracker and MIDI files): such a
// stream never ends by itself.
constexpr uint32_t kEndless = UINT32_MAX;

struct SilentStream {
    uint32_t durationMs = kEndless;
    Phase phase = Phase::Stopped;
    // Milliseconds played before the current run started.
    uint32_t playedMs = 0;
    // Tick count when the current run started.
    uint32_t runStartTick = 0;
};

struct SilentData {
    bool open = false;
    std::unordered_map<DWORD, SilentStream> streams;
    DWORD lastHandle = 0;
    // The one stream that plays or is held paused, as on the real mixer: a
    // second stream that starts stops the first. 0 when none.
    DWORD current = 0;
};

SilentData& data()
{
    static SilentData silent;
    return silent;
}

SilentStream* findStream(DWORD handle)
{
    auto found = data().streams.find(handle);
    return found == data().streams.end() ? nullptr : &found->second;
}

// Milliseconds into the music now; never past its end.
uint32_t position(const SilentStream& stream)
{
    uint32_t at = stream.playedMs;
    if (stream.phase == Phase::Playing)
        at += GetTickCount() - stream.runStartTick;
    if (stream.durationMs != kEndless && at > stream.durationMs)
        at = stream.durationMs;
    return at;
}

// A playing stream whose time is up has ended: it counts as stopped and the
// next play starts it from the beginning, as on the real back end.
void noteEnd(DWORD handle, SilentStream& stream)
{
    if (stream.phase != Phase::Playing || stream.durationMs == kEndless)
        return;
    if (GetTickCount() - stream.runStartTick < stream.durationMs - stream.playedMs)
        return;
    stream.phase = Phase::Stopped;
    stream.playedMs = 0;
    if (data().current == handle)
        data().current = 0;
}

// Stops whatever plays now, keeping its position, before another stream starts.
void takeOffMixer()
{
    SilentData& silent = data();
    if (silent.current == 0)
        return;
    if (SilentStream* stream = findStream(silent.current)) {
        noteEnd(silent.current, *stream);
        if (stream->phase == Phase::Playing) {
            stream->playedMs = position(*stream);
            stream->phase = Phase::Stopped;
        }
    }
    silent.current = 0;
}

DWORD newHandle()
{
    SilentData& silent = data();
    do {
        ++silent.lastHandle;
    } while (silent.lastHandle == 0 || silent.streams.count(silent.lastHandle) != 0);
    return silent.lastHandle;
}

BOOL silentInit(int device, DWORD frequency, DWORD, HWND, const void*)
{
    SilentData& silent = data();
    if (silent.open || (device != -1 && device != 1))
        return FALSE;
    if (frequency == 0 || frequency > DWORD(INT_MAX))
        return FALSE;
    // The dummy driver for this start only; the hint goes back to what the
    // environment says afterwards.
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    const bool audioReady = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    if (!audioReady)
        return FALSE;
    Mix_Init(MIX_INIT_OGG | MIX_INIT_MP3 | MIX_INIT_FLAC | MIX_INIT_MOD);
    if (Mix_OpenAudio(int(frequency), AUDIO_S16SYS, 2, 1024) != 0) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return FALSE;
    }
    silent.open = true;
    return TRUE;
}

HSTREAM silentStreamCreateFile(BOOL memory, const void* file, DWORD offset, DWORD length, DWORD flags)
{
    // Files only, whole: the program never asks for more.
    if (!data().open || memory || file == nullptr || offset != 0 || length != 0 || flags != 0)
        return 0;
    const MusicPtr music(Mix_LoadMUS(static_cast<const char*>(file)));
    if (!music)
        return 0;
    SilentStream stream;
    const double seconds = Mix_MusicDuration(music.get());
    if (seconds > 0.0 && seconds * 1000.0 < double(kEndless))
        stream.durationMs = uint32_t(std::lround(seconds * 1000.0));
    const DWORD handle = newHandle();
    data().streams[handle] = stream;
    return handle;
}

BOOL silentChannelSetAttributes(DWORD handle, int frequency, int volume, int pan)
{
    // The same arguments as the real back end accepts; the volume itself is
    // not kept, since nothing is heard.
    if (findStream(handle) == nullptr)
        return FALSE;
    if (frequency != -1 && frequency != 0)
        return FALSE;
    if (pan != -101 && pan != 0)
        return FALSE;
    return volume == -1 || (volume >= 0 && volume <= 100);
}

BOOL silentChannelPlay(DWORD handle, BOOL restart)
{
    SilentData& silent = data();
    SilentStream* stream = findStream(handle);
    if (stream == nullptr)
        return FALSE;
    noteEnd(handle, *stream);
    if (silent.current == handle && !restart && stream->phase == Phase::Playing)
        return TRUE;
    const uint32_t start = restart ? 0 : stream->playedMs;
    if (silent.current != handle)
        takeOffMixer();
    silent.current = handle;
    stream->playedMs = start;
    stream->runStartTick = GetTickCount();
    stream->phase = Phase::Playing;
    return TRUE;
}

BOOL silentChannelStop(DWORD handle)
{
    SilentStream* stream = findStream(handle);
    if (stream == nullptr)
        return FALSE;
    noteEnd(handle, *stream);
    stream->playedMs = position(*stream);
    stream->phase = Phase::Stopped;
    if (data().current == handle)
        data().current = 0;
    return TRUE;
}

BOOL silentChannelPause(DWORD handle)
{
    SilentStream* stream = findStream(handle);
    if (stream == nullptr)
        return FALSE;
    noteEnd(handle, *stream);
    if (stream->phase != Phase::Playing)
        return FALSE;
    stream->playedMs = position(*stream);
    stream->phase = Phase::Paused;
    return TRUE;
}

DWORD silentChannelIsActive(DWORD handle)
{
    SilentStream* stream = findStream(handle);
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

BOOL silentStreamFree(HSTREAM handle)
{
    SilentData& silent = data();
    if (findStream(handle) == nullptr)
        return FALSE;
    if (silent.current == handle)
        silent.current = 0;
    silent.streams.erase(handle);
    return TRUE;
}

BOOL silentStop()
{
    SilentData& silent = data();
    if (!silent.open)
        return FALSE;
    // Stopping the output pauses what plays, as on the real back end.
    if (SilentStream* stream = findStream(silent.current)) {
        noteEnd(silent.current, *stream);
        if (stream->phase == Phase::Playing) {
            stream->playedMs = position(*stream);
            stream->phase = Phase::Paused;
        }
    }
    return TRUE;
}

BOOL silentFree()
{
    SilentData& silent = data();
    if (!silent.open)
        return FALSE;
    silent.streams.clear();
    silent.current = 0;
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    silent.open = false;
    return TRUE;
}

const AudioBackend kSilentBackend = {
    silentInit,
    silentStreamCreateFile,
    silentChannelSetAttributes,
    silentChannelPlay,
    silentChannelStop,
    silentChannelPause,
    silentChannelIsActive,
    silentStreamFree,
    silentStop,
    silentFree,
};

} // namespace

const AudioBackend& silentAudioBackend()
{
    return kSilentBackend;
}

} // namespace vlo
