#include "render/codecs/PngCodec.h"

#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <memory>

#include <png.h>

namespace vlo {

namespace {

constexpr size_t kSignatureSize = 8;
// Deflate's best case: one 258-byte match in two bits, 1032 bytes per byte.
constexpr int64_t kMaxDeflateRatio = 1032;
// The signature, the header chunk and the zlib wrapper around the rows.
constexpr int64_t kPngOverhead = 64;

// libpng's default error handler prints and then jumps to png_jmpbuf; ours
// only jumps, back into decode(), which then reports failure.
[[noreturn]] void jumpOnError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

// The program prints nothing; warnings about damaged ancillary data are dropped.
void dropWarning(png_structp, png_const_charp)
{
}

// Everything one decode allocates, released by the destructor on every path,
// the error path included. It lives in load()'s frame, outside the frame
// that calls setjmp, so its fields keep the values stored before a jump.
struct PngDecode {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::unique_ptr<unsigned char[]> pixels;
    std::unique_ptr<png_bytep[]> rows;
    int width = 0;
    int height = 0;
    int channels = 0;
    // The file's length from the signature on; -1 when it cannot be told.
    int64_t fileBytes = -1;

    ~PngDecode()
    {
        if (png)
            png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    }
};

// Whether the file can hold the rows the header declares: each row is
// stored with a filter byte and compressed, and even the best compression
// leaves at least one byte in kMaxDeflateRatio. A 1 KB file cannot hold a
// 5000 x 5000 picture, and it is refused before 75 MB are taken for it.
bool rowsFitFile(png_uint_32 height, size_t rowBytes, int64_t fileBytes)
{
    if (fileBytes < 0)
        return true;
    const int64_t raw = int64_t(height) * (int64_t(rowBytes) + 1);
    return raw <= (fileBytes + kPngOverhead) * kMaxDeflateRatio;
}

// Runs the library from signature to end. No object with a destructor may
// live in this frame: a library error leaves through longjmp to the setjmp
// below, which skips destructors.
bool decode(PngDecode& state, FILE* file)
{
    png_byte signature[kSignatureSize];
    if (std::fread(signature, 1, kSignatureSize, file) != kSignatureSize
        || png_sig_cmp(signature, 0, kSignatureSize) != 0)
        return false;
    state.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, jumpOnError, dropWarning);
    if (!state.png)
        return false;
    state.info = png_create_info_struct(state.png);
    if (!state.info)
        return false;
    if (setjmp(png_jmpbuf(state.png)))
        return false;

    png_init_io(state.png, file);
    png_set_sig_bytes(state.png, kSignatureSize);
    // libpng then refuses larger pictures while reading the header.
    png_set_user_limits(state.png, kMaxImageSide, kMaxImageSide);
    png_read_info(state.png, state.info);
    png_uint_32 w = 0;
    png_uint_32 h = 0;
    int depth = 0;
    int colourType = 0;
    png_get_IHDR(state.png, state.info, &w, &h, &depth, &colourType, nullptr, nullptr, nullptr);
    // The row size so far is the file's own, before any transformation.
    if (!imageSizeAccepted(w, h) || !rowsFitFile(h, png_get_rowbytes(state.png, state.info), state.fileBytes))
        return false;

    if (depth == 16)
        png_set_strip_16(state.png);
    if (depth < 8 || colourType == PNG_COLOR_TYPE_PALETTE || png_get_valid(state.png, state.info, PNG_INFO_tRNS))
        png_set_expand(state.png);
    // Interlaced files are read whole, all passes merged into the rows.
    png_set_interlace_handling(state.png);
    png_read_update_info(state.png, state.info);
    png_get_IHDR(state.png, state.info, &w, &h, &depth, &colourType, nullptr, nullptr, nullptr);
    const int channels = png_get_channels(state.png, state.info);
    const size_t rowBytes = static_cast<size_t>(w) * static_cast<size_t>(channels);
    // After the transformations every channel is one byte; anything else would
    // not fit the rows allocated below.
    if (depth != 8 || channels < 1 || channels > 4 || png_get_rowbytes(state.png, state.info) != rowBytes)
        return false;

    state.pixels.reset(new unsigned char[rowBytes * h]);
    state.rows.reset(new png_bytep[h]);
    for (png_uint_32 i = 0; i < h; ++i)
        state.rows[i] = state.pixels.get() + rowBytes * i;
    png_read_image(state.png, state.rows.get());
    png_read_end(state.png, nullptr);

    state.width = static_cast<int>(w);
    state.height = static_cast<int>(h);
    state.channels = channels;
    return true;
}

} // namespace

const char* PngCodec::name()
{
    return "Portable Network Graphics";
}

const char* PngCodec::extension(int index)
{
    return index == 0 ? "png" : "";
}

int PngCodec::extensionCount()
{
    return 1;
}

bool PngCodec::canSave()
{
    return false;
}

unsigned char* PngCodec::load(FILE* file, int* width, int* height, int* bits)
{
    PngDecode state;
    state.fileBytes = bytesLeftInFile(file);
    if (!decode(state, file))
        return nullptr;
    *width = state.width;
    *height = state.height;
    *bits = 8 * state.channels;
    return state.pixels.release();
}

bool PngCodec::save(FILE*, int, int, int, const unsigned char*)
{
    return false;
}

} // namespace vlo
