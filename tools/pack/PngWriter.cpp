#include "PngWriter.h"

#include <cstring>

#include <png.h>

#include "Diagnostics.h"
#include "OutputFile.h"

namespace vlo::pack {

bool writePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba, std::string& error)
{
    if (width <= 0 || height <= 0 || rgba.size() != size_t(width) * size_t(height) * 4) {
        error = inQuotes(path) + ": no picture to write";
        return false;
    }
    std::vector<uint8_t> rgb(size_t(width) * size_t(height) * 3);
    for (size_t pixel = 0, count = size_t(width) * size_t(height); pixel < count; ++pixel)
        std::memcpy(&rgb[pixel * 3], &rgba[pixel * 4], 3);

    OutputFile file;
    if (!file.open(path, error))
        return false;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(width);
    image.height = png_uint_32(height);
    image.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_stdio(&image, file.stream(), 0, rgb.data(), 0, nullptr)) {
        error = inQuotes(path) + ": cannot write the PNG: " + image.message;
        png_image_free(&image);
        return false;
    }
    return file.commit(error);
}

} // namespace vlo::pack
