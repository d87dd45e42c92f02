#include "platform/sdl/AudioMixer.h"

#include <algorithm>
#include <cmath>

namespace vlo {

namespace {

// Frames mixed in one go; the device asks for this many at a time, about
// 23 ms at 44100 Hz.
constexpr size_t kMixFrames = 1024;
// Frames asked of a decoder at a time.
constexpr size_t kDecodeFrames = 1024;
constexpr int kMaxDecodedChannels = 8;
// How often a lost device is looked for again while the silent device keeps
// time.
constexpr auto kRetryInterval = std::chrono::milliseconds(500);

} // namespace

struct AudioMixer::Voice {
    std::unique_ptr<MusicDecoder> decoder;
    // Converts the decoder's rate and channels to the output's.
    SDL_AudioStream* converter = nullptr;
    std::vector<float> decoded;
    std::vector<float> converted;

    float volume = 1.0f;
    // The level now, moving towards volume (sounding) or 0 by the ramp.
    float gain = 0.0f;
    bool wanted = false;
    // A start from the first sample waits for the fade-out of what sounds.
    bool restart = false;
    bool decoderDone = false;
    bool ended = false;
    bool released = false;
    // Released and silent: the mixer is done with it.
    bool gone = false;

    ~Voice()
    {
        if (converter != nullptr)
            SDL_FreeAudioStream(converter);
    }

