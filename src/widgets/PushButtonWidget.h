#pragma once
#include <cstdint>

#include "common/ColorRGB.h"
#include "widgets/Widget.h"

namespace vlo {

class StaticWidget;

// A clickable image (or flat colour) with normal, hover and pressed tints and
// a text label; reactions come from its MouseDown/MouseUp handlers.
class PushButtonWidget : public Widget {
public:
    PushButtonWidget(Widget* parent, const char* name);

    bool onMouseMove(Vector2 point) override;
    void onMouseLeave() override;
    bool onMouseDown(Vector2 point, int button) override;
    bool onMouseUp(Vector2 point, int button) override;
    void draw(Renderer& renderer) override;
    std::string className() const override;

    void setColor(ColorRGB color);
    void setPressedColor(ColorRGB color);
    void setHoverColor(ColorRGB color);
    void setImage(Renderer& renderer, uint32_t texture);
    void setPressedImage(Renderer& renderer, uint32_t texture);

    Color normalColor{0.792f, 0.792f, 0.792f, 1.0f};
    Color pressedColor{0.431f, 0.431f, 0.431f, 1.0f};
    Color hoverColor{0.901f, 0.901f, 0.901f, 1.0f};
    uint32_t image = 0;
    uint32_t pressedImage = 0;
    bool pressed = false;
    bool hover = false;
    StaticWidget* label = nullptr;

private:
    // True when this button is an item of a popup menu that is shown.
    bool inShownMenu() const;
    // True when a popup adopted by this button is shown.
    bool ownPopupShown() const;
};

} // namespace vlo
