#include "frontend/PlayerHandlers.h"

#include "content/ShowConfig.h"
#include "frontend/ShowScreen.h"
#include "music/MusicPlayer.h"
#include "widgets/PushButtonWidget.h"
#include "widgets/StaticWidget.h"

namespace vlo {

namespace {

// What every manual track change does after the play list has moved on.
void afterManualChange(ShowScreen& screen)
{
    screen.caption->centerHorizontally(*screen.renderer);
    screen.config->startTrackChangeTimer();
    screen.musicPlaying = true;
    screen.givePlayImages(screen.playButton, true);
}

} // namespace

bool PlayPause::invoke(Widget*, const WidgetEvent&)
{
    // Nothing open (the current entry did not open): try it again.
    if (screen->player->state == Closed) {
        screen->config->playCurrentTrack(*screen->player);
        return true;
    }
    if (!screen->player->pause())
        screen->player->play();
    return true;
}

bool PlayPauseToggle::invoke(Widget* sender, const WidgetEvent&)
{
    screen->musicPlaying = !screen->musicPlaying;
    screen->givePlayImages(dynamic_cast<PushButtonWidget*>(sender), screen->musicPlaying);
    return true;
}

bool StopTrack::invoke(Widget*, const WidgetEvent&)
{
    screen->player->stop();
    screen->musicPlaying = false;
    screen->givePlayImages(screen->playButton, false);
    return true;
}

bool PreviousTrack::invoke(Widget*, const WidgetEvent&)
{
    screen->config->previousTrack(*screen->player);
    afterManualChange(*screen);
    return true;
}

bool NextTrack::invoke(Widget*, const WidgetEvent&)
{
    screen->config->nextTrack(*screen->player);
    afterManualChange(*screen);
    return true;
}

} // namespace vlo
