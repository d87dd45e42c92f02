#include "music/MusicPlayer.h"

namespace vlo {

namespace {

// Arguments of the audio library that mean "leave as it is".
constexpr int kFrequencyUnchanged = -1;
constexpr int kPanUnchanged = -101;

} // namespace

MusicPlayer::MusicPlayer(HWND window, int frequency)
{
    // A failed initialisation is remembered only so that shutdown does not
    // release what was never set up; every other request still goes to the
    // library, which then fails quietly and the show runs without music.
    const BOOL ok = BASS_Init(-1, DWORD(frequency), 0, window, nullptr);
    initFailed = ok ? 0 : 1;
}

bool MusicPlayer::open(const std::string& path)
{
    if (state != Closed)
        return false;
    stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
    if (stream == 0)
        return false;
    BASS_ChannelSetAttributes(stream, kFrequencyUnchanged, 100, kPanUnchanged);
    state = Stopped;
    return true;
}

bool MusicPlayer::play()
{
    // From a pause the stream continues where it was; otherwise it starts over.
    const BOOL restart = state == Paused ? FALSE : TRUE;
    if (BASS_ChannelPlay(stream, restart))
        state = Playing;
    return true;
}

bool MusicPlayer::stop()
{
    if (BASS_ChannelStop(stream))
        state = Stopped;
    return true;
}

bool MusicPlayer::pause()
{
    // False tells the play/pause button to play instead.
    if (state != Playing)
        return false;
    if (BASS_ChannelPause(stream))
        state = Paused;
    return true;
}

bool MusicPlayer::setVolume(int volume)
{
    return BASS_ChannelSetAttributes(stream, kFrequencyUnchanged, volume, kPanUnchanged) != FALSE;
}

bool MusicPlayer::isActive()
{
    if (BASS_ChannelIsActive(stream) == BASS_ACTIVE_PLAYING)
        return true;
    // Not playing: active still when the stream is held stopped or paused;
    // inactive when nothing is open or a started track has run out.
    return state == Stopped || state == Paused;
}

void MusicPlayer::close()
{
    if (state == Closed)
        return;
    if (state == Playing || state == Paused) {
        if (BASS_ChannelStop(stream))
            state = Stopped;
    }
    BASS_StreamFree(stream);
    state = Closed;
}

void MusicPlayer::shutdown()
{
    if (initFailed)
        return;
    BASS_Stop();
    BASS_Free();
}

} // namespace vlo
