#pragma once

namespace vlo {

// Four floats: red, green, blue, alpha in 0..1 as a colour; as a Rect the same
// four are x1, y1, x2, y2 (top-left and bottom-right corners in GUI units).
class Color {
public:
    Color() = default;
    Color(float c0, float c1, float c2, float c3)
        : r(c0)
        , g(c1)
        , b(c2)
        , a(c3)
    {
    }
    virtual ~Color() = default;
    Color(const Color&) = default;
    Color& operator=(const Color&) = default;

    // Rect reading of the same four components.
    float x1() const { return r; }
    float y1() const { return g; }
    float x2() const { return b; }
    float y2() const { return a; }

    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;
};

using Rect = Color;

} // namespace vlo
