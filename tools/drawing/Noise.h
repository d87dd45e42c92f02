#pragma once
#include <cstdint>

namespace vlo::demo {

// Smooth value noise, the same numbers on every machine: lattice values come
// from an integer hash of the coordinates and the seed, blended with a
// smoothstep. Results lie in [0, 1].
class Noise {
public:
    explicit Noise(uint32_t seed)
        : seed(seed)
    {
    }

    float at(float x) const;
    float at(float x, float y) const;
    // Fractal sum of `octaves` layers, each twice the frequency and half the
    // weight of the one before; normalised back to [0, 1].
    float fractal(float x, int octaves) const;
    float fractal(float x, float y, int octaves) const;

private:
    float lattice(int32_t x, int32_t y) const;

    uint32_t seed;
};

} // namespace vlo::demo
