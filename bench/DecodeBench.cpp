// Decode time per megapixel of each image format through the registry, as the
// texture loader decodes (a fresh registry per load, file opened by path),
// next to the same file decoded with the library's own simplest API: libpng's
// simplified png_image API and TurboJPEG's tjDecompress2. Bitmap and Targa
// have no library; their reference is reading the file's bytes, the floor any
// decoder stands on.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <vector>

#include <png.h>
#include <turbojpeg.h>

#include "render/codecs/ImageCodecRegistry.h"
#include "support/ImageFixtures.h"

namespace {

using vlo::fixtures::Bytes;
using vlo::fixtures::TempFile;

constexpr int kSide = 1024;
constexpr double kMegapixels = kSide * kSide / 1.0e6;

// One file per format, written once for the whole run.
struct Files {
    Files()
        : bmp(".bmp", vlo::fixtures::bmpFile(kSide, kSide, 24, 0, vlo::fixtures::testPattern(kSide, kSide, 3)))
        , tga(".tga", vlo::fixtures::tgaFile(2, kSide, kSide, 32, vlo::fixtures::testPattern(kSide, kSide, 4)))
        , jpeg(".jpg", vlo::fixtures::jpegFile(kSide, kSide, 3, vlo::fixtures::testPattern(kSide, kSide, 3), 90))
    {
        vlo::fixtures::PngSpec spec;
        spec.width = kSide;
        spec.height = kSide;
        spec.rows = vlo::fixtures::testPattern(kSide, kSide, 3);
        png.write(vlo::fixtures::pngFile(spec));
    }
    TempFile bmp;
    TempFile tga;
    TempFile jpeg;
    TempFile png{".png"};
};

const Files& files()
{
    static const Files instance;
    return instance;
}

// Reports seconds per megapixel as "s_per_MP".
void countMegapixels(benchmark::State& state)
{
    state.counters["s_per_MP"] = benchmark::Counter(kMegapixels * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void decodeThroughRegistry(benchmark::State& state, const TempFile& file)
{
    for (auto _ : state) {
        vlo::ImageCodecRegistry registry;
        int width = 0, height = 0, bits = 0;
        unsigned char* pixels = nullptr;
        registry.load(file.path(), &width, &height, &bits, &pixels);
        if (!pixels || width != kSide) {
            state.SkipWithError("the registry did not decode the file");
            delete[] pixels;
            break;
        }
        benchmark::DoNotOptimize(pixels);
        delete[] pixels;
    }
    countMegapixels(state);
}

Bytes readWholeFile(const char* path)
{
    Bytes bytes;
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return bytes;
    std::fseek(file, 0, SEEK_END);
    bytes.resize(static_cast<size_t>(std::ftell(file)));
    std::rewind(file);
    if (std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size())
        bytes.clear();
    std::fclose(file);
    return bytes;
}

void BM_RegistryBmp(benchmark::State& state)
{
    decodeThroughRegistry(state, files().bmp);
}
void BM_RegistryTga(benchmark::State& state)
{
    decodeThroughRegistry(state, files().tga);
}
void BM_RegistryJpeg(benchmark::State& state)
{
    decodeThroughRegistry(state, files().jpeg);
}
void BM_RegistryPng(benchmark::State& state)
{
    decodeThroughRegistry(state, files().png);
}

void readFileOnly(benchmark::State& state, const TempFile& file)
{
    for (auto _ : state) {
        Bytes bytes = readWholeFile(file.path());
        benchmark::DoNotOptimize(bytes.data());
    }
    countMegapixels(state);
}

void BM_ReadFileBmp(benchmark::State& state)
{
    readFileOnly(state, files().bmp);
}
void BM_ReadFileTga(benchmark::State& state)
{
    readFileOnly(state, files().tga);
}

// TurboJPEG decodes from memory; reading the file is part of each round, as
// it is for the registry.
void BM_LibraryJpeg(benchmark::State& state)
{
    tjhandle handle = tjInitDecompress();
    std::vector<unsigned char> pixels(static_cast<size_t>(kSide) * kSide * 3);
    for (auto _ : state) {
        Bytes jpeg = readWholeFile(files().jpeg.path());
        if (tjDecompress2(handle, jpeg.data(), static_cast<unsigned long>(jpeg.size()), pixels.data(), kSide, 0, kSide,
                TJPF_RGB, 0)
            != 0) {
            state.SkipWithError(tjGetErrorStr2(handle));
            break;
        }
        benchmark::DoNotOptimize(pixels.data());
    }
    tjDestroy(handle);
    countMegapixels(state);
}

void BM_LibraryPng(benchmark::State& state)
{
    for (auto _ : state) {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        if (!png_image_begin_read_from_file(&image, files().png.path())) {
            state.SkipWithError(image.message);
            break;
        }
        image.format = PNG_FORMAT_RGB;
        std::unique_ptr<unsigned char[]> pixels(new unsigned char[PNG_IMAGE_SIZE(image)]);
        if (!png_image_finish_read(&image, nullptr, pixels.get(), 0, nullptr)) {
            state.SkipWithError(image.message);
            png_image_free(&image);
            break;
        }
        benchmark::DoNotOptimize(pixels.get());
    }
    countMegapixels(state);
}

BENCHMARK(BM_RegistryBmp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadFileBmp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RegistryTga)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadFileTga)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RegistryJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibraryJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RegistryPng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibraryPng)->Unit(benchmark::kMillisecond);

} // namespace
