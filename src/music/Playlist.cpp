// The play list and the timing of the show: the current entry, automatic
// advance, the track-change signal, the title and credits overlays and the
// closing sequence. All times are seconds of FrameTimers (tick counts).
//
// updateShow and drawOverlays run once per frame: they allocate nothing and
// touch no file unless a track changes.

#include <cmath>
#include <cstdint>

#include "common/Color.h"
#include "common/Vector2.h"
#include "content/ShowConfig.h"
#include "music/MusicPlayer.h"
#include "platform/Win32.h"
#include "render/Renderer.h"

namespace vlo {

namespace {

// 1 / pi: sin(t / (duration / pi)) is one arch from 0 up to 1 at half the
// duration and back down to 0.
constexpr float kInversePi = 0.31830996f;

// A credits overlay counts as having reached full opacity above this.
constexpr float kFullOpacity = 0.99f;

} // namespace

bool ShowConfig::selectTrack(uint32_t index)
{
    if (loadFailed || index >= tracks.size())
        return false;
    currentTrack = index;
    return true;
}

// An index out of range (an empty list) gives empty paths, which no file
// stream opens.
std::string ShowConfig::currentTrackFile() const
{
    return currentTrack < tracks.size() ? tracks[currentTrack].file : std::string();
}

std::string ShowConfig::currentTrackPicture() const
{
    return currentTrack < tracks.size() ? tracks[currentTrack].picture : std::string();
}

std::string ShowConfig::currentTrackCaption() const
{
    return currentTrack < trackCaptions.size() ? trackCaptions[currentTrack] : std::string();
}

bool ShowConfig::playCurrentTrack(MusicPlayer& player)
{
    player.stop();
    player.close();
    if (!player.open(currentTrackFile())) {
        if (failedOpens < UINT32_MAX)
            ++failedOpens;
        return false;
    }
    failedOpens = 0;
    player.play();
    return true;
}

bool ShowConfig::nextTrack(MusicPlayer& player)
{
    // Unsigned arithmetic throughout: with an empty list the index just moves
    // on out of range (the getters then answer ""), it never divides or wraps
    // into undefined behaviour.
    const uint32_t count = uint32_t(tracks.size());
    currentTrack = currentTrack + 1 == count ? 0 : currentTrack + 1;
    return playCurrentTrack(player);
}

bool ShowConfig::previousTrack(MusicPlayer& player)
{
    const uint32_t count = uint32_t(tracks.size());
    currentTrack = currentTrack != 0 ? currentTrack - 1 : count - 1;
    return playCurrentTrack(player);
}

void ShowConfig::startTrackChangeTimer()
{
    trackChangeTimer.start();
}

bool ShowConfig::startTitleOverlay()
{
    if (titleTimer.running)
        return false;
    titleTimer.start();
    titlePending = true;
    return true;
}

bool ShowConfig::startCreditsOverlay(bool quit)
{
    // Refused while either overlay runs: the credits command then does
    // nothing, and a quit request ends the program at once.
    if (creditsTimer.running || titleTimer.running)
        return false;
    creditsTimer.start();
    quitAfterCredits = quit;
    return true;
}

void ShowConfig::setTitleDuration(float seconds)
{
    titleDuration = std::fabs(seconds);
}

void ShowConfig::setCreditsDuration(float seconds)
{
    creditsDuration = std::fabs(seconds);
}

ShowEvent ShowConfig::updateShow(MusicPlayer& player)
{
    // The track-change signal comes once per timer run, half the delay after
    // the last manual change.
    if (trackChangeTimer.running && trackChangeTimer.seconds() > trackChangeDelay * 0.5f) {
        if (!trackChangeSignalled) {
            trackChangeSignalled = true;
            return TrackChanged;
        }
    } else {
        trackChangeSignalled = false;
    }

    // The title overlay pauses its timer when its time is up.
    if (!titleTimer.running && titlePending) {
        titlePending = false;
        return TitleFinished;
    }

    if (!creditsTimer.running) {
        if (!quitAfterCredits) {
            // A show-only credits run has just ended; the next run closes
            // the program unless it is started as show-only again.
            quitAfterCredits = true;
            return CreditsFinished;
        }
        if (creditsAtFull) {
            // The closing sequence is over.
            PostQuitMessage(0);
            return Nothing;
        }
        if (!player.isActive()) {
            // The track has ended by itself, or nothing could be opened:
            // unplayable entries are skipped one per frame, for one pass over
            // the list. After a pass with nothing playable the list stays on
            // the entry it reached; next, previous and play try again.
            if (failedOpens >= tracks.size())
                return Nothing;
            nextTrack(player);
            return TrackChanged;
        }
        return Nothing;
    }

    if (quitAfterCredits) {
        // The music fades out in whole-second steps: 100, 80, 60, 40, 20,
        // then silence from the fifth second on.
        const int wholeSeconds = int(creditsTimer.seconds());
        const int volume = 20 * (5 - wholeSeconds);
        player.setVolume(volume < 0 ? 0 : volume);
    }
    return CreditsRunning;
}

void ShowConfig::drawOverlays(Renderer& renderer)
{
    if (titleTimer.running)
        drawOverlay(renderer, titleTimer, titleDuration, titleTexture, false);
    if (creditsTimer.running)
        drawOverlay(renderer, creditsTimer, creditsDuration, creditsTexture, true);
}

// One overlay over the whole view, faded by its timer; pauses the timer when
// the overlay's time is up.
void ShowConfig::drawOverlay(Renderer& renderer, FrameTimer& timer, float duration, int texture, bool credits)
{
    const float t = timer.seconds();
    // A zero duration shows nothing (and divides by nothing).
    float alpha = duration > 0.0f ? std::fabs(std::sin(t / (duration * kInversePi))) : 0.0f;
    if (credits) {
        // The closing sequence holds the picture once it has reached full
        // opacity.
        if (creditsAtFull && quitAfterCredits)
            alpha = 1.0f;
        if (alpha > kFullOpacity)
            creditsAtFull = true;
    }

    float width = 0.0f;
    float height = 0.0f;
    renderer.logicalSize(width, height);
    renderer.pushState();
    renderer.setBlendFunc(BlendSrcAlpha, BlendOneMinusSrcAlpha);
    renderer.setColor(Color(1.0f, 1.0f, 1.0f, alpha));
    renderer.bindTexture(texture);
    renderer.drawTexturedRect(Vector2(0.0f, 0.0f), Vector2(width, height), texture);
    renderer.disableBlend();
    renderer.popState();

    if (t > duration) {
        if (credits) {
            // A closing sequence ends the program on the next frame even when
            // a stalled frame skipped the moment of full opacity; a show-only
            // run starts the next run from transparent.
            creditsAtFull = quitAfterCredits;
        }
        timer.pause();
    }
}

} // namespace vlo
