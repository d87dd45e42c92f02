#include "audio/DecodeFeed.h"

#include <pthread.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <utility>

namespace vlo {

namespace {

// Frames asked of a decoder at a time.
constexpr size_t kDecodeFrames = 1024;
constexpr int kMaxDecodedChannels = 8;
// A thread waiting for room looks again this often even unwoken: taking
// frames wakes it without a lock, so a wake-up can be missed.
constexpr auto kRoomPoll = std::chrono::milliseconds(100);
// Bytes of one stereo float frame in the ring.
constexpr size_t kFrameBytes = 2 * sizeof(float);

} // namespace

std::shared_ptr<DecodeFeed> DecodeFeed::start(
    std::unique_ptr<MusicDecoder> decoder, int rate, std::shared_ptr<ThreadCount> threads)
{
    if (decoder == nullptr || rate <= 0 || decoder->channels() < 1 || decoder->channels() > kMaxDecodedChannels)
        return nullptr;
    SDL_AudioStream* converter
        = SDL_NewAudioStream(AUDIO_F32SYS, Uint8(decoder->channels()), decoder->rate(), AUDIO_F32SYS, 2, rate);
    if (converter == nullptr)
        return nullptr;
    std::shared_ptr<DecodeFeed> feed(new DecodeFeed(std::move(decoder), converter, rate, std::move(threads)));
    // The thread's own share; without a thread there is no music (no
    // exception: the stream simply does not open).
    auto* share = new std::shared_ptr<DecodeFeed>(feed);
    feed->threads_->started();
    pthread_t thread;
    if (pthread_create(&thread, nullptr, threadMain, share) != 0) {
        delete share;
        feed->threads_->done();
        return nullptr;
    }
    pthread_detach(thread);
    return feed;
}

void DecodeFeed::letGo(std::shared_ptr<DecodeFeed> feed)
{
    if (feed == nullptr)
        return;
    // The thread keeps its share until it sees the stop, so the feed stays
    // alive while it is told; it then closes the decoder itself.
    DecodeFeed* raw = feed.get();
    feed.reset();
    std::lock_guard<std::mutex> lock(raw->wakeMutex_);
    raw->stop_ = true;
    raw->wake_.notify_all();
}

DecodeFeed::DecodeFeed(
    std::unique_ptr<MusicDecoder> decoder, SDL_AudioStream* converter, int rate, std::shared_ptr<ThreadCount> threads)
    : decoder_(std::move(decoder))
    , converter_(converter)
    , threads_(std::move(threads))
    , decoded_(kDecodeFrames * size_t(decoder_->channels()))
    , capacity_(size_t(kRingSeconds * rate))
{
    ring_.resize(capacity_ * 2);
}

DecodeFeed::~DecodeFeed()
{
    SDL_FreeAudioStream(converter_);
}

void* DecodeFeed::threadMain(void* share)
{
    std::unique_ptr<std::shared_ptr<DecodeFeed>> feed(static_cast<std::shared_ptr<DecodeFeed>*>(share));
    run(std::move(*feed));
    return nullptr;
}

void DecodeFeed::run(std::shared_ptr<DecodeFeed> feed)
{
    feed->decodeLoop();
    std::shared_ptr<ThreadCount> threads = feed->threads_;
    // The decoder closes here unless the output still holds the feed.
    feed.reset();
    threads->done();
}

size_t DecodeFeed::take(float* out, size_t frames)
{
    const uint32_t run = wanted_.load(std::memory_order_relaxed);
    if (ready_.load(std::memory_order_acquire) != run)
        return 0;
    const uint64_t read = read_.load(std::memory_order_relaxed);
    const uint64_t written = written_.load(std::memory_order_acquire);
    const size_t count = size_t(std::min<uint64_t>(written - read, frames));
    for (size_t done = 0; done < count;) {
        const size_t at = size_t((read + done) % capacity_);
        const size_t piece = std::min(count - done, capacity_ - at);
        std::memcpy(out + 2 * done, &ring_[2 * at], piece * kFrameBytes);
        done += piece;
    }
    read_.store(read + count, std::memory_order_release);
    if (count > 0) {
        taken_ = true;
        // Unlocked, so that the output never waits here; the thread also
        // looks for room by itself.
        wake_.notify_one();
    }
    return count;
}

bool DecodeFeed::finished() const
{
    const uint32_t run = wanted_.load(std::memory_order_relaxed);
    return ready_.load(std::memory_order_acquire) == run && ended_.load(std::memory_order_acquire) == run + 1
        && read_.load(std::memory_order_relaxed) == written_.load(std::memory_order_acquire);
}

void DecodeFeed::rewind()
{
    const uint32_t run = wanted_.load(std::memory_order_relaxed);
    // Already on the way to the first sample, or still there.
    if (ready_.load(std::memory_order_acquire) != run || !taken_)
        return;
    taken_ = false;
    std::lock_guard<std::mutex> lock(wakeMutex_);
    wanted_.store(run + 1, std::memory_order_release);
    wake_.notify_all();
}

bool DecodeFeed::stopping()
{
    std::lock_guard<std::mutex> lock(wakeMutex_);
    return stop_;
}

void DecodeFeed::decodeLoop()
{
    uint32_t run = 0;
    while (!stopping()) {
        const uint32_t wanted = wanted_.load(std::memory_order_acquire);
        if (wanted != run) {
            run = wanted;
            startOver(run);
        } else if (ended_.load(std::memory_order_relaxed) == run + 1
            || written_.load(std::memory_order_relaxed) - read_.load(std::memory_order_acquire) >= capacity_) {
            waitForWork(run);
        } else if (SDL_AudioStreamAvailable(converter_) > 0) {
            fillRing();
        } else if (decoderDone_) {
            // Every frame of the music is in the ring.
            ended_.store(run + 1, std::memory_order_release);
        } else {
            convertMore();
        }
    }
}

void DecodeFeed::startOver(uint32_t run)
{
    decoder_->rewind();
    SDL_AudioStreamClear(converter_);
    decoderDone_ = false;
    // The output leaves the ring alone until ready_ says so.
    read_.store(written_.load(std::memory_order_relaxed), std::memory_order_relaxed);
    ready_.store(run, std::memory_order_release);
}

void DecodeFeed::convertMore()
{
    const size_t frames = decoder_->read(decoded_.data(), kDecodeFrames);
    const int bytes = int(frames * size_t(decoder_->channels()) * sizeof(float));
    if (frames > 0 && SDL_AudioStreamPut(converter_, decoded_.data(), bytes) == 0)
        return;
    // The end of the music, or a decoding error: what is converted still plays.
    decoderDone_ = true;
    SDL_AudioStreamFlush(converter_);
}

void DecodeFeed::fillRing()
{
    const uint64_t written = written_.load(std::memory_order_relaxed);
    const size_t room = capacity_ - size_t(written - read_.load(std::memory_order_acquire));
    const size_t at = size_t(written % capacity_);
    const size_t piece = std::min(room, capacity_ - at);
    const int got = SDL_AudioStreamGet(converter_, &ring_[2 * at], int(piece * kFrameBytes));
    if (got > 0) {
        written_.store(written + size_t(got) / kFrameBytes, std::memory_order_release);
        return;
    }
    // The converter holds samples it will not give: the music ends here.
    SDL_AudioStreamClear(converter_);
    decoderDone_ = true;
}

void DecodeFeed::waitForWork(uint32_t run)
{
    std::unique_lock<std::mutex> lock(wakeMutex_);
    const auto asked = [&] { return stop_ || wanted_.load(std::memory_order_acquire) != run; };
    if (ended_.load(std::memory_order_relaxed) == run + 1) {
        // Nothing left to decode: only a rewind or the end of the feed.
        wake_.wait(lock, asked);
        return;
    }
    wake_.wait_for(lock, kRoomPoll, [&] {
        return asked() || written_.load(std::memory_order_relaxed) - read_.load(std::memory_order_acquire) < capacity_;
    });
}

} // namespace vlo
