#include "audio/SoundDevice.h"

#include <algorithm>

namespace vlo {

namespace {

// What the desktop's sound mixer lists instead of "SDL Application"; read
// when the audio starts and when a device opens.
constexpr const char* kAppName = "Vellumo";
constexpr const char* kStreamName = "Music";

} // namespace

bool SoundDevice::startAudio()
{
    // Set before SDL's audio starts: the sound server learns the program's
    // name when SDL connects to it.
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, kAppName);
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, kStreamName);
    return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

void SoundDevice::stopAudio()
{
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

std::unique_ptr<SoundDevice> SoundDevice::open(int rate, size_t framesPerPull, DevicePull pull, void* user)
{
    std::unique_ptr<SoundDevice> device(new SoundDevice());
    device->framesPerPull_ = framesPerPull;
    device->pull_ = pull;
    device->user_ = user;
    SDL_AudioSpec wanted{};
    wanted.freq = rate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = Uint16(framesPerPull);
    wanted.callback = callback;
    wanted.userdata = device.get();
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts to whatever the hardware takes.
    device->id_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device->id_ == 0)
        return nullptr;
    SDL_PauseAudioDevice(device->id_, 0);
    return device;
}

SoundDevice::~SoundDevice()
{
    // Waits for a running callback.
    if (id_ != 0)
        SDL_CloseAudioDevice(id_);
}

bool SoundDevice::lost() const
{
    return SDL_GetAudioDeviceStatus(id_) == SDL_AUDIO_STOPPED;
}

void SDLCALL SoundDevice::callback(void* user, Uint8* stream, int length)
{
    const SoundDevice& device = *static_cast<SoundDevice*>(user);
    int16_t* out = reinterpret_cast<int16_t*>(stream);
    size_t frames = size_t(length) / 4;
    while (frames > 0) {
        const size_t now = std::min(frames, device.framesPerPull_);
        device.pull_(device.user_, out, now);
        out += now * 2;
        frames -= now;
    }
}

} // namespace vlo
