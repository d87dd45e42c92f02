#include "GuiGraphics.h"

#include <algorithm>
#include <cmath>

namespace vlo::demo {

namespace {

void addIcon(Mask& mask, MenuIcon icon, float cx, float cy)
{
    switch (icon) {
    case MenuIcon::Minimise:
        mask.addCapsule(cx - 8.0f, cy + 6.0f, cx + 8.0f, cy + 6.0f, 1.8f);
        break;
    case MenuIcon::Credits: {
        // A five-pointed star.
        std::vector<Point> star;
        for (int i = 0; i < 10; ++i) {
            float a = -3.14159265f / 2.0f + i * 3.14159265f / 5.0f;
            float radius = (i % 2 == 0) ? 10.0f : 4.2f;
            star.push_back({cx + radius * std::cos(a), cy + 1.0f + radius * std::sin(a)});
        }
        mask.addPolygon(star);
        break;
    }
    case MenuIcon::Exit: {
        // A power symbol: an open ring with a bar through the gap.
        Mask ring(mask.width(), mask.height());
        ring.addRing(cx, cy + 1.0f, 8.0f, 2.4f);
        Mask gap(mask.width(), mask.height());
        gap.addPolygon({{cx - 5.0f, cy - 12.0f}, {cx + 5.0f, cy - 12.0f}, {cx, cy + 1.0f}});
        ring.cut(gap);
        for (int y = 0; y < mask.height(); ++y) {
            for (int x = 0; x < mask.width(); ++x) {
                mask.set(x, y, std::max(mask.at(x, y), ring.at(x, y)));
            }
        }
        mask.addCapsule(cx, cy - 10.0f, cx, cy, 1.3f);
        break;
    }
    }
}

} // namespace

Canvas drawMenuItem(const StrokeFont& font, MenuIcon icon, const std::string& label, bool pressed)
{
    const int w = kMenuItemWidth;
    const int h = kMenuItemHeight;
    Canvas canvas(w, h);
    Mask body(w, h);
    body.addRoundedRect(1.0f, 1.0f, w - 1.0f, h - 1.0f, 9.0f);
    canvas.paint(body, pressed ? straight(0.91f, 0.62f, 0.38f) : straight(1.0f, 0.93f, 0.80f));
    Mask edge(w, h);
    edge.addRoundedRect(1.0f, 1.0f, w - 1.0f, h - 1.0f, 9.0f);
    Mask inside(w, h);
    inside.addRoundedRect(2.4f, 2.4f, w - 2.4f, h - 2.4f, 7.6f);
    edge.cut(inside);
    canvas.paint(edge, straight(0.58f, 0.30f, 0.13f));

    float shift = pressed ? 1.0f : 0.0f;
    Mask mark(w, h);
    addIcon(mark, icon, 22.0f + shift, 19.0f + shift);
    canvas.paint(mark, straight(0.75f, 0.28f, 0.08f));
    Mask text(w, h);
    font.drawText(text, label, 42.0f + shift, 26.0f + shift, 13.0f, 1.35f);
    canvas.paint(text, straight(0.25f, 0.10f, 0.05f));
    return canvas;
}

Canvas drawMenuPanel()
{
    const int w = kMenuPanelWidth;
    const int h = kMenuPanelHeight;
    Canvas canvas(w, h);
    Mask body(w, h);
    body.addRoundedRect(0.5f, 0.5f, w - 0.5f, h - 0.5f, 12.0f);
    canvas.paint(
        body, [=](float, float y) { return mix(straight(0.99f, 0.90f, 0.76f), straight(0.95f, 0.80f, 0.62f), y / h); });
    Mask edge(w, h);
    edge.addRoundedRect(0.5f, 0.5f, w - 0.5f, h - 0.5f, 12.0f);
    Mask inside(w, h);
    inside.addRoundedRect(2.5f, 2.5f, w - 2.5f, h - 2.5f, 10.0f);
    edge.cut(inside);
    canvas.paint(edge, straight(0.50f, 0.23f, 0.10f));
    return canvas;
}

} // namespace vlo::demo
