#pragma once
#include <cstdint>
#include <memory>

#include "render/TextureInfo.h"

namespace vlo {

// A picture file made ready for a texture upload: decoded by the file's
// extension, brought to a depth the upload has a format for (8, 24 or 32
// bits), colour-keyed when asked, and enlarged to power-of-two sides with
// the picture in the top-left corner. Everything loadTexture does before it
// hands the buffer to OpenGL; no GL context is needed.
struct TexturePixels {
    // width and height as uploaded, sourceWidth and sourceHeight as decoded.
    TextureInfo record;
    // width x height x bits / 8 bytes, rows from the top; null when the
    // picture cannot be used.
    std::unique_ptr<uint8_t[]> pixels;
};

// True when `out` holds pixels to upload; false for a file no decoder knows
// by its extension, one its decoder refused, or a depth with no upload
// format. `file` is a path on disk (an extraction file).
bool prepareTexturePixels(const char* file, bool colorKey, TexturePixels& out);

} // namespace vlo
