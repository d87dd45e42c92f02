#include "widgets/FrameWidget.h"

#include <algorithm>

#include "render/Renderer.h"

namespace vlo {

FrameWidget::FrameWidget(Widget* parent, const char* name)
    : Widget(parent, name)
{
    typeName_ = kFrameWidgetClass;
}

std::string FrameWidget::className() const
{
    return kFrameWidgetClass;
}

void FrameWidget::setColor(ColorRGB color)
{
    outlineColor.r = color.r;
    outlineColor.g = color.g;
    outlineColor.b = color.b;
}

void FrameWidget::setAlpha(float alpha)
{
    // Only the upper bound is enforced; any alpha switches blending on.
    outlineColor.a = std::min(alpha, 1.0f);
    blendEnabled = true;
}

void FrameWidget::setLineWidth(float width)
{
    lineWidth = width;
}

void FrameWidget::draw(Renderer& renderer)
{
    if (hidden) {
        invokeDrawHandler(renderer);
        return;
    }
    const Rect r = rect();
    renderer.pushState();
    if (blendEnabled) {
        renderer.setBlendFunc(blendSource, blendDestination);
    }
    renderer.setColor(outlineColor);
    renderer.setLineWidth(lineWidth);
    // An outline, not a fill; popState brings the fill mode back.
    renderer.setPolygonMode(PolygonOutline);
    renderer.drawRect(Vector2(r.x1(), r.y1()), Vector2(r.x2(), r.y2()), Vector2(1.0f, 1.0f));
    if (blendEnabled) {
        renderer.disableBlend();
    }
    renderer.popState();

    Widget::draw(renderer);
}

} // namespace vlo
