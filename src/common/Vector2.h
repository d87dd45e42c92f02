#pragma once

namespace vlo {

// A point, size or texture-coordinate extent in GUI units (origin top-left, y down).
class Vector2 {
public:
    Vector2() = default;
    Vector2(float x_, float y_)
        : x(x_)
        , y(y_)
    {
    }
    virtual ~Vector2() = default;
    Vector2(const Vector2&) = default;
    Vector2& operator=(const Vector2&) = default;

    Vector2 operator+(const Vector2& o) const { return Vector2(x + o.x, y + o.y); }
    Vector2 operator-(const Vector2& o) const { return Vector2(x - o.x, y - o.y); }

    float x = 0.0f;
    float y = 0.0f;
};

} // namespace vlo
