#pragma once
// The mixer under the audio back end: any number of voices, each a decoder
// with its own volume, mixed into one 16-bit stereo output. The output is an
// SDL audio device when one opens, and otherwise a silent device: a thread
// that takes the mixed samples at the output rate and drops them, so music
// lasts as long as it would have sounded. A device that goes away is
// replaced by the default one (or by the silent device) when the main thread
// next calls; the voices continue where they were.
//
// Every change of a voice's level (start, stop, pause, resume, volume) is a
// linear ramp of kRampSeconds from full scale, done here, so no change is
// heard as a click. Stopping and pausing take effect when the ramp reaches
// silence: the voice then keeps its place until it is started again.
//
// The main thread calls every public function; the output pulls the mix on
// its own thread. One mutex guards the voices.

#include <SDL.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/sdl/MusicDecoder.h"

namespace vlo {

class AudioMixer {
public:
    struct Voice;

    AudioMixer() = default;
    ~AudioMixer() { close(); }
    AudioMixer(const AudioMixer&) = delete;
    AudioMixer& operator=(const AudioMixer&) = delete;

    // Starts the output at `rate` frames per second: the default SDL device,
    // or the silent device when none opens. Always succeeds unless open.
    bool open(int rate);
    void close();
    bool isOpen() const { return open_; }

    // Whether the output is the silent device, and the SDL device otherwise
    // (0 while silent).
    bool silent() const { return device_ == 0; }
    SDL_AudioDeviceID device() const { return device_; }

    // Takes a decoder on as a voice, silent and halted; null when the decoder
    // cannot be converted to the output.
    std::shared_ptr<Voice> add(std::unique_ptr<MusicDecoder> decoder);

    // Sounds the voice from where it is, or from its first sample; the other
    // voices are halted (one plays at a time).
    void start(const std::shared_ptr<Voice>& voice, bool fromStart);
    // Fades the voice out; it keeps its place.
    void halt(const std::shared_ptr<Voice>& voice);
    // Volume 0..1; a sounding voice ramps to it.
    void setVolume(const std::shared_ptr<Voice>& voice, float volume);
    // Whether the voice has played its last sample since its last start.
    bool ended(const std::shared_ptr<Voice>& voice);
    // Fades the voice out and lets it go once silent.
    void release(const std::shared_ptr<Voice>& voice);

    // Replaces a device that has gone away; called on every call from the
    // main thread, cheap when nothing happened.
    void watchDevice();

    static constexpr double kRampSeconds = 0.005;

private:
    bool openDevice();
    void closeDevice();
    void startSilentDevice();
    void stopSilentDevice();
    void silentDeviceLoop();
    static void SDLCALL deviceCallback(void* user, Uint8* stream, int length);
    // Mixes `frames` frames into out; the mutex is held.
    void mix(int16_t* out, size_t frames);
    void mixVoice(Voice& voice, size_t frames);
    size_t fill(Voice& voice, size_t frames);
    void dropReleased();

    bool open_ = false;
    int rate_ = 44100;
    float rampStep_ = 1.0f;
    bool audioSubsystem_ = false;
    SDL_AudioDeviceID device_ = 0;
    // When a device was lost and the silent device took over, the last try
    // to get a real one back.
    bool lost_ = false;
    std::chrono::steady_clock::time_point lastTry_;

    std::mutex mutex_;
    std::vector<std::shared_ptr<Voice>> voices_;
    std::vector<float> sum_;

    std::thread silentThread_;
    std::mutex silentMutex_;
    std::condition_variable silentWake_;
    bool silentStop_ = false;
};

} // namespace vlo
