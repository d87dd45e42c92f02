#include "Mask.h"

#include <algorithm>
#include <cmath>

namespace vlo::demo {

namespace {

float clamp01(float v)
{
    return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v);
}

float segmentDistance(float px, float py, float x0, float y0, float x1, float y1)
{
    float dx = x1 - x0;
    float dy = y1 - y0;
    float lengthSquared = dx * dx + dy * dy;
    float t = lengthSquared > 0.0f ? ((px - x0) * dx + (py - y0) * dy) / lengthSquared : 0.0f;
    t = clamp01(t);
    float ex = px - (x0 + t * dx);
    float ey = py - (y0 + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}

} // namespace

Mask::Mask(int width, int height)
    : w(width > 0 ? width : 0)
    , h(height > 0 ? height : 0)
    , cover(static_cast<size_t>(w) * static_cast<size_t>(h), 0.0f)
{
}

void Mask::addShape(float x0, float y0, float x1, float y1, const std::function<float(float, float)>& distance)
{
    // One pixel of slack on each side holds the anti-aliased rim.
    int ix0 = std::max(0, static_cast<int>(std::floor(x0)) - 1);
    int iy0 = std::max(0, static_cast<int>(std::floor(y0)) - 1);
    int ix1 = std::min(w - 1, static_cast<int>(std::ceil(x1)) + 1);
    int iy1 = std::min(h - 1, static_cast<int>(std::ceil(y1)) + 1);
    for (int y = iy0; y <= iy1; ++y) {
        for (int x = ix0; x <= ix1; ++x) {
            float c = clamp01(0.5f - distance(x + 0.5f, y + 0.5f));
            float& cell = cover[static_cast<size_t>(y) * w + x];
            cell = std::max(cell, c);
        }
    }
}

void Mask::addDisc(float cx, float cy, float radius)
{
    addShape(cx - radius, cy - radius, cx + radius, cy + radius,
        [=](float x, float y) { return std::hypot(x - cx, y - cy) - radius; });
}

void Mask::addRing(float cx, float cy, float radius, float thickness)
{
    float outer = radius + thickness * 0.5f;
    addShape(cx - outer, cy - outer, cx + outer, cy + outer,
        [=](float x, float y) { return std::fabs(std::hypot(x - cx, y - cy) - radius) - thickness * 0.5f; });
}

void Mask::addEllipse(float cx, float cy, float rx, float ry)
{
    // Distance scaled back to pixels along the smaller axis; exact enough for
    // the anti-aliased rim of the mild ellipses the pictures use.
    float k = std::min(rx, ry);
    addShape(cx - rx, cy - ry, cx + rx, cy + ry, [=](float x, float y) {
        float nx = (x - cx) / rx;
        float ny = (y - cy) / ry;
        return (std::sqrt(nx * nx + ny * ny) - 1.0f) * k;
    });
}

void Mask::addCapsule(float x0, float y0, float x1, float y1, float radius)
{
    addShape(std::min(x0, x1) - radius, std::min(y0, y1) - radius, std::max(x0, x1) + radius, std::max(y0, y1) + radius,
        [=](float x, float y) { return segmentDistance(x, y, x0, y0, x1, y1) - radius; });
}

void Mask::addRoundedRect(float x0, float y0, float x1, float y1, float radius)
{
    float cx = (x0 + x1) * 0.5f;
    float cy = (y0 + y1) * 0.5f;
    float hx = (x1 - x0) * 0.5f - radius;
    float hy = (y1 - y0) * 0.5f - radius;
    addShape(x0, y0, x1, y1, [=](float x, float y) {
        float qx = std::fabs(x - cx) - hx;
        float qy = std::fabs(y - cy) - hy;
        float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
        float inside = std::min(std::max(qx, qy), 0.0f);
        return outside + inside - radius;
    });
}

float polygonDistance(const std::vector<Point>& points, float px, float py)
{
    size_t n = points.size();
    if (n < 2) {
        return 1e9f;
    }
    float best = 1e9f;
    bool inside = false;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const Point& a = points[i];
        const Point& b = points[j];
        best = std::min(best, segmentDistance(px, py, a.x, a.y, b.x, b.y));
        // Even-odd crossing test on a ray towards +x.
        if ((a.y > py) != (b.y > py)) {
            float crossX = a.x + (py - a.y) * (b.x - a.x) / (b.y - a.y);
            if (px < crossX) {
                inside = !inside;
            }
        }
    }
    return inside ? -best : best;
}

void Mask::addPolygon(const std::vector<Point>& points)
{
    if (points.size() < 3) {
        return;
    }
    float x0 = points[0].x, x1 = points[0].x, y0 = points[0].y, y1 = points[0].y;
    for (const Point& p : points) {
        x0 = std::min(x0, p.x);
        x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y);
        y1 = std::max(y1, p.y);
    }
    addShape(x0, y0, x1, y1, [&points](float x, float y) { return polygonDistance(points, x, y); });
}

void Mask::addBelow(const std::function<float(float)>& top)
{
    for (int x = 0; x < w; ++x) {
        float edge = top(x + 0.5f);
        for (int y = 0; y < h; ++y) {
            // The share of the pixel row [y, y + 1) that lies below the edge.
            float c = clamp01(static_cast<float>(y + 1) - edge);
            float& cell = cover[static_cast<size_t>(y) * w + x];
            cell = std::max(cell, c);
        }
    }
}

void Mask::cut(const Mask& other)
{
    if (other.w != w || other.h != h) {
        return;
    }
    for (size_t i = 0; i < cover.size(); ++i) {
        cover[i] *= 1.0f - other.cover[i];
    }
}

void Mask::intersect(const Mask& other)
{
    if (other.w != w || other.h != h) {
        return;
    }
    for (size_t i = 0; i < cover.size(); ++i) {
        cover[i] *= other.cover[i];
    }
}

void Mask::scale(float k)
{
    for (float& c : cover) {
        c *= k;
    }
}

void Mask::blur(int radius)
{
    if (radius <= 0) {
        return;
    }
    for (int pass = 0; pass < 3; ++pass) {
        boxBlurPass(radius, true);
        boxBlurPass(radius, false);
    }
}

void Mask::boxBlurPass(int radius, bool horizontal)
{
    int lines = horizontal ? h : w;
    int length = horizontal ? w : h;
    std::vector<float> line(static_cast<size_t>(length));
    float norm = 1.0f / static_cast<float>(2 * radius + 1);
    for (int l = 0; l < lines; ++l) {
        auto index
            = [&](int i) { return horizontal ? static_cast<size_t>(l) * w + i : static_cast<size_t>(i) * w + l; };
        for (int i = 0; i < length; ++i) {
            line[i] = cover[index(i)];
        }
        // Running sum over a window clamped at the picture's edges (outside
        // counts as empty, so glows fade out at the border).
        float sum = 0.0f;
        for (int i = 0; i <= radius && i < length; ++i) {
            sum += line[i];
        }
        for (int i = 0; i < length; ++i) {
            cover[index(i)] = sum * norm;
            int leaving = i - radius;
            int entering = i + radius + 1;
            if (leaving >= 0) {
                sum -= line[leaving];
            }
            if (entering < length) {
                sum += line[entering];
            }
        }
    }
}

} // namespace vlo::demo
