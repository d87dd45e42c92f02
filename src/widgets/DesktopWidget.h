#pragma once
#include "widgets/Widget.h"

namespace vlo {

class ShowConfig;

// Root of the tree: fills the view with one colour, draws the tree, then the
// show configuration's full-screen overlays.
class DesktopWidget : public Widget {
public:
    DesktopWidget(Widget* parent, const char* name);

    void draw(Renderer& renderer) override;
    std::string className() const override;

    void setFillColor(Color color);
    void setOverlays(ShowConfig* config);
    void fitToView(Renderer& renderer);

    Color fillColor{0.0f, 0.0f, 0.0f, 1.0f};
    ShowConfig* overlays = nullptr;
};

} // namespace vlo
