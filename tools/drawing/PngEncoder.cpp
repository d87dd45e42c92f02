#include "ImageEncoders.h"

#include <cstring>
#include <png.h>

namespace vlo::demo {

bool encodePng(const PixelImage& image, std::vector<uint8_t>& out, std::string& error)
{
    if (!checkPixelImage(image, 16384, true, true, error)) {
        return false;
    }
    // libpng's simplified interface handles its own error recovery, so no
    // setjmp is needed here. 8-bit sRGB rows are written unchanged.
    png_image info;
    std::memset(&info, 0, sizeof info);
    info.version = PNG_IMAGE_VERSION;
    info.width = static_cast<png_uint_32>(image.width);
    info.height = static_cast<png_uint_32>(image.height);
    info.format = image.channels == 4 ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;

    // The first call measures, the second writes.
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&info, nullptr, &size, 0, image.bytes.data(), 0, nullptr)) {
        error = std::string("libpng: ") + info.message;
        png_image_free(&info);
        return false;
    }
    out.assign(size, 0);
    if (!png_image_write_to_memory(&info, out.data(), &size, 0, image.bytes.data(), 0, nullptr)) {
        error = std::string("libpng: ") + info.message;
        png_image_free(&info);
        out.clear();
        return false;
    }
    out.resize(size);
    png_image_free(&info);
    return true;
}

} // namespace vlo::demo
