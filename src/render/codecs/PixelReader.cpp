#include "render/codecs/PixelReader.h"

#include <cstring>
#include <utility>

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
void swapBlueAndRed(unsigned char* pixels, size_t count, int stride)
{
    for (size_t i = 0; i < count; ++i, pixels += stride)
        std::swap(pixels[0], pixels[2]);
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
    if (stride >= 3)
        swapBlueAndRed(dest, count, stride);
    return got == wanted;
}

} // namespace vlo
