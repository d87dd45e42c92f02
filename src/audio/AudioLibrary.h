#pragma once
// The audio functions the music player calls, with the arguments and results
// of the vendor library the program was written for. They forward to the
// current back end: the real one decodes files itself and mixes them onto an
// SDL audio device; tests may install another (for example one that records
// calls and simulates streams).

#include "platform/Win32.h"

using HSTREAM = DWORD;

// BASS_ChannelIsActive results.
constexpr DWORD BASS_ACTIVE_STOPPED = 0;
constexpr DWORD BASS_ACTIVE_PLAYING = 1;
constexpr DWORD BASS_ACTIVE_STALLED = 2;
constexpr DWORD BASS_ACTIVE_PAUSED = 3;

BOOL BASS_Init(int device, DWORD frequency, DWORD flags, HWND window, const void* guid);
HSTREAM BASS_StreamCreateFile(BOOL memory, const void* file, DWORD offset, DWORD length, DWORD flags);
BOOL BASS_ChannelSetAttributes(DWORD handle, int frequency, int volume, int pan);
BOOL BASS_ChannelPlay(DWORD handle, BOOL restart);
BOOL BASS_ChannelStop(DWORD handle);
BOOL BASS_ChannelPause(DWORD handle);
DWORD BASS_ChannelIsActive(DWORD handle);
BOOL BASS_StreamFree(HSTREAM handle);
BOOL BASS_Stop();
BOOL BASS_Free();

namespace vlo {

// One audio back end: a table of the functions above.
struct AudioBackend {
    BOOL (*init)(int device, DWORD frequency, DWORD flags, HWND window, const void* guid);
    HSTREAM (*streamCreateFile)(BOOL memory, const void* file, DWORD offset, DWORD length, DWORD flags);
    BOOL (*channelSetAttributes)(DWORD handle, int frequency, int volume, int pan);
    BOOL (*channelPlay)(DWORD handle, BOOL restart);
    BOOL (*channelStop)(DWORD handle);
    BOOL (*channelPause)(DWORD handle);
    DWORD (*channelIsActive)(DWORD handle);
    BOOL (*streamFree)(HSTREAM handle);
    BOOL (*stop)();
    BOOL (*free)();
};

// The back end the program uses: its own mixer on the default SDL audio
// device, or on a silent device that keeps real time when there is none.
const AudioBackend& mixerAudioBackend();

// A back end that plays nothing, for previews: streams open only for files
// the real back end decodes and end after the music's real duration, counted
// on the GetTickCount clock.
const AudioBackend& previewAudioBackend();

// Installs a back end for the functions above; null restores the real one.
void setAudioBackend(const AudioBackend* backend);

} // namespace vlo
