#include "ImageEncoders.h"

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

} // namespace

bool encodeBmp(const PixelImage& image, std::vector<uint8_t>& out, std::string& error)
{
    // 16384 keeps every size field far below 2^31.
    if (!checkPixelImage(image, 16384, true, true, error)) {
        return false;
    }
    const uint32_t headerSize = 14 + 40;
    uint32_t rowBytes = static_cast<uint32_t>(image.width) * static_cast<uint32_t>(image.channels);
    uint32_t stride = (rowBytes + 3u) & ~3u;
    uint32_t dataSize = stride * static_cast<uint32_t>(image.height);

    out.clear();
    out.reserve(headerSize + dataSize);
    // File header: "BM", file size, two reserved words, offset of the pixels.
    out.push_back('B');
    out.push_back('M');
    put32(out, headerSize + dataSize);
    put32(out, 0);
    put32(out, headerSize);
    // Info header (BITMAPINFOHEADER); a positive height means bottom-up rows.
    put32(out, 40);
    put32(out, static_cast<uint32_t>(image.width));
    put32(out, static_cast<uint32_t>(image.height));
    put16(out, 1);
    put16(out, static_cast<uint32_t>(image.channels * 8));
    put32(out, 0); // no compression
    put32(out, dataSize);
    put32(out, 2835); // 72 dpi, in pixels per metre
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);

    for (int y = image.height - 1; y >= 0; --y) {
        const uint8_t* row = image.bytes.data() + static_cast<size_t>(y) * rowBytes;
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* p = row + static_cast<size_t>(x) * image.channels;
            out.push_back(p[2]);
            out.push_back(p[1]);
            out.push_back(p[0]);
            if (image.channels == 4) {
                out.push_back(p[3]);
            }
        }
        for (uint32_t pad = rowBytes; pad < stride; ++pad) {
            out.push_back(0);
        }
    }
    return true;
}

} // namespace vlo::demo
