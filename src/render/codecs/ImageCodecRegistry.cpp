#include "render/codecs/ImageCodecRegistry.h"

#include <cstdio>
#include <cstring>

#include "render/codecs/BmpCodec.h"
#include "render/codecs/JpegCodec.h"
#include "render/codecs/PngCodec.h"
#include "render/codecs/TgaCodec.h"

namespace vlo {

namespace {

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

} // namespace

ImageCodecRegistry::ImageCodecRegistry()
    : codecs(new ImageCodec*[kMaxCodecs]())
{
    // The order is the search order.
    registerCodec(new TgaCodec);
    registerCodec(new BmpCodec);
    registerCodec(new JpegCodec);
    registerCodec(new PngCodec);
}

ImageCodecRegistry::~ImageCodecRegistry()
{
    for (int i = 0; i < count; ++i)
        delete codecs[i];
}

bool ImageCodecRegistry::registerCodec(ImageCodec* codec)
{
    if (!codec || count >= kMaxCodecs)
        return false;
    codec->registry = this;
    codecs[count++] = codec;
    return true;
}

void ImageCodecRegistry::extensionOf(const char* path, char* out)
{
    if (!path) {
        out[0] = '\0';
        return;
    }
    const size_t length = std::strlen(path);
    // A dot in the first character (".png") does not start an extension.
    size_t start = 0;
    for (size_t i = length; i-- > 1;) {
        if (path[i] == '.') {
            start = i + 1;
            break;
        }
    }
    size_t size = length - start;
    if (size > static_cast<size_t>(kExtensionSize - 1))
        size = kExtensionSize - 1;
    for (size_t i = 0; i < size; ++i) {
        const char c = path[start + i];
        out[i] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    out[size] = '\0';
}

ImageCodec* ImageCodecRegistry::codecAt(int index) const
{
    return index >= 0 && index < count ? codecs[index] : nullptr;
}

ImageCodec* ImageCodecRegistry::findCodec(const char* extension) const
{
    for (int i = 0; i < count; ++i) {
        ImageCodec* codec = codecs[i];
        for (int e = 0; e < codec->extensionCount(); ++e) {
            if (std::strcmp(codec->extension(e), extension) == 0)
                return codec;
        }
    }
    return nullptr;
}

bool ImageCodecRegistry::load(const char* path, int* width, int* height, int* bits, unsigned char** pixels)
{
    if (!path)
        return false;
    std::unique_ptr<FILE, FileCloser> file(std::fopen(path, "rb"));
    if (!file)
        return false;
    char extension[kExtensionSize];
    extensionOf(path, extension);
    ImageCodec* codec = findCodec(extension);
    if (!codec)
        return false;
    // A codec that fails leaves the sizes untouched and returns null; the
    // caller judges success by them.
    *pixels = codec->load(file.get(), width, height, bits);
    return true;
}

} // namespace vlo
