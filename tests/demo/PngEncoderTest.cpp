#include <gtest/gtest.h>

#include "DemoTestSupport.h"
#include "ImageEncoders.h"

namespace vlo::demo {
namespace {

PixelImage gradient(int w, int h, int channels)
{
    PixelImage p{w, h, channels, {}};
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            p.bytes.push_back(static_cast<uint8_t>(x * 7));
            p.bytes.push_back(static_cast<uint8_t>(y * 11));
            p.bytes.push_back(static_cast<uint8_t>((x + y) * 3));
            if (channels == 4) {
                p.bytes.push_back(static_cast<uint8_t>(255 - x));
            }
        }
    }
    return p;
}

TEST(PngEncoderTest, RgbaRoundTripsExactly)
{
    PixelImage in = gradient(17, 9, 4);
    std::vector<uint8_t> file;
    std::string error;
    ASSERT_TRUE(encodePng(in, file, error)) << error;
    EXPECT_EQ(test::pngChannels(file), 4);
    PixelImage back;
    ASSERT_TRUE(test::decodePngRgba(file, back));
    EXPECT_EQ(back.width, 17);
    EXPECT_EQ(back.height, 9);
    EXPECT_EQ(back.bytes, in.bytes) << "lossless format, 8-bit rows unchanged";
}

TEST(PngEncoderTest, RgbHasNoAlphaChannel)
{
    PixelImage in = gradient(5, 4, 3);
    std::vector<uint8_t> file;
    std::string error;
    ASSERT_TRUE(encodePng(in, file, error)) << error;
    EXPECT_EQ(test::pngChannels(file), 3) << "an opaque picture is stored as RGB";
    PixelImage back;
    ASSERT_TRUE(test::decodePngRgba(file, back));
    for (size_t i = 0, j = 0; i < in.bytes.size(); i += 3, j += 4) {
        ASSERT_EQ(back.bytes[j], in.bytes[i]);
        ASSERT_EQ(back.bytes[j + 1], in.bytes[i + 1]);
        ASSERT_EQ(back.bytes[j + 2], in.bytes[i + 2]);
        ASSERT_EQ(back.bytes[j + 3], 255);
    }
}

TEST(PngEncoderTest, SameInputSameBytes)
{
    std::vector<uint8_t> a, b;
    std::string error;
    ASSERT_TRUE(encodePng(gradient(30, 20, 4), a, error));
    ASSERT_TRUE(encodePng(gradient(30, 20, 4), b, error));
    EXPECT_EQ(a, b);
}

TEST(PngEncoderTest, RefusesBadInput)
{
    std::vector<uint8_t> out;
    std::string error;
    EXPECT_FALSE(encodePng(PixelImage{4, 4, 4, std::vector<uint8_t>(63)}, out, error));
    EXPECT_FALSE(encodePng(PixelImage{4, 0, 3, {}}, out, error));
    EXPECT_FALSE(encodePng(PixelImage{1, 1, 1, {0}}, out, error)) << "grey is not offered";
}

} // namespace
} // namespace vlo::demo
