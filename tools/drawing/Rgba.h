#pragma once

namespace vlo::demo {

// A colour with premultiplied alpha, components 0..1. Premultiplied colours
// compose with one rule for both kinds of picture the show uses: normally
// blended pictures are divided back to straight alpha when they are saved,
// multiply-blended ones are saved as they are (see Canvas).
struct Rgba {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;
};

// An opaque or translucent colour given in straight (not premultiplied) form.
inline Rgba straight(float r, float g, float b, float a = 1.0f)
{
    return Rgba{r * a, g * a, b * a, a};
}

// The same colour with its coverage scaled by k (0..1).
inline Rgba scaled(Rgba c, float k)
{
    return Rgba{c.r * k, c.g * k, c.b * k, c.a * k};
}

// Linear interpolation between two colours, t = 0 gives a, t = 1 gives b.
inline Rgba mix(Rgba a, Rgba b, float t)
{
    return Rgba{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

} // namespace vlo::demo
