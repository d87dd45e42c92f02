#include "render/codecs/BmpCodec.h"

#include <gtest/gtest.h>

#include "render/codecs/DecodeResult.h"
#include "support/LargestAllocation.h"

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

TEST(BmpCodec, EightBitWithoutColourTableYieldsRawBytes)
{
    const Decoded d = decode(bmpFile(3, 1, 8, 0, {5, 6, 7}));
    ASSERT_NE(nullptr, d.pixels);
    EXPECT_EQ(8, d.bits);
    EXPECT_EQ(5, d.pixels[0]);
    EXPECT_EQ(6, d.pixels[1]);
    EXPECT_EQ(7, d.pixels[2]);
}

void expectBytes(const Decoded& d, const Bytes& expected, const char* what)
{
    ASSERT_NE(nullptr, d.pixels) << what << ": expected a picture";
    const size_t size = static_cast<size_t>(d.width) * static_cast<size_t>(d.height) * static_cast<size_t>(d.bits / 8);
    ASSERT_EQ(expected.size(), size) << what << ": " << d.width << " x " << d.height << " x " << d.bits;
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(expected[i], d.pixels[i]) << what << ": byte " << i;
}

// Two rows of three 24-bit pixels as a bitmap stores them: bottom row first,
// blue-green-red, each row padded with 0xEE bytes to 12 bytes.
const Bytes kPaddedRows
    = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0xEE, 0xEE, 0xEE, 10, 11, 12, 13, 14, 15, 16, 17, 18, 0xEE, 0xEE, 0xEE};
// The same picture, top row first, red-green-blue.
const Bytes kThreeByTwo = {12, 11, 10, 15, 14, 13, 18, 17, 16, 3, 2, 1, 6, 5, 4, 9, 8, 7};

TEST(BmpCodec, PaddedRowsSkipTheirPadding)
{
    const Decoded d = decode(bmpFile(3, 2, 24, 0, kPaddedRows));
    EXPECT_EQ(24, d.bits);
    expectBytes(d, kThreeByTwo, "3 x 2 with rows padded to 12 bytes");
}

TEST(BmpCodec, FileAsLongAsPackedRowsIsReadPacked)
{
    // Exactly 18 bytes of pixels: too short for padded rows, so the rows
    // follow one another unpadded, as such files always decoded.
    const Bytes packed = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    expectBytes(decode(bmpFile(3, 2, 24, 0, packed)), kThreeByTwo, "3 x 2 with packed rows");
    // Short of the 24 padded bytes by one: still packed, the rest ignored.
    Bytes almost = packed;
    almost.insert(almost.end(), {0xEE, 0xEE, 0xEE, 0xEE, 0xEE});
    expectBytes(decode(bmpFile(3, 2, 24, 0, almost)), kThreeByTwo, "23 pixel bytes");
}

TEST(BmpCodec, PixelsStartAtTheDataOffset)
{
    // A V5 header (124 bytes) puts the pixels at byte 138.
    fixtures::BmpLayout v5;
    v5.width = 3;
    v5.height = 2;
    v5.infoSize = 124;
    v5.pixels = kPaddedRows;
    const Bytes file = bmpFile(v5);
    ASSERT_EQ(138u + kPaddedRows.size(), file.size());
    expectBytes(decode(file), kThreeByTwo, "V5 header, pixels at 138");

    // A gap between the headers and the pixels is skipped.
    fixtures::BmpLayout gap = v5;
    gap.infoSize = 40;
    gap.dataOffset = 70;
    expectBytes(decode(bmpFile(gap)), kThreeByTwo, "pixels at 70 after a 16-byte gap");
}

TEST(BmpCodec, OffsetOutsideTheFileOrInsideTheHeadersIsIgnored)
{
    // The pixels follow the 54 header bytes; the offset field lies.
    for (uint32_t offset : {0u, 20u, 53u, 54u + 24u, 0xFFFFFFFFu}) {
        Bytes file = bmpFile(3, 2, 24, 0, kPaddedRows);
        file[10] = static_cast<uint8_t>(offset);
        file[11] = static_cast<uint8_t>(offset >> 8);
        file[12] = static_cast<uint8_t>(offset >> 16);
        file[13] = static_cast<uint8_t>(offset >> 24);
        const std::string what = "offset " + std::to_string(offset);
        expectBytes(decode(file), kThreeByTwo, what.c_str());
    }
    // Inside a V5 header: the pixels are taken right after the 54 bytes,
    // which here are the header's own zero fields.
    fixtures::BmpLayout v5;
    v5.width = 1;
    v5.height = 1;
    v5.bitCount = 32;
    v5.infoSize = 124;
    v5.dataOffset = 100;
    v5.pixels = {1, 2, 3, 4};
    expectBytes(decode(bmpFile(v5)), {0, 0, 0, 0}, "offset 100 inside a 124-byte header");
}

