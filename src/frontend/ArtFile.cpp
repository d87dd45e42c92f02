#include "frontend/ArtFile.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include "content/ArchiveFS.h"
#include "render/codecs/ImageCodecRegistry.h"

namespace vlo {

namespace {

// Writes 8-bit RGB (bits 24) or RGBA (bits 32) rows, top row first.
bool writePng(const std::string& path, int width, int height, int bits, const unsigned char* pixels)
{
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    bool ok = info != nullptr;
    if (ok && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, out);
        png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8,
            bits == 32 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
            PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        const size_t stride = size_t(width) * size_t(bits / 8);
        for (int row = 0; row < height; ++row)
            png_write_row(png, pixels + stride * size_t(row));
        png_write_end(png, nullptr);
    } else {
        ok = false;
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(out) == 0 && ok;
}

// Targa files keep their rows bottom first; every other picture is read top
// row first.
bool bottomRowFirst(const std::string& picture)
{
    char extension[ImageCodecRegistry::kExtensionSize];
    ImageCodecRegistry::extensionOf(picture.c_str(), extension);
    return std::string(extension) == "tga";
}

} // namespace

ArtFile::~ArtFile()
{
    removeFile();
    if (!folder.empty())
        rmdir(folder.c_str());
}

bool ArtFile::makeFolder()
{
    if (!folder.empty())
        return true;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') {
        const std::string candidate = std::string(runtime) + "/vellumo-" + std::to_string(getpid());
        if (mkdir(candidate.c_str(), 0700) == 0) {
            folder = candidate;
            return true;
        }
    }
    // No runtime folder: a folder only this user can read, in the temporary
    // folder.
    const char* temporary = std::getenv("TMPDIR");
    std::string pattern
        = std::string(temporary != nullptr && temporary[0] == '/' ? temporary : "/tmp") + "/vellumo-art-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
        return false;
    folder = pattern;
    return true;
}

void ArtFile::removeFile()
{
    if (!file.empty())
        unlink(file.c_str());
    file.clear();
}

std::string ArtFile::write(const std::string& picture)
{
    removeFile();
    if (picture.empty() || !makeFolder())
        return "";
    const std::string extracted = ArchiveFS::extract(picture);
    int width = 0;
    int height = 0;
    int bits = 0;
    unsigned char* raw = nullptr;
    ImageCodecRegistry codecs;
    const bool loaded = !extracted.empty() && codecs.load(extracted.c_str(), &width, &height, &bits, &raw);
    ArchiveFS::removeExtracted();
    const std::unique_ptr<unsigned char[]> pixels(raw);
    if (!loaded || pixels == nullptr || width <= 0 || height <= 0 || (bits != 24 && bits != 32))
        return "";
    const size_t stride = size_t(width) * size_t(bits / 8);
    if (bottomRowFirst(picture)) {
        std::unique_ptr<unsigned char[]> row(new unsigned char[stride]);
        for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
            std::copy(pixels.get() + stride * size_t(top), pixels.get() + stride * size_t(top + 1), row.get());
            std::copy(pixels.get() + stride * size_t(bottom), pixels.get() + stride * size_t(bottom + 1),
                pixels.get() + stride * size_t(top));
            std::copy(row.get(), row.get() + stride, pixels.get() + stride * size_t(bottom));
        }
    }
    const std::string path = folder + "/art-" + std::to_string(++written) + ".png";
    if (!writePng(path, width, height, bits, pixels.get())) {
        unlink(path.c_str());
        return "";
    }
    file = path;
    return "file://" + path;
}

} // namespace vlo
