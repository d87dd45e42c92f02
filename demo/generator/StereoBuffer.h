#pragma once
#include <cstddef>
#include <vector>

namespace vlo::demo {

const int kSampleRate = 44100;

// Floating-point stereo audio at kSampleRate, nominally within -1..1.
struct StereoBuffer {
    std::vector<float> left;
    std::vector<float> right;

    explicit StereoBuffer(size_t frames = 0)
        : left(frames, 0.0f)
        , right(frames, 0.0f)
    {
    }
    size_t frames() const { return left.size(); }
    double seconds() const { return static_cast<double>(left.size()) / kSampleRate; }
};

} // namespace vlo::demo
