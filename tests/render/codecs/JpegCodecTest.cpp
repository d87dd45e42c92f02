#include "render/codecs/JpegCodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "render/codecs/DecodeResult.h"
#include "support/LargestAllocation.h"

namespace vlo {
namespace {

using fixtures::Bytes;
using fixtures::jpegFile;
using Decoded = fixtures::DecodeResult;

Decoded decode(const Bytes& bytes)
{
    JpegCodec codec;
    return fixtures::decodeBytes(codec, bytes);
}

// Lossy coding moves flat colours by a few levels at most at high quality.
constexpr int kTolerance = 4;

void expectNear(int expected, int got, const char* what)
{
    EXPECT_LE(std::abs(expected - got), kTolerance) << what << ": expected about " << expected << ", got " << got;
}

// Writes the big-endian 16-bit value into the first baseline frame header's
// height or width field; false when the file has no such header.
bool patchFrameSide(Bytes& jpeg, size_t fieldOffset, uint16_t value)
{
    for (size_t i = 0; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + fieldOffset] = static_cast<uint8_t>(value >> 8);
            jpeg[i + fieldOffset + 1] = static_cast<uint8_t>(value & 0xFF);
            return true;
        }
    }
    return false;
}
// Offsets from the marker: FF C0, length (2), precision (1), height (2), width (2).
constexpr size_t kFrameHeight = 5;
constexpr size_t kFrameWidth = 7;

TEST(JpegCodec, Describes)
{
    JpegCodec codec;
    EXPECT_STREQ("JPEG Image", codec.name());
    EXPECT_EQ(2, codec.extensionCount());
    EXPECT_STREQ("jpg", codec.extension(0));
    EXPECT_STREQ("jpeg", codec.extension(1));
    EXPECT_STREQ("", codec.extension(2));
    EXPECT_FALSE(codec.canSave());
    const unsigned char pixel[3] = {};
    EXPECT_FALSE(codec.save(nullptr, 1, 1, 24, pixel));
}

TEST(JpegCodec, GreyscaleDecodesToEightBits)
{
    // 16 x 16: top half 40, bottom half 200.
    Bytes grey(16 * 16);
    for (size_t i = 0; i < grey.size(); ++i)
        grey[i] = i < grey.size() / 2 ? 40 : 200;
    const Bytes file = jpegFile(16, 16, 1, grey, 100);
    ASSERT_FALSE(file.empty()) << "libjpeg could not write the fixture";
    const Decoded d = decode(file);
    ASSERT_NE(nullptr, d.pixels);
    EXPECT_EQ(16, d.width);
    EXPECT_EQ(16, d.height);
    EXPECT_EQ(8, d.bits);
    expectNear(40, d.pixels[0], "top-left");
    expectNear(200, d.pixels[16 * 15 + 15], "bottom-right");
}

TEST(JpegCodec, ColourDecodesToRgbTopRowFirst)
{
    // 16 x 16: top half red, bottom half blue.
    Bytes rgb(16 * 16 * 3);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            uint8_t* p = rgb.data() + (y * 16 + x) * 3;
            p[0] = y < 8 ? 255 : 0;
            p[1] = 0;
            p[2] = y < 8 ? 0 : 255;
        }
    const Bytes file = jpegFile(16, 16, 3, rgb, 100);
    ASSERT_FALSE(file.empty()) << "libjpeg could not write the fixture";
    const Decoded d = decode(file);
    ASSERT_NE(nullptr, d.pixels);
    EXPECT_EQ(16, d.width);
    EXPECT_EQ(16, d.height);
    EXPECT_EQ(24, d.bits);
    const unsigned char* top = d.pixels.get();
    const unsigned char* bottom = d.pixels.get() + 15 * 16 * 3;
    expectNear(255, top[0], "top row red");
    expectNear(0, top[2], "top row blue");
    expectNear(0, bottom[0], "bottom row red");
    expectNear(255, bottom[2], "bottom row blue");
}

