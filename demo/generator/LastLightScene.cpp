#include "TrackScenes.h"

#include <cmath>

#include "Palette.h"
#include "Scenery.h"

namespace vlo::demo {

Canvas drawLastLightScene()
{
    const int w = kTrackPictureWidth;
    const int h = kTrackPictureHeight;
    Canvas canvas(w, h);
    paintVerticalGradient(canvas,
        {{0.0f, straight(0.06f, 0.07f, 0.18f)}, {100.0f, straight(0.22f, 0.13f, 0.32f)},
            {190.0f, straight(0.80f, 0.40f, 0.32f)}, {232.0f, straight(1.0f, 0.78f, 0.45f)}});
    Rng rng(0x1A57);
    paintStars(canvas, rng, 90, 150.0f, straight(0.95f, 0.95f, 1.0f));

    // A crescent moon: a disc with a second disc taken out of it.
    Mask moon(w, h);
    moon.addDisc(300.0f, 62.0f, 17.0f);
    Mask bite(w, h);
    bite.addDisc(308.0f, 56.0f, 15.0f);
    moon.cut(bite);
    addGlow(canvas, 296.0f, 64.0f, 45.0f, straight(0.25f, 0.22f, 0.2f));
    canvas.paint(moon, straight(1.0f, 0.95f, 0.82f));

    // Afterglow band above the far forest.
    paintHaze(canvas, 225.0f, 30.0f, straight(1.0f, 0.6f, 0.3f, 0.35f));

    Mask farForest(w, h);
    farForest.addBelow([](float x) { return 236.0f + 3.0f * std::sin(x * 0.05f); });
    for (int i = 0; i < 34; ++i) {
        float x = i * 12.0f + rng.range(-4.0f, 4.0f);
        addPine(farForest, x, 240.0f, rng.range(22.0f, 40.0f));
    }
    canvas.paint(farForest, straight(0.30f, 0.16f, 0.30f));

    // A still lake mirrors the glow between the two rows of trees.
    Mask lake(w, h);
    lake.addShape(0.0f, 240.0f, 400.0f, 262.0f, [](float, float y) { return std::max(240.0f - y, y - 262.0f); });
    canvas.paint(lake, [](float, float y) {
        return mix(straight(0.95f, 0.62f, 0.40f), straight(0.45f, 0.22f, 0.32f), (y - 240.0f) / 22.0f);
    });

    Mask nearForest(w, h);
    nearForest.addBelow([](float x) { return 266.0f + 8.0f * std::sin(x * 0.021f + 1.0f); });
    addPine(nearForest, 20.0f, 290.0f, 190.0f);
    addPine(nearForest, 58.0f, 282.0f, 130.0f);
    addPine(nearForest, 92.0f, 286.0f, 96.0f);
    addPine(nearForest, 300.0f, 284.0f, 110.0f);
    addPine(nearForest, 336.0f, 290.0f, 170.0f);
    addPine(nearForest, 378.0f, 292.0f, 210.0f);
    canvas.paint(nearForest, straight(0.05f, 0.03f, 0.07f));

    // Fireflies over the near bank.
    for (int i = 0; i < 22; ++i) {
        float x = rng.range(40.0f, 360.0f);
        float y = rng.range(200.0f, 305.0f);
        addGlow(canvas, x, y, rng.range(5.0f, 9.0f), straight(1.0f, 0.85f, 0.35f));
        Mask dot(w, h);
        dot.addDisc(x, y, 1.1f);
        canvas.addLight(dot, straight(1.0f, 1.0f, 0.8f));
    }
    frameTrackPicture(canvas);
    return canvas;
}

} // namespace vlo::demo