TEST(BmpCodec, EightBitColourTableGivesTwentyFourBits)
{
    // Entries blue, green, red, spare: red, green, blue, white.
    fixtures::BmpLayout layout;
    layout.width = 3;
    layout.height = 2;
    layout.bitCount = 8;
    layout.coloursUsed = 4;
    layout.colourTable = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0};
    // Rows of three indices padded to 4: bottom red, green, blue; top
    // white, red and index 7, which is past the table.
    layout.pixels = {0, 1, 2, 0xEE, 3, 0, 7, 0xEE};
    const Decoded d = decode(bmpFile(layout));
    EXPECT_EQ(3, d.width);
    EXPECT_EQ(2, d.height);
    EXPECT_EQ(24, d.bits);
    expectBytes(d, {255, 255, 255, 255, 0, 0, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255}, "8-bit with a table");
}

TEST(BmpCodec, ColourTableLengthComesFromTheOffsetWhenUnstated)
{
    // Colours used 0 means a full table, but only two entries fit before the
    // pixels: index 1 is the second, index 2 lies past them and is black.
    fixtures::BmpLayout layout;
    layout.width = 4;
    layout.height = 1;
    layout.bitCount = 8;
    layout.colourTable = {10, 20, 30, 0, 40, 50, 60, 0};
    layout.pixels = {1, 0, 2, 1};
    expectBytes(decode(bmpFile(layout)), {60, 50, 40, 30, 20, 10, 0, 0, 0, 60, 50, 40}, "two-entry table");
}

TEST(BmpCodec, TopDownRowsKeepTheirOrder)
{
    // Negative height: the first row in the file is the top one.
    const Decoded padded = decode(bmpFile(3, -2, 24, 0, kPaddedRows));
    EXPECT_EQ(2, padded.height);
    expectBytes(padded, {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10, 15, 14, 13, 18, 17, 16}, "top-down 24-bit");
    const Decoded packed = decode(bmpFile(1, -2, 32, 0, {255, 0, 0, 255, 0, 0, 255, 128}));
    EXPECT_EQ(2, packed.height);
    expectBytes(packed, {0, 0, 255, 255, 255, 0, 0, 128}, "top-down 32-bit: blue row, then red");
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
    } cases[] = {{0, 2}, {2, 0}, {-2, 2}, {16385, 1}, {1, 16385}, {1, -16385}, {1, INT32_MIN}, {0x7FFFFFFF, 0x7FFFFFFF},
        {INT32_MIN, 1}};
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

// A file cut short still decodes, but one holding less than one byte in 1032
// of the pixels it declares cannot be right: 60 bytes of pixels for 8192 x
// 4096 at 32 bits (128 MiB) are refused before anything is allocated for
// them, while 4 KB for 1024 x 1024 (4 MiB, one byte in 1024) still decode.
TEST(BmpCodec, FilesFarTooShortForTheirPixelsAreRefusedBeforeAllocating)
{
    test::LargestAllocation probe;
    if (test::LargestAllocation::available())
        probe.start();
    const Decoded refused = decode(bmpFile(8192, 4096, 32, 0, Bytes(60, 7)));
    probe.stop();
    EXPECT_EQ(nullptr, refused.pixels) << "8192 x 4096 from 60 bytes";
    EXPECT_TRUE(refused.untouched());
    if (test::LargestAllocation::available())
        EXPECT_LT(probe.largest(), size_t(1) << 20) << "largest allocation while refusing";

    const Decoded cut = decode(bmpFile(1024, 1024, 32, 0, Bytes(4096, 7)));
    ASSERT_NE(nullptr, cut.pixels) << "1024 x 1024 from 4 KB is only cut short";
    EXPECT_EQ(1024, cut.width);
}

} // namespace
} // namespace vlo
