#include "render/codecs/TgaCodec.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "render/codecs/PixelReader.h"

namespace vlo {

namespace {

constexpr size_t kHeaderSize = 18;
constexpr unsigned char kUncompressedTrueColour = 2;

} // namespace

const char* TgaCodec::name()
{
    return "TrueVision Targa";
}

const char* TgaCodec::extension(int index)
{
    return index == 0 ? "tga" : "";
}

int TgaCodec::extensionCount()
{
    return 1;
}

bool TgaCodec::canSave()
{
    return false;
}

unsigned char* TgaCodec::load(FILE* file, int* width, int* height, int* bits)
{
    unsigned char header[kHeaderSize];
    if (std::fread(header, 1, kHeaderSize, file) != kHeaderSize)
        return nullptr;
    // The colour map and the origin bits are not looked at: the pixels follow
    // the header and its identification field, and rows keep the file's order.
    const size_t idLength = header[0];
    const int type = header[2];
    const int depth = header[16];
    const int w = readInt16LE(header + 12);
    const int h = readInt16LE(header + 14);
    if (type != kUncompressedTrueColour || pixelBytes(depth) == 0)
        return nullptr;
    if (!imageSizeAccepted(w, h))
        return nullptr;
    const int64_t fileBytes = bytesLeftInFile(file);
    const int64_t declared = int64_t(w) * h * pixelBytes(depth);
    if (!pixelsFitFile(declared, fileBytes < 0 ? -1 : std::max<int64_t>(fileBytes - int64_t(idLength), 0)))
        return nullptr;

    // Skipped by reading, as the field is at most 255 bytes long. A file that
    // ends inside it decodes like any file cut short: to zero pixels.
    unsigned char identification[255];
    if (idLength > 0)
        static_cast<void>(std::fread(identification, 1, idLength, file));

    const size_t count = static_cast<size_t>(w) * static_cast<size_t>(h);
    unsigned char* pixels = new unsigned char[count * pixelBytes(depth)];
    readPixels(file, depth, pixels, count);
    *width = w;
    *height = h;
    *bits = depth;
    return pixels;
}

bool TgaCodec::save(FILE*, int, int, int, const unsigned char*)
{
    return false;
}

} // namespace vlo
