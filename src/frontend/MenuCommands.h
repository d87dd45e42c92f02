#pragma once
#include "frontend/UiHandler.h"

namespace vlo {

// The window menu's three commands, run on release over an item. A release
// over an item of a closed menu does nothing (the menu's hidden flag guards
// them). Each closes the menu and brings the track picture back to full
// alpha before it acts.

// Minimises the window.
class MinimiseCommand : public UiHandler {
public:
    using UiHandler::UiHandler;
    int kind() override { return MouseUp; }
    bool invoke(Widget* sender, const WidgetEvent& event) override;
};

// Shows the credits picture once (fades in over 5 s and out over 5 s);
// refused while the title or a credits overlay runs.
class CreditsCommand : public UiHandler {
public:
    using UiHandler::UiHandler;
    int kind() override { return MouseUp; }
    bool invoke(Widget* sender, const WidgetEvent& event) override;
};

// Asks the program to quit: the main loop turns that into the closing sequence.
class ExitCommand : public UiHandler {
public:
    using UiHandler::UiHandler;
    int kind() override { return MouseUp; }
    bool invoke(Widget* sender, const WidgetEvent& event) override;
};

} // namespace vlo
