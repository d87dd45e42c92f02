#pragma once
// Helpers shared by the demo generator's tests: a scratch folder, readers
// that decode what the encoders wrote (through the libraries themselves),
// and the show screen's multiply blend.

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include <jpeglib.h>
#include <png.h>

#include "PixelImage.h"

namespace vlo::demo::test {

// A fresh folder under the system's temporary folder, removed at the end.
class ScratchDir {
public:
    explicit ScratchDir(const std::string& name)
    {
        path_ = std::filesystem::temp_directory_path() / ("vlo-demo-" + name + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline std::vector<uint8_t> readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline uint32_t le16(const std::vector<uint8_t>& b, size_t at)
{
    return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8;
}

inline uint32_t le32(const std::vector<uint8_t>& b, size_t at)
{
    return le16(b, at) | le16(b, at + 2) << 16;
}

// Decodes PNG bytes to 8-bit RGBA (whatever the file's colour type);
// returns false when libpng refuses them.
inline bool decodePngRgba(const std::vector<uint8_t>& file, PixelImage& out)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) {
        return false;
    }
    image.format = PNG_FORMAT_RGBA;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.channels = 4;
    out.bytes.assign(PNG_IMAGE_SIZE(image), 0);
    if (!png_image_finish_read(&image, nullptr, out.bytes.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    return true;
}

// The channel count the PNG file itself declares (3 for RGB, 4 for RGBA).
inline int pngChannels(const std::vector<uint8_t>& file)
{
    // IHDR colour type sits at byte 25: 2 = RGB, 6 = RGBA.
    if (file.size() < 26) {
        return 0;
    }
    return file[25] == 6 ? 4 : (file[25] == 2 ? 3 : 0);
}

struct JpegTestErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

inline void onJpegTestError(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<JpegTestErrors*>(cinfo->err)->jump, 1);
}

// Decodes JPEG bytes to RGB; false when libjpeg refuses them.
inline bool decodeJpegRgb(const std::vector<uint8_t>& file, PixelImage& out)
{
    jpeg_decompress_struct cinfo;
    JpegTestErrors errors;
    cinfo.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = onJpegTestError;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    out.width = static_cast<int>(cinfo.output_width);
    out.height = static_cast<int>(cinfo.output_height);
    out.channels = 3;
    out.bytes.assign(static_cast<size_t>(out.width) * out.height * 3, 0);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out.bytes.data() + static_cast<size_t>(cinfo.output_scanline) * out.width * 3;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

// What the (GL_DST_COLOR, GL_ONE_MINUS_SRC_ALPHA) blend makes of one
// background component d (0..255) under a source component s with alpha a:
// s x d + d x (1 - a), clamped like the frame buffer.
inline float multiplyBlend(uint8_t s, uint8_t a, float d)
{
    float v = (s / 255.0f) * d + d * (1.0f - a / 255.0f);
    return v > 255.0f ? 255.0f : v;
}

} // namespace vlo::demo::test
