#include <gtest/gtest.h>

#include "DemoTestSupport.h"
#include "ImageEncoders.h"

namespace vlo::demo {
namespace {

using test::le16;

TEST(TgaEncoderTest, HeaderIsUncompressedTrueColourWithTopLeftOrigin)
{
    PixelImage p{3, 2, 3, std::vector<uint8_t>(18, 9)};
    std::vector<uint8_t> out;
    std::string error;
    ASSERT_TRUE(encodeTga(p, out, error)) << error;
    ASSERT_EQ(out.size(), 18u + 18u);
    EXPECT_EQ(out[0], 0) << "no image identification field";
    EXPECT_EQ(out[1], 0) << "no colour map";
    EXPECT_EQ(out[2], 2) << "image type 2";
    EXPECT_EQ(le16(out, 12), 3u) << "width";
    EXPECT_EQ(le16(out, 14), 2u) << "height";
    EXPECT_EQ(out[16], 24) << "depth";
    EXPECT_EQ(out[17], 0x20) << "top-left origin, no alpha bits";
}

TEST(TgaEncoderTest, PixelsGoTopRowFirstAsBlueGreenRedAlpha)
{
    // Top row: red; bottom row: a translucent blue.
    PixelImage p{1, 2, 4, {255, 0, 0, 255, 0, 0, 255, 128}};
    std::vector<uint8_t> out;
    std::string error;
    ASSERT_TRUE(encodeTga(p, out, error)) << error;
    EXPECT_EQ(out[16], 32);
    EXPECT_EQ(out[17], 0x28) << "top-left origin and 8 alpha bits";
    const std::vector<uint8_t> expected = {0, 0, 255, 255, 255, 0, 0, 128};
    EXPECT_EQ(std::vector<uint8_t>(out.begin() + 18, out.end()), expected);
}

TEST(TgaEncoderTest, RefusesSizesThatReadAsNegative)
{
    std::vector<uint8_t> out;
    std::string error;
    PixelImage wide{32768, 1, 3, std::vector<uint8_t>(32768 * 3)};
    EXPECT_FALSE(encodeTga(wide, out, error)) << "32768 wide reads as -32768 in a signed 16-bit field";
    PixelImage edge{32767, 1, 3, std::vector<uint8_t>(32767 * 3)};
    EXPECT_TRUE(encodeTga(edge, out, error)) << error;
}

} // namespace
} // namespace vlo::demo
