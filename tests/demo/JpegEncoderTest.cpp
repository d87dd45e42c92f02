#include <gtest/gtest.h>

#include <cstdlib>

#include "DemoTestSupport.h"
#include "ImageEncoders.h"

namespace vlo::demo {
namespace {

PixelImage flat(int w, int h, uint8_t r, uint8_t g, uint8_t b)
{
    PixelImage p{w, h, 3, {}};
    for (int i = 0; i < w * h; ++i) {
        p.bytes.insert(p.bytes.end(), {r, g, b});
    }
    return p;
}

TEST(JpegEncoderTest, DecodesToTheSameSizeAndNearlyTheSameColour)
{
    PixelImage in = flat(40, 24, 200, 120, 40);
    std::vector<uint8_t> file;
    std::string error;
    ASSERT_TRUE(encodeJpeg(in, 90, file, error)) << error;
    ASSERT_GE(file.size(), 4u);
    EXPECT_EQ(file[0], 0xFF);
    EXPECT_EQ(file[1], 0xD8) << "start-of-image marker";
    PixelImage back;
    ASSERT_TRUE(test::decodeJpegRgb(file, back));
    EXPECT_EQ(back.width, 40);
    EXPECT_EQ(back.height, 24);
    for (size_t i = 0; i < back.bytes.size(); ++i) {
        ASSERT_LE(std::abs(back.bytes[i] - in.bytes[i]), 4)
            << "component " << i << ": expected about " << int(in.bytes[i]) << ", got " << int(back.bytes[i]);
    }
}

TEST(JpegEncoderTest, TopRowStaysOnTop)
{
    // Upper half white, lower half black.
    PixelImage in{16, 16, 3, {}};
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16 * 3; ++x) {
            in.bytes.push_back(y < 8 ? 255 : 0);
        }
    }
    std::vector<uint8_t> file;
    std::string error;
    ASSERT_TRUE(encodeJpeg(in, 95, file, error)) << error;
    PixelImage back;
    ASSERT_TRUE(test::decodeJpegRgb(file, back));
    EXPECT_GT(back.bytes[0], 230) << "top-left pixel should be white";
    EXPECT_LT(back.bytes[back.bytes.size() - 1], 25) << "bottom-right pixel should be black";
}

TEST(JpegEncoderTest, RefusesAlphaAndBadQuality)
{
    std::vector<uint8_t> out;
    std::string error;
    EXPECT_FALSE(encodeJpeg(PixelImage{2, 2, 4, std::vector<uint8_t>(16)}, 90, out, error));
    EXPECT_FALSE(encodeJpeg(flat(2, 2, 1, 2, 3), 0, out, error));
    EXPECT_NE(error.find("quality 0"), std::string::npos) << error;
    EXPECT_FALSE(encodeJpeg(flat(2, 2, 1, 2, 3), 101, out, error));
}

TEST(JpegEncoderTest, SameInputSameBytes)
{
    std::vector<uint8_t> a, b;
    std::string error;
    ASSERT_TRUE(encodeJpeg(flat(33, 17, 9, 99, 199), 80, a, error));
    ASSERT_TRUE(encodeJpeg(flat(33, 17, 9, 99, 199), 80, b, error));
    EXPECT_EQ(a, b);
}

} // namespace
} // namespace vlo::demo
