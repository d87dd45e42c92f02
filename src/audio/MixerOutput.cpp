#include "audio/MixerOutput.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "audio/DecodeFeed.h"

namespace vlo {

namespace {

// Frames mixed in one go; the device asks for this many at a time, about
// 23 ms at 44100 Hz.
constexpr size_t kMixFrames = 1024;
// How often a lost device is looked for again while the silent device keeps
// time.
constexpr auto kRetryInterval = std::chrono::milliseconds(500);

} // namespace

struct MixerOutput::Voice {
    std::shared_ptr<DecodeFeed> feed;
    float volume = 1.0f;
    // The level now, moving towards volume (playing) or 0 by the ramp.
    float gain = 0.0f;
    bool wanted = false;
    // A start from the first sample waits for the fade-out of what sounds.
    bool restart = false;
    bool ended = false;
    bool released = false;
    // Released and silent: the mixer is done with it.
    bool gone = false;

    ~Voice() { DecodeFeed::letGo(std::move(feed)); }
};

namespace {

// The stream state machine's hold on a voice; letting it go fades the voice
// out.
class MixerVoice : public OutputVoice {
public:
    MixerVoice(MixerOutput& mixer, std::shared_ptr<MixerOutput::Voice> voice)
        : mixer_(mixer)
        , voice_(std::move(voice))
    {
    }
    ~MixerVoice() override { mixer_.release(*voice_); }

    void start(bool fromStart) override { mixer_.start(*voice_, fromStart); }
    void halt() override { mixer_.halt(*voice_); }
    void setVolume(float volume) override { mixer_.setVolume(*voice_, volume); }
    bool ended() override { return mixer_.ended(*voice_); }

private:
    MixerOutput& mixer_;
    std::shared_ptr<MixerOutput::Voice> voice_;
};

} // namespace

MixerOutput::MixerOutput()
    : decodeThreads_(std::make_shared<ThreadCount>())
{
}

MixerOutput::~MixerOutput()
{
    close();
}

bool MixerOutput::open(int rate)
{
    if (open_ || rate <= 0)
        return false;
    rate_ = rate;
    rampStep_ = float(1.0 / (kRampSeconds * rate));
    sum_.assign(kMixFrames * 2, 0.0f);
    taken_.assign(kMixFrames * 2, 0.0f);
    // Without a sound card (or with SDL_AUDIODRIVER naming no driver there
    // is) SDL starts no audio at all; the silent device then keeps time.
    audioStarted_ = SoundDevice::startAudio();
    openDevice();
    open_ = true;
    return true;
}

void MixerOutput::openDevice()
{
    if (audioStarted_)
        sound_ = SoundDevice::open(rate_, kMixFrames, pull, this);
    if (!sound_)
        silent_ = std::make_unique<SilentDevice>(rate_, kMixFrames, pull, this);
}

void MixerOutput::close()
{
    if (!open_)
        return;
    // Never with mutex_ held: closing a device waits for its last pull.
    sound_.reset();
    silent_.reset();
    std::vector<std::shared_ptr<Voice>> voices;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        voices.swap(voices_);
    }
    voices.clear();
    // Each decode thread ends after its current read and closes its file.
    decodeThreads_->waitForAll();
    if (audioStarted_)
        SoundDevice::stopAudio();
    audioStarted_ = false;
    lost_ = false;
    open_ = false;
}

std::unique_ptr<OutputVoice> MixerOutput::add(std::unique_ptr<MusicDecoder> decoder)
{
    if (!open_)
        return nullptr;
    auto voice = std::make_shared<Voice>();
    voice->feed = DecodeFeed::start(std::move(decoder), rate_, decodeThreads_);
    if (voice->feed == nullptr)
        return nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        voices_.push_back(voice);
    }
    return std::make_unique<MixerVoice>(*this, std::move(voice));
}

void MixerOutput::pull(void* user, int16_t* out, size_t frames)
{
    MixerOutput& mixer = *static_cast<MixerOutput*>(user);
    std::lock_guard<std::mutex> lock(mixer.mutex_);
    mixer.mix(out, frames);
}

