#pragma once
#include <cstdint>
#include <string>

#include "common/ColorRGB.h"
#include "widgets/Widget.h"

namespace vlo {

// A passive panel: background colour and image, optional outline, and one
// line of text at its bottom-left corner.
class StaticWidget : public Widget {
public:
    StaticWidget(Widget* parent, const char* name);

    void draw(Renderer& renderer) override;
    std::string className() const override;

    void setColor(ColorRGB color);
    void setBackgroundAlpha(float alpha);
    void setTextColor(ColorRGB color);
    void setBackgroundImage(Renderer& renderer, uint32_t texture);
    void setText(const std::string& value);

    Color backgroundColor{0.792f, 0.792f, 0.792f, 0.0f};
    uint32_t backgroundImage = 0;
    uint32_t font = 0;
    float glyphWidths[256] = {};
    float lineHeight = 0.0f;
    std::string text;
    Color textColor{0.0f, 0.0f, 0.0f, 1.0f};
    Color borderColor{0.0f, 0.0f, 0.0f, 1.0f};
    float borderWidth = 0.0f;
};

} // namespace vlo
