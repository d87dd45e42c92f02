#pragma once
#include "frontend/UiHandler.h"

namespace vlo {

// Dragging the borderless window by its background picture. The pointer
// positions arrive in GUI units; the anchor and the window move are in pixels.

// Left press on the background: a drag begins.
class DragStart : public UiHandler {
public:
    using UiHandler::UiHandler;
    int kind() override { return MouseDown; }
    bool invoke(Widget* sender, const WidgetEvent& event) override;
};

// Pointer motion over the background: follows the pointer with the anchor
// until a drag begins, then moves the window so the anchor stays under it.
class DragMove : public UiHandler {
public:
    using UiHandler::UiHandler;
    int kind() override { return MouseMove; }
    bool invoke(Widget* sender, const WidgetEvent& event) override;
};

// Left release on the background: the drag ends.
class DragEnd : public UiHandler {
public:
    using UiHandler::UiHandler;
    int kind() override { return MouseUp; }
    bool invoke(Widget* sender, const WidgetEvent& event) override;
};

} // namespace vlo
