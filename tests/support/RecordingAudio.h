#pragma once
// An audio back end that records every BASS_* call with its arguments and
// simulates file streams, for player and play-list tests without a sound
// device. Constructing a RecordingAudio installs it; destroying it restores
// the real back end. One at a time.
//
// A simulated stream has a length and a position in milliseconds. Nothing
// moves on its own: advance(ms) plays the playing streams forward, and a
// stream that reaches its length has ended (BASS_ChannelIsActive then answers
// stopped). Paths listed in `unplayable` fail to open, like a missing or
// non-audio file.

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "audio/AudioLibrary.h"

namespace vlo::test {

struct AudioCall {
    std::string name;          // "BASS_ChannelPlay" etc.
    std::vector<int64_t> args; // integer arguments in order (pointers left out)
    std::string path;          // the file of BASS_StreamCreateFile

    std::string describe() const
    {
        std::ostringstream out;
        out << name << '(';
        for (size_t i = 0; i < args.size(); ++i)
            out << (i ? ", " : "") << args[i];
        if (!path.empty())
            out << (args.empty() ? "\"" : ", \"") << path << '"';
        out << ')';
        return out.str();
    }
};

class RecordingAudio {
public:
    struct SimStream {
        std::string path;
        DWORD phase = BASS_ACTIVE_STOPPED;
        int volume = 100;
        uint32_t positionMs = 0;
        uint32_t lengthMs = 0;
    };

    RecordingAudio()
    {
        current() = this;
        setAudioBackend(&table());
    }
    ~RecordingAudio()
    {
        setAudioBackend(nullptr);
        current() = nullptr;
    }
    RecordingAudio(const RecordingAudio&) = delete;
    RecordingAudio& operator=(const RecordingAudio&) = delete;

    // Behaviour of the simulated library.
    bool initSucceeds = true;
    bool playSucceeds = true;
    bool stopSucceeds = true;
    bool pauseSucceeds = true;
    std::set<std::string> unplayable;
    std::map<std::string, uint32_t> lengths; // per path; defaultLengthMs otherwise
    uint32_t defaultLengthMs = 180000;

    // What happened.
    std::vector<AudioCall> calls;
    std::map<HSTREAM, SimStream> streams; // live streams only
    HSTREAM lastCreated = 0;
    bool initialised = false;

    // Plays every playing stream forward; one that reaches its length ends.
    void advance(uint32_t ms)
    {
        for (auto& entry : streams) {
            SimStream& stream = entry.second;
            if (stream.phase != BASS_ACTIVE_PLAYING)
                continue;
            const uint64_t reached = uint64_t(stream.positionMs) + ms;
            if (reached >= stream.lengthMs) {
                stream.positionMs = stream.lengthMs;
                stream.phase = BASS_ACTIVE_STOPPED;
            } else {
                stream.positionMs = uint32_t(reached);
            }
        }
    }

    // Lets the given stream run to its end at once.
    void finish(HSTREAM handle)
    {
        auto found = streams.find(handle);
        if (found != streams.end() && found->second.phase == BASS_ACTIVE_PLAYING)
            advance(found->second.lengthMs - found->second.positionMs);
    }

    const SimStream* stream(HSTREAM handle) const
    {
        auto found = streams.find(handle);
        return found == streams.end() ? nullptr : &found->second;
    }

    size_t count(const std::string& name) const
    {
        size_t n = 0;
        for (const AudioCall& call : calls)
            n += call.name == name ? 1 : 0;
        return n;
    }

    std::vector<AudioCall> callsOf(const std::string& name) const
    {
        std::vector<AudioCall> found;
        for (const AudioCall& call : calls)
            if (call.name == name)
                found.push_back(call);
        return found;
    }

    // The names of the calls in order, e.g. "BASS_ChannelStop BASS_StreamFree".
    std::string sequence() const
    {
        std::string all;
        for (const AudioCall& call : calls)
            all += (all.empty() ? "" : " ") + call.name;
        return all;
    }

    std::string transcript() const
    {
        std::string all;
        for (size_t i = 0; i < calls.size(); ++i)
            all += std::to_string(i) + ": " + calls[i].describe() + "\n";
        return all;
    }

private:
    static RecordingAudio*& current()
    {
        static RecordingAudio* instance = nullptr;
        return instance;
    }

    static RecordingAudio& self() { return *current(); }

