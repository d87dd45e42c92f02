#include "audio/AudioLibrary.h"

// The audio functions forward to one back end at a time. The product always
// runs on the mixer one; tests swap in their own with setAudioBackend.

namespace vlo {
namespace {

const AudioBackend* installedBackend = nullptr;

const AudioBackend& backend()
{
    return installedBackend ? *installedBackend : mixerAudioBackend();
}

} // namespace

void setAudioBackend(const AudioBackend* replacement)
{
    installedBackend = replacement;
}

} // namespace vlo

BOOL BASS_Init(int device, DWORD frequency, DWORD flags, HWND window, const void* guid)
{
    return vlo::backend().init(device, frequency, flags, window, guid);
}

HSTREAM BASS_StreamCreateFile(BOOL memory, const void* file, DWORD offset, DWORD length, DWORD flags)
{
    return vlo::backend().streamCreateFile(memory, file, offset, length, flags);
}

BOOL BASS_ChannelSetAttributes(DWORD handle, int frequency, int volume, int pan)
{
    return vlo::backend().channelSetAttributes(handle, frequency, volume, pan);
}

BOOL BASS_ChannelPlay(DWORD handle, BOOL restart)
{
    return vlo::backend().channelPlay(handle, restart);
}

BOOL BASS_ChannelStop(DWORD handle)
{
    return vlo::backend().channelStop(handle);
}

BOOL BASS_ChannelPause(DWORD handle)
{
    return vlo::backend().channelPause(handle);
}

DWORD BASS_ChannelIsActive(DWORD handle)
{
    return vlo::backend().channelIsActive(handle);
}

BOOL BASS_StreamFree(HSTREAM handle)
{
    return vlo::backend().streamFree(handle);
}

BOOL BASS_Stop()
{
    return vlo::backend().stop();
}

BOOL BASS_Free()
{
    return vlo::backend().free();
}
