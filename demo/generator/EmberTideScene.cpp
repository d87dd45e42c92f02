#include "TrackScenes.h"

#include <cmath>

#include "Palette.h"
#include "Scenery.h"

namespace vlo::demo {

namespace {

const float kHorizon = 184.0f;
const float kSunX = 178.0f;

} // namespace

Canvas drawEmberTideScene()
{
    const int w = kTrackPictureWidth;
    const int h = kTrackPictureHeight;
    Canvas canvas(w, h);
    paintVerticalGradient(canvas,
        {{0.0f, straight(0.16f, 0.07f, 0.24f)}, {90.0f, straight(0.45f, 0.13f, 0.27f)},
            {150.0f, straight(0.88f, 0.36f, 0.22f)}, {kHorizon, straight(1.0f, 0.70f, 0.34f)}});
    Rng rng(0x71DE);
    paintStars(canvas, rng, 25, 60.0f, straight(1.0f, 0.92f, 0.9f));
    paintSun(canvas, kSunX, kHorizon + 4.0f, 36.0f, straight(1.0f, 0.92f, 0.66f), palette::flame);

    // Long thin clouds lit from below.
    Mask clouds(w, h);
    for (int i = 0; i < 9; ++i) {
        float y = rng.range(40.0f, 150.0f);
        float x = rng.range(-40.0f, 360.0f);
        float length = rng.range(60.0f, 170.0f);
        clouds.addCapsule(x, y, x + length, y + rng.range(-3.0f, 3.0f), rng.range(1.5f, 4.0f));
    }
    canvas.paint(clouds, [](float, float y) {
        return mix(straight(0.75f, 0.35f, 0.45f, 0.85f), straight(1.0f, 0.72f, 0.45f, 0.9f), y / 150.0f);
    });

    // The sea.
    Mask sea(w, h);
    sea.addBelow([](float) { return kHorizon; });
    canvas.paint(sea, [](float, float y) {
        float t = (y - kHorizon) / (320.0f - kHorizon);
        return mix(straight(0.55f, 0.22f, 0.28f), straight(0.12f, 0.07f, 0.20f), std::sqrt(t));
    });

    // The sun's path on the water: glints that widen and thin out with distance.
    Mask glints(w, h);
    for (int i = 0; i < 150; ++i) {
        float t = rng.uniform();
        float y = kHorizon + 2.0f + t * t * (318.0f - kHorizon);
        float spread = 18.0f + t * 70.0f;
        float x = kSunX + rng.range(-spread, spread) * rng.uniform();
        float length = rng.range(4.0f, 14.0f) * (0.4f + t);
        glints.addCapsule(x - length, y, x + length, y, 0.5f + t * 1.1f);
    }
    canvas.addLight(glints, straight(1.0f, 0.72f, 0.38f));
    Mask ripples(w, h);
    for (int i = 0; i < 60; ++i) {
        float t = rng.uniform();
        float y = kHorizon + 4.0f + t * (318.0f - kHorizon);
        float x = rng.range(0.0f, 400.0f);
        float length = rng.range(6.0f, 26.0f) * (0.3f + t);
        ripples.addCapsule(x - length, y, x + length, y, 0.4f + t * 0.6f);
    }
    canvas.paint(ripples, straight(0.85f, 0.45f, 0.42f, 0.35f));

    // An island with a lighthouse on the right.
    Mask island(w, h);
    island.addShape(285.0f, kHorizon - 40.0f, 400.0f, kHorizon + 2.0f, [](float x, float y) {
        float top = kHorizon - 26.0f * std::exp(-std::pow((x - 345.0f) / 34.0f, 2.0f)) - 3.0f;
        return top - y + ((x < 285.0f || x > 400.0f) ? 100.0f : 0.0f) + std::max(0.0f, y - kHorizon);
    });
    island.addPolygon({{336.0f, kHorizon - 26.0f}, {339.0f, kHorizon - 52.0f}, {345.0f, kHorizon - 52.0f},
        {348.0f, kHorizon - 26.0f}});
    canvas.paint(island, straight(0.17f, 0.07f, 0.14f));
    addGlow(canvas, 342.0f, kHorizon - 55.0f, 16.0f, straight(1.0f, 0.85f, 0.5f));

    // A few birds far off.
    Mask birds(w, h);
    const Point flock[] = {{92.0f, 70.0f}, {110.0f, 62.0f}, {124.0f, 76.0f}, {250.0f, 50.0f}};
    for (const Point& b : flock) {
        float s = b.x > 200.0f ? 4.0f : 5.5f;
        birds.addCapsule(b.x - s, b.y - s * 0.5f, b.x, b.y, 0.8f);
        birds.addCapsule(b.x, b.y, b.x + s, b.y - s * 0.6f, 0.8f);
    }
    canvas.paint(birds, straight(0.20f, 0.07f, 0.15f));
    frameTrackPicture(canvas);
    return canvas;
}

} // namespace vlo::demo
