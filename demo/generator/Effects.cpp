#include "Effects.h"

#include <cmath>
#include <vector>

namespace vlo::demo {

namespace {

class Comb {
public:
    Comb(size_t length, float feedback, float damping)
        : line(length, 0.0f)
        , feedback(feedback)
        , damping(damping)
    {
    }

    float process(float input)
    {
        float output = line[index];
        // The low-pass in the loop makes high frequencies die first, as in a room.
        filtered = output * (1.0f - damping) + filtered * damping;
        line[index] = input + filtered * feedback;
        if (++index == line.size()) {
            index = 0;
        }
        return output;
    }

private:
    std::vector<float> line;
    size_t index = 0;
    float feedback;
    float damping;
    float filtered = 0.0f;
};

class AllPass {
public:
    explicit AllPass(size_t length)
        : line(length, 0.0f)
    {
    }

    float process(float input)
    {
        float delayed = line[index];
        float output = delayed - input;
        line[index] = input + delayed * 0.5f;
        if (++index == line.size()) {
            index = 0;
        }
        return output;
    }

private:
    std::vector<float> line;
    size_t index = 0;
};

// The classic Freeverb delay lengths at 44.1 kHz; the right channel's are
// longer by a fixed spread, which decorrelates the two sides.
const size_t kCombLengths[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
const size_t kAllPassLengths[4] = {556, 441, 341, 225};
const size_t kStereoSpread = 23;

void reverbChannel(
    const std::vector<float>& in, std::vector<float>& out, size_t spread, float wet, float roomSize, float damping)
{
    std::vector<Comb> combs;
    for (size_t length : kCombLengths) {
        combs.emplace_back(length + spread, 0.7f + 0.28f * roomSize, damping * 0.4f);
    }
    std::vector<AllPass> allPasses;
    for (size_t length : kAllPassLengths) {
        allPasses.emplace_back(length + spread);
    }
    for (size_t i = 0; i < in.size(); ++i) {
        float input = in[i] * 0.015f;
        float sum = 0.0f;
        for (Comb& c : combs) {
            sum += c.process(input);
        }
        for (AllPass& a : allPasses) {
            sum = a.process(sum);
        }
        out[i] += sum * wet;
    }
}

} // namespace

void lowPass(StereoBuffer& buffer, float cutoffHz)
{
    float k = 1.0f - std::exp(-6.2831853f * cutoffHz / kSampleRate);
    float l = 0.0f, r = 0.0f;
    for (size_t i = 0; i < buffer.frames(); ++i) {
        l += (buffer.left[i] - l) * k;
        r += (buffer.right[i] - r) * k;
        buffer.left[i] = l;
        buffer.right[i] = r;
    }
}

void pingPongDelay(StereoBuffer& buffer, double delaySeconds, float feedback, float mix)
{
    size_t delay = static_cast<size_t>(delaySeconds * kSampleRate);
    if (delay == 0 || delay >= buffer.frames()) {
        return;
    }
    std::vector<float> echoL(buffer.frames(), 0.0f), echoR(buffer.frames(), 0.0f);
    for (size_t i = delay; i < buffer.frames(); ++i) {
        // The left input and the right echoes feed the left line and cross
        // over, so repeats alternate sides.
        float mono = (buffer.left[i - delay] + buffer.right[i - delay]) * 0.5f;
        echoL[i] = mono + echoR[i - delay] * feedback;
        echoR[i] = echoL[i - delay] * feedback;
    }
    for (size_t i = 0; i < buffer.frames(); ++i) {
        buffer.left[i] += echoL[i] * mix;
        buffer.right[i] += echoR[i] * mix;
    }
}

void addReverb(const StereoBuffer& send, StereoBuffer& out, float wet, float roomSize, float damping)
{
    if (send.frames() != out.frames()) {
        return;
    }
    reverbChannel(send.left, out.left, 0, wet, roomSize, damping);
    reverbChannel(send.right, out.right, kStereoSpread, wet, roomSize, damping);
}

} // namespace vlo::demo
