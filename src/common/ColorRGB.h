#pragma once

namespace vlo {

// Red, green, blue in 0..1: the argument of every widget colour setter, which
// keeps the target's alpha.
class ColorRGB {
public:
    ColorRGB() = default;
    ColorRGB(float red, float green, float blue)
        : r(red)
        , g(green)
        , b(blue)
    {
    }
    virtual ~ColorRGB() = default;
    ColorRGB(const ColorRGB&) = default;
    ColorRGB& operator=(const ColorRGB&) = default;

    static const ColorRGB white;
    static const ColorRGB black;
    static const ColorRGB grey;
    static const ColorRGB lightGrey;
    static const ColorRGB darkGrey;

    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
};

} // namespace vlo
