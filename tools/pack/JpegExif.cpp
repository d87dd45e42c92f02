#include "JpegExif.h"

#include <cstdint>

namespace vlo::pack {

namespace {

constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kShortType = 3;
constexpr size_t kIfdEntrySize = 12;

uint32_t byteAt(const std::string& bytes, size_t at)
{
    return uint8_t(bytes[at]);
}

// A TIFF structure inside [base, end) of bytes, in the byte order its header
// names ("II" little-endian, "MM" big-endian).
class TiffView {
public:
    TiffView(const std::string& bytes, size_t base, size_t end)
        : bytes(bytes)
        , base(base)
        , size(end - base)
    {
    }

    bool holds(uint64_t offset, uint64_t length) const { return offset <= size && length <= size - offset; }

    uint32_t u16(size_t offset) const
    {
        const uint32_t a = byteAt(bytes, base + offset);
        const uint32_t b = byteAt(bytes, base + offset + 1);
        return little ? a | b << 8 : a << 8 | b;
    }

    uint32_t u32(size_t offset) const
    {
        const uint32_t low = u16(offset + (little ? 0 : 2));
        const uint32_t high = u16(offset + (little ? 2 : 0));
        return low | high << 16;
    }

    // Reads the byte order and the magic 42; false when they are not there.
    bool readHeader()
    {
        if (!holds(0, 8))
            return false;
        if (bytes.compare(base, 2, "II") == 0)
            little = true;
        else if (bytes.compare(base, 2, "MM") == 0)
            little = false;
        else
            return false;
        return u16(2) == 42;
    }

    // The first image directory's orientation, or 0.
    int orientation() const
    {
        const uint64_t directory = u32(4);
        if (!holds(directory, 2))
            return 0;
        const uint32_t count = u16(size_t(directory));
        for (uint32_t i = 0; i < count; ++i) {
            const uint64_t entry = directory + 2 + uint64_t(i) * kIfdEntrySize;
            if (!holds(entry, kIfdEntrySize))
                return 0;
            if (u16(size_t(entry)) != kOrientationTag)
                continue;
            // A SHORT value of count 1 sits in the first two bytes of the
            // entry's value field.
            if (u16(size_t(entry) + 2) != kShortType || u32(size_t(entry) + 4) < 1)
                return 0;
            const uint32_t value = u16(size_t(entry) + 8);
            return value >= 1 && value <= 8 ? int(value) : 0;
        }
        return 0;
    }

private:
    const std::string& bytes;
    size_t base;
    size_t size;
    bool little = true;
};

} // namespace

int exifOrientation(const std::string& bytes)
{
    if (bytes.size() < 4 || byteAt(bytes, 0) != 0xFF || byteAt(bytes, 1) != 0xD8)
        return 0;
    size_t at = 2;
    // Marker segments up to the image data: FF, the marker, a big-endian
    // length that counts itself, then the contents.
    while (at + 4 <= bytes.size()) {
        if (byteAt(bytes, at) != 0xFF)
            return 0;
        const uint32_t marker = byteAt(bytes, at + 1);
        if (marker == 0xFF) {
            ++at; // fill byte
            continue;
        }
        if (marker == 0xDA || marker == 0xD9)
            return 0;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {
            at += 2; // markers without a length
            continue;
        }
        const size_t length = byteAt(bytes, at + 2) << 8 | byteAt(bytes, at + 3);
        if (length < 2 || length > bytes.size() - at - 2)
            return 0;
        const size_t contents = at + 4;
        const size_t end = at + 2 + length;
        static const std::string exifHeader("Exif\0\0", 6);
        if (marker == 0xE1 && end - contents >= exifHeader.size()
            && bytes.compare(contents, exifHeader.size(), exifHeader) == 0) {
            TiffView tiff(bytes, contents + exifHeader.size(), end);
            return tiff.readHeader() ? tiff.orientation() : 0;
        }
        at = end;
    }
    return 0;
}

std::string orientationEffect(int orientation)
{
    switch (orientation) {
    case 2:
        return "mirror it left to right";
    case 3:
        return "turn it 180 degrees";
    case 4:
        return "mirror it top to bottom";
    case 5:
        return "mirror it across its top-left to bottom-right diagonal";
    case 6:
        return "turn it 90 degrees clockwise";
    case 7:
        return "mirror it across its top-right to bottom-left diagonal";
    case 8:
        return "turn it 90 degrees anticlockwise";
    default:
        return std::string();
    }
}

} // namespace vlo::pack
