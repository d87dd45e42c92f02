#pragma once
// The output the program plays through: any number of voices, each a music
// decoded ahead on its own thread (DecodeFeed) with its own volume, mixed
// into one 16-bit stereo output. The output is the sound card when one
// opens, and otherwise the silent device, which takes the samples by the wall
// clock and drops them. A device that goes away is replaced by the default
// one (or by the silent device) when the main thread next calls; the voices
// continue where they were.
//
// Every change of a voice's level (start, stop, pause, resume, volume) is a
// linear ramp of kRampSeconds from full scale, done here, so no change is
// heard as a click. Stopping and pausing take effect when the ramp reaches
// silence: the voice then keeps its place until it is started again. A
// playing voice takes its samples whatever its volume, so a voice at volume 0
// keeps time and ends at its length.
//
// The main thread calls every public function; the device pulls the mix on
// its own thread. One mutex guards the voices; nothing under it decodes,
// reads a file or waits for a decode thread.

#include <SDL.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "audio/AudioOutput.h"
#include "audio/SilentDevice.h"
#include "audio/SoundDevice.h"
#include "audio/ThreadCount.h"

namespace vlo {

class MixerOutput : public AudioOutput {
public:
    struct Voice;

    MixerOutput();
    ~MixerOutput() override;
    MixerOutput(const MixerOutput&) = delete;
    MixerOutput& operator=(const MixerOutput&) = delete;

    // Always succeeds unless open: without a sound card the silent device
    // keeps time.
    bool open(int rate) override;
    void close() override;
    std::unique_ptr<OutputVoice> add(std::unique_ptr<MusicDecoder> decoder) override;
    // Replaces a device that has gone away and lets go of voices that are
    // done; cheap when nothing happened.
    void watch() override;

    // The sound card's SDL device; 0 while the silent device keeps time (or
    // nothing is open).
    SDL_AudioDeviceID device() const { return sound_ ? sound_->id() : 0; }

    // What the voices' handles ask of the mixer.
    void start(Voice& voice, bool fromStart);
    void halt(Voice& voice);
    void setVolume(Voice& voice, float volume);
    bool ended(Voice& voice);
    void release(Voice& voice);

    static constexpr double kRampSeconds = 0.005;

private:
    void openDevice();
    static void pull(void* user, int16_t* out, size_t frames);
    // Mixes `frames` frames into out; the mutex is held.
    void mix(int16_t* out, size_t frames);
    void mixVoice(Voice& voice, size_t frames);
    void dropReleased();

    bool open_ = false;
    int rate_ = 44100;
    float rampStep_ = 1.0f;
    bool audioStarted_ = false;
    // Exactly one of them while open.
    std::unique_ptr<SoundDevice> sound_;
    std::unique_ptr<SilentDevice> silent_;
    // When a device was lost and the silent device took over, the last try
    // to get a real one back.
    bool lost_ = false;
    std::chrono::steady_clock::time_point lastTry_;

    std::mutex mutex_;
    std::vector<std::shared_ptr<Voice>> voices_;
    std::vector<float> sum_;
    std::vector<float> taken_;
    std::shared_ptr<ThreadCount> decodeThreads_;
};

} // namespace vlo
