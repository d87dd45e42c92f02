#include "AudioEncoders.h"

#include <algorithm>
#include <cmath>

namespace vlo::demo {

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v)
{
    put16(out, v & 0xFFFFu);
    put16(out, v >> 16);
}

void putTag(std::vector<uint8_t>& out, const char* tag)
{
    out.insert(out.end(), tag, tag + 4);
}

int16_t toPcm(float v)
{
    float clipped = std::min(1.0f, std::max(-1.0f, v));
    return static_cast<int16_t>(std::lround(clipped * 32767.0f));
}

} // namespace

bool encodeWav(const StereoBuffer& audio, std::vector<uint8_t>& out, std::string& error)
{
    if (audio.left.size() != audio.right.size()) {
        error = "left and right channels differ in length";
        return false;
    }
    // The RIFF sizes are 32-bit; stay well below them.
    const size_t maxFrames = (1u << 30) / 4;
    if (audio.frames() > maxFrames) {
        error = "audio too long for a WAV file: " + std::to_string(audio.frames()) + " frames";
        return false;
    }
    uint32_t dataSize = static_cast<uint32_t>(audio.frames() * 4);
    out.clear();
    out.reserve(44 + dataSize);
    putTag(out, "RIFF");
    put32(out, 36 + dataSize);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 2); // stereo
    put32(out, kSampleRate);
    put32(out, kSampleRate * 4); // bytes per second
    put16(out, 4);               // bytes per frame
    put16(out, 16);              // bits per sample
    putTag(out, "data");
    put32(out, dataSize);
    for (size_t i = 0; i < audio.frames(); ++i) {
        put16(out, static_cast<uint16_t>(toPcm(audio.left[i])));
        put16(out, static_cast<uint16_t>(toPcm(audio.right[i])));
    }
    return true;
}

} // namespace vlo::demo
