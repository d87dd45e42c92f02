#include "Canvas.h"

#include <algorithm>

namespace vlo::demo {

namespace {

float clamp01(float v)
{
    return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v);
}

void over(Rgba& dst, Rgba src)
{
    float keep = 1.0f - clamp01(src.a);
    dst.r = src.r + dst.r * keep;
    dst.g = src.g + dst.g * keep;
    dst.b = src.b + dst.b * keep;
    dst.a = src.a + dst.a * keep;
}

// 4 x 4 Bayer matrix, centred on zero, in units of one 8-bit step.
float dither(int x, int y)
{
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return (static_cast<float>(bayer[y & 3][x & 3]) + 0.5f) / 16.0f - 0.5f;
}

uint8_t toByte(float v, float offset)
{
    float scaled = clamp01(v) * 255.0f + offset + 0.5f;
    scaled = std::min(255.0f, std::max(0.0f, scaled));
    return static_cast<uint8_t>(scaled);
}

} // namespace

Canvas::Canvas(int width, int height)
    : w(width > 0 ? width : 0)
    , h(height > 0 ? height : 0)
    , px(static_cast<size_t>(w) * static_cast<size_t>(h))
{
}

void Canvas::fill(Rgba colour)
{
    std::fill(px.begin(), px.end(), colour);
}

void Canvas::shade(const std::function<Rgba(float, float)>& colour)
{
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            over(at(x, y), colour(x + 0.5f, y + 0.5f));
        }
    }
}

void Canvas::paint(const Mask& mask, Rgba colour)
{
    paint(mask, [colour](float, float) { return colour; });
}

void Canvas::paint(const Mask& mask, const std::function<Rgba(float, float)>& colour)
{
    int mw = std::min(w, mask.width());
    int mh = std::min(h, mask.height());
    for (int y = 0; y < mh; ++y) {
        for (int x = 0; x < mw; ++x) {
            float c = clamp01(mask.at(x, y));
            if (c > 0.0f) {
                over(at(x, y), scaled(colour(x + 0.5f, y + 0.5f), c));
            }
        }
    }
}

void Canvas::addLight(const Mask& mask, Rgba colour)
{
    int mw = std::min(w, mask.width());
    int mh = std::min(h, mask.height());
    for (int y = 0; y < mh; ++y) {
        for (int x = 0; x < mw; ++x) {
            float c = clamp01(mask.at(x, y));
            if (c > 0.0f) {
                Rgba& d = at(x, y);
                d.r = std::min(1.0f, d.r + colour.r * c);
                d.g = std::min(1.0f, d.g + colour.g * c);
                d.b = std::min(1.0f, d.b + colour.b * c);
                d.a = std::min(1.0f, std::max(d.a, std::max(d.r, std::max(d.g, d.b))));
            }
        }
    }
}

void Canvas::drawCanvas(const Canvas& other, int left, int top)
{
    for (int y = 0; y < other.h; ++y) {
        int ty = top + y;
        if (ty < 0 || ty >= h) {
            continue;
        }
        for (int x = 0; x < other.w; ++x) {
            int tx = left + x;
            if (tx >= 0 && tx < w) {
                over(at(tx, ty), other.at(x, y));
            }
        }
    }
}

std::vector<uint8_t> Canvas::toRgb8() const
{
    std::vector<uint8_t> out(static_cast<size_t>(w) * h * 3);
    size_t i = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Rgba& p = at(x, y);
            float d = dither(x, y);
            out[i++] = toByte(p.r, d);
            out[i++] = toByte(p.g, d);
            out[i++] = toByte(p.b, d);
        }
    }
    return out;
}

std::vector<uint8_t> Canvas::toStraightRgba8() const
{
    std::vector<uint8_t> out(static_cast<size_t>(w) * h * 4);
    size_t i = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Rgba& p = at(x, y);
            float d = dither(x, y);
            float a = clamp01(p.a);
            float inv = a > 0.0f ? 1.0f / a : 0.0f;
            out[i++] = toByte(p.r * inv, d);
            out[i++] = toByte(p.g * inv, d);
            out[i++] = toByte(p.b * inv, d);
            out[i++] = toByte(a, 0.0f);
        }
    }
    return out;
}

std::vector<uint8_t> Canvas::toPremultipliedRgba8() const
{
    std::vector<uint8_t> out(static_cast<size_t>(w) * h * 4);
    size_t i = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Rgba& p = at(x, y);
            float d = dither(x, y);
            uint8_t a = toByte(p.a, 0.0f);
            // A premultiplied component above its alpha would brighten the
            // background under the multiply blend; white must stay neutral.
            out[i++] = std::min(toByte(p.r, d), a);
            out[i++] = std::min(toByte(p.g, d), a);
            out[i++] = std::min(toByte(p.b, d), a);
            out[i++] = a;
        }
    }
    return out;
}

} // namespace vlo::demo
