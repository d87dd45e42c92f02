#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "Mask.h"
#include "Rgba.h"

namespace vlo::demo {

// A picture being painted: premultiplied colours, origin at the top-left,
// y downwards, one Rgba per pixel. Paint is laid with the "over" rule.
//
// Because the colours are premultiplied, the same painting serves both ways
// the show draws a picture: saved straight (toStraightRgba8) it is blended
// normally; saved premultiplied (toPremultipliedRgba8) it is a multiply
// filter for the (GL_DST_COLOR, GL_ONE_MINUS_SRC_ALPHA) blend, where a pixel
// (r, a) turns the background d into d x (r + 1 - a): transparent and opaque
// white leave it alone, and paint of colour m at coverage c multiplies it by
// about m where c is 1.
class Canvas {
public:
    Canvas(int width, int height);

    int width() const { return w; }
    int height() const { return h; }
    const Rgba& at(int x, int y) const { return px[static_cast<size_t>(y) * w + x]; }
    Rgba& at(int x, int y) { return px[static_cast<size_t>(y) * w + x]; }

    // Replaces every pixel.
    void fill(Rgba colour);
    // Lays colour(x, y) over every pixel (x, y at pixel centres).
    void shade(const std::function<Rgba(float, float)>& colour);
    // Lays a colour over the pixels the mask covers, weighted by coverage.
    void paint(const Mask& mask, Rgba colour);
    void paint(const Mask& mask, const std::function<Rgba(float, float)>& colour);
    // Adds light where the mask covers (glows, sparks); the alpha grows too,
    // so light added to a transparent picture stays visible.
    void addLight(const Mask& mask, Rgba colour);
    // Lays another canvas of any size over this one with its top-left corner
    // at (left, top).
    void drawCanvas(const Canvas& other, int left, int top);

    // Bytes for the file writers, rows top first. Colours are rounded with a
    // fixed ordered dither so that smooth gradients do not band.
    std::vector<uint8_t> toRgb8() const;               // opaque: alpha dropped
    std::vector<uint8_t> toStraightRgba8() const;      // for normal blending
    std::vector<uint8_t> toPremultipliedRgba8() const; // for multiply blending

private:
    int w;
    int h;
    std::vector<Rgba> px;
};

} // namespace vlo::demo
