#pragma once
// One image file format: names its extensions and decodes a file into a plain
// pixel buffer. Rows follow one another with no gap, each row
// width x (bits / 8) bytes, components in red, green, blue (and alpha) order.
#include <cstdio>

#include "render/codecs/ImageLimits.h"

namespace vlo {

class ImageCodecRegistry;

class ImageCodec {
public:
    // Descriptive format name ("Windows Bitmap").
    virtual const char* name() = 0;
    // The index-th file extension, lower case without the dot; "" past the last.
    virtual const char* extension(int index) = 0;
    // Number of extensions this codec answers to.
    virtual int extensionCount() = 0;
    // Whether the format can be written (no codec here can).
    virtual bool canSave() = 0;
    // Decodes from the file's current position. On success fills the three
    // out-parameters and returns a buffer the caller releases with delete[];
    // on failure returns null and leaves the out-parameters untouched.
    virtual unsigned char* load(FILE* file, int* width, int* height, int* bits) = 0;
    // Writes a picture; returns false when the format cannot be written.
    virtual bool save(FILE* file, int width, int height, int bits, const unsigned char* pixels) = 0;
    // The registry owns and deletes the codecs registered with it.
    virtual ~ImageCodec() = default;

    // The registry holding this codec, set on registration.
    ImageCodecRegistry* registry = nullptr;
};

} // namespace vlo
