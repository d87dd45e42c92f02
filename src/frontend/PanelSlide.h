#pragma once
#include "frontend/UiHandler.h"

namespace vlo {

// Per frame: slides the four player buttons towards panelTargetY at 3 GUI
// units per second, each starting 0.2 s after the one before it, and snaps
// each exactly onto the target when it gets there.
class PanelSlide : public UiHandler {
public:
    using UiHandler::UiHandler;
    int kind() override { return Draw; }
    bool invoke(Widget* sender, const WidgetEvent& event) override;
};

} // namespace vlo
