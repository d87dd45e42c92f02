#pragma once
// Windows bitmap: uncompressed 8, 24 and 32-bit files whose info header has
// the fields of the 40-byte layout (the longer V4 and V5 headers extend it).
// The pixels start at the file header's pixel-data offset when it lies past
// the headers and inside the file, else right after the 54 header bytes.
// Rows are read with their padding to 4 bytes when the file holds padded
// rows, else packed (width x bytes per pixel each). An 8-bit file with a
// colour table comes out as 24-bit colour; without one it yields its raw
// bytes. Bottom-up files (positive height) and top-down ones (negative
// height) both come out top row first.
#include "render/codecs/ImageCodec.h"

namespace vlo {

class BmpCodec : public ImageCodec {
public:
    const char* name() override;
    const char* extension(int index) override;
    int extensionCount() override;
    bool canSave() override;
    // Refuses compressed files, other depths, and sizes imageSizeAccepted
    // refuses. A file shorter than its header says still decodes; the
    // pixels it lacks are zero (black).
    unsigned char* load(FILE* file, int* width, int* height, int* bits) override;
    bool save(FILE* file, int width, int height, int bits, const unsigned char* pixels) override;
};

} // namespace vlo
