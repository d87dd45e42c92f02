#include "render/codecs/JpegCodec.h"

// jpeglib.h expects size_t and FILE to be declared before it.
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>

#include <jpeglib.h>

namespace vlo {

namespace {

// The standard error manager ends the process on an error. Ours jumps back
// into decode() instead, which then reports failure.
struct JumpingErrorManager {
    jpeg_error_mgr standard;
    std::jmp_buf jump;
};

[[noreturn]] void jumpOnError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JumpingErrorManager*>(info->err)->jump, 1);
}

// The program prints nothing; warnings about damaged data are dropped.
void dropMessage(j_common_ptr)
{
}

// Everything one decode allocates, released by the destructor on every path,
// the error path included. It lives in load()'s frame, outside the frame
// that calls setjmp, so its fields keep the values stored before a jump.
struct JpegDecode {
    jpeg_decompress_struct info{};
    JumpingErrorManager errors{};
    std::unique_ptr<unsigned char[]> pixels;
    // One scan line of CMYK samples, before it becomes RGB.
    std::unique_ptr<unsigned char[]> inkRow;
    int width = 0;
    int height = 0;
    int components = 0;
    // The file's length from its start; -1 when it cannot be told.
    int64_t fileBytes = -1;

    ~JpegDecode()
    {
        // Safe on a structure the library never finished setting up: it only
        // frees the memory manager when there is one.
        jpeg_destroy_decompress(&info);
    }
};

// CMYK samples as Adobe's encoders (and most others since) store them,
// inverted: 255 means no ink. Red is what cyan and black let through, and so
// on; the result is opaque RGB.
void inkToRgb(const unsigned char* ink, unsigned char* rgb, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const unsigned black = ink[4 * i + 3];
        for (int c = 0; c < 3; ++c)
            rgb[3 * i + c] = static_cast<unsigned char>((ink[4 * i + c] * black + 127) / 255);
    }
}

// Whether a sequential Huffman-coded file can hold the blocks its header
// declares: every 8 x 8 block of every component takes at least one bit (its
// DC code). Progressive and arithmetic-coded files can code runs of empty
// blocks in less, so they are not judged here. A 300-byte file cannot hold a
// 4000 x 4000 picture, and it is refused before 48 MB are taken for it.
bool blocksFitFile(const jpeg_decompress_struct& info, int64_t fileBytes)
{
    if (fileBytes < 0 || info.progressive_mode || info.arith_code)
        return true;
    int64_t blocks = 0;
    for (int i = 0; i < info.num_components; ++i)
        blocks += int64_t(info.comp_info[i].width_in_blocks) * int64_t(info.comp_info[i].height_in_blocks);
    return blocks <= fileBytes * 8;
}

// Runs the library from header to finish. No object with a destructor may
// live in this frame: a library error leaves through longjmp to the setjmp
// below, which skips destructors.
bool decode(JpegDecode& state, FILE* file)
{
    state.info.err = jpeg_std_error(&state.errors.standard);
    state.errors.standard.error_exit = jumpOnError;
    state.errors.standard.output_message = dropMessage;
    if (setjmp(state.errors.jump))
        return false;

    jpeg_create_decompress(&state.info);
    jpeg_stdio_src(&state.info, file);
    jpeg_read_header(&state.info, TRUE);
    // Checked before the library allocates anything for the picture.
    if (!imageSizeAccepted(state.info.image_width, state.info.image_height)
        || !blocksFitFile(state.info, state.fileBytes))
        return false;
    // Print files come as CMYK, or as YCCK, which the library turns into
    // CMYK; both are shown as RGB.
    const bool ink = state.info.jpeg_color_space == JCS_CMYK || state.info.jpeg_color_space == JCS_YCCK;
    if (ink)
        state.info.out_color_space = JCS_CMYK;
    jpeg_start_decompress(&state.info);

    const JDIMENSION w = state.info.output_width;
    const JDIMENSION h = state.info.output_height;
    const int decoded = state.info.output_components;
    if (!imageSizeAccepted(w, h) || decoded < 1 || decoded > 4 || (ink && decoded != 4))
        return false;
    const int components = ink ? 3 : decoded;
    const size_t rowBytes = static_cast<size_t>(w) * static_cast<size_t>(components);
    state.pixels.reset(new unsigned char[rowBytes * h]);
    if (ink)
        state.inkRow.reset(new unsigned char[static_cast<size_t>(w) * 4]);
    // One scan line per call; the library counts the lines it has delivered.
    while (state.info.output_scanline < h) {
        unsigned char* out = state.pixels.get() + rowBytes * state.info.output_scanline;
        JSAMPROW row = ink ? state.inkRow.get() : out;
        if (jpeg_read_scanlines(&state.info, &row, 1) == 1 && ink)
            inkToRgb(row, out, w);
    }
    jpeg_finish_decompress(&state.info);

    state.width = static_cast<int>(w);
    state.height = static_cast<int>(h);
    state.components = components;
    return true;
}

} // namespace

const char* JpegCodec::name()
{
    return "JPEG Image";
}

const char* JpegCodec::extension(int index)
{
    switch (index) {
    case 0:
        return "jpg";
    case 1:
        return "jpeg";
    default:
        return "";
    }
}

int JpegCodec::extensionCount()
{
    return 2;
}

bool JpegCodec::canSave()
{
    return false;
}

unsigned char* JpegCodec::load(FILE* file, int* width, int* height, int* bits)
{
    JpegDecode state;
    state.fileBytes = bytesLeftInFile(file);
    if (!decode(state, file))
        return nullptr;
    *width = state.width;
    *height = state.height;
    *bits = 8 * state.components;
    return state.pixels.release();
}

bool JpegCodec::save(FILE*, int, int, int, const unsigned char*)
{
    return false;
}

} // namespace vlo
