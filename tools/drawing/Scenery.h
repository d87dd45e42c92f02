#pragma once
#include <vector>

#include "Canvas.h"
#include "Noise.h"
#include "Rng.h"

namespace vlo::demo {

// Building blocks of the landscapes, all in pixels (origin top-left, y down).

struct GradientStop {
    float y; // pixel row
    Rgba colour;
};

// Lays a vertical gradient through the stops (sorted by y) over the canvas;
// above the first and below the last stop the end colours hold.
void paintVerticalGradient(Canvas& canvas, const std::vector<GradientStop>& stops);

// Adds a soft round light that falls off to nothing at `radius`.
void addGlow(Canvas& canvas, float cx, float cy, float radius, Rgba colour);

// A sun: a bright disc with a wide glow around it.
void paintSun(Canvas& canvas, float cx, float cy, float radius, Rgba core, Rgba glow);

// A range of hills or mountains: everything below a noisy skyline around
// baseY, `amplitude` pixels high, with features about `wavelength` wide.
// `sharpness` above 1 makes peaks pointier (mountains), 1 keeps hills round.
// A valley (half width above 0) lowers the skyline around valleyX, to let a
// setting sun or a road through.
struct Ridge {
    float baseY;
    float amplitude;
    float wavelength;
    float sharpness;
    int octaves;
    uint32_t seed;
    float valleyX = 0.0f;
    float valleyHalfWidth = 0.0f;
};
float ridgeHeight(const Ridge& ridge, float x);
void paintRidge(Canvas& canvas, const Ridge& ridge, Rgba top, Rgba bottom);

// Scattered stars in the band above maxY, brighter ones with a small glow.
void paintStars(Canvas& canvas, Rng& rng, int count, float maxY, Rgba colour);

// Floating embers: tiny bright sparks with a warm halo inside the box.
void paintEmbers(Canvas& canvas, Rng& rng, int count, float x0, float y0, float x1, float y1);

// A horizontal band of haze centred on y, fading out over `halfHeight`.
void paintHaze(Canvas& canvas, float y, float halfHeight, Rgba colour);

// Darkens (or tints) the edges: the colour is laid over with a weight that
// grows from 0 in the middle to `strength` in the corners.
void paintVignette(Canvas& canvas, Rgba colour, float strength);

// Fine grain of paper or film: lightness moves by up to +-amount.
void paintGrain(Canvas& canvas, uint32_t seed, float amount);

} // namespace vlo::demo
