#include "render/codecs/ImageCodecRegistry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "render/codecs/DecodeResult.h"

namespace vlo {
namespace {

using fixtures::Bytes;
using fixtures::TempFile;

std::string extensionOf(const char* path)
{
    char out[ImageCodecRegistry::kExtensionSize];
    ImageCodecRegistry::extensionOf(path, out);
    return out;
}

// A codec that answers to one extension and counts its loads.
class CountingCodec : public ImageCodec {
public:
    explicit CountingCodec(const char* ext, int* loads = nullptr)
        : ext(ext)
        , loads(loads)
    {
    }
    const char* name() override { return "Counting"; }
    const char* extension(int index) override { return index == 0 ? ext : ""; }
    int extensionCount() override { return 1; }
    bool canSave() override { return false; }
    unsigned char* load(FILE*, int*, int*, int*) override
    {
        if (loads)
            ++*loads;
        return nullptr;
    }
    bool save(FILE*, int, int, int, const unsigned char*) override { return false; }

private:
    const char* ext;
    int* loads;
};

TEST(ImageCodecRegistry, RegistersTheFourDecodersInSearchOrder)
{
    ImageCodecRegistry registry;
    ASSERT_EQ(4, registry.codecCount());
    const char* expected[] = {"TrueVision Targa", "Windows Bitmap", "JPEG Image", "Portable Network Graphics"};
    for (int i = 0; i < 4; ++i) {
        ASSERT_NE(nullptr, registry.codecAt(i));
        EXPECT_STREQ(expected[i], registry.codecAt(i)->name()) << "position " << i;
        EXPECT_EQ(&registry, registry.codecAt(i)->registry) << "position " << i;
    }
    EXPECT_EQ(nullptr, registry.codecAt(4));
    EXPECT_EQ(nullptr, registry.codecAt(-1));
}

TEST(ImageCodecRegistry, ExtensionIsTheLowerCasedTextAfterTheLastDot)
{
    EXPECT_EQ("png", extensionOf("gui/play_on.PNG"));
    EXPECT_EQ("jpeg", extensionOf("photo.jpeg"));
    EXPECT_EQ("jpg", extensionOf("photo.JpG"));
    EXPECT_EQ("png", extensionOf("data.zuo.temp.png")) << "only the text after the last dot counts";
    EXPECT_EQ("noextension", extensionOf("NoExtension")) << "without a dot the whole path is taken";
    EXPECT_EQ(".png", extensionOf(".PNG")) << "a dot in the first character starts no extension";
    EXPECT_EQ("", extensionOf("trailing."));
    EXPECT_EQ("", extensionOf(""));
    EXPECT_EQ("d/file", extensionOf("dir.d/file")) << "a dot in a folder name still counts";
    EXPECT_EQ("\xC4x", extensionOf("a.\xC4X")) << "only A to Z are lower-cased";
}

TEST(ImageCodecRegistry, LongExtensionIsCutInsideTheBuffer)
{
    const std::string path = "picture." + std::string(300, 'Q');
    // The out buffer sits in a larger block whose tail must stay as it was.
    char block[ImageCodecRegistry::kExtensionSize + 64];
    std::memset(block, '#', sizeof block);
    ImageCodecRegistry::extensionOf(path.c_str(), block);
    EXPECT_EQ(std::string(255, 'q'), std::string(block)) << "expected the first 255 characters";
    for (size_t i = ImageCodecRegistry::kExtensionSize; i < sizeof block; ++i)
        ASSERT_EQ('#', block[i]) << "byte " << i << " past the buffer was overwritten";

    const std::string exact = "a." + std::string(255, 'b');
    EXPECT_EQ(std::string(255, 'b'), extensionOf(exact.c_str())) << "255 characters fit whole";
}

TEST(ImageCodecRegistry, FindsTheCodecByExtension)
{
    ImageCodecRegistry registry;
    struct Case {
        const char* path;
        const char* codec;
    } cases[] = {
        {"a.PNG", "Portable Network Graphics"},
        {"a.jpeg", "JPEG Image"},
        {"a.jpg", "JPEG Image"},
        {"a.bmp", "Windows Bitmap"},
        {"a.tga", "TrueVision Targa"},
        {"data.zuo.temp.png", "Portable Network Graphics"},
        {"tga", "TrueVision Targa"},
    };
    for (const Case& c : cases) {
        char ext[ImageCodecRegistry::kExtensionSize];
        ImageCodecRegistry::extensionOf(c.path, ext);
        ImageCodec* codec = registry.findCodec(ext);
        ASSERT_NE(nullptr, codec) << c.path << ": expected " << c.codec;
        EXPECT_STREQ(c.codec, codec->name()) << c.path;
    }
    for (const char* path : {"a.gif", "picture", "a.", ".png"}) {
        char ext[ImageCodecRegistry::kExtensionSize];
        ImageCodecRegistry::extensionOf(path, ext);
        EXPECT_EQ(nullptr, registry.findCodec(ext)) << path << " should find no decoder";
    }
}

TEST(ImageCodecRegistry, LoadDecodesThroughTheChosenCodec)
{
    const TempFile file(".BMP", fixtures::bmpFile(1, 2, 32, 0, {255, 0, 0, 255, 0, 0, 255, 255}));
    ImageCodecRegistry registry;
    int width = 0, height = 0, bits = 0;
    unsigned char* raw = nullptr;
    ASSERT_TRUE(registry.load(file.path(), &width, &height, &bits, &raw));
    const std::unique_ptr<unsigned char[]> pixels(raw);
    ASSERT_NE(nullptr, pixels);
    EXPECT_EQ(1, width);
    EXPECT_EQ(2, height);
    EXPECT_EQ(32, bits);
    EXPECT_EQ(255, pixels[0]) << "top row red";
    EXPECT_EQ(255, pixels[6]) << "bottom row blue";
}

TEST(ImageCodecRegistry, LoadReportsAFoundCodecEvenWhenItFails)
{
    const TempFile file(".tga", fixtures::tgaFile(10, 2, 2, 32, Bytes(16, 1)));
    ImageCodecRegistry registry;
    int width = -7, height = -7, bits = -7;
    unsigned char sentinel = 0;
    unsigned char* pixels = &sentinel;
    EXPECT_TRUE(registry.load(file.path(), &width, &height, &bits, &pixels)) << "a decoder for .tga exists";
    EXPECT_EQ(nullptr, pixels) << "the run-length Targa is refused";
    EXPECT_EQ(-7, width);
    EXPECT_EQ(-7, height);
    EXPECT_EQ(-7, bits);
}

TEST(ImageCodecRegistry, LoadFailsWithoutFileOrCodec)
{
    ImageCodecRegistry registry;
    int width = -7, height = -7, bits = -7;
    unsigned char sentinel = 0;
    unsigned char* pixels = &sentinel;
    const TempFile gif(".gif", Bytes{'G', 'I', 'F', '8', '9', 'a'});
    EXPECT_FALSE(registry.load(gif.path(), &width, &height, &bits, &pixels)) << "no decoder for .gif";
    const TempFile missing(".png");
    EXPECT_FALSE(registry.load(missing.path(), &width, &height, &bits, &pixels)) << "the file does not exist";
    EXPECT_FALSE(registry.load(nullptr, &width, &height, &bits, &pixels));
    EXPECT_EQ(&sentinel, pixels) << "pixels untouched when nothing was decoded";
    EXPECT_EQ(-7, width);
}

TEST(ImageCodecRegistry, EmptyExtractionFileDecodesToNothing)
{
    // An entry the archive lacks arrives as an empty file; no decoder may end
    // the program over it.
    ImageCodecRegistry registry;
    for (const char* ext : {".bmp", ".tga", ".jpg", ".jpeg", ".png"}) {
        const TempFile file(ext, Bytes());
        int width = -7, height = -7, bits = -7;
        unsigned char* pixels = nullptr;
        EXPECT_TRUE(registry.load(file.path(), &width, &height, &bits, &pixels)) << ext;
        EXPECT_EQ(nullptr, pixels) << ext << ": expected null";
        delete[] pixels;
        EXPECT_EQ(-7, width) << ext;
    }
}

TEST(ImageCodecRegistry, EarlierCodecWinsAndComparisonIsCaseSensitive)
{
    ImageCodecRegistry registry;
    int pngLoads = 0;
    int upperLoads = 0;
    ASSERT_TRUE(registry.registerCodec(new CountingCodec("png", &pngLoads)));
    ASSERT_TRUE(registry.registerCodec(new CountingCodec("XYZ", &upperLoads)));
    EXPECT_EQ(6, registry.codecCount());
    EXPECT_EQ(&registry, registry.codecAt(5)->registry);

    int width = 0, height = 0, bits = 0;
    unsigned char* pixels = nullptr;
    const TempFile png(".png", Bytes(8, 0));
    EXPECT_TRUE(registry.load(png.path(), &width, &height, &bits, &pixels));
    EXPECT_EQ(0, pngLoads) << "the built-in PNG decoder comes first";
    const TempFile upper(".XYZ", Bytes(8, 0));
    EXPECT_FALSE(registry.load(upper.path(), &width, &height, &bits, &pixels))
        << "the lower-cased extension never equals an upper-case one";
    EXPECT_EQ(0, upperLoads);

    int customLoads = 0;
    ASSERT_TRUE(registry.registerCodec(new CountingCodec("raw", &customLoads)));
    const TempFile raw(".RAW", Bytes(8, 0));
    EXPECT_TRUE(registry.load(raw.path(), &width, &height, &bits, &pixels));
    EXPECT_EQ(1, customLoads) << "a registered codec is searched";
}

TEST(ImageCodecRegistry, FullListTakesNoMoreCodecs)
{
    ImageCodecRegistry registry;
    while (registry.codecCount() < ImageCodecRegistry::kMaxCodecs)
        ASSERT_TRUE(registry.registerCodec(new CountingCodec("filler")));
    CountingCodec extra("extra");
    EXPECT_FALSE(registry.registerCodec(&extra));
    EXPECT_EQ(ImageCodecRegistry::kMaxCodecs, registry.codecCount());
    EXPECT_EQ(nullptr, extra.registry) << "a codec not taken keeps no registry";
    EXPECT_FALSE(registry.registerCodec(nullptr));
}

} // namespace
} // namespace vlo
