#include "PictureFormats.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "JpegExif.h"

#include "render/codecs/ImageLimits.h"

namespace vlo::pack {

namespace {

constexpr size_t kBmpHeaders = 54;
constexpr size_t kTgaHeader = 18;

uint32_t le16(const std::string& bytes, size_t at)
{
    return uint32_t(uint8_t(bytes[at])) | uint32_t(uint8_t(bytes[at + 1])) << 8;
}

uint32_t le32(const std::string& bytes, size_t at)
{
    return le16(bytes, at) | le16(bytes, at + 2) << 16;
}

uint32_t be32(const std::string& bytes, size_t at)
{
    return uint32_t(uint8_t(bytes[at])) << 24 | uint32_t(uint8_t(bytes[at + 1])) << 16
        | uint32_t(uint8_t(bytes[at + 2])) << 8 | uint32_t(uint8_t(bytes[at + 3]));
}

bool startsWith(const std::string& bytes, const std::string& prefix)
{
    return bytes.compare(0, prefix.size(), prefix) == 0;
}

// The decoder the viewer uses for an extension: jpg and jpeg share one.
std::string decoderOf(const std::string& extension)
{
    return extension == "jpeg" ? "jpg" : extension;
}

std::string formatName(const std::string& sniffed)
{
    if (sniffed == "png")
        return "PNG";
    if (sniffed == "jpg")
        return "JPEG";
    if (sniffed == "bmp")
        return "Windows bitmap";
    if (sniffed == "gif")
        return "GIF";
    return "WebP";
}

std::string sizeText(int64_t width, int64_t height)
{
    return std::to_string(width) + " x " + std::to_string(height);
}

// The declared size in words, with its megapixels when that is what is wrong.
std::string tooLarge(int64_t width, int64_t height)
{
    const int64_t megapixels = (width * height + (1 << 20) - 1) >> 20;
    return "it declares " + sizeText(width, height) + " pixels (" + std::to_string(megapixels)
        + " megapixels); the viewer decodes pictures of at most " + std::to_string(kMaxImageSide)
        + " pixels a side and " + std::to_string(kMaxImagePixels >> 20) + " megapixels in all";
}

// A bitmap or Targa whose pixel bytes the file holds far too few of.
std::string farTooShort(int64_t width, int64_t height, int bits, int64_t held)
{
    return "it declares " + sizeText(width, height) + " pixels (" + std::to_string(width * height * (bits / 8))
        + " bytes at " + std::to_string(bits) + " bits) but holds only " + std::to_string(held)
        + " bytes of them; the viewer refuses files holding less than one byte in "
        + std::to_string(kMaxPixelBytesPerFileByte) + " of their pixels";
}

// The width and height in a JPEG's frame header (any SOFn marker), found by
// walking the marker segments from the start; false when there is none.
bool jpegFrameSize(const std::string& bytes, int64_t& width, int64_t& height)
{
    size_t at = 2;
    while (at + 4 <= bytes.size()) {
        if (uint8_t(bytes[at]) != 0xFF)
            return false;
        const int marker = uint8_t(bytes[at + 1]);
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        const size_t length = (size_t(uint8_t(bytes[at + 2])) << 8) | uint8_t(bytes[at + 3]);
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (at + 9 > bytes.size())
                return false;
            height = (int64_t(uint8_t(bytes[at + 5])) << 8) | uint8_t(bytes[at + 6]);
            width = (int64_t(uint8_t(bytes[at + 7])) << 8) | uint8_t(bytes[at + 8]);
            return true;
        }
        if (marker == 0xDA || length < 2)
            return false;
        at += 2 + length;
    }
    return false;
}

// What a bitmap's compression field names.
std::string compressionName(uint32_t compression)
{
    switch (compression) {
    case 1:
        return "run-length 8-bit";
    case 2:
        return "run-length 4-bit";
    case 3:
        return "bit fields";
    case 4:
        return "JPEG inside the bitmap";
    case 5:
        return "PNG inside the bitmap";
    case 6:
        return "alpha bit fields";
    default:
        return "unknown";
    }
}

std::string bmpRefusal(const std::string& bytes)
{
    if (bytes.size() < kBmpHeaders)
        return "too short for a bitmap's headers: " + std::to_string(bytes.size()) + " bytes, need 54";
    if (!startsWith(bytes, "BM"))
        return "not a Windows bitmap (it does not start with 'BM')";
    const uint32_t compression = le32(bytes, 30);
    if (compression != 0)
        return "a compressed bitmap (compression " + std::to_string(compression) + ": " + compressionName(compression)
            + "); the viewer reads only uncompressed ones: save it uncompressed (ImageMagick: BMP3:name.bmp)";
    const uint32_t bits = le16(bytes, 28);
    if (bits != 8 && bits != 24 && bits != 32)
        return "a " + std::to_string(bits) + "-bit bitmap; the viewer reads 8, 24 and 32 bits";
    const int64_t width = int32_t(le32(bytes, 18));
    const int64_t height = std::abs(int64_t(int32_t(le32(bytes, 22))));
    if (width <= 0 || height == 0)
        return "it claims a size of " + sizeText(width, int32_t(le32(bytes, 22)));
    if (!imageSizeAccepted(width, height))
        return tooLarge(width, height);
    // The pixels start at the data offset when it lies inside the file.
    const int64_t offset = le32(bytes, 10);
    const int64_t dataStart = offset >= int64_t(kBmpHeaders) && offset <= int64_t(bytes.size()) ? offset : kBmpHeaders;
    const int64_t held = int64_t(bytes.size()) - dataStart;
    if (!pixelsFitFile(width * height * (bits / 8), held))
        return farTooShort(width, height, int(bits), held);
    return "the bitmap decoder refuses it";
}

// What a Targa image type stands for, in brackets; empty when unknown.
std::string tgaTypeName(int type)
{
    switch (type) {
    case 0:
        return " (no image data)";
    case 1:
        return " (colour-mapped)";
    case 3:
        return " (greyscale)";
    case 9:
        return " (run-length compressed, colour-mapped)";
    case 10:
        return " (run-length compressed)";
    case 11:
        return " (run-length compressed, greyscale)";
    default:
        return std::string();
    }
}

std::string tgaRefusal(const std::string& bytes)
{
    if (bytes.size() < kTgaHeader)
        return "too short for a Targa header: " + std::to_string(bytes.size()) + " bytes, need 18";
    const int type = uint8_t(bytes[2]);
    if (type != 2)
        return "Targa image type " + std::to_string(type) + tgaTypeName(type)
            + "; the viewer reads only uncompressed true-colour files (type 2): save it uncompressed, in true colour";
    const int bits = uint8_t(bytes[16]);
    if (bits != 8 && bits != 24 && bits != 32)
        return "a " + std::to_string(bits) + "-bit Targa; the viewer reads 8, 24 and 32 bits";
    const int64_t width = int16_t(le16(bytes, 12));
    const int64_t height = int16_t(le16(bytes, 14));
    if (width <= 0 || height <= 0)
        return "it claims a size of " + sizeText(width, height);
    if (!imageSizeAccepted(width, height))
        return tooLarge(width, height);
    const int64_t held = std::max<int64_t>(int64_t(bytes.size()) - int64_t(kTgaHeader) - uint8_t(bytes[0]), 0);
    if (!pixelsFitFile(width * height * (bits / 8), held))
        return farTooShort(width, height, bits, held);
    return "the Targa decoder refuses it";
}

std::string pngRefusal(const std::string& bytes)
{
    if (sniffPictureFormat(bytes) != "png")
        return "not a PNG file (no PNG signature)";
    if (bytes.size() >= 24 && bytes.compare(12, 4, "IHDR") == 0) {
        const int64_t width = be32(bytes, 16);
        const int64_t height = be32(bytes, 20);
        if (width > 0 && height > 0 && !imageSizeAccepted(width, height))
            return tooLarge(width, height);
        return "the PNG data is damaged, or cut short of what its " + sizeText(width, height) + " pixels need";
    }
    return "the PNG data is damaged or cut short";
}

std::string jpegRefusal(const std::string& bytes)
{
    if (sniffPictureFormat(bytes) != "jpg")
        return "not a JPEG file (no JPEG start marker)";
    int64_t width = 0;
    int64_t height = 0;
    if (!jpegFrameSize(bytes, width, height))
        return "the JPEG library refuses it: damaged or cut short before its frame header";
    if (width > 0 && height > 0 && !imageSizeAccepted(width, height))
        return tooLarge(width, height);
    return "the JPEG library refuses it: damaged, or cut short of what its " + sizeText(width, height) + " pixels need";
}

// Rows the file holds fewer bytes for than the header promises.
void noteShortPixels(const std::string& bytes, size_t start, int64_t needed, std::vector<std::string>& out)
{
    const int64_t held = int64_t(bytes.size()) - int64_t(start);
    if (held < needed)
        out.push_back("the file ends " + std::to_string(needed - held)
            + " bytes before its last pixel; the missing pixels show black");
}

void bmpWarnings(const std::string& bytes, std::vector<std::string>& out)
{
    if (bytes.size() < kBmpHeaders)
        return;
    // Where the viewer takes the pixels from: the data offset when it lies
    // past the headers (the info header may be longer than 40 bytes) and
    // inside the file, else byte 54.
    const size_t length = bytes.size();
    const uint32_t infoSize = le32(bytes, 14);
    const size_t headersEnd = infoSize >= 40 && infoSize <= length - 14 ? 14 + size_t(infoSize) : kBmpHeaders;
    const uint32_t dataOffset = le32(bytes, 10);
    const bool offsetUsed = dataOffset >= headersEnd && dataOffset < length;
    const size_t start = offsetUsed ? dataOffset : kBmpHeaders;
    const int bits = int(le16(bytes, 28));
    const int64_t width = int32_t(le32(bytes, 18));
    const int64_t height = std::abs(int64_t(int32_t(le32(bytes, 22))));
    if (!offsetUsed && dataOffset != kBmpHeaders)
        out.push_back("its pixel-data offset, byte " + std::to_string(dataOffset) + ", lies "
            + (dataOffset < headersEnd ? "inside its headers" : "past the end of the file")
            + ", so the viewer reads the pixels from byte 54: the picture shows shifted or garbled");
    if (bits == 8 && !(offsetUsed && start >= headersEnd + 4))
        out.push_back("an 8-bit bitmap without a colour table shows as grey levels");
    const int64_t packed = width * (bits / 8);
    const int64_t padded = (packed + 3) / 4 * 4;
    const int64_t held = int64_t(length) - int64_t(start);
    if (padded != packed && held < padded * height && held > packed * height)
        out.push_back("it holds " + std::to_string(held) + " bytes of pixels, more than unpadded rows take ("
            + std::to_string(packed * height) + ") but fewer than rows padded to 4 bytes ("
            + std::to_string(padded * height)
            + "), so the viewer reads the rows unpadded: if the writer padded them the picture shows sheared");
    noteShortPixels(bytes, start, packed * height, out);
}

void tgaWarnings(const std::string& bytes, std::vector<std::string>& out)
{
    if (bytes.size() < kTgaHeader)
        return;
    const int idLength = uint8_t(bytes[0]);
    const int bits = uint8_t(bytes[16]);
    const int64_t width = int16_t(le16(bytes, 12));
    const int64_t height = int16_t(le16(bytes, 14));
    const int descriptor = uint8_t(bytes[17]);
    if (bytes[1] != 0)
        out.push_back("it has a colour map, which the viewer reads as pixels: the picture shows shifted; save it "
                      "without one, in true colour");
    if ((descriptor & 0x20) == 0)
        out.push_back("stored bottom row first, so it shows upside down: save it with its origin at the top left");
    if ((descriptor & 0x10) != 0)
        out.push_back("stored right to left, so it shows mirrored: save it with its origin at the top left");
    if (bits == 8)
        out.push_back("an 8-bit Targa shows as grey levels");
    noteShortPixels(bytes, kTgaHeader + size_t(idLength), width * height * (bits / 8), out);
}

void jpegWarnings(const std::string& bytes, std::vector<std::string>& out)
{
    // A JPEG cut short still decodes; the library fills the rest with grey.
    size_t end = bytes.size();
    while (end > 0 && bytes[end - 1] == '\0')
        --end;
    if (end < 2 || uint8_t(bytes[end - 2]) != 0xFF || uint8_t(bytes[end - 1]) != 0xD9)
        out.push_back("the JPEG data has no end marker: it may be cut short, and the missing part shows grey");
    const int orientation = exifOrientation(bytes);
    const std::string effect = orientationEffect(orientation);
    if (!effect.empty())
        out.push_back("its EXIF orientation is " + std::to_string(orientation) + ": other viewers " + effect
            + ", but this one ignores the tag, so it shows unrotated; turn the pixels themselves (for example "
              "'exiftran -ai' or ImageMagick's -auto-orient)");
}

} // namespace