    void record(const char* name, std::vector<int64_t> args, std::string path = std::string())
    {
        calls.push_back(AudioCall{name, std::move(args), std::move(path)});
    }

    SimStream* find(DWORD handle)
    {
        auto found = streams.find(handle);
        return found == streams.end() ? nullptr : &found->second;
    }

    static BOOL init(int device, DWORD frequency, DWORD flags, HWND, const void* guid)
    {
        RecordingAudio& a = self();
        a.record("BASS_Init", {device, int64_t(frequency), int64_t(flags), guid != nullptr ? 1 : 0});
        a.initialised = a.initSucceeds;
        return a.initSucceeds ? TRUE : FALSE;
    }

    static HSTREAM streamCreateFile(BOOL memory, const void* file, DWORD offset, DWORD length, DWORD flags)
    {
        RecordingAudio& a = self();
        const std::string path = (!memory && file != nullptr) ? static_cast<const char*>(file) : std::string();
        a.record("BASS_StreamCreateFile", {memory, int64_t(offset), int64_t(length), int64_t(flags)}, path);
        if (memory || file == nullptr || path.empty() || a.unplayable.count(path) != 0)
            return 0;
        SimStream stream;
        stream.path = path;
        auto known = a.lengths.find(path);
        stream.lengthMs = known != a.lengths.end() ? known->second : a.defaultLengthMs;
        const HSTREAM handle = ++a.handleCounter;
        a.streams[handle] = stream;
        a.lastCreated = handle;
        return handle;
    }

    static BOOL channelSetAttributes(DWORD handle, int frequency, int volume, int pan)
    {
        RecordingAudio& a = self();
        a.record("BASS_ChannelSetAttributes", {int64_t(handle), frequency, volume, pan});
        SimStream* stream = a.find(handle);
        if (stream == nullptr || volume < -1 || volume > 100)
            return FALSE;
        if (volume != -1)
            stream->volume = volume;
        return TRUE;
    }

    static BOOL channelPlay(DWORD handle, BOOL restart)
    {
        RecordingAudio& a = self();
        a.record("BASS_ChannelPlay", {int64_t(handle), restart});
        SimStream* stream = a.find(handle);
        if (stream == nullptr || !a.playSucceeds)
            return FALSE;
        if (restart)
            stream->positionMs = 0;
        stream->phase = BASS_ACTIVE_PLAYING;
        return TRUE;
    }

    static BOOL channelStop(DWORD handle)
    {
        RecordingAudio& a = self();
        a.record("BASS_ChannelStop", {int64_t(handle)});
        SimStream* stream = a.find(handle);
        if (stream == nullptr || !a.stopSucceeds)
            return FALSE;
        stream->phase = BASS_ACTIVE_STOPPED;
        return TRUE;
    }

    static BOOL channelPause(DWORD handle)
    {
        RecordingAudio& a = self();
        a.record("BASS_ChannelPause", {int64_t(handle)});
        SimStream* stream = a.find(handle);
        if (stream == nullptr || !a.pauseSucceeds || stream->phase != BASS_ACTIVE_PLAYING)
            return FALSE;
        stream->phase = BASS_ACTIVE_PAUSED;
        return TRUE;
    }

    static DWORD channelIsActive(DWORD handle)
    {
        RecordingAudio& a = self();
        a.record("BASS_ChannelIsActive", {int64_t(handle)});
        SimStream* stream = a.find(handle);
        return stream == nullptr ? BASS_ACTIVE_STOPPED : stream->phase;
    }

    static BOOL streamFree(HSTREAM handle)
    {
        RecordingAudio& a = self();
        a.record("BASS_StreamFree", {int64_t(handle)});
        return a.streams.erase(handle) != 0 ? TRUE : FALSE;
    }

    static BOOL stop()
    {
        RecordingAudio& a = self();
        a.record("BASS_Stop", {});
        return a.initialised ? TRUE : FALSE;
    }

    static BOOL free()
    {
        RecordingAudio& a = self();
        a.record("BASS_Free", {});
        const bool was = a.initialised;
        a.initialised = false;
        a.streams.clear();
        return was ? TRUE : FALSE;
    }

    static const AudioBackend& table()
    {
        static const AudioBackend backend = {
            init,
            streamCreateFile,
            channelSetAttributes,
            channelPlay,
            channelStop,
            channelPause,
            channelIsActive,
            streamFree,
            stop,
            free,
        };
        return backend;
    }

    HSTREAM handleCounter = 0;
};

} // namespace vlo::test
