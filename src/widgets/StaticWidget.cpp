#include "widgets/StaticWidget.h"

#include <algorithm>

#include "render/Renderer.h"

namespace vlo {

StaticWidget::StaticWidget(Widget* parent, const char* name)
    : Widget(parent, name)
{
    typeName_ = kStaticWidgetClass;
    margin = 0.0f;
    // The parent was laid out by the base constructor while this widget still
    // had the default margin; lay it out again so that it sees this widget's
    // real size, (0, 0) for an empty panel, rather than a stale 0.4 x 0.4.
    if (parent_ != nullptr) {
        parent_->computeSize();
        parent_->placeSubtree();
    }
}

std::string StaticWidget::className() const
{
    return kStaticWidgetClass;
}

void StaticWidget::setColor(ColorRGB color)
{
    backgroundColor.r = color.r;
    backgroundColor.g = color.g;
    backgroundColor.b = color.b;
}

void StaticWidget::setBackgroundAlpha(float alpha)
{
    // Only the upper bound is enforced.
    backgroundColor.a = std::min(alpha, 1.0f);
}

void StaticWidget::setTextColor(ColorRGB color)
{
    textColor.r = color.r;
    textColor.g = color.g;
    textColor.b = color.b;
}

void StaticWidget::setBackgroundImage(Renderer& renderer, uint32_t texture)
{
    backgroundImage = texture;
    fitToImage(renderer, texture);
}

void StaticWidget::setText(const std::string& value)
{
    text = value;
    if (value.empty()) {
        return;
    }
    // The text's width in GUI units from the per-character widths; bytes are
    // character codes 0..255.
    float width = 0.0f;
    for (char c : value) {
        width += glyphWidths[static_cast<unsigned char>(c)];
    }
    minimumSize = Vector2(width, lineHeight);
    hasMinimumSize = true;
    layoutDirty = true;
}

void StaticWidget::draw(Renderer& renderer)
{
    if (hidden) {
        invokeDrawHandler(renderer);
        return;
    }
    const Rect r = rect();
    renderer.pushState();
    // One line of text with its baseline on the bottom edge.
    const Vector2 textOrigin(r.x1(), r.y2());

    renderer.setColor(backgroundColor);
    // Blend factors (0, 0) mean "no blending": the background is then opaque
    // whatever its alpha.
    if (blendSource != 0 || blendDestination != 0) {
        renderer.setBlendFunc(blendSource, blendDestination);
    } else {
        renderer.disableBlend();
    }
    renderer.bindTexture(static_cast<int>(backgroundImage));
    renderer.drawTexturedRect(Vector2(r.x1(), r.y1()), Vector2(r.x2(), r.y2()), static_cast<int>(backgroundImage));
    renderer.bindTexture(0);
    renderer.disableBlend();

    if (borderWidth > 0.0f) {
        // The outline goes without blending; popState restores the fill mode.
        renderer.pushState();
        renderer.setColor(borderColor);
        renderer.setPolygonMode(PolygonOutline);
        renderer.setLineWidth(borderWidth);
        renderer.drawRect(Vector2(r.x1(), r.y1()), Vector2(r.x2(), r.y2()), Vector2(1.0f, 1.0f));
        renderer.popState();
    }

    renderer.setColor(textColor);
    renderer.drawText(static_cast<int>(font), textOrigin, text);
    renderer.popState();

    Widget::draw(renderer);
}

} // namespace vlo
