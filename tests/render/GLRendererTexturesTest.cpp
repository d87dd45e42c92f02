// Textures and pixel images of the OpenGL renderer: decoding, enlargement to
// power-of-two sizes, colour key, depth conversion, binding, deletion and
// what they look like on the screen.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <GL/gl.h>
#include <sys/mount.h>

#include "content/ArchiveFS.h"
#include "render/GLRenderer.h"
#include "support/ArchiveBytes.h"
#include "support/GLRendererHarness.h"
#include "support/ImageFixtures.h"
#include "support/ScratchDir.h"

namespace vlo {
namespace {

using fixtures::Bytes;
using test::pixelIs;
using test::Rgb;

// A picture given as a colour per pixel, (x, y) with the origin top-left.
using Picture = std::function<Rgb(int x, int y)>;

Rgb pattern(int x, int y)
{
    return Rgb{(x * 7 + y * 3) & 255, (x * 3 + y * 11) & 255, (x ^ y) & 255};
}

// A 24-bit bitmap: rows bottom first, blue-green-red, no row padding.
Bytes bmp24(int width, int height, const Picture& picture)
{
    Bytes pixels;
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = picture(x, y);
            pixels.insert(pixels.end(), {uint8_t(c.b), uint8_t(c.g), uint8_t(c.r)});
        }
    }
    return fixtures::bmpFile(width, height, 24, 0, pixels);
}

// One row of 8-bit grey, or of grey+alpha pairs, as a PNG.
Bytes greyPng(const Bytes& samples, bool withAlpha)
{
    fixtures::PngSpec spec;
    spec.width = uint32_t(withAlpha ? samples.size() / 2 : samples.size());
    spec.height = 1;
    spec.colourType = withAlpha ? PNG_COLOR_TYPE_GRAY_ALPHA : PNG_COLOR_TYPE_GRAY;
    spec.rows = samples;
    return fixtures::pngFile(spec);
}

// The texture's level-0 texels as RGBA, top row (row 0) first.
std::vector<uint8_t> texels(GLuint name, int width, int height)
{
    std::vector<uint8_t> rgba(size_t(width) * size_t(height) * 4);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return rgba;
}

GLint boundTexture()
{
    GLint name = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    return name;
}

GLint textureParameter(GLuint name, GLenum parameter)
{
    GLint value = -1;
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
    glBindTexture(GL_TEXTURE_2D, 0);
    return value;
}

class GLRendererTexturesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gl.ready()) << "no usable GL renderer (is DISPLAY=:99 running?)";
        ASSERT_FALSE(ArchiveFS::isInitialised()) << "loose files are read only without an archive";
        r = gl.renderer.get();
        r->clear(Color(0.0f, 0.0f, 0.0f, 1.0f));
        r->loadIdentity();
    }

    // Writes a loose picture file and returns its path.
    std::string file(const std::string& name, const Bytes& bytes)
    {
        scratch.write(name, std::string(bytes.begin(), bytes.end()));
        return scratch.path(name);
    }

    test::GLRendererHarness gl;
    GLRenderer* r = nullptr;
    test::ScratchDir scratch{"render"};
};

TEST_F(GLRendererTexturesTest, APictureIsEnlargedToPowerOfTwoWithZeroPadding)
{
    const int number = r->loadTexture(file("a.bmp", bmp24(100, 50, pattern)).c_str(), FilterNearest, false);
    ASSERT_EQ(number, 1) << "texture numbers start at 1";
    const TextureInfo* info = r->textureInfo(number);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->width, 128);
    EXPECT_EQ(info->height, 64);
    EXPECT_EQ(info->sourceWidth, 100);
    EXPECT_EQ(info->sourceHeight, 50);
    EXPECT_EQ(info->bits, 24);
    EXPECT_EQ(info->invalid, 0);
    const Vector2 extent = r->textureExtent(number);
    EXPECT_FLOAT_EQ(extent.x, 0.78125f) << "100 of 128 columns";
    EXPECT_FLOAT_EQ(extent.y, 0.78125f) << "50 of 64 rows";

    const std::vector<uint8_t> rgba = texels(r->textureNames[0], 128, 64);
    int wrongPicture = 0;
    int wrongPadding = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 128; ++x) {
            const uint8_t* t = &rgba[(size_t(y) * 128 + size_t(x)) * 4];
            const Rgb got{t[0], t[1], t[2]};
            if (x < 100 && y < 50) {
                wrongPicture += got == pattern(x, y) ? 0 : 1;
            } else {
                wrongPadding += got == Rgb{0, 0, 0} ? 0 : 1;
            }
        }
    }
    EXPECT_EQ(wrongPicture, 0) << "texels of the picture at its top-left, top row first";
    EXPECT_EQ(wrongPadding, 0) << "the added rows and columns are zero";
    EXPECT_EQ(boundTexture(), 0) << "loading leaves no texture bound";
}

