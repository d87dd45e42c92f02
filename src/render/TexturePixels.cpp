#include "render/TexturePixels.h"

#include "render/Image.h"
#include "render/codecs/ImageCodecRegistry.h"

namespace vlo {

bool prepareTexturePixels(const char* file, bool colorKey, TexturePixels& out)
{
    out = TexturePixels();
    TextureInfo& record = out.record;
    unsigned char* decoded = nullptr;
    ImageCodecRegistry registry;
    if (!registry.load(file, &record.width, &record.height, &record.bits, &decoded))
        return false;

    // The working image owns the decoded buffer from here on, so every early
    // return below releases it.
    Image working(record.width, record.height, record.bits, true);
    working.pixels = decoded;
    if (working.invalid || decoded == nullptr)
        return false;
    // A depth without an upload format (16-bit grey+alpha) becomes RGBA, so
    // no upload ever reads more bytes than the buffer holds.
    if (!working.expandToSupportedDepth())
        return false;
    record.bits = working.bits;
    if (colorKey) {
        working.applyColorKey();
        record.bits = working.bits;
    }
    working.padToPowerOfTwo();
    if (working.invalid)
        return false;
    record.sourceWidth = record.width;
    record.sourceHeight = record.height;
    record.width = working.width;
    record.height = working.height;
    out.pixels.reset(working.releasePixels());
    record.validate();
    if (record.invalid || !Image::isSupportedDepth(record.bits)) {
        out.pixels.reset();
        return false;
    }
    return true;
}

} // namespace vlo
