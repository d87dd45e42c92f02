#include "render/codecs/PixelReader.h"

#include <cstring>

namespace vlo {

int pixelBytes(int bits)
{
    switch (bits) {
    case 8:
        return 1;
    case 24:
        return 3;
    case 32:
        return 4;
    default:
        return 0;
    }
}

namespace {

// The file stores blue first; swapping the first and third byte of every
// pixel gives red-green-blue and leaves alpha in place.
void swapBlueAndRed24(unsigned char* pixels, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const unsigned char blue = pixels[3 * i];
        pixels[3 * i] = pixels[3 * i + 2];
        pixels[3 * i + 2] = blue;
    }
}

void swapBlueAndRed32(unsigned char* pixels, size_t count)
{
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    // Whole words are several times faster: blue is the word's low byte and
    // red its third; green and alpha stay where they are.
    for (size_t i = 0; i < count; ++i) {
        uint32_t word;
        std::memcpy(&word, pixels + 4 * i, 4);
        word = (word & 0xFF00FF00u) | ((word >> 16) & 0xFFu) | ((word & 0xFFu) << 16);
        std::memcpy(pixels + 4 * i, &word, 4);
    }
#else
    for (size_t i = 0; i < count; ++i) {
        const unsigned char blue = pixels[4 * i];
        pixels[4 * i] = pixels[4 * i + 2];
        pixels[4 * i + 2] = blue;
    }
#endif
}

} // namespace

int readPixel(FILE* file, int bits, unsigned char* dest)
{
    readPixels(file, bits, dest, 1);
    return pixelBytes(bits);
}

bool readPixels(FILE* file, int bits, unsigned char* dest, size_t count)
{
    const int stride = pixelBytes(bits);
    if (stride == 0 || count == 0)
        return true;
    const size_t wanted = count * static_cast<size_t>(stride);
    const size_t got = std::fread(dest, 1, wanted, file);
    if (got < wanted)
        std::memset(dest + got, 0, wanted - got);
    if (stride == 3)
        swapBlueAndRed24(dest, count);
    else if (stride == 4)
        swapBlueAndRed32(dest, count);
    return got == wanted;
}

} // namespace vlo
