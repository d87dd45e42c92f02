#pragma once
// The sound card: the default SDL audio device, 16-bit stereo at the mixer's
// rate (SDL converts to whatever the hardware takes). SDL's audio appears
// nowhere else in the program but in the audio folder.

#include <SDL.h>

#include <cstddef>
#include <memory>

#include "audio/DevicePull.h"

namespace vlo {

class SoundDevice {
public:
    // Starts SDL's audio, naming the program and its stream to the sound
    // server first (a desktop's mixer shows them); false when no audio
    // driver starts (no sound card, or SDL_AUDIODRIVER naming none there is).
    static bool startAudio();
    static void stopAudio();

    // The default device, asking `pull` for up to `framesPerPull` frames at a
    // time; null when none opens.
    static std::unique_ptr<SoundDevice> open(int rate, size_t framesPerPull, DevicePull pull, void* user);

    // Closes the device: returns once its last pull is over.
    ~SoundDevice();
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    // The device went away (unplugged, or the sound server ended).
    bool lost() const;
    SDL_AudioDeviceID id() const { return id_; }

private:
    SoundDevice() = default;
    static void SDLCALL callback(void* user, Uint8* stream, int length);

    SDL_AudioDeviceID id_ = 0;
    size_t framesPerPull_ = 0;
    DevicePull pull_ = nullptr;
    void* user_ = nullptr;
};

} // namespace vlo
