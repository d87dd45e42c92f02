#pragma once
#include <string>

#include "audio/AudioLibrary.h"
#include "music/PlayerState.h"

namespace vlo {

// Plays one music file at a time through the audio library and remembers
// whether its stream is playing, stopped or paused.
class MusicPlayer {
public:
    MusicPlayer(HWND window, int frequency);
    ~MusicPlayer() = default;
    MusicPlayer(const MusicPlayer&) = delete;
    MusicPlayer& operator=(const MusicPlayer&) = delete;

    bool open(const std::string& path);
    bool play();
    bool stop();
    bool pause();
    bool setVolume(int volume);
    bool isActive();
    void close();
    void shutdown();

    int initFailed = 0;
    HSTREAM stream = 0;
    PlayerState state = Closed;
};

} // namespace vlo
