#include "render/codecs/BmpCodec.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "render/codecs/PixelReader.h"

namespace vlo {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr size_t kHeadersSize = kFileHeaderSize + kInfoHeaderSize;
constexpr uint16_t kSignature = 0x4D42; // "BM"
constexpr size_t kMaxColourEntries = 256;

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

// Where the rows start and how they are laid out, in bytes from the start
// of the file, worked out from header fields checked against the file's
// length before anything is allocated.
struct RowLayout {
    size_t dataStart = kHeadersSize;
    size_t tableStart = kHeadersSize;
    size_t colourEntries = 0;
    size_t packedRow = 0;
    bool padded = false;
};

RowLayout rowLayout(const unsigned char* header, int64_t fileLength, int depth, size_t width, size_t height)
{
    RowLayout layout;
    layout.packedRow = width * static_cast<size_t>(pixelBytes(depth));
    if (fileLength < 0)
        return layout;
    const size_t length = static_cast<size_t>(fileLength);
    const unsigned char* info = header + kFileHeaderSize;
    // The info header may be longer than its 40 common bytes (V4: 108, V5:
    // 124); what follows it is the colour table, then the pixels.
    const uint32_t infoSize = readUint32LE(info);
    size_t headersEnd = kHeadersSize;
    if (infoSize >= kInfoHeaderSize && infoSize <= length - kFileHeaderSize)
        headersEnd = kFileHeaderSize + infoSize;
    const uint32_t offset = readUint32LE(header + 10);
    if (offset >= headersEnd && offset < length)
        layout.dataStart = offset;
    layout.tableStart = headersEnd;
    if (depth == 8 && layout.dataStart >= headersEnd + 4) {
        const uint32_t used = readUint32LE(info + 32);
        size_t entries = used == 0 || used > kMaxColourEntries ? kMaxColourEntries : used;
        entries = std::min(entries, (layout.dataStart - headersEnd) / 4);
        layout.colourEntries = entries;
    }
    // Writers pad every row to a multiple of 4 bytes. A file too short for
    // padded rows is read packed, as it always was.
    const size_t paddedRow = (layout.packedRow + 3) & ~static_cast<size_t>(3);
    layout.padded = paddedRow != layout.packedRow && length - layout.dataStart >= paddedRow * height;
    return layout;
}

// Reads exactly count bytes, or zeros where the file has ended.
void readOrZero(FILE* file, unsigned char* dest, size_t count)
{
    const size_t got = std::fread(dest, 1, count, file);
    if (got < count)
        std::memset(dest + got, 0, count - got);
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
    // -1 when the stream cannot tell: then the headers' offsets cannot be
    // trusted and the pixels are read as if they followed the headers.
    const int64_t fileLength = bytesLeftInFile(file);
    unsigned char header[kHeadersSize];
    if (std::fread(header, 1, sizeof header, file) != sizeof header)
        return nullptr;
    const unsigned char* info = header + kFileHeaderSize;
    const uint32_t compression = readUint32LE(info + 16);
    const int depth = readUint16LE(info + 14);
    if (readUint16LE(header) != kSignature || compression != 0 || pixelBytes(depth) == 0)
        return nullptr;
    const int64_t w = readInt32LE(info + 4);
    // A negative height marks a file that stores its top row first.
    const int64_t signedHeight = readInt32LE(info + 8);
    const bool topDown = signedHeight < 0;
    const int64_t h = topDown ? -signedHeight : signedHeight;
    if (!imageSizeAccepted(w, h))
        return nullptr;

    const size_t columns = static_cast<size_t>(w);
    const size_t rows = static_cast<size_t>(h);
    const RowLayout layout = rowLayout(header, fileLength, depth, columns, rows);
    // Colour-table entries are blue, green, red and a spare byte; indices
    // past the table give black.
    unsigned char palette[kMaxColourEntries * 3] = {};
    if (layout.colourEntries > 0) {
        unsigned char table[kMaxColourEntries * 4];
        const long tableAt = static_cast<long>(layout.tableStart) - static_cast<long>(kHeadersSize);
        if (std::fseek(file, tableAt, SEEK_CUR) != 0)
            return nullptr;
        readOrZero(file, table, layout.colourEntries * 4);
        for (size_t i = 0; i < layout.colourEntries; ++i) {
            palette[3 * i] = table[4 * i + 2];
            palette[3 * i + 1] = table[4 * i + 1];
            palette[3 * i + 2] = table[4 * i];
        }
        const long dataAt
            = static_cast<long>(layout.dataStart) - static_cast<long>(layout.tableStart + layout.colourEntries * 4);
        if (std::fseek(file, dataAt, SEEK_CUR) != 0)
            return nullptr;
    } else if (layout.dataStart != kHeadersSize) {
        if (std::fseek(file, static_cast<long>(layout.dataStart - kHeadersSize), SEEK_CUR) != 0)
            return nullptr;
    }

    const int outDepth = layout.colourEntries > 0 ? 24 : depth;
    const size_t outRow = columns * static_cast<size_t>(pixelBytes(outDepth));
    const int64_t fileRowBytes = int64_t(columns) * pixelBytes(depth);
    const int64_t dataBytes = fileLength < 0 ? -1 : std::max<int64_t>(fileLength - int64_t(layout.dataStart), 0);
    if (!pixelsFitFile(fileRowBytes * int64_t(rows), dataBytes))
        return nullptr;
    unsigned char* pixels = new unsigned char[outRow * rows];
    if (!layout.padded && layout.colourEntries == 0) {
        // One read for all rows (row-sized reads would each pass through the
        // stream's small buffer), then bottom-up rows are turned over.
        readPixels(file, depth, pixels, columns * rows);
        if (!topDown)
            flipRows(pixels, outRow, rows);
    } else {
        const size_t padding = layout.padded ? (4 - layout.packedRow % 4) % 4 : 0;
        std::unique_ptr<unsigned char[]> indices(layout.colourEntries > 0 ? new unsigned char[columns] : nullptr);
        unsigned char skipped[3];
        for (size_t k = 0; k < rows; ++k) {
            unsigned char* dest = pixels + outRow * (topDown ? k : rows - 1 - k);
            if (indices) {
                readOrZero(file, indices.get(), columns);
                for (size_t x = 0; x < columns; ++x)
                    std::memcpy(dest + 3 * x, palette + 3 * indices[x], 3);
            } else {
                readPixels(file, depth, dest, columns);
            }
            if (padding > 0)
                readOrZero(file, skipped, padding);
        }
    }
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    *bits = outDepth;
    return pixels;
}

bool BmpCodec::save(FILE*, int, int, int, const unsigned char*)
{
    return false;
}

} // namespace vlo
