#include "Noise.h"

#include <cmath>

namespace vlo::demo {

namespace {

float smooth(float t)
{
    return t * t * (3.0f - 2.0f * t);
}

} // namespace

float Noise::lattice(int32_t x, int32_t y) const
{
    uint32_t h = seed * 0x9E3779B1u;
    h ^= static_cast<uint32_t>(x) * 0x85EBCA77u;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<uint32_t>(y) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return static_cast<float>(h >> 8) / 16777215.0f;
}

float Noise::at(float x) const
{
    return at(x, 0.5f);
}

float Noise::at(float x, float y) const
{
    float fx = std::floor(x);
    float fy = std::floor(y);
    int32_t ix = static_cast<int32_t>(fx);
    int32_t iy = static_cast<int32_t>(fy);
    float tx = smooth(x - fx);
    float ty = smooth(y - fy);
    float top = lattice(ix, iy) + (lattice(ix + 1, iy) - lattice(ix, iy)) * tx;
    float bottom = lattice(ix, iy + 1) + (lattice(ix + 1, iy + 1) - lattice(ix, iy + 1)) * tx;
    return top + (bottom - top) * ty;
}

float Noise::fractal(float x, int octaves) const
{
    return fractal(x, 0.5f, octaves);
}

float Noise::fractal(float x, float y, int octaves) const
{
    float sum = 0.0f;
    float weight = 1.0f;
    float total = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        // Each octave is shifted so that lattice points do not line up.
        sum += at(x + 17.3f * i, y + 31.7f * i) * weight;
        total += weight;
        weight *= 0.5f;
        x *= 2.0f;
        y *= 2.0f;
    }
    return total > 0.0f ? sum / total : 0.0f;
}

} // namespace vlo::demo
