#pragma once
#include "frontend/UiHandler.h"

namespace vlo {

// Per frame: moves the track picture's background alpha towards
// pictureAlphaTarget in a straight ramp of 0.2 x pictureFadeSpeed alpha per
// second, and stops exactly on the target.
class PictureFade : public UiHandler {
public:
    using UiHandler::UiHandler;
    int kind() override { return Draw; }
    bool invoke(Widget* sender, const WidgetEvent& event) override;
};

} // namespace vlo
