#pragma once
// The stream bookkeeping both audio back ends share: handles, the one stream
// that plays, and how a finished run is noted. What differs (how a position
// is kept, what play and pause do to the output) stays in each back end; the
// record type Stream needs a `phase` and a `rewind()`.

#include <climits>
#include <unordered_map>
#include <utility>

#include "platform/AudioLibrary.h"

namespace vlo {

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

// The playback rate and the panning of the music are not offered: only
// "unchanged" (-1, -101) and the defaults are accepted.
inline bool attributesAccepted(int frequency, int volume, int pan)
{
    if (frequency != -1 && frequency != 0)
        return false;
    if (pan != -101 && pan != 0)
        return false;
    return volume == -1 || (volume >= 0 && volume <= 100);
}

template <typename Stream> class StreamTable {
public:
    bool open = false;
    // The stream that plays or is held paused; 0 when none. One music plays
    // at a time: a second stream that starts stops the first.
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
    template <typename Ended> void noteEnd(DWORD handle, Stream& stream, Ended ended)
    {
        if (stream.phase != StreamPhase::Playing || !ended(handle, stream))
            return;
        stream.phase = StreamPhase::Stopped;
        stream.rewind();
        if (current == handle)
            current = 0;
    }

    // The stream with its end noted, as every channel call wants to see it.
    template <typename Ended> Stream* findNoted(DWORD handle, Ended ended)
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
