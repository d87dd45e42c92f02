#include "ShowPictures.h"

#include "Palette.h"
#include "Scenery.h"

namespace vlo::demo {

void paintGlowingText(Canvas& canvas, const Mask& letters, float baseline, float capHeight, Rgba top, Rgba bottom,
    Rgba halo, int haloRadius)
{
    Mask glow = letters;
    glow.blur(haloRadius);
    canvas.addLight(glow, halo);
    canvas.paint(letters, [=](float, float y) {
        float t = (y - (baseline - capHeight)) / capHeight;
        return mix(top, bottom, t < 0.0f ? 0.0f : (t > 1.0f ? 1.0f : t));
    });
}

Canvas drawTitlePicture(const StrokeFont& font)
{
    Canvas canvas(700, 600);
    canvas.fill(palette::night);
    paintVerticalGradient(canvas,
        {{0.0f, straight(0.07f, 0.04f, 0.12f)}, {170.0f, palette::dusk}, {300.0f, palette::wine},
            {375.0f, palette::ember}, {415.0f, palette::flame}});
    Rng rng(0x7171E);
    paintStars(canvas, rng, 140, 230.0f, straight(1.0f, 0.93f, 0.85f));
    paintSun(canvas, 350.0f, 412.0f, 44.0f, straight(1.0f, 0.93f, 0.72f), palette::flame);
    paintHaze(canvas, 402.0f, 26.0f, straight(1.0f, 0.7f, 0.4f, 0.35f));

    paintRidge(canvas, {436.0f, 120.0f, 170.0f, 1.8f, 4, 11, 350.0f, 190.0f}, straight(0.55f, 0.21f, 0.26f),
        straight(0.34f, 0.12f, 0.22f));
    paintHaze(canvas, 450.0f, 30.0f, straight(0.95f, 0.45f, 0.30f, 0.30f));
    paintRidge(canvas, {492.0f, 70.0f, 120.0f, 1.2f, 4, 23, 330.0f, 150.0f}, straight(0.27f, 0.09f, 0.17f),
        straight(0.18f, 0.06f, 0.13f));
    paintRidge(
        canvas, {566.0f, 55.0f, 210.0f, 1.0f, 3, 37}, straight(0.10f, 0.04f, 0.09f), straight(0.06f, 0.02f, 0.05f));
    paintEmbers(canvas, rng, 60, 20.0f, 300.0f, 680.0f, 590.0f);

    Mask title(700, 600);
    font.drawCentred(title, "EMBERFALL II", 350.0f, 196.0f, 54.0f, 1.5f);
    paintGlowingText(
        canvas, title, 196.0f, 54.0f, straight(1.0f, 0.97f, 0.86f), palette::gold, straight(1.0f, 0.42f, 0.12f), 9);

    Mask ornament(700, 600);
    ornament.addCapsule(220.0f, 224.0f, 334.0f, 224.0f, 0.8f);
    ornament.addCapsule(366.0f, 224.0f, 480.0f, 224.0f, 0.8f);
    ornament.addPolygon({{350.0f, 216.0f}, {358.0f, 224.0f}, {350.0f, 232.0f}, {342.0f, 224.0f}});
    canvas.paint(ornament, scaled(palette::gold, 0.9f));

    Mask subtitle(700, 600);
    font.drawCentred(subtitle, "an album in four movements", 350.0f, 262.0f, 15.0f, 1.2f);
    canvas.paint(subtitle, straight(1.0f, 0.9f, 0.78f, 0.92f));

    Mask footer(700, 600);
    font.drawCentred(footer, "a Vellumo demo show", 350.0f, 586.0f, 11.0f, 1.1f);
    canvas.paint(footer, straight(1.0f, 0.8f, 0.6f, 0.6f));
    return canvas;
}

} // namespace vlo::demo
