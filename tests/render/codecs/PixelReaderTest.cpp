#include "render/codecs/PixelReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <vector>

namespace vlo {
namespace {

// A temporary stdio file holding the given bytes, positioned at its start.
class ByteFile {
public:
    explicit ByteFile(const std::vector<unsigned char>& bytes)
        : file(std::tmpfile())
    {
        if (file) {
            std::fwrite(bytes.data(), 1, bytes.size(), file);
            std::rewind(file);
        }
    }
    ~ByteFile()
    {
        if (file)
            std::fclose(file);
    }
    FILE* file;
};

TEST(PixelReader, PixelBytesPerDepth)
{
    EXPECT_EQ(1, pixelBytes(8));
    EXPECT_EQ(3, pixelBytes(24));
    EXPECT_EQ(4, pixelBytes(32));
    EXPECT_EQ(0, pixelBytes(16)) << "16-bit pixels are not read";
    EXPECT_EQ(0, pixelBytes(4));
    EXPECT_EQ(0, pixelBytes(0));
}

TEST(PixelReader, ReadPixelSwapsBlueAndRedAndKeepsAlpha)
{
    ByteFile in({7, 10, 20, 30, 10, 20, 30, 40, 99});
    ASSERT_NE(nullptr, in.file);
    unsigned char grey = 0;
    EXPECT_EQ(1, readPixel(in.file, 8, &grey));
    EXPECT_EQ(7, grey) << "an 8-bit pixel is stored unchanged";

    unsigned char rgb[3] = {};
    EXPECT_EQ(3, readPixel(in.file, 24, rgb));
    EXPECT_EQ(30, rgb[0]) << "red comes from the third byte";
    EXPECT_EQ(20, rgb[1]);
    EXPECT_EQ(10, rgb[2]) << "blue comes from the first byte";

    unsigned char rgba[4] = {};
    EXPECT_EQ(4, readPixel(in.file, 32, rgba));
    EXPECT_EQ(30, rgba[0]);
    EXPECT_EQ(20, rgba[1]);
    EXPECT_EQ(10, rgba[2]);
    EXPECT_EQ(40, rgba[3]) << "alpha stays last";
}

TEST(PixelReader, UnknownDepthReadsNothing)
{
    ByteFile in({1, 2, 3});
    ASSERT_NE(nullptr, in.file);
    unsigned char dest[4] = {0xAA, 0xAA, 0xAA, 0xAA};
    EXPECT_EQ(0, readPixel(in.file, 16, dest));
    EXPECT_EQ(0L, std::ftell(in.file)) << "no byte may be consumed for a 16-bit pixel";
    EXPECT_EQ(0xAA, dest[0]) << "the destination stays as it was";
}

TEST(PixelReader, ReadPixelsMatchesSingleReads)
{
    // 37 pixels: enough for whole vector blocks plus a tail at every depth.
    constexpr size_t kCount = 37;
    for (int bits : {8, 24, 32}) {
        const size_t size = kCount * static_cast<size_t>(pixelBytes(bits));
        std::vector<unsigned char> bytes(size);
        for (size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<unsigned char>(i * 7 + 1);
        ByteFile runFile(bytes);
        ByteFile singleFile(bytes);
        ASSERT_NE(nullptr, runFile.file);
        ASSERT_NE(nullptr, singleFile.file);
        std::vector<unsigned char> run(size);
        std::vector<unsigned char> single(size);
        EXPECT_TRUE(readPixels(runFile.file, bits, run.data(), kCount)) << bits << " bits";
        for (size_t i = 0; i < kCount; ++i)
            readPixel(singleFile.file, bits, single.data() + i * pixelBytes(bits));
        for (size_t i = 0; i < size; ++i)
            ASSERT_EQ(single[i], run[i]) << bits << " bits, byte " << i;
        if (bits == 32) {
            EXPECT_EQ(bytes[4 * 36 + 2], run[4 * 36]) << "last pixel's red";
            EXPECT_EQ(bytes[4 * 36 + 3], run[4 * 36 + 3]) << "last pixel's alpha";
        }
    }
}

TEST(PixelReader, ShortFileLeavesZerosNotStaleBytes)
{
    ByteFile in({10, 20, 30, 40, 50});
    ASSERT_NE(nullptr, in.file);
    unsigned char dest[8];
    std::fill(std::begin(dest), std::end(dest), 0xEE);
    EXPECT_FALSE(readPixels(in.file, 32, dest, 2)) << "the file ended inside the second pixel";
    // The lone byte 50 is the second pixel's blue, so it lands in third place.
    const unsigned char expected[8] = {30, 20, 10, 40, 0, 0, 50, 0};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(expected[i], dest[i]) << "byte " << i;

    unsigned char after[3] = {0xEE, 0xEE, 0xEE};
    EXPECT_EQ(3, readPixel(in.file, 24, after));
    EXPECT_EQ(0, after[0]);
    EXPECT_EQ(0, after[1]);
    EXPECT_EQ(0, after[2]) << "a pixel wholly past the end is zero";
}

TEST(PixelReader, LittleEndianFields)
{
    const unsigned char bytes[4] = {0x01, 0x80, 0xFF, 0xFF};
    EXPECT_EQ(0x8001u, readUint16LE(bytes));
    EXPECT_EQ(-32767, readInt16LE(bytes));
    EXPECT_EQ(0xFFFF8001u, readUint32LE(bytes));
    EXPECT_EQ(-32767, readInt32LE(bytes));
    const unsigned char positive[4] = {0x78, 0x56, 0x34, 0x12};
    EXPECT_EQ(0x12345678, readInt32LE(positive));
}

} // namespace
} // namespace vlo