    void rewind()
    {
        decoder->rewind();
        SDL_AudioStreamClear(converter);
        decoderDone = false;
        ended = false;
        restart = false;
    }
};

bool AudioMixer::open(int rate)
{
    if (open_ || rate <= 0)
        return false;
    rate_ = rate;
    rampStep_ = float(1.0 / (kRampSeconds * rate));
    sum_.assign(kMixFrames * 2, 0.0f);
    // Without a sound card (or with SDL_AUDIODRIVER naming no driver there
    // is) SDL starts no audio at all; the silent device then keeps time.
    audioSubsystem_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (!audioSubsystem_ || !openDevice())
        startSilentDevice();
    open_ = true;
    return true;
}

void AudioMixer::close()
{
    if (!open_)
        return;
    closeDevice();
    stopSilentDevice();
    voices_.clear();
    if (audioSubsystem_)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    audioSubsystem_ = false;
    lost_ = false;
    open_ = false;
}

bool AudioMixer::openDevice()
{
    SDL_AudioSpec wanted{};
    wanted.freq = rate_;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = Uint16(kMixFrames);
    wanted.callback = deviceCallback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts to whatever the hardware takes.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device_ == 0)
        return false;
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

void AudioMixer::closeDevice()
{
    // Never with mutex_ held: closing waits for the callback, which takes it.
    if (device_ != 0)
        SDL_CloseAudioDevice(device_);
    device_ = 0;
}

void AudioMixer::startSilentDevice()
{
    silentStop_ = false;
    silentThread_ = std::thread(&AudioMixer::silentDeviceLoop, this);
}

void AudioMixer::stopSilentDevice()
{
    if (!silentThread_.joinable())
        return;
    {
        std::lock_guard<std::mutex> lock(silentMutex_);
        silentStop_ = true;
    }
    silentWake_.notify_all();
    silentThread_.join();
}

void AudioMixer::silentDeviceLoop()
{
    // Takes as many frames as the output rate has made due since the start,
    // every 10 ms, so the music moves on in real time.
    std::vector<int16_t> dropped(kMixFrames * 2);
    const auto start = std::chrono::steady_clock::now();
    uint64_t taken = 0;
    std::unique_lock<std::mutex> wait(silentMutex_);
    while (!silentStop_) {
        silentWake_.wait_for(wait, std::chrono::milliseconds(10));
        if (silentStop_)
            break;
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const uint64_t due = uint64_t(elapsed * rate_);
        while (taken < due) {
            const size_t frames = size_t(std::min<uint64_t>(due - taken, kMixFrames));
            {
                std::lock_guard<std::mutex> lock(mutex_);
                mix(dropped.data(), frames);
            }
            taken += frames;
        }
    }
}

void SDLCALL AudioMixer::deviceCallback(void* user, Uint8* stream, int length)
{
    AudioMixer& mixer = *static_cast<AudioMixer*>(user);
    int16_t* out = reinterpret_cast<int16_t*>(stream);
    size_t frames = size_t(length) / 4;
    std::lock_guard<std::mutex> lock(mixer.mutex_);
    while (frames > 0) {
        const size_t now = std::min(frames, kMixFrames);
        mixer.mix(out, now);
        out += now * 2;
        frames -= now;
    }
}

void AudioMixer::mix(int16_t* out, size_t frames)
{
    std::fill(sum_.begin(), sum_.begin() + long(frames * 2), 0.0f);
    for (const std::shared_ptr<Voice>& voice : voices_)
        mixVoice(*voice, frames);
    for (size_t i = 0; i < frames * 2; ++i) {
        const float v = std::clamp(sum_[i], -1.0f, 1.0f);
        out[i] = int16_t(std::lround(v * 32767.0f));
    }
}

void AudioMixer::mixVoice(Voice& voice, size_t frames)
{
    if (voice.gone)
        return;
    if (voice.restart && voice.gain == 0.0f)
        voice.rewind();
    const float target = voice.wanted && !voice.restart && !voice.ended ? voice.volume : 0.0f;
    if (voice.gain == 0.0f && target == 0.0f) {
        voice.gone = voice.released;
        return;
    }
    // A voice fading out is taken only up to its silence, so that it
    // continues from exactly there.
    size_t take = frames;
    if (target == 0.0f)
        take = std::min(frames, size_t(std::ceil(voice.gain / rampStep_)));
    const size_t got = fill(voice, take);
    const float* in = voice.converted.data();
    for (size_t i = 0; i < got; ++i) {
        if (voice.gain < target)
            voice.gain = std::min(voice.gain + rampStep_, target);
        else if (voice.gain > target)
            voice.gain = std::max(voice.gain - rampStep_, target);
        sum_[2 * i] += voice.gain * in[2 * i];
        sum_[2 * i + 1] += voice.gain * in[2 * i + 1];
    }
    if (got < take) {
        // The music has played its last sample.
        voice.ended = true;
        voice.gain = 0.0f;
    }
}

size_t AudioMixer::fill(Voice& voice, size_t frames)
{
    const int wanted = int(frames * 2 * sizeof(float));
    while (SDL_AudioStreamAvailable(voice.converter) < wanted && !voice.decoderDone) {
        const size_t decoded = voice.decoder->read(voice.decoded.data(), kDecodeFrames);
        const int bytes = int(decoded * size_t(voice.decoder->channels()) * sizeof(float));
        if (decoded == 0 || SDL_AudioStreamPut(voice.converter, voice.decoded.data(), bytes) != 0) {
            voice.decoderDone = true;
            SDL_AudioStreamFlush(voice.converter);
        }
    }
    const int got = SDL_AudioStreamGet(voice.converter, voice.converted.data(), wanted);
    return got > 0 ? size_t(got) / (2 * sizeof(float)) : 0;
}

std::shared_ptr<AudioMixer::Voice> AudioMixer::add(std::unique_ptr<MusicDecoder> decoder)
{
    if (!open_ || decoder == nullptr || decoder->channels() < 1 || decoder->channels() > kMaxDecodedChannels)
        return nullptr;
    auto voice = std::make_shared<Voice>();
    voice->converter
        = SDL_NewAudioStream(AUDIO_F32SYS, Uint8(decoder->channels()), decoder->rate(), AUDIO_F32SYS, 2, rate_);
    if (voice->converter == nullptr)
        return nullptr;
    voice->decoded.resize(kDecodeFrames * size_t(decoder->channels()));
    voice->converted.resize(kMixFrames * 2);
    voice->decoder = std::move(decoder);
    std::lock_guard<std::mutex> lock(mutex_);
    voices_.push_back(voice);
    return voice;
}

void AudioMixer::start(const std::shared_ptr<Voice>& voice, bool fromStart)
{
    std::lock_guard<std::mutex> lock(mutex_);
    for (const std::shared_ptr<Voice>& other : voices_)
        if (other != voice)
            other->wanted = false;
    voice->ended = false;
    if (fromStart) {
        // Straight away when silent; after the fade-out otherwise.
        if (voice->gain == 0.0f)
            voice->rewind();
        else
            voice->restart = true;
    }
    voice->wanted = true;
}

void AudioMixer::halt(const std::shared_ptr<Voice>& voice)
{
    std::lock_guard<std::mutex> lock(mutex_);
    voice->wanted = false;
}

void AudioMixer::setVolume(const std::shared_ptr<Voice>& voice, float volume)
{
    std::lock_guard<std::mutex> lock(mutex_);
    voice->volume = std::clamp(volume, 0.0f, 1.0f);
}

bool AudioMixer::ended(const std::shared_ptr<Voice>& voice)
{
    std::lock_guard<std::mutex> lock(mutex_);
    return voice->ended;
}

void AudioMixer::release(const std::shared_ptr<Voice>& voice)
{
    std::lock_guard<std::mutex> lock(mutex_);
    voice->wanted = false;
    voice->released = true;
    voice->gone = voice->gain == 0.0f;
}

void AudioMixer::dropReleased()
{
    // Decoders are closed outside the lock and off the output's thread.
    std::vector<std::shared_ptr<Voice>> done;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto keep = std::stable_partition(
            voices_.begin(), voices_.end(), [](const std::shared_ptr<Voice>& voice) { return !voice->gone; });
        done.assign(std::make_move_iterator(keep), std::make_move_iterator(voices_.end()));
        voices_.erase(keep, voices_.end());
    }
}

void AudioMixer::watchDevice()
{
    if (!open_)
        return;
    dropReleased();
    if (device_ != 0) {
        if (SDL_GetAudioDeviceStatus(device_) != SDL_AUDIO_STOPPED)
            return;
        // Unplugged, or the sound server went away: the default device
        // again, continuing at the sample the lost one had reached.
        closeDevice();
        if (openDevice())
            return;
        startSilentDevice();
        lost_ = true;
        lastTry_ = std::chrono::steady_clock::now();
        return;
    }
    if (!lost_ || std::chrono::steady_clock::now() - lastTry_ < kRetryInterval)
        return;
    lastTry_ = std::chrono::steady_clock::now();
    stopSilentDevice();
    if (openDevice()) {
        lost_ = false;
        return;
    }
    startSilentDevice();
}

} // namespace vlo
