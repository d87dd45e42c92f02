#pragma once
// Runs one codec over bytes held in a temporary stdio file and keeps what it
// returned. The out-parameters start at -7, a value no decoder produces, so a
// failed decode that left them untouched is visible.
#include <cstdio>
#include <memory>

#include "render/codecs/ImageCodec.h"
#include "support/ImageFixtures.h"

namespace vlo::fixtures {

struct DecodeResult {
    int width = -7;
    int height = -7;
    int bits = -7;
    std::unique_ptr<unsigned char[]> pixels;

    bool untouched() const { return width == -7 && height == -7 && bits == -7; }
};

inline DecodeResult decodeBytes(ImageCodec& codec, const Bytes& bytes)
{
    DecodeResult out;
    FILE* file = std::tmpfile();
    if (!file)
        return out;
    if (!bytes.empty())
        std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::rewind(file);
    out.pixels.reset(codec.load(file, &out.width, &out.height, &out.bits));
    std::fclose(file);
    return out;
}

} // namespace vlo::fixtures
