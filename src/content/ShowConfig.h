#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "common/FrameTimer.h"
#include "common/ShowEvent.h"
#include "content/ConfigRefusal.h"
#include "content/TrackEntry.h"

namespace vlo {

class ConfigListener;
class ConfigTokens;
class MusicPlayer;
class Renderer;

// The show configuration ("Vellumo.ini" from the archive) and the run-time
// state of the play list, the title and credits overlays and the closing
// sequence. Parsing lives in content/ShowConfig.cpp, sequencing in
// music/Playlist.cpp.
class ShowConfig {
public:
    // Loads the file; the outcome is in loadFailed and refusal. A listener
    // hears every token the reading meets, in file order.
    explicit ShowConfig(const char* fileName, ConfigListener* listener = nullptr);
    ~ShowConfig();
    ShowConfig(const ShowConfig&) = delete;
    ShowConfig& operator=(const ShowConfig&) = delete;

    // Play list.
    bool selectTrack(uint32_t index);
    std::string currentTrackFile() const;
    std::string currentTrackPicture() const;
    std::string currentTrackCaption() const;
    bool playCurrentTrack(MusicPlayer& player);
    bool nextTrack(MusicPlayer& player);
    bool previousTrack(MusicPlayer& player);
    void startTrackChangeTimer();

    // Overlays.
    bool startTitleOverlay();
    bool startCreditsOverlay(bool quit);
    void setTitleDuration(float seconds);
    void setCreditsDuration(float seconds);
    std::string titlePath() const { return title; }
    std::string maskPath() const { return mask; }
    std::string creditsPath() const { return credits; }

    // Per-frame step and overlay drawing.
    ShowEvent updateShow(MusicPlayer& player);
    void drawOverlays(Renderer& renderer);

    // Parsed fields.
    std::vector<TrackEntry> tracks;
    std::vector<std::string> trackCaptions;
    std::string mask;
    std::string title;
    std::string fade;
    std::string credits;

    // Run-time fields.
    int titleTexture = 0;
    int creditsTexture = 0;
    FrameTimer trackChangeTimer;
    FrameTimer titleTimer;
    FrameTimer creditsTimer;
    float trackChangeDelay = 1.0f;
    float titleDuration = 2.0f;
    float creditsDuration = 5.0f;
    bool trackChangeSignalled = false;
    bool titlePending = false;
    bool creditsAtFull = false;
    bool quitAfterCredits = true;
    uint32_t currentTrack = 0;
    // Entries tried in a row without one opening, since a track last opened.
    // A whole pass of them stops the automatic advance: with nothing playable
    // the list would otherwise turn (and the screen reload) every frame.
    uint32_t failedOpens = 0;

    int loadFailed = 1;
    // Why and where the load failed (Accepted after a successful load).
    ConfigRefusal refusal;

private:
    bool parseSections(ConfigTokens& in, ConfigListener& listener);
    bool parseDataSection(ConfigTokens& in, const ConfigToken& header, ConfigListener& listener);
    bool parseMusicSection(ConfigTokens& in, const ConfigToken& header, ConfigListener& listener);
    void readValue(ConfigTokens& in, const ConfigToken& key, ConfigListener& listener);
    bool refuse(ConfigRefusal::Reason reason, const ConfigToken& token);
    void drawOverlay(Renderer& renderer, FrameTimer& timer, float duration, int texture, bool credits);
};

} // namespace vlo
