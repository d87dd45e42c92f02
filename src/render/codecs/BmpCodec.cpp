#include "render/codecs/BmpCodec.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "render/codecs/PixelReader.h"

namespace vlo {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr uint16_t kSignature = 0x4D42; // "BM"

void flipRows(unsigned char* pixels, size_t rowBytes, size_t rows)
{
    if (rows < 2)
        return;
    std::unique_ptr<unsigned char[]> spare(new unsigned char[rowBytes]);
    for (size_t top = 0, bottom = rows - 1; top < bottom; ++top, --bottom) {
        unsigned char* upper = pixels + rowBytes * top;
        unsigned char* lower = pixels + rowBytes * bottom;
        std::memcpy(spare.get(), upper, rowBytes);
        std::memcpy(upper, lower, rowBytes);
        std::memcpy(lower, spare.get(), rowBytes);
    }
}

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
    if (!imageSizeAccepted(w, h))
        return nullptr;

    const size_t rowBytes = static_cast<size_t>(w) * pixelBytes(depth);
    unsigned char* pixels = new unsigned char[rowBytes * static_cast<size_t>(h)];
    // One read for all rows (row-sized reads would each pass through the
    // stream's small buffer), then the rows are turned over: the file holds
    // the bottom row first, the buffer starts with the top row.
    readPixels(file, depth, pixels, static_cast<size_t>(w) * static_cast<size_t>(h));
    flipRows(pixels, rowBytes, static_cast<size_t>(h));
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
