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

#include <cmath>
#include <cstdint>

#include "platform/AudioLibrary.h"
#include "platform/sdl/StreamTable.h"

namespace vlo {
namespace {

// Durations SDL2_mixer cannot tell (some tracker and MIDI files): such a
// stream never ends by itself.
constexpr uint32_t kEndless = UINT32_MAX;

struct SilentStream {
    uint32_t durationMs = kEndless;
    StreamPhase phase = StreamPhase::Stopped;
    // Milliseconds played before the current run started.
    uint32_t playedMs = 0;
    // Tick count when the current run started.
    uint32_t runStartTick = 0;

    void rewind() { playedMs = 0; }
};

StreamTable<SilentStream>& data()
{
    static StreamTable<SilentStream> silent;
    return silent;
}

// Milliseconds into the music now; never past its end.
uint32_t position(const SilentStream& stream)
{
    uint32_t at = stream.playedMs;
    if (stream.phase == StreamPhase::Playing)
        at += GetTickCount() - stream.runStartTick;
    if (stream.durationMs != kEndless && at > stream.durationMs)
        at = stream.durationMs;
    return at;
}

// A playing stream has ended once its time is up, as on the real back end.
bool hasEnded(DWORD, const SilentStream& stream)
{
    return stream.durationMs != kEndless
        && GetTickCount() - stream.runStartTick >= stream.durationMs - stream.playedMs;
}

// Stops whatever plays now, keeping its position, before another stream starts.
void takeOffMixer()
{
    StreamTable<SilentStream>& silent = data();
    if (silent.current == 0)
        return;
    if (SilentStream* stream = silent.findNoted(silent.current, hasEnded)) {
        if (stream->phase == StreamPhase::Playing) {
            stream->playedMs = position(*stream);
            stream->phase = StreamPhase::Stopped;
        }
    }
    silent.current = 0;
}

BOOL silentInit(int device, DWORD frequency, DWORD, HWND, const void*)
{
    StreamTable<SilentStream>& silent = data();
    if (silent.open || !initArgumentsAccepted(device, frequency))
        return FALSE;
    // The dummy driver for this start only; the hint goes back to what the
    // environment says afterwards.
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    const bool audioReady = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    if (!audioReady || !openMixer(frequency))
        return FALSE;
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
    return data().add(stream);
}

BOOL silentChannelSetAttributes(DWORD handle, int frequency, int volume, int pan)
{
    // The same arguments as the real back end accepts; the volume itself is
    // not kept, since nothing is heard.
    return data().find(handle) != nullptr && attributesAccepted(frequency, volume, pan);
}

BOOL silentChannelPlay(DWORD handle, BOOL restart)
{
    StreamTable<SilentStream>& silent = data();
    SilentStream* stream = silent.findNoted(handle, hasEnded);
    if (stream == nullptr)
        return FALSE;
    if (silent.current == handle && !restart && stream->phase == StreamPhase::Playing)
        return TRUE;
    const uint32_t start = restart ? 0 : stream->playedMs;
    if (silent.current != handle)
        takeOffMixer();
    silent.current = handle;
    stream->playedMs = start;
    stream->runStartTick = GetTickCount();
    stream->phase = StreamPhase::Playing;
    return TRUE;
}

BOOL silentChannelStop(DWORD handle)
{
    SilentStream* stream = data().findNoted(handle, hasEnded);
    if (stream == nullptr)
        return FALSE;
    stream->playedMs = position(*stream);
    stream->phase = StreamPhase::Stopped;
    if (data().current == handle)
        data().current = 0;
    return TRUE;
}

BOOL silentChannelPause(DWORD handle)
{
    SilentStream* stream = data().findNoted(handle, hasEnded);
    if (stream == nullptr || stream->phase != StreamPhase::Playing)
        return FALSE;
    stream->playedMs = position(*stream);
    stream->phase = StreamPhase::Paused;
    return TRUE;
}

DWORD silentChannelIsActive(DWORD handle)
{
    const SilentStream* stream = data().findNoted(handle, hasEnded);
    return stream == nullptr ? BASS_ACTIVE_STOPPED : activeState(stream->phase);
}

BOOL silentStreamFree(HSTREAM handle)
{
    StreamTable<SilentStream>& silent = data();
    if (silent.find(handle) == nullptr)
        return FALSE;
    silent.erase(handle);
    return TRUE;
}

BOOL silentStop()
{
    StreamTable<SilentStream>& silent = data();
    if (!silent.open)
        return FALSE;
    // Stopping the output pauses what plays, as on the real back end.
    if (SilentStream* stream = silent.findNoted(silent.current, hasEnded)) {
        if (stream->phase == StreamPhase::Playing) {
            stream->playedMs = position(*stream);
            stream->phase = StreamPhase::Paused;
        }
    }
    return TRUE;
}

BOOL silentFree()
{
    StreamTable<SilentStream>& silent = data();
    if (!silent.open)
        return FALSE;
    silent.clear();
    closeMixer();
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