// 32 x 16 in inverted CMYK (255 = no ink), as print tools store it: the left
// 16 x 16 block (255, 128, 0, 255), the right one (200, 100, 50, 128).
Bytes twoInkBlocks()
{
    Bytes ink(32 * 16 * 4);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x) {
            uint8_t* p = ink.data() + (y * 32 + x) * 4;
            const bool left = x < 16;
            p[0] = left ? 255 : 200;
            p[1] = left ? 128 : 100;
            p[2] = left ? 0 : 50;
            p[3] = left ? 255 : 128;
        }
    return ink;
}

void expectInkBlocksAsRgb(const Decoded& d, const char* what)
{
    ASSERT_NE(nullptr, d.pixels) << what;
    EXPECT_EQ(32, d.width) << what;
    EXPECT_EQ(16, d.height) << what;
    EXPECT_EQ(24, d.bits) << what << ": opaque RGB, no fourth channel";
    // Full black value leaves the colour as it is; 128 halves it:
    // 200 x 128 / 255 = 100.4, 100 x 128 / 255 = 50.2, 50 x 128 / 255 = 25.1.
    const unsigned char* left = d.pixels.get() + (8 * 32 + 4) * 3;
    const unsigned char* right = d.pixels.get() + (8 * 32 + 28) * 3;
    const int expected[2][3] = {{255, 128, 0}, {100, 50, 25}};
    const char* channels[3] = {"red", "green", "blue"};
    for (int c = 0; c < 3; ++c) {
        expectNear(expected[0][c], left[c], (std::string(what) + ", left block " + channels[c]).c_str());
        expectNear(expected[1][c], right[c], (std::string(what) + ", right block " + channels[c]).c_str());
    }
}

TEST(JpegCodec, CmykDecodesToOpaqueRgb)
{
    const Bytes file = jpegFile(32, 16, 4, twoInkBlocks(), 100);
    ASSERT_FALSE(file.empty()) << "libjpeg could not write the fixture";
    expectInkBlocksAsRgb(decode(file), "CMYK");
}

TEST(JpegCodec, YcckDecodesToOpaqueRgb)
{
    const Bytes file = jpegFile(32, 16, 4, twoInkBlocks(), 100, false, true);
    ASSERT_FALSE(file.empty()) << "libjpeg could not write the fixture";
    expectInkBlocksAsRgb(decode(file), "YCCK");
}

TEST(JpegCodec, RejectedFilesReturnNullWithoutEndingTheProcess)
{
    const Bytes valid = jpegFile(8, 8, 3, fixtures::testPattern(8, 8, 3));
    ASSERT_FALSE(valid.empty());
    Bytes headerOnly(valid.begin(), valid.begin() + 20);
    Bytes notJpeg = {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0};
    struct Case {
        const char* what;
        Bytes file;
    } cases[] = {
        {"empty file", Bytes()},
        {"cut inside the headers", headerOnly},
        {"another format", notJpeg},
        {"start-of-image marker only", Bytes{0xFF, 0xD8}},
    };
    for (const Case& c : cases) {
        const Decoded d = decode(c.file);
        EXPECT_EQ(nullptr, d.pixels) << c.what << ": expected null";
        EXPECT_TRUE(d.untouched()) << c.what << ": got " << d.width << " x " << d.height << " x " << d.bits;
    }
}

TEST(JpegCodec, TruncatedScanStillDecodesFullSize)
{
    const Bytes valid = jpegFile(64, 64, 3, fixtures::testPattern(64, 64, 3));
    ASSERT_GT(valid.size(), 1000u) << "the fixture should be mostly scan data";
    const Bytes cut(valid.begin(), valid.begin() + valid.size() * 2 / 3);
    const Decoded d = decode(cut);
    ASSERT_NE(nullptr, d.pixels) << "the library only warns about a cut scan";
    EXPECT_EQ(64, d.width);
    EXPECT_EQ(64, d.height);
    EXPECT_EQ(24, d.bits);
}

