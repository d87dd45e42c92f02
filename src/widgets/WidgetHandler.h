#pragma once
#include "common/Vector2.h"

namespace vlo {

class Renderer;
class Widget;

enum HandlerKind { MouseMove = 1, MouseLeave = 2, MouseDown = 3, MouseUp = 4, Draw = 5 };
enum MouseButton { LeftButton = 0, RightButton = 1 };

// The data a handler receives: the point (relative to the sender's parent)
// and button for mouse events, the renderer for Draw.
struct WidgetEvent {
    Vector2 point;
    int button = LeftButton;
    Renderer* renderer = nullptr;
};

// A reaction attached to a widget, one per kind and widget; the widget owns it.
class WidgetHandler {
public:
    virtual ~WidgetHandler() = default;
    virtual int kind() = 0;
    virtual bool invoke(Widget* sender, const WidgetEvent& event) = 0;
};

} // namespace vlo
