#include "render/codecs/TgaCodec.h"

#include <gtest/gtest.h>

#include "render/codecs/DecodeResult.h"
#include "support/LargestAllocation.h"

namespace vlo {
namespace {

using fixtures::Bytes;
using Decoded = fixtures::DecodeResult;
using fixtures::tgaFile;

Decoded decode(const Bytes& bytes)
{
    TgaCodec codec;
    return fixtures::decodeBytes(codec, bytes);
}

TEST(TgaCodec, Describes)
{
    TgaCodec codec;
    EXPECT_STREQ("TrueVision Targa", codec.name());
    EXPECT_EQ(1, codec.extensionCount());
    EXPECT_STREQ("tga", codec.extension(0));
    EXPECT_STREQ("", codec.extension(1));
    EXPECT_FALSE(codec.canSave());
    const unsigned char pixel[4] = {};
    EXPECT_FALSE(codec.save(nullptr, 1, 1, 32, pixel));
}

TEST(TgaCodec, ThirtyTwoBitPixelBecomesRgba)
{
    const Decoded d = decode(tgaFile(2, 1, 1, 32, {10, 20, 30, 40}));
    ASSERT_NE(nullptr, d.pixels);
    EXPECT_EQ(1, d.width);
    EXPECT_EQ(1, d.height);
    EXPECT_EQ(32, d.bits);
    const unsigned char expected[4] = {30, 20, 10, 40};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(expected[i], d.pixels[i]) << "byte " << i;
}

TEST(TgaCodec, TwentyFourBitRowsKeepFileOrder)
{
    const Decoded d = decode(tgaFile(2, 2, 2, 24, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    ASSERT_NE(nullptr, d.pixels);
    EXPECT_EQ(2, d.width);
    EXPECT_EQ(2, d.height);
    EXPECT_EQ(24, d.bits);
    const unsigned char expected[12] = {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(expected[i], d.pixels[i]) << "byte " << i << " (first file row stays first)";
}

TEST(TgaCodec, IdentificationFieldIsSkipped)
{
    // 25 bytes of identification text between the header and the pixels.
    Bytes file = tgaFile(2, 2, 1, 24, {1, 2, 3, 4, 5, 6});
    file[0] = 25;
    const std::string id = "written by a paint tool.."; // 25 bytes
    ASSERT_EQ(25u, id.size());
    file.insert(file.begin() + 18, id.begin(), id.end());
    const Decoded d = decode(file);
    ASSERT_NE(nullptr, d.pixels);
    EXPECT_EQ(2, d.width);
    EXPECT_EQ(1, d.height);
    EXPECT_EQ(24, d.bits);
    const unsigned char expected[6] = {3, 2, 1, 6, 5, 4};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(expected[i], d.pixels[i]) << "byte " << i << " (pixels follow the 25-byte field)";
}

TEST(TgaCodec, FileEndingInsideTheIdentificationFieldGivesZeros)
{
    Bytes file = tgaFile(2, 1, 1, 32, {});
    file[0] = 200;
    file.insert(file.end(), {7, 7, 7, 7, 7});
    const Decoded d = decode(file);
    ASSERT_NE(nullptr, d.pixels) << "decodes like any file cut short";
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(0, d.pixels[i]) << "byte " << i << " of a pixel the file does not hold";
}

TEST(TgaCodec, EightBitYieldsRawBytes)
{
    const Decoded d = decode(tgaFile(2, 2, 1, 8, {200, 100}));
    ASSERT_NE(nullptr, d.pixels);
    EXPECT_EQ(8, d.bits);
    EXPECT_EQ(200, d.pixels[0]);
    EXPECT_EQ(100, d.pixels[1]);
}

TEST(TgaCodec, RefusesWhatItCannotDecode)
{
    const Bytes pixels(16, 0x40);
    struct Case {
        const char* what;
        Bytes file;
    } cases[] = {
        {"type 10 (run-length)", tgaFile(10, 2, 2, 32, pixels)},
        {"type 3 (grey)", tgaFile(3, 2, 2, 8, pixels)},
        {"depth 16", tgaFile(2, 2, 2, 16, pixels)},
        {"depth 0", tgaFile(2, 2, 2, 0, pixels)},
        {"header cut at 17 bytes", Bytes(17, 2)},
        {"empty file", Bytes()},
    };
    for (const Case& c : cases) {
        const Decoded d = decode(c.file);
        EXPECT_EQ(nullptr, d.pixels) << c.what << ": expected null";
        EXPECT_TRUE(d.untouched()) << c.what << ": got " << d.width << " x " << d.height << " x " << d.bits;
    }
}

TEST(TgaCodec, RefusesAbsurdDimensionsBeforeAllocating)
{
    struct Case {
        uint16_t width;
        uint16_t height;
    } cases[] = {{0, 2}, {2, 0}, {0x8000, 1}, {1, 0xFFFF}, {16385, 1}, {1, 32767}};
    for (const Case& c : cases) {
        const Decoded d = decode(tgaFile(2, c.width, c.height, 24, Bytes(6, 1)));
        EXPECT_EQ(nullptr, d.pixels) << "sides " << c.width << " x " << c.height << " should be refused";
        EXPECT_TRUE(d.untouched()) << c.width << " x " << c.height;
    }
}

TEST(TgaCodec, AcceptsTheLargestSide)
{
    const Decoded d = decode(tgaFile(2, 1, 16384, 8, Bytes(16384, 9)));
    ASSERT_NE(nullptr, d.pixels) << "16384 pixels tall is within the bound";
    EXPECT_EQ(16384, d.height);
    EXPECT_EQ(9, d.pixels[16383]);
}

TEST(TgaCodec, TruncatedFileGivesZerosForMissingPixels)
{
    const Decoded d = decode(tgaFile(2, 2, 1, 32, {10, 20, 30, 40, 50}));
    ASSERT_NE(nullptr, d.pixels) << "a short file still decodes";
    const unsigned char expected[8] = {30, 20, 10, 40, 0, 0, 50, 0};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(expected[i], d.pixels[i]) << "byte " << i;
}

// A file cut short still decodes, but one holding less than one byte in 1032
// of the pixels it declares cannot be right: 60 bytes of pixels for 8192 x
// 4096 at 32 bits (128 MiB) are refused before anything is allocated for
// them, while 4 KB for 1024 x 1024 (4 MiB, one byte in 1024) still decode.
TEST(TgaCodec, FilesFarTooShortForTheirPixelsAreRefusedBeforeAllocating)
{
    test::LargestAllocation probe;
    if (test::LargestAllocation::available())
        probe.start();
    const Decoded refused = decode(tgaFile(2, 8192, 4096, 32, Bytes(60, 7)));
    probe.stop();
    EXPECT_EQ(nullptr, refused.pixels) << "8192 x 4096 from 60 bytes";
    EXPECT_TRUE(refused.untouched());
    if (test::LargestAllocation::available())
        EXPECT_LT(probe.largest(), size_t(1) << 20) << "largest allocation while refusing";

    const Decoded cut = decode(tgaFile(2, 1024, 1024, 32, Bytes(4096, 7)));
    ASSERT_NE(nullptr, cut.pixels) << "1024 x 1024 from 4 KB is only cut short";
    EXPECT_EQ(1024, cut.width);
}

} // namespace
} // namespace vlo
