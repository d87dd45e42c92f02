#include "frontend/PageStep.h"

#include "content/ShowConfig.h"
#include "frontend/ShowScreen.h"
#include "render/Renderer.h"
#include "widgets/StaticWidget.h"

namespace vlo {

namespace {

// The caption appears at this share of the title overlay's duration.
constexpr float captionRevealShare = 0.4f;
// Seconds from a track change to the new track picture.
constexpr float pictureSwapDelay = 1.5f;
// Fade speed of the track-change cross-fade (0.7 alpha per second).
constexpr float swapFadeSpeed = 3.5f;
// GUI units between the buttons' resting place and their place out of view.
constexpr float panelTravel = 1.5f;

} // namespace

bool PageStep::invoke(Widget*, const WidgetEvent&)
{
    PageStepState& state = screen->pageState;
    ShowConfig& config = *screen->config;

    if (!state.captionRevealed && config.titleTimer.seconds() > config.titleDuration * captionRevealShare)
        revealCaption();

    if (state.swapTimer.running && state.swapTimer.seconds() > pictureSwapDelay)
        finishPictureSwap();

    switch (config.updateShow(*screen->player)) {
    case TrackChanged:
        onTrackChanged();
        break;
    case TitleFinished:
        screen->panelTargetY -= panelTravel;
        screen->panelAway = false;
        break;
    case CreditsRunning:
        onCreditsRunning();
        break;
    case CreditsFinished:
        onCreditsFinished();
        break;
    case Nothing:
        break;
    }
    return true;
}

void PageStep::revealCaption()
{
    screen->caption->show();
    // The track picture starts fading in, slowly.
    screen->pictureAlphaTarget = 1.0f;
    screen->pictureFadeSpeed = 1.0f;
    screen->pageState.captionRevealed = true;
}

// The delayed half of a track change: the new track picture replaces the
// old one, which has faded out meanwhile, and fades in (to half alpha while
// the menu dims it).
void PageStep::finishPictureSwap()
{
    // With an empty play list there is no picture to replace.
    if (!screen->pictureTextures.empty()) {
        Renderer& renderer = *screen->renderer;
        renderer.deleteTexture(screen->pictureTextures[0]);
        screen->pictureTextures[0]
            = renderer.loadTexture(screen->config->currentTrackPicture().c_str(), FilterLinear, false);
        screen->picture->setBackgroundImage(renderer, uint32_t(screen->pictureTextures[0]));
    }
    screen->pictureAlphaTarget = popupOpen ? 0.5f : 1.0f;
    screen->pictureFadeSpeed = swapFadeSpeed;
    screen->trackSwapPending = false;
    screen->pageState.swapTimer.pause();
}

void PageStep::onTrackChanged()
{
    screen->pictureAlphaTarget = 0.0f;
    screen->pictureFadeSpeed = swapFadeSpeed;
    screen->trackSwapPending = true;
    screen->pageState.swapTimer.start();
    // The caption changes at once; with an empty play list there is none.
    if (screen->captionTextures.empty())
        return;
    Renderer& renderer = *screen->renderer;
    renderer.deleteTexture(screen->captionTextures[0]);
    screen->captionTextures[0]
        = renderer.loadTexture(screen->config->currentTrackCaption().c_str(), FilterLinear, false);
    screen->caption->setBackgroundImage(renderer, uint32_t(screen->captionTextures[0]));
}

void PageStep::onCreditsRunning()
{
    PageStepState& state = screen->pageState;
    // The credits picture is loaded on the first frame of the first credits
    // run and kept; it takes the title picture's place.
    if (!state.creditsLoaded) {
        Renderer& renderer = *screen->renderer;
        renderer.deleteTexture(screen->overlayTexture);
        screen->overlayTexture = renderer.loadTexture(screen->config->creditsPath().c_str(), FilterLinear, false);
        screen->config->creditsTexture = screen->overlayTexture;
        state.creditsLoaded = true;
    }
    if (state.panelDownY == 0.0f)
        state.panelDownY = screen->panelTargetY + panelTravel;
    screen->panelTargetY = state.panelDownY;
    screen->panelAway = true;
}

void PageStep::onCreditsFinished()
{
    PageStepState& state = screen->pageState;
    if (state.panelUpY == 0.0f)
        state.panelUpY = screen->panelTargetY - panelTravel;
    screen->panelTargetY = state.panelUpY;
    screen->panelAway = false;
}

} // namespace vlo
