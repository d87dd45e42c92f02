#include "widgets/DesktopWidget.h"

#include "content/ShowConfig.h"
#include "render/Renderer.h"

namespace vlo {

DesktopWidget::DesktopWidget(Widget* parent, const char* name)
    : Widget(parent, name)
{
    typeName_ = kDesktopWidgetClass;
}

std::string DesktopWidget::className() const
{
    return kDesktopWidgetClass;
}

void DesktopWidget::setFillColor(Color color)
{
    fillColor = color;
}

void DesktopWidget::setOverlays(ShowConfig* config)
{
    overlays = config;
}

void DesktopWidget::fitToView(Renderer& renderer)
{
    float width = 0.0f;
    float height = 0.0f;
    renderer.logicalSize(width, height);
    size_ = Vector2(width, height);
    sizeFixed = true;
    layoutDirty = true;
}

void DesktopWidget::draw(Renderer& renderer)
{
    if (hidden) {
        invokeDrawHandler(renderer);
        return;
    }
    const Rect r = rect();
    renderer.pushState();
    // Blending is off and no texture is bound at this point of the frame, so
    // the fill is opaque whatever the alpha of its colour.
    renderer.setColor(fillColor);
    renderer.drawRect(Vector2(r.x1(), r.y1()), Vector2(r.x2(), r.y2()), Vector2(1.0f, 1.0f));
    renderer.popState();

    Widget::draw(renderer);

    // The title and credits overlays cover everything, handlers' drawing too.
    if (overlays != nullptr) {
        overlays->drawOverlays(renderer);
    }
}

} // namespace vlo
