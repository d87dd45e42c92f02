#pragma once
#include "frontend/UiHandler.h"

namespace vlo {

// Reactions of the four player buttons. They run for a press or release with
// either mouse button.

// Press on play/pause: pauses a playing track, otherwise plays (resuming
// after a pause, restarting after a stop).
class PlayPause : public UiHandler {
public:
    using UiHandler::UiHandler;
    int kind() override { return MouseDown; }
    bool invoke(Widget* sender, const WidgetEvent& event) override;
};

// Release on play/pause: flips the button between its pause and play images,
// whatever the player did.
class PlayPauseToggle : public UiHandler {
public:
    using UiHandler::UiHandler;
    int kind() override { return MouseUp; }
    bool invoke(Widget* sender, const WidgetEvent& event) override;
};

// Press on stop: stops the track; play/pause shows the play images.
class StopTrack : public UiHandler {
public:
    using UiHandler::UiHandler;
    int kind() override { return MouseDown; }
    bool invoke(Widget* sender, const WidgetEvent& event) override;
};

// Press on previous: plays the entry before the current one (the last one
// from the first) and starts the track-change signal.
class PreviousTrack : public UiHandler {
public:
    using UiHandler::UiHandler;
    int kind() override { return MouseDown; }
    bool invoke(Widget* sender, const WidgetEvent& event) override;
};

// Press on next: plays the entry after the current one (the first one after
// the last) and starts the track-change signal.
class NextTrack : public UiHandler {
public:
    using UiHandler::UiHandler;
    int kind() override { return MouseDown; }
    bool invoke(Widget* sender, const WidgetEvent& event) override;
};

} // namespace vlo