void MixerOutput::mix(int16_t* out, size_t frames)
{
    std::fill(sum_.begin(), sum_.begin() + long(frames * 2), 0.0f);
    for (const std::shared_ptr<Voice>& voice : voices_)
        mixVoice(*voice, frames);
    for (size_t i = 0; i < frames * 2; ++i) {
        const float v = std::clamp(sum_[i], -1.0f, 1.0f);
        out[i] = int16_t(std::lround(v * 32767.0f));
    }
}

void MixerOutput::mixVoice(Voice& voice, size_t frames)
{
    if (voice.gone)
        return;
    if (voice.restart && voice.gain == 0.0f) {
        voice.feed->rewind();
        voice.restart = false;
    }
    // A playing voice takes its frames even at volume 0: its music moves on.
    const bool playing = voice.wanted && !voice.restart && !voice.ended;
    if (!playing && voice.gain == 0.0f) {
        voice.gone = voice.released;
        return;
    }
    const float target = playing ? voice.volume : 0.0f;
    // A voice fading out is taken only up to its silence, so that it
    // continues from exactly there.
    size_t take = frames;
    if (!playing)
        take = std::min(frames, size_t(std::ceil(voice.gain / rampStep_)));
    const size_t got = voice.feed->take(taken_.data(), take);
    const float* in = taken_.data();
    for (size_t i = 0; i < got; ++i) {
        if (voice.gain < target)
            voice.gain = std::min(voice.gain + rampStep_, target);
        else if (voice.gain > target)
            voice.gain = std::max(voice.gain - rampStep_, target);
        sum_[2 * i] += voice.gain * in[2 * i];
        sum_[2 * i + 1] += voice.gain * in[2 * i + 1];
    }
    // Fewer frames than asked: the music is over, or its decoding is behind
    // (a slow file), when the voice goes on with the next frames.
    if (got < take && voice.feed->finished()) {
        voice.ended = true;
        voice.gain = 0.0f;
    }
}

void MixerOutput::start(Voice& voice, bool fromStart)
{
    std::lock_guard<std::mutex> lock(mutex_);
    voice.ended = false;
    if (fromStart) {
        // Straight away when silent; after the fade-out otherwise.
        if (voice.gain == 0.0f)
            voice.feed->rewind();
        else
            voice.restart = true;
    }
    voice.wanted = true;
}

void MixerOutput::halt(Voice& voice)
{
    std::lock_guard<std::mutex> lock(mutex_);
    voice.wanted = false;
}

void MixerOutput::setVolume(Voice& voice, float volume)
{
    std::lock_guard<std::mutex> lock(mutex_);
    voice.volume = std::clamp(volume, 0.0f, 1.0f);
}

bool MixerOutput::ended(Voice& voice)
{
    std::lock_guard<std::mutex> lock(mutex_);
    return voice.ended;
}

void MixerOutput::release(Voice& voice)
{
    std::lock_guard<std::mutex> lock(mutex_);
    voice.wanted = false;
    voice.released = true;
    voice.gone = voice.gain == 0.0f;
}

void MixerOutput::dropReleased()
{
    // Outside the lock: letting a voice's feed go wakes its decode thread.
    std::vector<std::shared_ptr<Voice>> done;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto keep = std::stable_partition(
            voices_.begin(), voices_.end(), [](const std::shared_ptr<Voice>& voice) { return !voice->gone; });
        done.assign(std::make_move_iterator(keep), std::make_move_iterator(voices_.end()));
        voices_.erase(keep, voices_.end());
    }
}

void MixerOutput::watch()
{
    if (!open_)
        return;
    dropReleased();
    if (sound_) {
        if (!sound_->lost())
            return;
        // Unplugged, or the sound server went away: the default device
        // again, continuing at the sample the lost one had reached.
        sound_.reset();
        openDevice();
        if (sound_)
            return;
        lost_ = true;
        lastTry_ = std::chrono::steady_clock::now();
        return;
    }
    if (!lost_ || std::chrono::steady_clock::now() - lastTry_ < kRetryInterval)
        return;
    lastTry_ = std::chrono::steady_clock::now();
    silent_.reset();
    openDevice();
    if (sound_)
        lost_ = false;
}

} // namespace vlo
