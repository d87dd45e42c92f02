#include "TrackScenes.h"

#include <cmath>

#include "Palette.h"
#include "Scenery.h"

namespace vlo::demo {

namespace {

// One tongue of flame: a leaf shape from (x, baseY) up to its tip.
std::vector<Point> flameShape(float x, float baseY, float width, float height, float lean)
{
    std::vector<Point> points;
    const int steps = 14;
    for (int i = 0; i <= steps; ++i) {
        float t = static_cast<float>(i) / steps;
        float half = width * 0.5f * std::sin(3.14159265f * std::pow(1.0f - t, 0.8f)) * (1.0f - t * 0.3f);
        points.push_back({x + lean * t * t + half, baseY - t * height});
    }
    for (int i = steps; i >= 0; --i) {
        float t = static_cast<float>(i) / steps;
        float half = width * 0.5f * std::sin(3.14159265f * std::pow(1.0f - t, 0.8f)) * (1.0f - t * 0.3f);
        points.push_back({x + lean * t * t - half, baseY - t * height});
    }
    return points;
}

} // namespace

Canvas drawKindlingScene()
{
    const int w = kTrackPictureWidth;
    const int h = kTrackPictureHeight;
    Canvas canvas(w, h);
    paintVerticalGradient(canvas,
        {{0.0f, straight(0.08f, 0.07f, 0.20f)}, {120.0f, straight(0.25f, 0.13f, 0.33f)},
            {190.0f, straight(0.72f, 0.30f, 0.30f)}, {225.0f, straight(0.98f, 0.62f, 0.36f)}});
    Rng rng(0xF14E);
    paintStars(canvas, rng, 70, 150.0f, straight(1.0f, 0.95f, 0.88f));
    addGlow(canvas, 90.0f, 225.0f, 160.0f, straight(0.5f, 0.25f, 0.1f));

    paintRidge(
        canvas, {226.0f, 60.0f, 90.0f, 1.6f, 4, 101}, straight(0.36f, 0.15f, 0.27f), straight(0.25f, 0.10f, 0.20f));
    paintRidge(
        canvas, {256.0f, 40.0f, 70.0f, 1.0f, 3, 102}, straight(0.16f, 0.07f, 0.14f), straight(0.10f, 0.05f, 0.09f));

    Mask trees(w, h);
    addPine(trees, 40.0f, 262.0f, 120.0f);
    addPine(trees, 72.0f, 266.0f, 86.0f);
    addPine(trees, 340.0f, 262.0f, 104.0f);
    addPine(trees, 368.0f, 268.0f, 140.0f);
    canvas.paint(trees, straight(0.06f, 0.03f, 0.06f));

    // The ground, lit from the fire.
    Mask ground(w, h);
    ground.addBelow([](float x) { return 262.0f + 6.0f * std::sin(x * 0.02f); });
    canvas.paint(ground, [](float x, float y) {
        float d = std::hypot(x - 200.0f, (y - 280.0f) * 2.5f) / 190.0f;
        float k = d < 1.0f ? (1.0f - d) : 0.0f;
        return mix(straight(0.07f, 0.03f, 0.05f), straight(0.45f, 0.18f, 0.07f), k * k);
    });

    addGlow(canvas, 200.0f, 262.0f, 120.0f, straight(0.8f, 0.35f, 0.08f));

    Mask logs(w, h);
    logs.addCapsule(168.0f, 284.0f, 232.0f, 270.0f, 5.0f);
    logs.addCapsule(170.0f, 270.0f, 234.0f, 284.0f, 5.0f);
    canvas.paint(logs, straight(0.22f, 0.10f, 0.05f));

    Mask outer(w, h);
    outer.addPolygon(flameShape(200.0f, 282.0f, 52.0f, 78.0f, -6.0f));
    outer.addPolygon(flameShape(186.0f, 282.0f, 30.0f, 52.0f, -10.0f));
    outer.addPolygon(flameShape(215.0f, 282.0f, 30.0f, 58.0f, 8.0f));
    canvas.paint(outer, straight(0.93f, 0.33f, 0.08f));
    Mask middle(w, h);
    middle.addPolygon(flameShape(200.0f, 282.0f, 34.0f, 58.0f, -3.0f));
    canvas.paint(middle, straight(1.0f, 0.62f, 0.16f));
    Mask core(w, h);
    core.addPolygon(flameShape(200.0f, 282.0f, 18.0f, 32.0f, 0.0f));
    canvas.paint(core, straight(1.0f, 0.92f, 0.62f));

    paintEmbers(canvas, rng, 26, 160.0f, 120.0f, 240.0f, 210.0f);
    frameTrackPicture(canvas);
    return canvas;
}

} // namespace vlo::demo
