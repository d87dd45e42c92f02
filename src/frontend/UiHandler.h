#pragma once
#include "widgets/WidgetHandler.h"

namespace vlo {

class ShowScreen;

// Base of the show screen's reactions: a widget handler whose only field is
// the screen it acts on. The widget it is attached to owns it.
class UiHandler : public WidgetHandler {
public:
    explicit UiHandler(ShowScreen* owner)
        : screen(owner)
    {
    }

protected:
    ShowScreen* screen;
};

} // namespace vlo
