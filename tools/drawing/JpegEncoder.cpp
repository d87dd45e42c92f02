#include "ImageEncoders.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

namespace vlo::demo {

namespace {

// libjpeg reports errors through error_exit, which by default ends the
// process; ours jumps back into encodeJpeg with the library's message.
struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void onJpegError(j_common_ptr cinfo)
{
    JpegErrors* errors = reinterpret_cast<JpegErrors*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->message);
    std::longjmp(errors->jump, 1);
}

// Owns the compressor and the memory libjpeg writes into, so both are
// released on every path, the error path included.
struct JpegCompressor {
    jpeg_compress_struct cinfo;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    bool created = false;

    ~JpegCompressor()
    {
        if (created) {
            jpeg_destroy_compress(&cinfo);
        }
        std::free(buffer);
    }
};

} // namespace

bool encodeJpeg(const PixelImage& image, int quality, std::vector<uint8_t>& out, std::string& error)
{
    if (!checkPixelImage(image, 16384, true, false, error)) {
        return false;
    }
    if (quality < 1 || quality > 100) {
        error = "bad JPEG quality " + std::to_string(quality) + " (1 to 100)";
        return false;
    }
    // Both objects are set up before setjmp and hold no state that a jump
    // could leave half-changed.
    JpegErrors errors;
    JpegCompressor jpeg;
    jpeg.cinfo.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = onJpegError;
    if (setjmp(errors.jump)) {
        error = std::string("libjpeg: ") + errors.message;
        return false;
    }
    jpeg_create_compress(&jpeg.cinfo);
    jpeg.created = true;
    jpeg_mem_dest(&jpeg.cinfo, &jpeg.buffer, &jpeg.size);
    jpeg.cinfo.image_width = static_cast<JDIMENSION>(image.width);
    jpeg.cinfo.image_height = static_cast<JDIMENSION>(image.height);
    jpeg.cinfo.input_components = 3;
    jpeg.cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&jpeg.cinfo);
    jpeg_set_quality(&jpeg.cinfo, quality, TRUE);
    jpeg.cinfo.optimize_coding = TRUE;
    jpeg_start_compress(&jpeg.cinfo, TRUE);
    size_t rowBytes = static_cast<size_t>(image.width) * 3;
    while (jpeg.cinfo.next_scanline < jpeg.cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.bytes.data() + jpeg.cinfo.next_scanline * rowBytes);
        jpeg_write_scanlines(&jpeg.cinfo, &row, 1);
    }
    jpeg_finish_compress(&jpeg.cinfo);
    out.assign(jpeg.buffer, jpeg.buffer + jpeg.size);
    return true;
}

} // namespace vlo::demo
