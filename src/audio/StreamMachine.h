#pragma once
// The streams of an audio back end, one state machine whatever the output:
// handles, the phase of each stream (stopped, playing, paused), the one
// stream that holds the output, and how a stream that reaches its end is
// noted. The audio functions of the player's table map one to one onto the
// public operations, with the same arguments and results. The output under it
// keeps the music's place and makes the sound (or keeps the time).
//
// One music plays at a time, as the player wants: starting a second stream
// stops the first. A stream that reaches its end counts as stopped, and its
// next play starts from the beginning. Stopping the whole output pauses what
// plays. The phases answer the player at once; what is heard follows through
// the output's ramps. Main thread only.

#include <memory>
#include <unordered_map>

#include "audio/AudioLibrary.h"
#include "audio/AudioOutput.h"
#include "audio/OutputVoice.h"
#include "audio/decoders/MusicDecoder.h"

namespace vlo {

class StreamMachine {
public:
    explicit StreamMachine(AudioOutput& output);
    StreamMachine(const StreamMachine&) = delete;
    StreamMachine& operator=(const StreamMachine&) = delete;

    BOOL init(int device, DWORD frequency);
    // Opens the music file at `file` (a path; whole files only) before it
    // returns, so that a file that will not play is refused at once.
    HSTREAM createFile(BOOL memory, const void* file, DWORD offset, DWORD length, DWORD flags);
    // A stream of an opened decoder; 0 when the output refuses it.
    HSTREAM create(std::unique_ptr<MusicDecoder> decoder);
    BOOL setAttributes(DWORD handle, int frequency, int volume, int pan);
    BOOL play(DWORD handle, BOOL restart);
    BOOL stop(DWORD handle);
    BOOL pause(DWORD handle);
    DWORD isActive(DWORD handle);
    BOOL free(HSTREAM handle);
    // The whole output: stop pauses what plays; free releases every stream.
    BOOL stopOutput();
    BOOL freeOutput();

private:
    enum class Phase { Stopped, Playing, Paused };

    struct Stream {
        std::unique_ptr<OutputVoice> voice;
        Phase phase = Phase::Stopped;
        // The music reached its end: the next play starts over even without
        // restart.
        bool rewound = false;
    };

    // The stream with its end noted, after the output was watched; null for
    // an unknown handle.
    Stream* find(DWORD handle);
    void noteEnd(DWORD handle, Stream& stream);
    // The stream that holds the output stops (keeping its place) or stays
    // paused; either way it no longer holds the output.
    void takeOffOutput();

    AudioOutput& output_;
    bool open_ = false;
    // The stream that plays or is held paused; 0 when none.
    DWORD current_ = 0;
    std::unordered_map<DWORD, Stream> streams_;
    DWORD lastHandle_ = 0;
};

} // namespace vlo
