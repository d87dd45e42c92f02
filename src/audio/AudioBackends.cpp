// The program's two audio back ends: the stream state machine on the mixer
// (sound card or silent device) and on the preview's output. Each is one
// process-wide machine behind a table of the player's audio functions.

#include "audio/AudioLibrary.h"
#include "audio/MixerBackend.h"
#include "audio/MixerOutput.h"
#include "audio/PreviewOutput.h"
#include "audio/StreamMachine.h"

namespace vlo {

namespace {

MixerOutput& mixer()
{
    static MixerOutput output;
    return output;
}

PreviewOutput& preview()
{
    static PreviewOutput output;
    return output;
}

// Built after its output, so destroyed before it: the machine's streams let
// their voices go while the output is still there.
StreamMachine& previewStreams()
{
    static StreamMachine machine(preview());
    return machine;
}

// The table of one machine.
template <StreamMachine& (*machine)()> const AudioBackend& tableOf()
{
    static const AudioBackend table = {
        [](int device, DWORD frequency, DWORD, HWND, const void*) { return machine().init(device, frequency); },
        [](BOOL memory, const void* file, DWORD offset, DWORD length, DWORD flags) {
            return machine().createFile(memory, file, offset, length, flags);
        },
        [](DWORD handle, int frequency, int volume, int pan) {
            return machine().setAttributes(handle, frequency, volume, pan);
        },
        [](DWORD handle, BOOL restart) { return machine().play(handle, restart); },
        [](DWORD handle) { return machine().stop(handle); },
        [](DWORD handle) { return machine().pause(handle); },
        [](DWORD handle) { return machine().isActive(handle); },
        [](HSTREAM handle) { return machine().free(handle); },
        [] { return machine().stopOutput(); },
        [] { return machine().freeOutput(); },
    };
    return table;
}

} // namespace

StreamMachine& mixerStreams()
{
    static StreamMachine machine(mixer());
    return machine;
}

SDL_AudioDeviceID mixerOutputDevice()
{
    return mixer().device();
}

const AudioBackend& mixerAudioBackend()
{
    return tableOf<mixerStreams>();
}

const AudioBackend& previewAudioBackend()
{
    return tableOf<previewStreams>();
}

} // namespace vlo
