#pragma once
// Windows bitmap: uncompressed 8, 24 and 32-bit files with the 40-byte info
// header. The pixels are taken straight after the 54 header bytes, each row
// exactly width x (bits / 8) bytes with no alignment, and no colour table is
// applied (an 8-bit file yields its raw bytes). The bottom-up rows of the file
// come out top row first.
#include "render/codecs/ImageCodec.h"

namespace vlo {

class BmpCodec : public ImageCodec {
public:
    const char* name() override;
    const char* extension(int index) override;
    int extensionCount() override;
    bool canSave() override;
    // Refuses compressed files, other depths, and sizes imageSizeAccepted
    // refuses (negative heights: top-down files). A file shorter than
    // its header says still decodes; the pixels it lacks are zero.
    unsigned char* load(FILE* file, int* width, int* height, int* bits) override;
    bool save(FILE* file, int width, int height, int bits, const unsigned char* pixels) override;
};

} // namespace vlo