TEST(JpegCodec, RefusesSidesAboveTheBound)
{
    const Bytes valid = jpegFile(8, 8, 1, Bytes(64, 128));
    ASSERT_FALSE(valid.empty());
    Bytes wide = valid;
    ASSERT_TRUE(patchFrameSide(wide, kFrameWidth, 16385)) << "no baseline frame header in the fixture";
    Bytes tall = valid;
    ASSERT_TRUE(patchFrameSide(tall, kFrameHeight, 40000));
    for (const Bytes* file : {&wide, &tall}) {
        const Decoded d = decode(*file);
        EXPECT_EQ(nullptr, d.pixels) << (file == &wide ? "16385 wide" : "40000 tall") << " should be refused";
        EXPECT_TRUE(d.untouched());
    }
}

TEST(JpegCodec, AcceptsTheLargestSide)
{
    const Bytes valid = jpegFile(8, 8, 1, Bytes(64, 128));
    Bytes wide = valid;
    ASSERT_TRUE(patchFrameSide(wide, kFrameWidth, 16384));
    const Decoded d = decode(wide);
    ASSERT_NE(nullptr, d.pixels) << "16384 wide is within the bound (the scan is short, the library fills it)";
    EXPECT_EQ(16384, d.width);
    EXPECT_EQ(8, d.height);
}

Decoded decodeWatched(const Bytes& bytes, size_t& largest)
{
    test::LargestAllocation probe;
    probe.start();
    Decoded d = decode(bytes);
    probe.stop();
    largest = probe.largest();
    return d;
}

TEST(JpegCodec, ATruncatedFileDeclaringAHugeSizeIsRefusedFromTheHeader)
{
    // About 300 bytes declaring 16384 x 16384: the library would fill in the
    // missing data and deliver 256 MB of grey.
    Bytes file = jpegFile(8, 8, 1, Bytes(64, 128));
    ASSERT_TRUE(fixtures::patchJpegFrameSize(file, 16384, 16384));
    file.resize(std::min<size_t>(file.size(), 300));
    size_t largest = 0;
    const Decoded d = decodeWatched(file, largest);
    EXPECT_EQ(nullptr, d.pixels);
    EXPECT_TRUE(d.untouched());
    if (test::LargestAllocation::available()) {
        EXPECT_LT(largest, size_t(1) << 20) << "nothing is allocated for the declared size";
    }
}

TEST(JpegCodec, AFileTooShortForItsBlocksIsRefusedWithinTheBudget)
{
    // 4000 x 4000 grey is within 32 megapixels but has 250000 blocks of at
    // least one bit each; the file holds a few hundred bytes.
    Bytes file = jpegFile(8, 8, 1, Bytes(64, 128));
    ASSERT_TRUE(fixtures::patchJpegFrameSize(file, 4000, 4000));
    size_t largest = 0;
    const Decoded d = decodeWatched(file, largest);
    EXPECT_EQ(nullptr, d.pixels);
    EXPECT_TRUE(d.untouched());
    if (test::LargestAllocation::available()) {
        EXPECT_LT(largest, size_t(1) << 20) << "refused before the 16 MB buffer is taken";
    }
}

TEST(JpegCodec, AFlatPictureCodedInFewBitsPerBlockStillDecodes)
{
    // One flat grey: every block is a zero DC difference and an end of block,
    // close to the fewest bits a block can take.
    const Bytes file = jpegFile(2048, 2048, 1, Bytes(size_t(2048) * 2048, 90), 50);
    ASSERT_FALSE(file.empty());
    EXPECT_LT(file.size(), size_t(2048) * 2048 / 64) << "under a byte per block: the size test is near its bound";
    const Decoded d = decode(file);
    ASSERT_NE(nullptr, d.pixels);
    EXPECT_EQ(2048, d.width);
    expectNear(90, d.pixels[size_t(2048) * 2048 - 1], "last pixel");
}

} // namespace
} // namespace vlo
