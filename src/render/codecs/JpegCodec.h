#pragma once
// JPEG through libjpeg: greyscale files decode to 8 bits, colour files to 24
// bits (red, green, blue), top row first. CMYK and YCCK files (as print tools
// write them, with inverted ink values) are turned into opaque 24-bit RGB.
#include "render/codecs/ImageCodec.h"

namespace vlo {

class JpegCodec : public ImageCodec {
public:
    const char* name() override;
    const char* extension(int index) override;
    int extensionCount() override;
    bool canSave() override;
    // Any error the library reports (an empty or damaged file), a size
    // imageSizeAccepted refuses, and a sequential Huffman-coded file too
    // short to hold one bit per 8 x 8 block of its declared size return null
    // with everything released, the last two before the pixels are
    // allocated; the library's messages are not printed. A file cut short
    // by less still decodes: the library fills the missing part and warns.
    unsigned char* load(FILE* file, int* width, int* height, int* bits) override;
    bool save(FILE* file, int width, int height, int bits, const unsigned char* pixels) override;
};

} // namespace vlo
