#pragma once
#include "common/ColorRGB.h"
#include "widgets/Widget.h"

namespace vlo {

// A grouping container drawn as a rectangle outline.
class FrameWidget : public Widget {
public:
    FrameWidget(Widget* parent, const char* name);

    void draw(Renderer& renderer) override;
    std::string className() const override;

    void setColor(ColorRGB color);
    void setAlpha(float alpha);
    void setLineWidth(float width);

    Color outlineColor{0.0f, 0.0f, 0.0f, 1.0f};
    float lineWidth = 1.0f;
    bool blendEnabled = false;
};

} // namespace vlo
