#pragma once
// Chooses an image decoder by the file name's extension and runs it.
#include "render/codecs/ImageCodec.h"

#include <memory>

namespace vlo {

class ImageCodecRegistry {
public:
    static constexpr int kMaxCodecs = 512;
    // Room for an extension of up to 255 characters and its terminating zero.
    static constexpr int kExtensionSize = 256;

    // Registers, in search order, the Targa, bitmap, JPEG and PNG codecs.
    ImageCodecRegistry();
    virtual ~ImageCodecRegistry();
    ImageCodecRegistry(const ImageCodecRegistry&) = delete;
    ImageCodecRegistry& operator=(const ImageCodecRegistry&) = delete;

    // Takes ownership of the codec and appends it to the search list. When the
    // list is full the codec is not taken: the result is false and the caller
    // still owns it.
    bool registerCodec(ImageCodec* codec);

    // Copies the text after the path's last '.' (a dot in the first character
    // does not count; without a dot the whole path) into out, lower-cased.
    // out holds kExtensionSize characters; a longer extension is cut.
    static void extensionOf(const char* path, char* out);

    // Opens the file and decodes it with the first codec whose extension
    // matches. False when the file cannot be opened or no codec matches; true
    // otherwise, even when the codec failed, in which case *pixels is null and
    // width, height and bits are untouched. The buffer is the caller's
    // (delete[]), top row first except Targa files, which keep file order.
    bool load(const char* path, int* width, int* height, int* bits, unsigned char** pixels);

    // Number of registered codecs.
    int codecCount() const { return count; }
    // The codec at position index of the search list, or null.
    ImageCodec* codecAt(int index) const;
    // The first codec answering to the lower-case extension, or null.
    ImageCodec* findCodec(const char* extension) const;

private:
    std::unique_ptr<ImageCodec*[]> codecs;
    int count = 0;
};

} // namespace vlo
