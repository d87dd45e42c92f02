#include "render/Image.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace vlo {

namespace {

// Byte count of a width x height picture at the given depth, or -1 when a
// dimension is negative or the count does not fit in an int (the buffer
// size must never wrap around).
int64_t bufferSize(int width, int height, int bits)
{
    if (width < 0 || height < 0 || bits < 0) {
        return -1;
    }
    const int64_t size = int64_t(bits / 8) * height * width;
    return size > INT_MAX ? -1 : size;
}

} // namespace

Image::Image(bool owns)
    : ownsPixels(owns)
{
}

Image::Image(int w, int h, int b, bool owns)
    : ownsPixels(owns)
{
    if (w != 0 && h != 0 && b != 0) {
        width = sourceWidth = w;
        height = sourceHeight = h;
        bits = b;
        validate();
    }
    computeByteSize();
}

Image::~Image()
{
    if (ownsPixels) {
        delete[] pixels;
    }
}

void Image::computeByteSize()
{
    const int64_t size = bufferSize(width, height, bits);
    byteSize = size < 0 ? 0 : int(size);
}

void Image::replacePixels(uint8_t* fresh)
{
    if (ownsPixels) {
        delete[] pixels;
    }
    pixels = fresh;
    ownsPixels = true;
}

// Only 24-bit pictures are keyed: pure white (255, 255, 255) gets alpha 0,
// every other colour alpha 255. A 32-bit picture already carries its own
// alpha and is left as it is.
void Image::applyColorKey()
{
    if (invalid || byteSize == 0 || pixels == nullptr || bits != 24) {
        return;
    }
    const int64_t keyedSize = bufferSize(width, height, 32);
    if (keyedSize <= 0) {
        return;
    }
    const int64_t count = int64_t(width) * height;
    uint8_t* keyed = new uint8_t[size_t(keyedSize)];
    const uint8_t* in = pixels;
    uint8_t* out = keyed;
    for (int64_t i = 0; i < count; ++i, in += 3, out += 4) {
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
        out[3] = (in[0] == 255 && in[1] == 255 && in[2] == 255) ? 0 : 255;
    }
    replacePixels(keyed);
    bits = 32;
    validate();
    computeByteSize();
}

int Image::roundUpPowerOfTwo(int value)
{
    if (value <= 16) {
        return 16;
    }
    for (int step = 32; step <= 2048; step *= 2) {
        if (step >= value) {
            return step;
        }
    }
    // Pictures wider or taller than the largest step keep their size.
    return value;
}

bool Image::isSupportedDepth(int depth)
{
    return depth == 8 || depth == 24 || depth == 32;
}

// The picture keeps its rows at the top-left of the enlarged buffer; the new
// columns and rows are zero (transparent black at 32 bits).
void Image::padToPowerOfTwo()
{
    validate();
    computeByteSize();
    if (invalid || byteSize == 0 || pixels == nullptr) {
        return;
    }
    const int paddedWidth = roundUpPowerOfTwo(width);
    const int paddedHeight = roundUpPowerOfTwo(height);
    const int64_t paddedSize = bufferSize(paddedWidth, paddedHeight, bits);
    if (paddedSize <= 0) {
        // The enlarged buffer would not fit an int: refuse the picture
        // rather than let a size computation wrap.
        invalid = 1;
        return;
    }
    sourceWidth = width;
    sourceHeight = height;
    uint8_t* padded = new uint8_t[size_t(paddedSize)]();
    const size_t sourceRow = size_t(sourceWidth) * size_t(bits / 8);
    const size_t paddedRow = size_t(paddedWidth) * size_t(bits / 8);
    for (int row = 0; row < sourceHeight; ++row) {
        std::memcpy(padded + size_t(row) * paddedRow, pixels + size_t(row) * sourceRow, sourceRow);
    }
    replacePixels(padded);
    width = paddedWidth;
    height = paddedHeight;
    validate();
    computeByteSize();
}

// glDrawPixels takes the bottom row first; decoders deliver the top row
// first. Rows are swapped in place, so no second buffer is needed.
void Image::flipVertical()
{
    computeByteSize();
    if (byteSize == 0 || pixels == nullptr || height < 2) {
        return;
    }
    const size_t rowBytes = size_t(byteSize) / size_t(height);
    for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
        std::swap_ranges(
            pixels + size_t(top) * rowBytes, pixels + size_t(top + 1) * rowBytes, pixels + size_t(bottom) * rowBytes);
    }
}

// Grey+alpha (two bytes per pixel) is spread to R = G = B = grey, A = alpha.
bool Image::expandToSupportedDepth()
{
    if (isSupportedDepth(bits)) {
        return true;
    }
    computeByteSize();
    if (bits != 16 || invalid || byteSize == 0 || pixels == nullptr) {
        return false;
    }
    const int64_t expandedSize = bufferSize(width, height, 32);
    if (expandedSize <= 0) {
        return false;
    }
    const int64_t count = int64_t(width) * height;
    uint8_t* expanded = new uint8_t[size_t(expandedSize)];
    const uint8_t* in = pixels;
    uint8_t* out = expanded;
    for (int64_t i = 0; i < count; ++i, in += 2, out += 4) {
        out[0] = out[1] = out[2] = in[0];
        out[3] = in[1];
    }
    replacePixels(expanded);
    bits = 32;
    validate();
    computeByteSize();
    return true;
}

uint8_t* Image::releasePixels()
{
    uint8_t* taken = pixels;
    pixels = nullptr;
    ownsPixels = false;
    return taken;
}

} // namespace vlo
