#include "render/codecs/BmpCodec.h"

#include <cstddef>
#include <cstdint>

#include "render/codecs/PixelReader.h"

namespace vlo {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr uint16_t kSignature = 0x4D42; // "BM"

} // namespace

const char* BmpCodec::name()
{
    return "Windows Bitmap";
}

const char* BmpCodec::extension(int index)
{
    return index == 0 ? "bmp" : "";
}

int BmpCodec::extensionCount()
{
    return 1;
}

bool BmpCodec::canSave()
{
    return false;
}

unsigned char* BmpCodec::load(FILE* file, int* width, int* height, int* bits)
{
    unsigned char header[kFileHeaderSize + kInfoHeaderSize];
    if (std::fread(header, 1, sizeof header, file) != sizeof header)
        return nullptr;
    const unsigned char* info = header + kFileHeaderSize;
    const uint32_t compression = readUint32LE(info + 16);
    const int depth = readUint16LE(info + 14);
    if (readUint16LE(header) != kSignature || compression != 0 || pixelBytes(depth) == 0)
        return nullptr;
    const int32_t w = readInt32LE(info + 4);
    const int32_t h = readInt32LE(info + 8);
    if (w <= 0 || h <= 0 || w > kMaxImageSide || h > kMaxImageSide)
        return nullptr;

    const size_t rowBytes = static_cast<size_t>(w) * pixelBytes(depth);
    unsigned char* pixels = new unsigned char[rowBytes * static_cast<size_t>(h)];
    // The file holds the bottom row first; the buffer starts with the top row.
    for (int32_t k = 0; k < h; ++k)
        readPixels(file, depth, pixels + rowBytes * static_cast<size_t>(h - 1 - k), static_cast<size_t>(w));
    *width = w;
    *height = h;
    *bits = depth;
    return pixels;
}

bool BmpCodec::save(FILE*, int, int, int, const unsigned char*)
{
    return false;
}

} // namespace vlo
