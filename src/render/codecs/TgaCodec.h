#pragma once
// TrueVision Targa: uncompressed true-colour files (image type 2) of 8, 24 or
// 32 bits. The image-identification field after the header is skipped; a
// colour map is not. Rows keep the file's order, so a file stored bottom row first (the
// Targa default) comes out bottom row first.
#include "render/codecs/ImageCodec.h"

namespace vlo {

class TgaCodec : public ImageCodec {
public:
    const char* name() override;
    const char* extension(int index) override;
    int extensionCount() override;
    bool canSave() override;
    // Refuses run-length files, other depths, and sizes imageSizeAccepted
    // refuses (negative sides included). A file shorter than its header says
    // still decodes; the pixels it lacks are zero.
    unsigned char* load(FILE* file, int* width, int* height, int* bits) override;
    bool save(FILE* file, int width, int height, int bits, const unsigned char* pixels) override;
};

} // namespace vlo
