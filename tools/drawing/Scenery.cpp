#include "Scenery.h"

#include <algorithm>
#include <cmath>

namespace vlo::demo {

namespace {

float clamp01(float v)
{
    return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v);
}

} // namespace

void paintVerticalGradient(Canvas& canvas, const std::vector<GradientStop>& stops)
{
    if (stops.empty()) {
        return;
    }
    canvas.shade([&stops](float, float y) {
        if (y <= stops.front().y) {
            return stops.front().colour;
        }
        for (size_t i = 1; i < stops.size(); ++i) {
            if (y <= stops[i].y) {
                float span = stops[i].y - stops[i - 1].y;
                float t = span > 0.0f ? (y - stops[i - 1].y) / span : 1.0f;
                // Smoothstep between stops hides the joints.
                t = t * t * (3.0f - 2.0f * t);
                return mix(stops[i - 1].colour, stops[i].colour, t);
            }
        }
        return stops.back().colour;
    });
}

void addGlow(Canvas& canvas, float cx, float cy, float radius, Rgba colour)
{
    int x0 = std::max(0, static_cast<int>(cx - radius));
    int y0 = std::max(0, static_cast<int>(cy - radius));
    int x1 = std::min(canvas.width() - 1, static_cast<int>(cx + radius) + 1);
    int y1 = std::min(canvas.height() - 1, static_cast<int>(cy + radius) + 1);
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) / radius;
            if (d >= 1.0f) {
                continue;
            }
            float k = (1.0f - d) * (1.0f - d);
            Rgba& p = canvas.at(x, y);
            p.r = std::min(1.0f, p.r + colour.r * k);
            p.g = std::min(1.0f, p.g + colour.g * k);
            p.b = std::min(1.0f, p.b + colour.b * k);
            // Light on a transparent picture makes it as opaque as it is bright.
            p.a = std::max(p.a, std::max(p.r, std::max(p.g, p.b)));
        }
    }
}

void paintSun(Canvas& canvas, float cx, float cy, float radius, Rgba core, Rgba glow)
{
    addGlow(canvas, cx, cy, radius * 5.0f, scaled(glow, 0.55f));
    addGlow(canvas, cx, cy, radius * 2.2f, scaled(glow, 0.6f));
    Mask disc(canvas.width(), canvas.height());
    disc.addDisc(cx, cy, radius);
    canvas.paint(disc, core);
}

float ridgeHeight(const Ridge& ridge, float x)
{
    Noise noise(ridge.seed);
    float n = noise.fractal(x / ridge.wavelength, ridge.octaves);
    // Folding the noise around its middle gives sharp crests.
    if (ridge.sharpness > 1.0f) {
        float folded = 1.0f - std::fabs(n * 2.0f - 1.0f);
        n = std::pow(clamp01(folded), ridge.sharpness) * 0.7f + n * 0.3f;
    }
    float amplitude = ridge.amplitude;
    if (ridge.valleyHalfWidth > 0.0f) {
        float d = clamp01(std::fabs(x - ridge.valleyX) / ridge.valleyHalfWidth);
        amplitude *= 0.25f + 0.75f * d * d * (3.0f - 2.0f * d);
    }
    return ridge.baseY - n * amplitude;
}

void paintRidge(Canvas& canvas, const Ridge& ridge, Rgba top, Rgba bottom)
{
    Mask land(canvas.width(), canvas.height());
    land.addBelow([&ridge](float x) { return ridgeHeight(ridge, x); });
    float y0 = ridge.baseY - ridge.amplitude;
    float y1 = static_cast<float>(canvas.height());
    canvas.paint(land, [=](float, float y) { return mix(top, bottom, clamp01((y - y0) / (y1 - y0))); });
}

void paintStars(Canvas& canvas, Rng& rng, int count, float maxY, Rgba colour)
{
    Mask points(canvas.width(), canvas.height());
    for (int i = 0; i < count; ++i) {
        float x = rng.range(0.0f, static_cast<float>(canvas.width()));
        // More stars high up, fewer towards the horizon glow.
        float t = rng.uniform();
        float y = t * t * maxY;
        float size = rng.range(0.35f, 0.9f);
        points.addDisc(x, y, size);
        if (size > 0.8f) {
            addGlow(canvas, x, y, 6.0f, scaled(colour, 0.25f));
        }
    }
    canvas.paint(points, colour);
}

void paintEmbers(Canvas& canvas, Rng& rng, int count, float x0, float y0, float x1, float y1)
{
    Mask sparks(canvas.width(), canvas.height());
    for (int i = 0; i < count; ++i) {
        float x = rng.range(x0, x1);
        float y = rng.range(y0, y1);
        float size = rng.range(0.6f, 1.8f);
        float heat = rng.uniform();
        addGlow(canvas, x, y, size * 7.0f,
            scaled(mix(straight(1.0f, 0.3f, 0.05f), straight(1.0f, 0.55f, 0.15f), heat), 0.35f));
        // A short streak: embers drift upwards.
        float drift = rng.range(-2.0f, 2.0f);
        sparks.addCapsule(x, y, x + drift, y + size * 3.0f, size * 0.6f);
    }
    canvas.addLight(sparks, straight(1.0f, 0.85f, 0.5f));
}

void paintHaze(Canvas& canvas, float y, float halfHeight, Rgba colour)
{
    canvas.shade([=](float, float py) {
        float d = std::fabs(py - y) / halfHeight;
        float k = d < 1.0f ? (1.0f - d) * (1.0f - d) : 0.0f;
        return scaled(colour, k);
    });
}

void paintVignette(Canvas& canvas, Rgba colour, float strength)
{
    float cx = canvas.width() * 0.5f;
    float cy = canvas.height() * 0.5f;
    float reach = std::hypot(cx, cy);
    canvas.shade([=](float x, float y) {
        float d = std::hypot(x - cx, y - cy) / reach;
        return scaled(colour, strength * clamp01((d - 0.35f) / 0.65f) * clamp01((d - 0.35f) / 0.65f));
    });
}

void paintGrain(Canvas& canvas, uint32_t seed, float amount)
{
    Noise fine(seed);
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            // Two scales: a fibre-like mottle and a pixel-fine grain.
            float n = fine.fractal(x * 0.05f, y * 0.05f, 3) * 0.6f + fine.at(x * 0.9f, y * 0.9f) * 0.4f;
            float k = 1.0f + (n - 0.5f) * 2.0f * amount;
            Rgba& p = canvas.at(x, y);
            p.r = std::min(p.a, p.r * k);
            p.g = std::min(p.a, p.g * k);
            p.b = std::min(p.a, p.b * k);
        }
    }
}

} // namespace vlo::demo
