#pragma once
// The stream bookkeeping both SDL2_mixer back ends share: handles, the one
// stream on the mixer, and how a finished run is noted. What differs (how a
// position is measured, what play and pause do to the mixer) stays in each
// back end; the record type Stream needs a `phase` and a `rewind()`.

#include <SDL.h>
#include <SDL_mixer.h>

#include <climits>
#include <memory>
#include <unordered_map>
#include <utility>

#include "platform/AudioLibrary.h"

namespace vlo {

struct MusicDeleter {
    void operator()(Mix_Music* music) const { Mix_FreeMusic(music); }
};
using MusicPtr = std::unique_ptr<Mix_Music, MusicDeleter>;

enum class StreamPhase { Stopped, Playing, Paused };

inline DWORD activeState(StreamPhase phase)
{
    switch (phase) {
    case StreamPhase::Playing:
        return BASS_ACTIVE_PLAYING;
    case StreamPhase::Paused:
        return BASS_ACTIVE_PAUSED;
    case StreamPhase::Stopped:
        break;
    }
    return BASS_ACTIVE_STOPPED;
}

// -1 is the default output device and 1 the first real one; both mean the
// device SDL picks. Device 0 (no sound) is not offered.
inline bool initArgumentsAccepted(int device, DWORD frequency)
{
    if (device != -1 && device != 1)
        return false;
    return frequency != 0 && frequency <= DWORD(INT_MAX);
}

// The playback rate and the panning of the music cannot be changed on
// SDL2_mixer: only "unchanged" (-1, -101) and the defaults are accepted.
inline bool attributesAccepted(int frequency, int volume, int pan)
{
    if (frequency != -1 && frequency != 0)
        return false;
    if (pan != -101 && pan != 0)
        return false;
    return volume == -1 || (volume >= 0 && volume <= 100);
}

// Opens the mixer on the audio subsystem the caller has started; on failure
// the subsystem is shut again. Output is 16-bit stereo; 1024 frames per
// buffer keep pause and stop within about 25 ms at 44100 Hz.
inline bool openMixer(DWORD frequency)
{
    // Decoders that are not installed are simply missing; WAV needs none.
    Mix_Init(MIX_INIT_OGG | MIX_INIT_MP3 | MIX_INIT_FLAC | MIX_INIT_MOD);
    if (Mix_OpenAudio(int(frequency), AUDIO_S16SYS, 2, 1024) != 0) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    return true;
}

inline void closeMixer()
{
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

template <typename Stream>
class StreamTable {
public:
    bool open = false;
    // The stream the mixer plays or holds paused; 0 when the mixer is idle.
    // SDL2_mixer plays one music at a time: a second stream that starts
    // stops the first.
    DWORD current = 0;

    Stream* find(DWORD handle)
    {
        auto found = streams_.find(handle);
        return found == streams_.end() ? nullptr : &found->second;
    }

    DWORD add(Stream stream)
    {
        // Handles are never 0 and not handed out again while in use.
        do {
            ++lastHandle_;
        } while (lastHandle_ == 0 || streams_.count(lastHandle_) != 0);
        streams_[lastHandle_] = std::move(stream);
        return lastHandle_;
    }

    void erase(DWORD handle)
    {
        if (current == handle)
            current = 0;
        streams_.erase(handle);
    }

    void clear()
    {
        current = 0;
        streams_.clear();
    }

    // A playing stream whose run is over (ended(handle, stream) says so) has
    // reached its end: it counts as stopped, and the next play starts it from
    // the beginning. ended is asked only about a playing stream.
    template <typename Ended>
    void noteEnd(DWORD handle, Stream& stream, Ended ended)
    {
        if (stream.phase != StreamPhase::Playing || !ended(handle, stream))
            return;
        stream.phase = StreamPhase::Stopped;
        stream.rewind();
        if (current == handle)
            current = 0;
    }

    // The stream with its end noted, as every channel call wants to see it.
    template <typename Ended>
    Stream* findNoted(DWORD handle, Ended ended)
    {
        Stream* stream = find(handle);
        if (stream != nullptr)
            noteEnd(handle, *stream, ended);
        return stream;
    }

private:
    std::unordered_map<DWORD, Stream> streams_;
    DWORD lastHandle_ = 0;
};

} // namespace vlo
