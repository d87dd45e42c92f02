#pragma once
// PNG through libpng. 16-bit channels are cut to 8 bits; palettes, grey below
// 8 bits and tRNS transparency are expanded. Results, top row first:
//   grey 8 bits; grey with alpha (or grey with tRNS) 16 bits, two bytes per
//   pixel, grey then alpha, left for the caller to convert; RGB and palette
//   24 bits; RGB or palette with tRNS, and RGBA, 32 bits.
#include "render/codecs/ImageCodec.h"

namespace vlo {

class PngCodec : public ImageCodec {
public:
    const char* name() override;
    const char* extension(int index) override;
    int extensionCount() override;
    bool canSave() override;
    // A wrong signature, any error libpng reports (a damaged or cut file), a
    // size imageSizeAccepted refuses, and a file too short to hold the
    // compressed rows of its declared size (deflate packs at most 1032 bytes
    // into one) return null with everything released, the last two before
    // the pixels are allocated; the library's messages are not printed.
    unsigned char* load(FILE* file, int* width, int* height, int* bits) override;
    bool save(FILE* file, int width, int height, int bits, const unsigned char* pixels) override;
};

} // namespace vlo
