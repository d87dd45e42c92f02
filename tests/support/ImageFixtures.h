#pragma once
// Image files for decoder tests, benchmarks and fuzz seeds, written by the
// caller itself: bitmap and Targa byte by byte, PNG with libpng and JPEG with
// libjpeg. Header-only so every test program can use it without a library.
#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include <jpeglib.h>
#include <png.h>
#include <unistd.h>
#include <zlib.h>

namespace vlo::fixtures {

using Bytes = std::vector<uint8_t>;

inline void putUint16LE(Bytes& out, uint32_t value)
{
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

inline void putUint32LE(Bytes& out, uint32_t value)
{
    putUint16LE(out, value & 0xFFFF);
    putUint16LE(out, value >> 16);
}

// A bitmap as the decoder reads it: 14-byte file header, 40-byte info header,
// then the pixel bytes as given (bottom row first, blue-green-red order).
inline Bytes bmpFile(int32_t width, int32_t height, uint16_t bitCount, uint32_t compression, const Bytes& pixels)
{
    Bytes out;
    putUint16LE(out, 0x4D42);
    putUint32LE(out, static_cast<uint32_t>(54 + pixels.size())); // file size
    putUint32LE(out, 0);                                         // reserved
    putUint32LE(out, 54);                                        // pixel offset
    putUint32LE(out, 40);                                        // info header size
    putUint32LE(out, static_cast<uint32_t>(width));
    putUint32LE(out, static_cast<uint32_t>(height));
    putUint16LE(out, 1); // planes
    putUint16LE(out, bitCount);
    putUint32LE(out, compression);
    putUint32LE(out, static_cast<uint32_t>(pixels.size()));
    putUint32LE(out, 2835); // 72 dpi
    putUint32LE(out, 2835);
    putUint32LE(out, 0); // colours used
    putUint32LE(out, 0); // important colours
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

// A bitmap laid out as writers lay them out: an info header of infoSize
// bytes (40, or 108 and 124 for the V4 and V5 headers, whose extra fields are
// left zero), the colour table, then pixels at dataOffset (0: right after the
// table; a larger value leaves a gap of 0xCC bytes). pixels are the file's
// row bytes as given, padding included.
struct BmpLayout {
    int32_t width = 0;
    int32_t height = 0;
    uint16_t bitCount = 24;
    uint32_t compression = 0;
    uint32_t infoSize = 40;
    Bytes colourTable;
    uint32_t coloursUsed = 0;
    uint32_t dataOffset = 0;
    Bytes pixels;
};

inline Bytes bmpFile(const BmpLayout& layout)
{
    const uint32_t tableEnd = 14 + layout.infoSize + static_cast<uint32_t>(layout.colourTable.size());
    const uint32_t offset = layout.dataOffset == 0 ? tableEnd : layout.dataOffset;
    Bytes out;
    putUint16LE(out, 0x4D42);
    putUint32LE(out, static_cast<uint32_t>(std::max(offset, tableEnd) + layout.pixels.size()));
    putUint32LE(out, 0);
    putUint32LE(out, offset);
    putUint32LE(out, layout.infoSize);
    putUint32LE(out, static_cast<uint32_t>(layout.width));
    putUint32LE(out, static_cast<uint32_t>(layout.height));
    putUint16LE(out, 1);
    putUint16LE(out, layout.bitCount);
    putUint32LE(out, layout.compression);
    putUint32LE(out, static_cast<uint32_t>(layout.pixels.size()));
    putUint32LE(out, 2835);
    putUint32LE(out, 2835);
    putUint32LE(out, layout.coloursUsed);
    putUint32LE(out, 0);
    out.resize(14 + std::max<size_t>(layout.infoSize, 40), 0);
    out.resize(14 + layout.infoSize);
    out.insert(out.end(), layout.colourTable.begin(), layout.colourTable.end());
    if (offset > out.size())
        out.resize(offset, 0xCC);
    out.insert(out.end(), layout.pixels.begin(), layout.pixels.end());
    return out;
}

// A Targa file: 18-byte header with no identification field or colour map,
// then the pixel bytes as given.
inline Bytes tgaFile(uint8_t imageType, uint16_t width, uint16_t height, uint8_t depth, const Bytes& pixels)
{
    Bytes out = {0, 0, imageType, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    putUint16LE(out, width);
    putUint16LE(out, height);
    out.push_back(depth);
    out.push_back(depth == 32 ? 8 : 0); // alpha bits in the descriptor
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

// A file in the system's temporary folder, removed on destruction. Names are
// unique per process so that tests running in parallel never share one.
class TempFile {
public:
    explicit TempFile(const std::string& extension)
    {
        static int counter = 0;
        path_ = (std::filesystem::temp_directory_path()
            / ("vlo_codec_" + std::to_string(::getpid()) + "_" + std::to_string(counter++) + extension))
                    .string();
    }
    TempFile(const std::string& extension, const Bytes& bytes)
        : TempFile(extension)
    {
        write(bytes);
    }
    ~TempFile()
    {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    bool write(const Bytes& bytes) const
    {
        FILE* file = std::fopen(path_.c_str(), "wb");
        if (!file)
            return false;
        const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        return std::fclose(file) == 0 && written;
    }

    Bytes read() const
    {
        Bytes bytes;
        FILE* file = std::fopen(path_.c_str(), "rb");
        if (!file)
            return bytes;
        int c;
        while ((c = std::fgetc(file)) != EOF)
            bytes.push_back(static_cast<uint8_t>(c));
        std::fclose(file);
        return bytes;
    }

    const char* path() const { return path_.c_str(); }

private:
    std::string path_;
};

// What pngFile should produce. rows holds height rows of packed samples as
// libpng expects them for the colour type and bit depth (16-bit samples big
// endian); palette is RGB triples, trns the tRNS chunk's entries.
struct PngSpec {
    uint32_t width = 0;
    uint32_t height = 0;
    int bitDepth = 8;
    int colourType = PNG_COLOR_TYPE_RGB;
    bool interlaced = false;
    Bytes rows;
    Bytes palette;
    Bytes trns;
    png_color_16 trnsColour{};
    bool hasTrnsColour = false;
};

namespace detail {

inline void pngWriteToVector(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

inline void pngFlushNothing(png_structp)
{
}

// Runs libpng; setjmp lives here with no destructible objects in the frame.
inline bool pngEncode(png_structp png, png_infop info, const PngSpec& spec, png_bytep* rows, Bytes* out)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, out, pngWriteToVector, pngFlushNothing);
    png_set_IHDR(png, info, spec.width, spec.height, spec.bitDepth, spec.colourType,
        spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
        PNG_FILTER_TYPE_DEFAULT);
    if (!spec.palette.empty())
        png_set_PLTE(png, info, reinterpret_cast<png_const_colorp>(spec.palette.data()),
            static_cast<int>(spec.palette.size() / 3));
    if (!spec.trns.empty() || spec.hasTrnsColour)
        png_set_tRNS(png, info, spec.trns.empty() ? nullptr : spec.trns.data(), static_cast<int>(spec.trns.size()),
            spec.hasTrnsColour ? &spec.trnsColour : nullptr);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

} // namespace detail

// Encodes a PNG in memory; empty on any libpng error.
inline Bytes pngFile(const PngSpec& spec)
{
    Bytes out;
    const size_t rowBytes = spec.height ? spec.rows.size() / spec.height : 0;
    std::vector<png_bytep> rows(spec.height);
    for (uint32_t i = 0; i < spec.height; ++i)
        rows[i] = const_cast<png_bytep>(spec.rows.data() + rowBytes * i);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || !detail::pngEncode(png, info, spec, rows.data(), &out))
        out.clear();
    png_destroy_write_struct(&png, &info);
    return out;
}

namespace detail {

struct JpegErrors {
    jpeg_error_mgr standard;
    std::jmp_buf jump;
};

[[noreturn]] inline void jpegJump(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}

inline bool jpegEncode(jpeg_compress_struct* info, FILE* file, int width, int height, int components,
    const Bytes& pixels, int quality, bool progressive, bool ycck)
{
    if (setjmp(reinterpret_cast<JpegErrors*>(info->err)->jump))
        return false;
    jpeg_create_compress(info);
    jpeg_stdio_dest(info, file);
    info->image_width = static_cast<JDIMENSION>(width);
    info->image_height = static_cast<JDIMENSION>(height);
    info->input_components = components;
    info->in_color_space = components == 1 ? JCS_GRAYSCALE : components == 4 ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(info);
    if (components == 4 && ycck)
        jpeg_set_colorspace(info, JCS_YCCK);
    jpeg_set_quality(info, quality, TRUE);
    if (progressive)
        jpeg_simple_progression(info);
    jpeg_start_compress(info, TRUE);
    const size_t rowBytes = static_cast<size_t>(width) * static_cast<size_t>(components);
    while (info->next_scanline < info->image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(pixels.data() + rowBytes * info->next_scanline);
        jpeg_write_scanlines(info, &row, 1);
    }
    jpeg_finish_compress(info);
    return true;
}

} // namespace detail

// Encodes a JPEG of 1 (grey), 3 (RGB) or 4 (CMYK, stored as given, or as
// YCCK when asked) components, rows top first; empty on any libjpeg error.
// libjpeg marks CMYK and YCCK files with an Adobe segment, as print tools do.
inline Bytes jpegFile(int width, int height, int components, const Bytes& pixels, int quality = 95,
    bool progressive = false, bool ycck = false)
{
    Bytes out;
    FILE* file = std::tmpfile();
    if (!file)
        return out;
    jpeg_compress_struct info{};
    detail::JpegErrors errors{};
    info.err = jpeg_std_error(&errors.standard);
    errors.standard.error_exit = detail::jpegJump;
    const bool encoded = detail::jpegEncode(&info, file, width, height, components, pixels, quality, progressive, ycck);
    jpeg_destroy_compress(&info);
    if (encoded) {
        std::rewind(file);
        int c;
        while ((c = std::fgetc(file)) != EOF)
            out.push_back(static_cast<uint8_t>(c));
    }
    std::fclose(file);
    return out;
}

namespace detail {

inline void putUint32BE(Bytes& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>((value >> shift) & 0xFF));
}

// One PNG chunk: length, type, data and the CRC over type and data.
inline void putPngChunk(Bytes& out, const char* type, const Bytes& data)
{
    putUint32BE(out, static_cast<uint32_t>(data.size()));
    const size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0L, out.data() + typeAt, static_cast<uInt>(4 + data.size()));
    putUint32BE(out, static_cast<uint32_t>(crc));
}

} // namespace detail

// A PNG whose header declares any size over whatever IDAT bytes are given
// (not necessarily valid compressed data): signature, IHDR, one IDAT, IEND,
// every CRC right. For files that must be judged by their header alone.
inline Bytes pngDeclaring(uint32_t width, uint32_t height, int bitDepth, int colourType, const Bytes& idat)
{
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    detail::putUint32BE(header, width);
    detail::putUint32BE(header, height);
    header.push_back(static_cast<uint8_t>(bitDepth));
    header.push_back(static_cast<uint8_t>(colourType));
    header.insert(header.end(), {0, 0, 0});
    detail::putPngChunk(out, "IHDR", header);
    detail::putPngChunk(out, "IDAT", idat);
    detail::putPngChunk(out, "IEND", Bytes());
    return out;
}

// Writes width and height into a JPEG's first frame header (SOF0 or SOF2);
// false when the file has none.
inline bool patchJpegFrameSize(Bytes& jpeg, uint16_t width, uint16_t height)
{
    for (size_t i = 0; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
            jpeg[i + 5] = static_cast<uint8_t>(height >> 8);
            jpeg[i + 6] = static_cast<uint8_t>(height & 0xFF);
            jpeg[i + 7] = static_cast<uint8_t>(width >> 8);
            jpeg[i + 8] = static_cast<uint8_t>(width & 0xFF);
            return true;
        }
    }
    return false;
}

// A picture with smooth gradients and some detail, width x height x
// components bytes, for benchmarks and fuzz seeds.
inline Bytes testPattern(int width, int height, int components)
{
    Bytes pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * static_cast<size_t>(components));
    size_t i = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < components; ++c)
                pixels[i++] = static_cast<uint8_t>((x * (c + 1) + y * (3 - c) + ((x ^ y) & 15)) & 0xFF);
    return pixels;
}

} // namespace vlo::fixtures
