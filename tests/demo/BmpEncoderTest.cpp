#include <gtest/gtest.h>

#include "DemoTestSupport.h"
#include "ImageEncoders.h"

namespace vlo::demo {
namespace {

using test::le16;
using test::le32;

// Two rows: red, green on top; blue, white below.
PixelImage twoByTwo(int channels)
{
    PixelImage p{2, 2, channels, {}};
    const uint8_t colours[4][4] = {{255, 0, 0, 10}, {0, 255, 0, 20}, {0, 0, 255, 30}, {255, 255, 255, 40}};
    for (const auto& c : colours) {
        p.bytes.insert(p.bytes.end(), c, c + channels);
    }
    return p;
}

TEST(BmpEncoderTest, HeadersDescribeAnUncompressedBottomUpBitmap)
{
    std::vector<uint8_t> out;
    std::string error;
    ASSERT_TRUE(encodeBmp(twoByTwo(4), out, error)) << error;
    ASSERT_EQ(out.size(), 54u + 16u);
    EXPECT_EQ(out[0], 'B');
    EXPECT_EQ(out[1], 'M');
    EXPECT_EQ(le32(out, 2), out.size()) << "file size field";
    EXPECT_EQ(le32(out, 10), 54u) << "pixel data offset";
    EXPECT_EQ(le32(out, 14), 40u) << "info header size";
    EXPECT_EQ(le32(out, 18), 2u) << "width";
    EXPECT_EQ(le32(out, 22), 2u) << "height, positive: bottom row first";
    EXPECT_EQ(le16(out, 26), 1u) << "planes";
    EXPECT_EQ(le16(out, 28), 32u) << "bits per pixel";
    EXPECT_EQ(le32(out, 30), 0u) << "compression";
}

TEST(BmpEncoderTest, RowsAreStoredBottomFirstInBlueGreenRedOrder)
{
    std::vector<uint8_t> out;
    std::string error;
    ASSERT_TRUE(encodeBmp(twoByTwo(4), out, error)) << error;
    // First stored row is the picture's bottom row: blue, then white.
    const std::vector<uint8_t> expected = {255, 0, 0, 30, 255, 255, 255, 40, // blue, white
        0, 0, 255, 10, 0, 255, 0, 20};                                       // red, green
    EXPECT_EQ(std::vector<uint8_t>(out.begin() + 54, out.end()), expected);
}

TEST(BmpEncoderTest, TwentyFourBitRowsArePaddedToFourBytes)
{
    PixelImage one{1, 2, 3, {1, 2, 3, 4, 5, 6}};
    std::vector<uint8_t> out;
    std::string error;
    ASSERT_TRUE(encodeBmp(one, out, error)) << error;
    ASSERT_EQ(out.size(), 54u + 8u) << "two rows of 3 bytes, each padded to 4";
    EXPECT_EQ(le16(out, 28), 24u);
    const std::vector<uint8_t> expected = {6, 5, 4, 0, 3, 2, 1, 0};
    EXPECT_EQ(std::vector<uint8_t>(out.begin() + 54, out.end()), expected);

    // A width whose rows need no padding gives exactly width x 3 bytes a row.
    PixelImage four{4, 1, 3, std::vector<uint8_t>(12, 7)};
    ASSERT_TRUE(encodeBmp(four, out, error)) << error;
    EXPECT_EQ(out.size(), 54u + 12u);
}

TEST(BmpEncoderTest, RefusesPicturesItCannotDescribe)
{
    std::vector<uint8_t> out;
    std::string error;
    EXPECT_FALSE(encodeBmp(PixelImage{0, 5, 3, {}}, out, error));
    EXPECT_NE(error.find("0 x 5"), std::string::npos) << "the message names the size: " << error;
    EXPECT_FALSE(encodeBmp(PixelImage{2, 2, 3, std::vector<uint8_t>(11)}, out, error)) << "short data";
    EXPECT_NE(error.find("expected 12"), std::string::npos) << error;
    EXPECT_FALSE(encodeBmp(PixelImage{2, 2, 2, std::vector<uint8_t>(8)}, out, error)) << "two channels";
    EXPECT_FALSE(encodeBmp(PixelImage{20000, 1, 3, std::vector<uint8_t>(60000)}, out, error)) << "too wide";
}

} // namespace
} // namespace vlo::demo
