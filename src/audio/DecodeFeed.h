#pragma once
// One voice's music decoded ahead of the output, on a thread of its own: the
// decoder's samples, converted by SDL to the output's rate and to stereo,
// wait in a ring of kRingSeconds for the output to take them. The output's
// thread never decodes, reads a file or waits: it takes what is there.
//
// Taking, rewinding and asking whether the music is over belong to the
// output (one thread at a time, under its own lock). The decode thread works
// without any lock the output or the main thread takes; letting the feed go
// never waits for it either: a thread stuck in a slow read finishes its read
// and then ends by itself.

#include <SDL.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "audio/ThreadCount.h"
#include "audio/decoders/MusicDecoder.h"

namespace vlo {

class DecodeFeed {
public:
    // Seconds of music decoded ahead at most.
    static constexpr double kRingSeconds = 1.0;

    // Starts decoding into a fresh ring at the output's `rate`; the thread is
    // counted in `threads`. Null when SDL cannot convert the decoder's samples.
    static std::shared_ptr<DecodeFeed> start(
        std::unique_ptr<MusicDecoder> decoder, int rate, std::shared_ptr<ThreadCount> threads);
    // Asks the thread to end, and drops the caller's share: the decoder is
    // closed on the thread once its current read is over.
    static void letGo(std::shared_ptr<DecodeFeed> feed);

    ~DecodeFeed();
    DecodeFeed(const DecodeFeed&) = delete;
    DecodeFeed& operator=(const DecodeFeed&) = delete;

    // Copies up to `frames` stereo frames into out; fewer when no more are
    // decoded yet (or the music is over).
    size_t take(float* out, size_t frames);
    // Whether the music is over: decoded to its end and every frame taken.
    bool finished() const;
    // Back to the first sample: until the thread has sought there, take
    // gives nothing. Nothing to do when nothing was taken since.
    void rewind();

private:
    DecodeFeed(std::unique_ptr<MusicDecoder> decoder, SDL_AudioStream* converter, int rate,
        std::shared_ptr<ThreadCount> threads);
    // The decode thread: takes over its share of the feed, decodes until let
    // go, and drops the share (closing the decoder when it is the last).
    static void* threadMain(void* share);
    static void run(std::shared_ptr<DecodeFeed> feed);
    void decodeLoop();
    // The decode thread's steps.
    void startOver(uint32_t run);
    void convertMore();
    void fillRing();
    void waitForWork(uint32_t run);
    bool stopping();

    std::unique_ptr<MusicDecoder> decoder_;
    SDL_AudioStream* converter_;
    std::shared_ptr<ThreadCount> threads_;
    std::vector<float> decoded_;
    bool decoderDone_ = false;

    // The ring: frames [read_, written_) are decoded and not yet taken; the
    // decode thread moves written_, the output moves read_.
    std::vector<float> ring_;
    size_t capacity_ = 0;
    std::atomic<uint64_t> written_{0};
    std::atomic<uint64_t> read_{0};

    // Runs from the first sample: the output asks for a new one with each
    // rewind (wanted_), the thread answers once the ring holds that run from
    // its start (ready_), and marks the run whose last frame it has put into
    // the ring (ended_, as run + 1; 0 for none). While wanted_ and ready_
    // differ, the ring belongs to the thread alone.
    std::atomic<uint32_t> wanted_{0};
    std::atomic<uint32_t> ready_{0};
    std::atomic<uint32_t> ended_{0};
    // Whether anything was taken since the run began (the output's own).
    bool taken_ = false;

    std::mutex wakeMutex_;
    std::condition_variable wake_;
    bool stop_ = false;
};

} // namespace vlo
