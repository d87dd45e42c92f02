// Fuzz target: arbitrary bytes as a .png file, taken through the whole texture
// load short of the upload (see ImageFuzz.h).
#include <zlib.h>

#include <vector>

#include "ImageFuzz.h"

namespace {

// A mutated chunk almost never keeps a matching CRC, and the decoder stops
// at the first mismatch, so most inputs would end in the first chunk. The
// CRC of every whole chunk is set right before decoding, so that the
// changes reach what the chunks hold; the replay does the same, so a saved
// input fails there as it did while fuzzing.
std::vector<uint8_t> withChunkCrcsSet(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> bytes(data, data + size);
    size_t at = 8;
    while (at + 12 <= bytes.size()) {
        const uint32_t length = uint32_t(bytes[at]) << 24 | uint32_t(bytes[at + 1]) << 16 | uint32_t(bytes[at + 2]) << 8
            | uint32_t(bytes[at + 3]);
        if (length > bytes.size() - at - 12)
            break;
        const uLong crc = crc32(0L, bytes.data() + at + 4, uInt(length + 4));
        uint8_t* field = bytes.data() + at + 8 + length;
        field[0] = uint8_t(crc >> 24);
        field[1] = uint8_t(crc >> 16);
        field[2] = uint8_t(crc >> 8);
        field[3] = uint8_t(crc);
        at += 12 + size_t(length);
    }
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> bytes = withChunkCrcsSet(data, size);
    return vlo::fuzz::loadAsTexture(bytes.data(), bytes.size(), ".png");
}
