// A silent audio back end for previews: streams open only for files the real
// back end decodes, play no sound, and end after the music's real duration
// counted on the GetTickCount clock. With the tick source replaced, a preview
// sees tracks end and the show advance exactly when an undisturbed run would.
//
// No audio device is opened. Each file is opened with the real back end's
// decoders only to measure it; the decoder is closed again at once.

#include <cmath>
#include <cstdint>
#include <string>

#include "platform/AudioLibrary.h"
#include "platform/sdl/MusicDecoder.h"
#include "platform/sdl/StreamTable.h"

namespace vlo {
namespace {

// Durations the decoder cannot tell: such a stream never ends by itself.
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
    return stream.durationMs != kEndless && GetTickCount() - stream.runStartTick >= stream.durationMs - stream.playedMs;
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
    silent.open = true;
    return TRUE;
}

HSTREAM silentStreamCreateFile(BOOL memory, const void* file, DWORD offset, DWORD length, DWORD flags)
{
    // Files only, whole: the program never asks for more.
    if (!data().open || memory || file == nullptr || offset != 0 || length != 0 || flags != 0)
        return 0;
    std::string why;
    const std::unique_ptr<MusicDecoder> decoder = openMusicDecoder(static_cast<const char*>(file), why);
    if (!decoder)
        return 0;
    SilentStream stream;
    const double seconds = decoder->seconds();
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
