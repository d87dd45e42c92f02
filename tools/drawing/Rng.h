#pragma once
#include <cstdint>

namespace vlo::demo {

// Small deterministic random source (xorshift64*). The standard library's
// distributions may differ between implementations; the demo must come out
// byte for byte the same on every build, so it draws its numbers here.
class Rng {
public:
    explicit Rng(uint64_t seed)
        : state(seed ? seed : 0x9E3779B97F4A7C15ull)
    {
    }

    uint64_t next()
    {
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return state * 0x2545F4914F6CDD1Dull;
    }

    // Uniform in [0, 1).
    float uniform() { return static_cast<float>(next() >> 40) / 16777216.0f; }

    // Uniform in [lo, hi).
    float range(float lo, float hi) { return lo + (hi - lo) * uniform(); }

    // Uniform integer in [0, n); n must be positive.
    int below(int n) { return static_cast<int>((next() >> 33) % static_cast<uint64_t>(n)); }

private:
    uint64_t state;
};

} // namespace vlo::demo
