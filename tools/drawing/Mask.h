#pragma once
#include <functional>
#include <vector>

namespace vlo::demo {

struct Point {
    float x = 0.0f;
    float y = 0.0f;
};

// A coverage map (0..1 per pixel) the size of a picture. Shapes are drawn into
// it by their signed distance, which gives anti-aliased edges for free, and
// overlapping shapes take the larger coverage, so a stroked letter whose
// segments overlap still paints each pixel once. All coordinates are pixels,
// origin at the top-left corner, y downwards; pixel (x, y) has its centre at
// (x + 0.5, y + 0.5).
class Mask {
public:
    Mask(int width, int height);

    int width() const { return w; }
    int height() const { return h; }
    float at(int x, int y) const { return cover[static_cast<size_t>(y) * w + x]; }
    void set(int x, int y, float c) { cover[static_cast<size_t>(y) * w + x] = c; }

    // Adds the shape whose signed distance (pixels, negative inside) is given,
    // evaluated only inside the box (x0, y0)-(x1, y1).
    void addShape(float x0, float y0, float x1, float y1, const std::function<float(float, float)>& distance);

    void addDisc(float cx, float cy, float radius);
    void addRing(float cx, float cy, float radius, float thickness);
    void addEllipse(float cx, float cy, float rx, float ry);
    // A line segment with round ends, radius = half its thickness.
    void addCapsule(float x0, float y0, float x1, float y1, float radius);
    void addRoundedRect(float x0, float y0, float x1, float y1, float radius);
    // Any simple polygon, even non-convex; the points go around it.
    void addPolygon(const std::vector<Point>& points);
    // Everything below the curve y = top(x) (a skyline or a hill).
    void addBelow(const std::function<float(float)>& top);

    // Removes another mask's coverage from this one (a hole punched through).
    void cut(const Mask& other);
    // Keeps only what the other mask covers too (clipping).
    void intersect(const Mask& other);
    // Multiplies every coverage by k.
    void scale(float k);
    // Softens the map with three box-blur passes of the given radius (pixels),
    // close to a Gaussian; used for glows and shadows.
    void blur(int radius);

private:
    void boxBlurPass(int radius, bool horizontal);

    int w;
    int h;
    std::vector<float> cover;
};

// Signed distance from (px, py) to a polygon, negative inside.
float polygonDistance(const std::vector<Point>& points, float px, float py);

} // namespace vlo::demo
