#include "GuiGraphics.h"

namespace vlo::demo {

namespace {

// The symbol's shapes around the button's centre (cx, cy).
void addSymbol(Mask& mask, ButtonSymbol symbol, float cx, float cy)
{
    switch (symbol) {
    case ButtonSymbol::Play:
        // Shifted right: a triangle's visual centre lies left of its box's.
        mask.addPolygon({{cx - 10.0f, cy - 17.0f}, {cx - 10.0f, cy + 17.0f}, {cx + 18.0f, cy}});
        break;
    case ButtonSymbol::Pause:
        mask.addRoundedRect(cx - 15.0f, cy - 17.0f, cx - 4.0f, cy + 17.0f, 2.0f);
        mask.addRoundedRect(cx + 4.0f, cy - 17.0f, cx + 15.0f, cy + 17.0f, 2.0f);
        break;
    case ButtonSymbol::Stop:
        mask.addRoundedRect(cx - 15.0f, cy - 15.0f, cx + 15.0f, cy + 15.0f, 3.0f);
        break;
    case ButtonSymbol::Previous:
        mask.addRoundedRect(cx - 22.0f, cy - 15.0f, cx - 16.0f, cy + 15.0f, 1.5f);
        mask.addPolygon({{cx + 2.0f, cy - 15.0f}, {cx + 2.0f, cy + 15.0f}, {cx - 16.0f, cy}});
        mask.addPolygon({{cx + 21.0f, cy - 15.0f}, {cx + 21.0f, cy + 15.0f}, {cx + 3.0f, cy}});
        break;
    case ButtonSymbol::Next:
        mask.addPolygon({{cx - 21.0f, cy - 15.0f}, {cx - 21.0f, cy + 15.0f}, {cx - 3.0f, cy}});
        mask.addPolygon({{cx - 2.0f, cy - 15.0f}, {cx - 2.0f, cy + 15.0f}, {cx + 16.0f, cy}});
        mask.addRoundedRect(cx + 16.0f, cy - 15.0f, cx + 22.0f, cy + 15.0f, 1.5f);
        break;
    }
}

} // namespace

Canvas drawPlayerButton(ButtonSymbol symbol, bool pressed)
{
    const int w = kButtonWidth;
    const int h = kButtonHeight;
    Canvas canvas(w, h);
    float cx = w * 0.5f;
    float cy = h * 0.5f - 1.0f;
    const float r = 38.0f;
    // Pressed, the button sinks: no shadow below, everything 2 px lower.
    float sink = pressed ? 2.0f : 0.0f;

    if (!pressed) {
        Mask shadow(w, h);
        shadow.addDisc(cx + 1.0f, cy + 3.0f, r);
        shadow.blur(2);
        canvas.paint(shadow, straight(0.45f, 0.25f, 0.12f, 0.45f));
    }
    Mask face(w, h);
    face.addDisc(cx, cy + sink, r);
    canvas.paint(face, [=](float, float y) {
        // Lighter at the top, as if lit from above; darker all over when held.
        float t = (y - (cy + sink - r)) / (2.0f * r);
        Rgba top = pressed ? straight(0.93f, 0.66f, 0.42f) : straight(1.0f, 0.95f, 0.86f);
        Rgba bottom = pressed ? straight(0.86f, 0.52f, 0.30f) : straight(0.98f, 0.80f, 0.58f);
        return mix(top, bottom, t);
    });
    Mask ring(w, h);
    ring.addRing(cx, cy + sink, r - 1.5f, 3.0f);
    canvas.paint(ring, straight(0.55f, 0.23f, 0.09f));

    Mask glyph(w, h);
    addSymbol(glyph, symbol, cx, cy + sink);
    canvas.paint(glyph, pressed ? straight(0.22f, 0.07f, 0.03f) : straight(0.33f, 0.13f, 0.06f));
    return canvas;
}

} // namespace vlo::demo
