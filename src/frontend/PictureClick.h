#pragma once
#include "frontend/UiHandler.h"

namespace vlo {

// Press on the track picture. A right press (any button but the left) opens
// the window menu at the pointer, kept inside the view, and dims the picture
// to half alpha; not while the player buttons are away (title, credits). A
// left press closes an open menu and brings the picture back to full alpha.
class PictureClick : public UiHandler {
public:
    using UiHandler::UiHandler;
    int kind() override { return MouseDown; }
    bool invoke(Widget* sender, const WidgetEvent& event) override;

private:
    void openMenu(Vector2 point);
};

} // namespace vlo
