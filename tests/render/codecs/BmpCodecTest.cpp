#include "render/codecs/BmpCodec.h"

#include <gtest/gtest.h>

#include "render/codecs/DecodeResult.h"

namespace vlo {
namespace {

using fixtures::Bytes;
using Decoded = fixtures::DecodeResult;
using fixtures::bmpFile;

Decoded decode(const Bytes& bytes)
{
    BmpCodec codec;
    return fixtures::decodeBytes(codec, bytes);
}

TEST(BmpCodec, Describes)
{
    BmpCodec codec;
    EXPECT_STREQ("Windows Bitmap", codec.name());
    EXPECT_EQ(1, codec.extensionCount());
    EXPECT_STREQ("bmp", codec.extension(0));
    EXPECT_STREQ("", codec.extension(1));
    EXPECT_FALSE(codec.canSave());
    const unsigned char pixel[4] = {};
    EXPECT_FALSE(codec.save(nullptr, 1, 1, 32, pixel));
}

TEST(BmpCodec, ThirtyTwoBitRowsComeOutTopFirst)
{
    // The file holds the bottom row first: a blue pixel, then the top row's red one.
    const Decoded d = decode(bmpFile(1, 2, 32, 0, {255, 0, 0, 255, 0, 0, 255, 255}));
    ASSERT_NE(nullptr, d.pixels);
    EXPECT_EQ(1, d.width);
    EXPECT_EQ(2, d.height);
    EXPECT_EQ(32, d.bits);
    const unsigned char expected[8] = {255, 0, 0, 255, 0, 0, 255, 255};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(expected[i], d.pixels[i]) << "byte " << i << " (red row first, then blue)";
}

TEST(BmpCodec, TwentyFourBitRowsArePackedAndFlipped)
{
    // 2 x 2, each row exactly 6 bytes: bottom row (1,2,3)(4,5,6), top row (7,8,9)(10,11,12).
    const Decoded d = decode(bmpFile(2, 2, 24, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    ASSERT_NE(nullptr, d.pixels);
    EXPECT_EQ(2, d.width);
    EXPECT_EQ(2, d.height);
    EXPECT_EQ(24, d.bits);
    const unsigned char expected[12] = {9, 8, 7, 12, 11, 10, 3, 2, 1, 6, 5, 4};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(expected[i], d.pixels[i]) << "byte " << i;
}

TEST(BmpCodec, EightBitYieldsRawBytes)
{
    const Decoded d = decode(bmpFile(3, 1, 8, 0, {5, 6, 7}));
    ASSERT_NE(nullptr, d.pixels);
    EXPECT_EQ(8, d.bits);
    EXPECT_EQ(5, d.pixels[0]);
    EXPECT_EQ(6, d.pixels[1]);
    EXPECT_EQ(7, d.pixels[2]);
}

TEST(BmpCodec, OddRowCountKeepsTheMiddleRow)
{
    const Decoded d = decode(bmpFile(2, 3, 8, 0, {1, 2, 3, 4, 5, 6}));
    ASSERT_NE(nullptr, d.pixels);
    const unsigned char expected[6] = {5, 6, 3, 4, 1, 2};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(expected[i], d.pixels[i]) << "byte " << i;
}

TEST(BmpCodec, RefusesWhatItCannotDecode)
{
    const Bytes pixels(16, 0x40);
    Bytes wrongSignature = bmpFile(2, 2, 32, 0, pixels);
    wrongSignature[1] = 'A';
    Bytes shortHeader = bmpFile(2, 2, 32, 0, pixels);
    shortHeader.resize(53);
    struct Case {
        const char* what;
        Bytes file;
    } cases[] = {
        {"run-length compression", bmpFile(2, 2, 8, 1, pixels)},
        {"bit count 4", bmpFile(2, 2, 4, 0, pixels)},
        {"bit count 16", bmpFile(2, 2, 16, 0, pixels)},
        {"signature BA", wrongSignature},
        {"header cut at 53 bytes", shortHeader},
        {"empty file", Bytes()},
    };
    for (const Case& c : cases) {
        const Decoded d = decode(c.file);
        EXPECT_EQ(nullptr, d.pixels) << c.what << ": expected null";
        EXPECT_TRUE(d.untouched()) << c.what << ": got " << d.width << " x " << d.height << " x " << d.bits;
    }
}

TEST(BmpCodec, RefusesAbsurdDimensionsBeforeAllocating)
{
    struct Case {
        int32_t width;
        int32_t height;
    } cases[] = {{0, 2}, {2, 0}, {2, -2}, {-2, 2}, {16385, 1}, {1, 16385}, {0x7FFFFFFF, 0x7FFFFFFF}, {INT32_MIN, 1}};
    for (const Case& c : cases) {
        const Decoded d = decode(bmpFile(c.width, c.height, 32, 0, Bytes(8, 1)));
        EXPECT_EQ(nullptr, d.pixels) << c.width << " x " << c.height << " should be refused";
        EXPECT_TRUE(d.untouched()) << c.width << " x " << c.height;
    }
}

TEST(BmpCodec, AcceptsTheLargestSide)
{
    const Decoded d = decode(bmpFile(16384, 1, 8, 0, Bytes(16384, 3)));
    ASSERT_NE(nullptr, d.pixels) << "16384 pixels wide is within the bound";
    EXPECT_EQ(16384, d.width);
    EXPECT_EQ(3, d.pixels[16383]);
}

TEST(BmpCodec, TruncatedFileGivesZerosForMissingPixels)
{
    // 2 x 2 at 24 bits needs 12 bytes; only the first bottom-row pixel is there.
    const Decoded d = decode(bmpFile(2, 2, 24, 0, {1, 2, 3}));
    ASSERT_NE(nullptr, d.pixels) << "a short file still decodes";
    EXPECT_EQ(2, d.width);
    EXPECT_EQ(2, d.height);
    // Bottom row is buffer row 1: its first pixel is the one present.
    const unsigned char expected[12] = {0, 0, 0, 0, 0, 0, 3, 2, 1, 0, 0, 0};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(expected[i], d.pixels[i]) << "byte " << i;
}

} // namespace
} // namespace vlo
