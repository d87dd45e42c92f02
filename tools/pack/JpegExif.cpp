#include "JpegExif.h"

#include <cstdint>
#include <memory>

#include <libexif/exif-data.h>

namespace vlo::pack {

namespace {

uint32_t byteAt(const std::string& bytes, size_t at)
{
    return uint8_t(bytes[at]);
}

// The orientation in the first image directory of an Exif segment's
// contents ("Exif", two zero bytes, then a TIFF structure), read by libexif
// within exactly those bytes.
int segmentOrientation(const std::string& bytes, size_t contents, size_t size)
{
    const std::unique_ptr<ExifData, void (*)(ExifData*)> data(exif_data_new(), &exif_data_unref);
    if (data == nullptr)
        return 0;
    // libexif would otherwise "fix" the data to the standard and turn an
    // orientation stored as another type into a valid one: the tag counts
    // only as a SHORT, the way cameras write it.
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_load_data(data.get(), reinterpret_cast<const unsigned char*>(bytes.data()) + contents, unsigned(size));
    const ExifEntry* entry = exif_content_get_entry(data->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
    if (entry == nullptr || entry->format != EXIF_FORMAT_SHORT || entry->components < 1 || entry->size < 2)
        return 0;
    const int value = exif_get_short(entry->data, exif_data_get_byte_order(data.get()));
    return value >= 1 && value <= 8 ? value : 0;
}

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
            return segmentOrientation(bytes, contents, end - contents);
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
