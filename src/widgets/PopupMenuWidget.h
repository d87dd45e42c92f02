#pragma once
#include <cstdint>
#include <string>

#include "widgets/StaticWidget.h"

namespace vlo {

class PushButtonWidget;

// A vertical list of push buttons shown at a point on request; while it is
// shown popupOpen is set. Closed menus lie off-screen.
class PopupMenuWidget : public StaticWidget {
public:
    PopupMenuWidget(Widget* parent, const char* name);

    std::string className() const override;

    void addItem(const std::string& text, WidgetHandler* handler);
    PushButtonWidget* item(uint32_t index) const;
    void showAt(Vector2 point);
    void close();
    bool isOpen() const;
};

} // namespace vlo