std::string sniffPictureFormat(const std::string& bytes)
{
    if (startsWith(bytes, std::string("\x89PNG\r\n\x1A\n", 8)))
        return "png";
    if (startsWith(bytes, "\xFF\xD8\xFF"))
        return "jpg";
    if (startsWith(bytes, "BM"))
        return "bmp";
    if (startsWith(bytes, "GIF8"))
        return "gif";
    if (bytes.size() >= 12 && startsWith(bytes, "RIFF") && bytes.compare(8, 4, "WEBP") == 0)
        return "webp";
    return std::string();
}

std::string refusalReason(const std::string& extension, const std::string& bytes)
{
    if (bytes.empty())
        return "the entry is empty";
    const std::string sniffed = sniffPictureFormat(bytes);
    const std::string decoder = decoderOf(extension);
    if (!sniffed.empty() && sniffed != decoder)
        return "the file is a " + formatName(sniffed) + " picture, but its name ends in '." + extension
            + "' and the viewer picks the decoder by the name";
    if (decoder == "bmp")
        return bmpRefusal(bytes);
    if (decoder == "tga")
        return tgaRefusal(bytes);
    if (decoder == "png")
        return pngRefusal(bytes);
    if (decoder == "jpg")
        return jpegRefusal(bytes);
    return "the decoder refuses it";
}

std::vector<std::string> formatWarnings(const std::string& extension, const std::string& bytes)
{
    std::vector<std::string> out;
    const std::string decoder = decoderOf(extension);
    if (decoder == "bmp")
        bmpWarnings(bytes, out);
    else if (decoder == "tga")
        tgaWarnings(bytes, out);
    else if (decoder == "jpg")
        jpegWarnings(bytes, out);
    return out;
}

} // namespace vlo::pack
