#include "widgets/PopupMenuWidget.h"

#include "widgets/PushButtonWidget.h"

namespace vlo {

namespace {

// Where a menu waits while closed: far outside the 7 x 6 view, so that no
// pointer position reaches it.
const Vector2 kParkedAtStart(-1000.0f, -1000.0f);
const Vector2 kParkedAfterClose(-100.0f, -100.0f);

} // namespace

PopupMenuWidget::PopupMenuWidget(Widget* parent, const char* name)
    : StaticWidget(parent, name)
{
    typeName_ = kPopupMenuWidgetClass;
    position_ = kParkedAtStart;
    positionFixed = true;
    // Items stack downwards from the top-left corner.
    alignment = TopLeft;
    direction = Vertical;
    layoutDirty = true;
    setFlowExcluded();
    // Starts closed; hide also leaves popupOpen false.
    hide();
}

std::string PopupMenuWidget::className() const
{
    return kPopupMenuWidgetClass;
}

void PopupMenuWidget::addItem(const std::string& text, WidgetHandler* handler)
{
    PushButtonWidget* entry = new PushButtonWidget(this, "");
    entry->setHandler(handler);
    entry->label->setText(text);
    entry->setMargin(0.0f);
}

PushButtonWidget* PopupMenuWidget::item(uint32_t index) const
{
    if (index >= children.size() || !children[index]->isClass(kPushButtonWidgetClass)) {
        return nullptr;
    }
    return static_cast<PushButtonWidget*>(children[index]);
}

void PopupMenuWidget::showAt(Vector2 point)
{
    position_ = point;
    positionFixed = true;
    layoutDirty = true;
    show();
}

void PopupMenuWidget::close()
{
    // A press on an item may never see its release (the menu closes first),
    // so the items are cleared here.
    for (Widget* child : children) {
        if (child->isClass(kPushButtonWidgetClass)) {
            static_cast<PushButtonWidget*>(child)->pressed = false;
        }
    }
    hide();
    position_ = kParkedAfterClose;
    positionFixed = true;
    layoutDirty = true;
}

bool PopupMenuWidget::isOpen() const
{
    return !hidden;
}

} // namespace vlo