TEST_F(GLRendererTexturesTest, PowerOfTwoStepsFromSixteenAndWideTexturesKeepTheirWidth)
{
    struct Case {
        int width;
        int height;
        int expectedWidth;
        int expectedHeight;
    };
    int expectedNumber = 0;
    for (const Case& c : {Case{10, 3, 16, 16}, Case{16, 16, 16, 16}, Case{17, 33, 32, 64}, Case{2049, 2, 2049, 16}}) {
        const std::string name = "p" + std::to_string(c.width) + ".bmp";
        const int number = r->loadTexture(file(name, bmp24(c.width, c.height, pattern)).c_str(), FilterLinear, false);
        ASSERT_EQ(number, ++expectedNumber) << c.width << " x " << c.height;
        const TextureInfo* info = r->textureInfo(number);
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(info->width, c.expectedWidth) << c.width << " x " << c.height;
        EXPECT_EQ(info->height, c.expectedHeight) << c.width << " x " << c.height;
    }
    // The 2049-wide rows are 6147 bytes, not a multiple of 4: the upload
    // must still read them tightly packed.
    const std::vector<uint8_t> rgba = texels(r->textureNames[3], 2049, 16);
    for (int y : {0, 1}) {
        for (int x : {0, 1000, 2048}) {
            const uint8_t* t = &rgba[(size_t(y) * 2049 + size_t(x)) * 4];
            EXPECT_TRUE(pixelIs(Rgb{t[0], t[1], t[2]}, pattern(x, y))) << "texel (" << x << ", " << y << ")";
        }
    }
}

