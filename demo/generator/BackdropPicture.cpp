#include "ShowPictures.h"

#include <cmath>

#include "Palette.h"
#include "Scenery.h"

namespace vlo::demo {

namespace {

// Where the other parts of the screen sit on the backdrop, in pixels.
const float kPictureLeft = 0.0f;
const float kPictureTop = 105.0f;
const float kPictureRight = 400.0f;
const float kPictureBottom = 425.0f;
const float kEmblemX = 553.0f;
const float kEmblemY = 228.0f;

// The emblem on the right: a sun setting between hills inside a double
// ring, drawn like a woodcut in the ember colours.
void paintEmblem(Canvas& canvas)
{
    const float r = 86.0f;
    Mask face(700, 600);
    face.addDisc(kEmblemX, kEmblemY, r);
    canvas.paint(face, [r](float, float y) {
        float t = (y - (kEmblemY - r)) / (2.0f * r);
        return mix(straight(0.99f, 0.86f, 0.62f), straight(0.96f, 0.58f, 0.30f), t);
    });

    Mask sun(700, 600);
    sun.addDisc(kEmblemX, kEmblemY + 14.0f, 30.0f);
    canvas.paint(sun, straight(1.0f, 0.95f, 0.78f));
    Mask rays(700, 600);
    for (int i = 0; i < 9; ++i) {
        float a = 3.14159265f * (0.1f + 0.8f * i / 8.0f);
        float cx = kEmblemX, cy = kEmblemY + 14.0f;
        rays.addCapsule(cx + std::cos(a) * 38.0f, cy - std::sin(a) * 38.0f, cx + std::cos(a) * 58.0f,
            cy - std::sin(a) * 58.0f, 1.6f);
    }
    canvas.paint(rays, scaled(palette::ember, 0.85f));

    // Hills, clipped to the disc.
    Mask hills(700, 600);
    hills.addBelow([](float x) { return kEmblemY + 28.0f + 10.0f * std::sin((x - kEmblemX) * 0.045f); });
    Mask disc(700, 600);
    disc.addDisc(kEmblemX, kEmblemY, r - 1.5f);
    hills.intersect(disc);
    canvas.paint(hills, straight(0.50f, 0.17f, 0.16f));
    Mask nearHills(700, 600);
    nearHills.addBelow([](float x) { return kEmblemY + 50.0f - 14.0f * std::cos((x - kEmblemX + 30.0f) * 0.03f); });
    nearHills.intersect(disc);
    canvas.paint(nearHills, straight(0.30f, 0.09f, 0.12f));

    Mask rings(700, 600);
    rings.addRing(kEmblemX, kEmblemY, r, 3.0f);
    rings.addRing(kEmblemX, kEmblemY, r + 8.0f, 1.2f);
    canvas.paint(rings, palette::umber);
}

} // namespace

Canvas drawBackdropPicture(const StrokeFont& font)
{
    Canvas canvas(700, 600);
    canvas.fill(palette::vellum);
    // The top band, where the caption multiplies in, is the lightest part.
    paintVerticalGradient(canvas,
        {{0.0f, palette::cream}, {96.0f, palette::cream}, {150.0f, straight(0.97f, 0.91f, 0.80f)},
            {600.0f, straight(0.94f, 0.86f, 0.73f)}});
    addGlow(canvas, 560.0f, 240.0f, 330.0f, straight(0.05f, 0.02f, 0.0f));
    paintGrain(canvas, 0xBACC, 0.035f);
    paintVignette(canvas, straight(0.55f, 0.25f, 0.08f), 0.30f);

    // A soft shadow where the track picture floats.
    Mask shadow(700, 600);
    shadow.addRoundedRect(kPictureLeft - 10.0f, kPictureTop + 6.0f, kPictureRight + 8.0f, kPictureBottom + 10.0f, 8.0f);
    shadow.blur(6);
    canvas.paint(shadow, straight(0.35f, 0.18f, 0.08f, 0.35f));
    Mask frame(700, 600);
    frame.addRoundedRect(kPictureLeft - 4.0f, kPictureTop - 1.0f, kPictureRight + 1.0f, kPictureBottom + 1.0f, 3.0f);
    canvas.paint(frame, straight(0.93f, 0.85f, 0.71f));

    // Hairlines under the caption band and round the window.
    Mask lines(700, 600);
    lines.addCapsule(18.0f, 101.0f, 682.0f, 101.0f, 0.6f);
    lines.addRoundedRect(5.0f, 5.0f, 695.0f, 595.0f, 6.0f);
    Mask inner(700, 600);
    inner.addRoundedRect(6.5f, 6.5f, 693.5f, 593.5f, 5.0f);
    lines.cut(inner);
    canvas.paint(lines, straight(0.45f, 0.22f, 0.10f, 0.6f));

    paintEmblem(canvas);

    Mask name(700, 600);
    font.drawCentred(name, "EMBERFALL II", kEmblemX, 372.0f, 21.0f, 1.5f);
    canvas.paint(name, palette::umber);
    Mask hints(700, 600);
    font.drawCentred(hints, "right-click the picture", kEmblemX, 410.0f, 10.0f, 1.1f);
    font.drawCentred(hints, "for the menu", kEmblemX, 426.0f, 10.0f, 1.1f);
    font.drawCentred(hints, "drag to move - Esc to quit", kEmblemX, 448.0f, 10.0f, 1.1f);
    canvas.paint(hints, straight(0.45f, 0.30f, 0.24f));

    // The tray the player buttons rest in.
    Mask tray(700, 600);
    tray.addRoundedRect(124.0f, 478.0f, 688.0f, 592.0f, 16.0f);
    Mask trayShade = tray;
    trayShade.blur(3);
    canvas.paint(trayShade, straight(0.50f, 0.26f, 0.10f, 0.18f));
    canvas.paint(tray, straight(0.99f, 0.95f, 0.87f, 0.85f));
    Mask trayEdge(700, 600);
    trayEdge.addRoundedRect(124.0f, 478.0f, 688.0f, 592.0f, 16.0f);
    Mask trayInside(700, 600);
    trayInside.addRoundedRect(125.5f, 479.5f, 686.5f, 590.5f, 14.5f);
    trayEdge.cut(trayInside);
    canvas.paint(trayEdge, straight(0.55f, 0.30f, 0.14f, 0.55f));

    // A small flame at the free end of the tray.
    Mask flame(700, 600);
    flame.addPolygon({{648.0f, 510.0f}, {660.0f, 530.0f}, {664.0f, 548.0f}, {656.0f, 562.0f}, {640.0f, 562.0f},
        {632.0f, 548.0f}, {637.0f, 530.0f}, {642.0f, 540.0f}});
    canvas.paint(flame, palette::ember);
    Mask flameCore(700, 600);
    flameCore.addPolygon({{648.0f, 532.0f}, {655.0f, 547.0f}, {652.0f, 558.0f}, {644.0f, 558.0f}, {641.0f, 547.0f}});
    canvas.paint(flameCore, palette::gold);
    return canvas;
}

} // namespace vlo::demo
