#include "TrackScenes.h"

#include <cmath>

#include "Palette.h"
#include "Scenery.h"

namespace vlo::demo {

namespace {

const float kHorizon = 186.0f;

// The road's centre line and half width at depth t (0 at the bottom edge,
// 1 at the horizon); the squared term gives a rough perspective.
Point roadCentre(float t)
{
    float y = kHorizon + (320.0f - kHorizon) * (1.0f - t) * (1.0f - t);
    float x = 215.0f + 70.0f * std::sin(t * 4.2f) * (1.0f - t);
    return {x, y};
}

float roadHalfWidth(float t)
{
    return 95.0f * std::pow(1.0f - t, 1.6f) + 1.0f;
}

} // namespace

Canvas drawAshenRoadScene()
{
    const int w = kTrackPictureWidth;
    const int h = kTrackPictureHeight;
    Canvas canvas(w, h);
    paintVerticalGradient(canvas,
        {{0.0f, straight(0.42f, 0.27f, 0.28f)}, {110.0f, straight(0.78f, 0.48f, 0.34f)},
            {185.0f, straight(0.98f, 0.76f, 0.48f)}});
    paintSun(canvas, 292.0f, 112.0f, 24.0f, straight(1.0f, 0.93f, 0.78f), straight(0.6f, 0.35f, 0.15f));

    // Drifting smoke: noise bands, thicker near the top.
    Noise smoke(0xA5E);
    canvas.shade([&smoke](float x, float y) {
        float n = smoke.fractal(x / 90.0f, y / 26.0f, 5);
        float band = std::max(0.0f, n - 0.45f) * 1.9f;
        float height = 1.0f - std::min(1.0f, y / 180.0f);
        return straight(0.52f, 0.42f, 0.42f, std::min(0.75f, band * (0.35f + height)));
    });

    paintRidge(
        canvas, {kHorizon, 48.0f, 80.0f, 1.5f, 4, 201}, straight(0.55f, 0.36f, 0.38f), straight(0.50f, 0.32f, 0.33f));
    paintHaze(canvas, kHorizon - 4.0f, 14.0f, straight(1.0f, 0.8f, 0.55f, 0.35f));
    paintRidge(canvas, {kHorizon + 20.0f, 26.0f, 60.0f, 1.0f, 3, 202, 215.0f, 60.0f}, straight(0.45f, 0.24f, 0.20f),
        straight(0.40f, 0.20f, 0.16f));

    // Fields falling away towards the viewer.
    Mask fields(w, h);
    fields.addBelow([](float x) { return kHorizon + 12.0f + 4.0f * std::sin(x * 0.03f); });
    canvas.paint(fields, [](float, float y) {
        float t = (y - kHorizon) / (320.0f - kHorizon);
        return mix(straight(0.55f, 0.33f, 0.20f), straight(0.30f, 0.14f, 0.10f), t);
    });

    Mask road(w, h);
    std::vector<Point> outline;
    const int steps = 60;
    for (int i = 0; i <= steps; ++i) {
        float t = static_cast<float>(i) / steps;
        outline.push_back({roadCentre(t).x - roadHalfWidth(t), roadCentre(t).y});
    }
    for (int i = steps; i >= 0; --i) {
        float t = static_cast<float>(i) / steps;
        outline.push_back({roadCentre(t).x + roadHalfWidth(t), roadCentre(t).y});
    }
    outline.push_back({roadCentre(0.0f).x - roadHalfWidth(0.0f), 330.0f});
    road.addPolygon(outline);
    canvas.paint(road, [](float, float y) {
        float t = (y - kHorizon) / (320.0f - kHorizon);
        return mix(straight(0.93f, 0.78f, 0.62f), straight(0.62f, 0.50f, 0.46f), t);
    });

    // Dashes down the middle, shorter with distance.
    Mask dashes(w, h);
    for (int i = 0; i < 9; ++i) {
        float t0 = 0.02f + i * 0.1f;
        float t1 = t0 + 0.045f;
        Point a = roadCentre(t0);
        Point b = roadCentre(t1);
        dashes.addCapsule(a.x, a.y, b.x, b.y, std::max(0.5f, 3.0f * (1.0f - t0)));
    }
    canvas.paint(dashes, straight(1.0f, 0.86f, 0.5f, 0.8f));

    // Telegraph poles along the left verge, with the wire sagging between.
    Mask poles(w, h);
    Point previousTop{0.0f, 0.0f};
    for (int i = 0; i < 6; ++i) {
        float t = 0.05f + i * 0.16f;
        Point base = roadCentre(t);
        float x = base.x - roadHalfWidth(t) * 1.6f - 8.0f * (1.0f - t);
        float height = 150.0f * (1.0f - t) * (1.0f - t) + 6.0f;
        float width = std::max(0.6f, 2.6f * (1.0f - t));
        poles.addCapsule(x, base.y, x, base.y - height, width);
        poles.addCapsule(
            x - height * 0.1f, base.y - height * 0.92f, x + height * 0.1f, base.y - height * 0.92f, width * 0.7f);
        Point top{x, base.y - height * 0.92f};
        if (i > 0) {
            for (int s = 0; s < 12; ++s) {
                float u0 = s / 12.0f;
                float u1 = (s + 1) / 12.0f;
                float sag = (previousTop.x - top.x) * 0.06f;
                auto at = [&](float u) {
                    return Point{previousTop.x + (top.x - previousTop.x) * u,
                        previousTop.y + (top.y - previousTop.y) * u + sag * 4.0f * u * (1.0f - u)};
                };
                poles.addCapsule(at(u0).x, at(u0).y, at(u1).x, at(u1).y, 0.5f);
            }
        }
        previousTop = top;
    }
    canvas.paint(poles, straight(0.22f, 0.11f, 0.09f));

    Rng rng(0xA54);
    Mask ash(w, h);
    for (int i = 0; i < 90; ++i) {
        ash.addDisc(rng.range(0.0f, 400.0f), rng.range(0.0f, 300.0f), rng.range(0.4f, 1.3f));
    }
    canvas.paint(ash, straight(0.93f, 0.88f, 0.84f, 0.55f));
    paintEmbers(canvas, rng, 8, 20.0f, 200.0f, 380.0f, 300.0f);
    frameTrackPicture(canvas);
    return canvas;
}

} // namespace vlo::demo