TEST_F(GLRendererTexturesTest, FiltersAndWrappingFollowTheFilterCode)
{
    const std::string path = file("f.bmp", bmp24(100, 50, pattern));
    const int nearest = r->loadTexture(path.c_str(), FilterNearest, false);
    const int linear = r->loadTexture(path.c_str(), FilterLinear, false);
    const int mipmapped = r->loadTexture(path.c_str(), FilterMipmap, false);
    const int unknown = r->loadTexture(path.c_str(), 5, false);
    ASSERT_EQ(unknown, 4);
    EXPECT_NE(r->textureNames[0], r->textureNames[1]) << "the same path twice gives two textures";

    EXPECT_EQ(textureParameter(r->textureNames[nearest - 1], GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    EXPECT_EQ(textureParameter(r->textureNames[nearest - 1], GL_TEXTURE_MAG_FILTER), GL_NEAREST);
    EXPECT_EQ(textureParameter(r->textureNames[linear - 1], GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(textureParameter(r->textureNames[linear - 1], GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(textureParameter(r->textureNames[mipmapped - 1], GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(textureParameter(r->textureNames[mipmapped - 1], GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(textureParameter(r->textureNames[unknown - 1], GL_TEXTURE_MIN_FILTER), GL_NEAREST_MIPMAP_LINEAR)
        << "an unknown filter code sets no filter: GL's default stays";
    for (int number : {nearest, linear, mipmapped, unknown}) {
        EXPECT_EQ(textureParameter(r->textureNames[number - 1], GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
        EXPECT_EQ(textureParameter(r->textureNames[number - 1], GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
    }

    glBindTexture(GL_TEXTURE_2D, r->textureNames[mipmapped - 1]);
    GLint levelOneWidth = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &levelOneWidth);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(levelOneWidth, 64) << "mipmaps below the 128 x 64 level";
}

TEST_F(GLRendererTexturesTest, DeletedTexturesKeepTheirNumberAndUnbind)
{
    const std::string path = file("d.bmp", bmp24(20, 20, pattern));
    const int first = r->loadTexture(path.c_str(), FilterLinear, false);
    const int second = r->loadTexture(path.c_str(), FilterLinear, false);
    ASSERT_EQ(first, 1);
    ASSERT_EQ(second, 2);

    EXPECT_TRUE(r->deleteTexture(first));
    EXPECT_FALSE(r->deleteTexture(first)) << "a second delete of the same number";
    EXPECT_EQ(r->textureNames[0], 0u);
    for (int number : {0, -1, 3, 1000}) {
        EXPECT_FALSE(r->deleteTexture(number)) << "number " << number;
    }
    ASSERT_NE(r->textureInfo(first), nullptr) << "the record stays after deletion";
    EXPECT_EQ(r->textureInfo(first)->width, 32);
    EXPECT_FLOAT_EQ(r->textureExtent(first).x, 20.0f / 32.0f);

    r->bindTexture(second);
    EXPECT_EQ(GLuint(boundTexture()), r->textureNames[1]);
    r->bindTexture(first);
    EXPECT_EQ(boundTexture(), 0) << "binding a deleted number unbinds";

    const int third = r->loadTexture(path.c_str(), FilterLinear, false);
    EXPECT_EQ(third, 3) << "numbers are never reused";
}

TEST_F(GLRendererTexturesTest, BindingANumberPastTheTableKeepsTheBinding)
{
    const int number = r->loadTexture(file("b.bmp", bmp24(16, 16, pattern)).c_str(), FilterLinear, false);
    ASSERT_EQ(number, 1);
    r->bindTexture(number);
    const GLint bound = boundTexture();
    EXPECT_EQ(GLuint(bound), r->textureNames[0]);
    for (int past : {2, 77, -1}) {
        r->bindTexture(past);
        EXPECT_EQ(boundTexture(), bound) << "bindTexture(" << past << ")";
    }
    r->bindTexture(0);
    EXPECT_EQ(boundTexture(), 0);
}

TEST_F(GLRendererTexturesTest, ColourKeyMakesPureWhiteTransparent)
{
    const Picture whites = [](int x, int) { return x == 0 ? Rgb{255, 255, 255} : Rgb{255, 255, 254}; };
    const int number = r->loadTexture(file("k.bmp", bmp24(2, 1, whites)).c_str(), FilterNearest, true);
    ASSERT_EQ(number, 1);
    EXPECT_EQ(r->textureInfo(number)->bits, 32) << "keying turns 24 bits into 32";
    const std::vector<uint8_t> rgba = texels(r->textureNames[0], 16, 16);
    EXPECT_EQ(rgba[3], 0) << "(255, 255, 255) gets alpha 0";
    EXPECT_EQ(rgba[7], 255) << "(255, 255, 254) gets alpha 255";
    EXPECT_EQ(rgba[6], 254) << "the colour itself is kept";

    // Without the flag the same picture stays 24-bit and opaque.
    const int plain = r->loadTexture(file("k.bmp", bmp24(2, 1, whites)).c_str(), FilterNearest, false);
    EXPECT_EQ(r->textureInfo(plain)->bits, 24);
    EXPECT_EQ(texels(r->textureNames[plain - 1], 16, 16)[3], 255);
}

TEST_F(GLRendererTexturesTest, ColourKeyLeavesA32BitPictureAsItIs)
{
    // Targa pixels are blue, green, red, alpha.
    const Bytes tga = fixtures::tgaFile(2, 2, 1, 32, {255, 255, 255, 77, 10, 20, 30, 200});
    const int number = r->loadTexture(file("k.tga", tga).c_str(), FilterNearest, true);
    ASSERT_EQ(number, 1);
    EXPECT_EQ(r->textureInfo(number)->bits, 32);
    const std::vector<uint8_t> rgba = texels(r->textureNames[0], 16, 16);
    EXPECT_EQ(rgba[3], 77) << "white keeps its own alpha";
    EXPECT_EQ(rgba[4], 30);
    EXPECT_EQ(rgba[7], 200);
}

TEST_F(GLRendererTexturesTest, TexturedRectShowsThePictureTopRowAtTheTop)
{
    const int number = r->loadTexture(file("t.bmp", bmp24(4, 2, pattern)).c_str(), FilterNearest, false);
    ASSERT_EQ(number, 1);
    r->setColor(1.0f, 1.0f, 1.0f, 1.0f);
    r->bindTexture(number);
    // 4 x 2 texels over (1, 1)-(1.4, 1.2): each texel is 10 x 10 pixels.
    r->drawTexturedRect(Vector2(1.0f, 1.0f), Vector2(1.4f, 1.2f), number);
    r->bindTexture(0);
    const test::Frame frame = gl.frame();
    for (int ty = 0; ty < 2; ++ty) {
        for (int tx = 0; tx < 4; ++tx) {
            EXPECT_TRUE(pixelIs(frame.at(100 + 10 * tx + 5, 100 + 10 * ty + 5), pattern(tx, ty)))
                << "texel (" << tx << ", " << ty << ")";
        }
    }
    EXPECT_TRUE(pixelIs(frame.at(145, 105), Rgb{0, 0, 0})) << "the padding is not shown";
    EXPECT_TRUE(pixelIs(frame.at(105, 125), Rgb{0, 0, 0}));
}

TEST_F(GLRendererTexturesTest, FailedLoadsGiveZeroAndAddNoRecord)
{
    EXPECT_EQ(r->loadTexture(file("x.gif", {1, 2, 3}).c_str(), FilterLinear, false), 0) << "no decoder";
    EXPECT_EQ(r->loadTexture(scratch.path("missing.bmp").c_str(), FilterLinear, false), 0) << "no file";
    EXPECT_EQ(r->loadTexture(file("bad.bmp", {'B', 'M', 0, 0}).c_str(), FilterLinear, false), 0)
        << "the decoder refuses the file";
    EXPECT_EQ(r->loadImage(file("bad.tga", fixtures::tgaFile(10, 1, 1, 24, {1, 2, 3})).c_str()), 0)
        << "run-length Targa";
    EXPECT_EQ(r->textureInfo(1), nullptr);
    EXPECT_TRUE(r->textureNames.empty());
    EXPECT_EQ(r->imageInfo(1), nullptr);

    const int number = r->loadTexture(file("ok.bmp", bmp24(3, 3, pattern)).c_str(), FilterLinear, false);
    EXPECT_EQ(number, 1) << "failures use up no number";
}

TEST_F(GLRendererTexturesTest, GreyPicturesShowGrey)
{
    const int grey = r->loadTexture(file("g.png", greyPng({60, 200}, false)).c_str(), FilterNearest, false);
    ASSERT_EQ(grey, 1);
    EXPECT_EQ(r->textureInfo(grey)->bits, 8);

    // Grey+alpha decodes to 16 bits, which has no upload format: it goes up
    // as RGBA with the grey in all three colours.
    const int greyAlpha
        = r->loadTexture(file("ga.png", greyPng({100, 255, 180, 0}, true)).c_str(), FilterNearest, false);
    ASSERT_EQ(greyAlpha, 2);
    EXPECT_EQ(r->textureInfo(greyAlpha)->bits, 32);

    r->clear(Color(0.0f, 0.0f, 1.0f, 1.0f));
    r->setColor(1.0f, 1.0f, 1.0f, 1.0f);
    r->setBlendFunc(BlendSrcAlpha, BlendOneMinusSrcAlpha);
    // Two texels over 0.2 units each: pixels 0..19 and 20..39.
    r->bindTexture(grey);
    r->drawTexturedRect(Vector2(0.0f, 0.0f), Vector2(0.4f, 0.1f), grey);
    r->bindTexture(greyAlpha);
    r->drawTexturedRect(Vector2(0.0f, 1.0f), Vector2(0.4f, 1.1f), greyAlpha);
    r->bindTexture(0);
    const test::Frame frame = gl.frame();
    EXPECT_TRUE(pixelIs(frame.at(10, 5), Rgb{60, 60, 60}));
    EXPECT_TRUE(pixelIs(frame.at(30, 5), Rgb{200, 200, 200}));
    EXPECT_TRUE(pixelIs(frame.at(10, 105), Rgb{100, 100, 100})) << "opaque grey";
    EXPECT_TRUE(pixelIs(frame.at(30, 105), Rgb{0, 0, 255})) << "alpha 0 shows the background";
}

TEST_F(GLRendererTexturesTest, DrawImageFillsTheViewWithTheTopRowAtTheTop)
{
    const int image = r->loadImage(file("full.bmp", bmp24(700, 600, pattern)).c_str());
    ASSERT_EQ(image, 1) << "image numbers start at 1";
    const Image* info = r->imageInfo(image);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->width, 700);
    EXPECT_EQ(info->height, 600);
    EXPECT_EQ(info->sourceWidth, 0) << "pixel images are not enlarged";

    r->drawImage(image);
    const test::Frame frame = gl.frame();
    for (auto [x, y] : {std::pair{0, 0}, {699, 0}, {0, 599}, {699, 599}, {350, 300}, {123, 456}}) {
        EXPECT_TRUE(pixelIs(frame.at(x, y), pattern(x, y))) << "at (" << x << ", " << y << ")";
    }
}

TEST_F(GLRendererTexturesTest, DrawImageOfAnOddWidthReadsTightRows)
{
    // 3 pixels of 3 bytes: rows of 9 bytes, which 4-byte row alignment
    // would skew and overrun.
    const int image = r->loadImage(file("odd.bmp", bmp24(3, 2, pattern)).c_str());
    ASSERT_EQ(image, 1);
    r->drawImage(image);
    const test::Frame frame = gl.frame();
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            // The picture sits on the bottom-left corner of the view.
            EXPECT_TRUE(pixelIs(frame.at(x, 598 + y), pattern(x, y))) << "image pixel (" << x << ", " << y << ")";
        }
    }
    EXPECT_TRUE(pixelIs(frame.at(0, 597), Rgb{0, 0, 0}));
    EXPECT_TRUE(pixelIs(frame.at(3, 599), Rgb{0, 0, 0}));
}

TEST_F(GLRendererTexturesTest, DrawImageShowsGreyPicturesGreyAndIgnoresUnknownNumbers)
{
    const int grey = r->loadImage(file("g.png", greyPng({60, 200}, false)).c_str());
    const int greyAlpha = r->loadImage(file("ga.png", greyPng({100, 255, 180, 0}, true)).c_str());
    ASSERT_EQ(grey, 1);
    ASSERT_EQ(greyAlpha, 2);
    EXPECT_EQ(r->imageInfo(greyAlpha)->bits, 32) << "grey+alpha is kept as RGBA";

    for (int unknown : {0, 3, -1}) {
        r->drawImage(unknown);
    }
    EXPECT_TRUE(pixelIs(gl.pixel(0, 599), Rgb{0, 0, 0})) << "unknown numbers draw nothing";

    r->drawImage(grey);
    EXPECT_TRUE(pixelIs(gl.pixel(0, 599), Rgb{60, 60, 60}));
    EXPECT_TRUE(pixelIs(gl.pixel(1, 599), Rgb{200, 200, 200}));
    r->drawImage(greyAlpha);
    EXPECT_TRUE(pixelIs(gl.pixel(0, 599), Rgb{100, 100, 100}));
    EXPECT_TRUE(pixelIs(gl.pixel(1, 599), Rgb{180, 180, 180}));
    EXPECT_EQ(test::GLRendererHarness::takeGLError(), GLenum(GL_NO_ERROR));
}

TEST_F(GLRendererTexturesTest, PicturesComeOutOfTheArchiveAndTheExtractionFileGoes)
{
    const Bytes png = greyPng({10, 20, 30, 40}, false);
    const std::string archive = test::archiveOf({{"gui/a.png", std::string(png.begin(), png.end())}});
    scratch.write("data.zuo", archive);
    ASSERT_TRUE(ArchiveFS::init(scratch.path("data.zuo")));
    struct Shutdown {
        ~Shutdown() { ArchiveFS::shutdown(); }
    } shutdown;

    const int number = r->loadTexture("gui/a.png", FilterLinear, false);
    EXPECT_EQ(number, 1);
    ASSERT_NE(r->textureInfo(number), nullptr);
    EXPECT_EQ(r->textureInfo(number)->sourceWidth, 4);
    EXPECT_FALSE(scratch.exists("data.zuo.temp.png")) << "the extraction file is removed after decoding";
    EXPECT_EQ(r->loadImage("gui/a.png"), 1);

    EXPECT_EQ(r->loadTexture("gui/missing.png", FilterLinear, false), 0)
        << "an entry the archive lacks extracts empty and is refused";
}

// Names of the files and folders under root (all levels) that start with the
// extraction base "data.zuo.temp".
std::vector<std::string> extractionLeftovers(const std::string& root)
{
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("data.zuo.temp", 0) == 0)
            found.push_back(entry.path().string());
    }
    return found;
}

TEST_F(GLRendererTexturesTest, NoExtractionFileOutlivesAFailedLoad)
{
    Bytes cutJpeg = fixtures::jpegFile(8, 8, 1, Bytes(64, 128));
    ASSERT_TRUE(fixtures::patchJpegFrameSize(cutJpeg, 16384, 16384));
    cutJpeg.resize(300);
    const Bytes hugePng = fixtures::pngDeclaring(16384, 16384, 8, PNG_COLOR_TYPE_RGB, Bytes(4096, 0x5A));
    const auto text = [](const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); };
    const std::vector<std::pair<std::string, std::string>> entries = {
        {"gui/a.gif", "GIF89a"},                      // no decoder for the extension
        {"", "no name"},                              // an empty name: no extension at all
        {"readme", "no dot"},                         // the whole name is the extension
        {"gui/damaged.png", "\x89PNG\r\n\x1A\n-cut"}, // the PNG decoder fails
        {"gui/huge.png", text(hugePng)},              // past the pixel budget
        {"gui/cut.jpg", text(cutJpeg)},               // a JPEG declaring more than it holds
        {"gui/rle.tga", text(fixtures::tgaFile(10, 1, 1, 24, {1, 2, 3}))},
        {"gui/bad.bmp", "BM"},
        {"gui/empty.png", ""},
    };
    scratch.write("data.zuo", test::archiveOf(entries));
    ASSERT_TRUE(ArchiveFS::init(scratch.path("data.zuo")));
    struct Shutdown {
        ~Shutdown() { ArchiveFS::shutdown(); }
    } shutdown;

    std::vector<std::string> names;
    for (const auto& entry : entries)
        names.push_back(entry.first);
    names.push_back("gui/not-in-the-archive.jpg");
    for (const std::string& name : names) {
        EXPECT_EQ(r->loadTexture(name.c_str(), FilterLinear, false), 0) << "'" << name << "' as a texture";
        EXPECT_EQ(extractionLeftovers(scratch.path()), std::vector<std::string>())
            << "left behind by the texture load of '" << name << "'";
        EXPECT_EQ(r->loadImage(name.c_str()), 0) << "'" << name << "' as a pixel image";
        EXPECT_EQ(extractionLeftovers(scratch.path()), std::vector<std::string>())
            << "left behind by the image load of '" << name << "'";
    }
    EXPECT_TRUE(r->textureNames.empty());
}

TEST_F(GLRendererTexturesTest, APictureCutShortByAFullDiskIsNotShown)
{
    // A file system of 64 KiB of its own: the archive takes 40 KiB of it,
    // less than another copy of the picture leaves.
    const std::string disk = scratch.path("disk");
    std::filesystem::create_directory(disk);
    if (mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small file system here (it needs root): " << std::strerror(errno);
    struct Unmount {
        std::string path;
        ~Unmount() { umount2(path.c_str(), MNT_DETACH); }
    } unmount{disk};
    const Bytes bmp = bmp24(128, 104, pattern);
    ASSERT_GT(bmp.size(), 39000u);
    std::ofstream(disk + "/data.zuo", std::ios::binary)
        << test::archiveOf({{"gui/big.bmp", std::string(bmp.begin(), bmp.end())}});
    ASSERT_TRUE(ArchiveFS::init(disk + "/data.zuo"));
    struct Shutdown {
        ~Shutdown() { ArchiveFS::shutdown(); }
    } shutdown;

    EXPECT_EQ(r->loadTexture("gui/big.bmp", FilterLinear, false), 0) << "a picture cut short was shown";
    EXPECT_EQ(r->loadImage("gui/big.bmp"), 0) << "a picture cut short was kept as an image";
    EXPECT_EQ(extractionLeftovers(disk), std::vector<std::string>());
    EXPECT_TRUE(r->textureNames.empty());
}

} // namespace
} // namespace vlo
