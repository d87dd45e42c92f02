#include "frontend/ArtFile.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <system_error>

#include <png.h>

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
    std::error_code ignored;
    if (!folder.empty())
        std::filesystem::remove(folder, ignored);
}

// A new folder only this user can read: in the user's runtime folder
// ($XDG_RUNTIME_DIR), else in the system's temporary folder. The name is
// random and the folder made new, never one that was there already.
bool ArtFile::makeFolder()
{
    namespace fs = std::filesystem;
    if (!folder.empty())
        return true;
    std::error_code error;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    fs::path base
        = runtime != nullptr && fs::path(runtime).is_absolute() ? fs::path(runtime) : fs::temp_directory_path(error);
    if (base.empty())
        return false;
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const fs::path candidate = base / ("vellumo-art-" + std::to_string(random()));
        if (fs::create_directory(candidate, error)) {
            fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace, error);
            folder = candidate.string();
            return true;
        }
    }
    return false;
}

void ArtFile::removeFile()
{
    std::error_code ignored;
    if (!file.empty())
        std::filesystem::remove(file, ignored);
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
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        return "";
    }
    file = path;
    return "file://" + path;
}

} // namespace vlo
