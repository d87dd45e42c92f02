#pragma once
#include "frontend/UiHandler.h"

namespace vlo {

// Per frame: runs the play list's show step and keeps the pictures and the
// player buttons in step with it. Reveals the caption during the title,
// swaps the caption at once on a track change and the track picture 1.5 s
// later (fading the old one out and the new one in), loads the credits
// picture the first time credits run, and moves the buttons' target when
// the title ends and while credits run.
class PageStep : public UiHandler {
public:
    using UiHandler::UiHandler;
    int kind() override { return Draw; }
    bool invoke(Widget* sender, const WidgetEvent& event) override;

private:
    void revealCaption();
    void finishPictureSwap();
    void onTrackChanged();
    void onCreditsRunning();
    void onCreditsFinished();
};

} // namespace vlo
