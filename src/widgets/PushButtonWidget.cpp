#include "widgets/PushButtonWidget.h"

#include "render/Renderer.h"
#include "widgets/StaticWidget.h"

namespace vlo {

PushButtonWidget::PushButtonWidget(Widget* parent, const char* name)
    : Widget(parent, name)
{
    typeName_ = kPushButtonWidgetClass;
    // The label is a child so that it is drawn over the face and destroyed
    // with the button; transparent, it shows only its text.
    label = new StaticWidget(this, "");
    label->setBackgroundAlpha(0.0f);
}

std::string PushButtonWidget::className() const
{
    return kPushButtonWidgetClass;
}

bool PushButtonWidget::onMouseMove(Vector2 point)
{
    const bool handled = Widget::onMouseMove(point);
    hover = true;
    return handled;
}

void PushButtonWidget::onMouseLeave()
{
    Widget::onMouseLeave();
    hover = false;
}

bool PushButtonWidget::inShownMenu() const
{
    return parent_ != nullptr && parent_->isClass(kPopupMenuWidgetClass) && !parent_->hidden;
}

bool PushButtonWidget::ownPopupShown() const
{
    return popup != nullptr && !popup->hidden;
}

bool PushButtonWidget::onMouseDown(Vector2 point, int button)
{
    // While a menu is open only its items, and a button whose own popup is
    // shown, react; every other button ignores the press entirely.
    if (popupOpen) {
        if (inShownMenu()) {
            Widget::onMouseDown(point, button);
            pressed = true;
        }
        if (!ownPopupShown()) {
            return false;
        }
    }
    const bool handled = Widget::onMouseDown(point, button);
    pressed = true;
    return handled;
}

bool PushButtonWidget::onMouseUp(Vector2 point, int button)
{
    if (popupOpen && !ownPopupShown() && !inShownMenu()) {
        return false;
    }
    Widget::onMouseUp(point, button);
    pressed = false;
    return false;
}

void PushButtonWidget::setColor(ColorRGB color)
{
    normalColor.r = color.r;
    normalColor.g = color.g;
    normalColor.b = color.b;
}

void PushButtonWidget::setPressedColor(ColorRGB color)
{
    pressedColor.r = color.r;
    pressedColor.g = color.g;
    pressedColor.b = color.b;
}

void PushButtonWidget::setHoverColor(ColorRGB color)
{
    hoverColor.r = color.r;
    hoverColor.g = color.g;
    hoverColor.b = color.b;
}

void PushButtonWidget::setImage(Renderer& renderer, uint32_t texture)
{
    image = texture;
    fitToImage(renderer, texture);
}

void PushButtonWidget::setPressedImage(Renderer& renderer, uint32_t texture)
{
    pressedImage = texture;
    fitToImage(renderer, texture);
}

void PushButtonWidget::draw(Renderer& renderer)
{
    if (hidden) {
        invokeDrawHandler(renderer);
        return;
    }
    const Rect r = rect();
    renderer.pushState();
    // Pressed wins over hover; the pressed image falls back to the normal one.
    uint32_t bound = image;
    const Color* tint = &normalColor;
    if (pressed) {
        bound = pressedImage != 0 ? pressedImage : image;
        tint = &pressedColor;
    } else if (hover) {
        tint = &hoverColor;
    }
    renderer.bindTexture(static_cast<int>(bound));
    renderer.setColor(*tint);
    renderer.setBlendFunc(blendSource, blendDestination);
    // The texture extent is always that of the normal image: both images of a
    // button are expected to share one size.
    renderer.drawTexturedRect(Vector2(r.x1(), r.y1()), Vector2(r.x2(), r.y2()), static_cast<int>(image));
    renderer.bindTexture(0);
    renderer.disableBlend();
    renderer.popState();

    Widget::draw(renderer);
}

} // namespace vlo
