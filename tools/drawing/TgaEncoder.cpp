#include "ImageEncoders.h"

namespace vlo::demo {

bool encodeTga(const PixelImage& image, std::vector<uint8_t>& out, std::string& error)
{
    // Width and height are 16-bit fields; readers that take them as signed
    // values see anything above 32767 as negative.
    if (!checkPixelImage(image, 32767, true, true, error)) {
        return false;
    }
    out.assign(18, 0);
    out[2] = 2; // uncompressed true colour
    out[12] = static_cast<uint8_t>(image.width);
    out[13] = static_cast<uint8_t>(image.width >> 8);
    out[14] = static_cast<uint8_t>(image.height);
    out[15] = static_cast<uint8_t>(image.height >> 8);
    out[16] = static_cast<uint8_t>(image.channels * 8);
    // Descriptor: bit 5 says the first row stored is the top one; the low
    // four bits count the alpha bits per pixel.
    out[17] = static_cast<uint8_t>(0x20 | (image.channels == 4 ? 8 : 0));

    out.reserve(out.size() + image.bytes.size());
    size_t pixels = static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
    for (size_t i = 0; i < pixels; ++i) {
        const uint8_t* p = image.bytes.data() + i * image.channels;
        out.push_back(p[2]);
        out.push_back(p[1]);
        out.push_back(p[0]);
        if (image.channels == 4) {
            out.push_back(p[3]);
        }
    }
    return true;
}

} // namespace vlo::demo
