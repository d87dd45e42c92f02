// The pixel-buffer record and its conversions: colour key, power-of-two
// enlargement, vertical flip and depth expansion.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include "render/Image.h"

namespace vlo {
namespace {

// An image that owns a copy of the given bytes.
void fill(Image& image, const std::vector<uint8_t>& bytes)
{
    image.pixels = new uint8_t[bytes.size()];
    std::copy(bytes.begin(), bytes.end(), image.pixels);
    image.ownsPixels = true;
}

std::vector<uint8_t> bytesOf(const Image& image)
{
    return std::vector<uint8_t>(image.pixels, image.pixels + image.byteSize);
}

TEST(ImageTest, ConstructionFromASizeFillsTheRecord)
{
    Image image(100, 50, 24, false);
    EXPECT_EQ(image.width, 100);
    EXPECT_EQ(image.sourceWidth, 100);
    EXPECT_EQ(image.height, 50);
    EXPECT_EQ(image.sourceHeight, 50);
    EXPECT_EQ(image.bits, 24);
    EXPECT_EQ(image.invalid, 0);
    EXPECT_EQ(image.byteSize, 100 * 50 * 3);
    EXPECT_EQ(image.pixels, nullptr) << "the caller sets the pixels";

    Image empty(100, 0, 24, true);
    EXPECT_EQ(empty.invalid, 1) << "a zero dimension leaves the record empty";
    EXPECT_EQ(empty.width, 0);
    EXPECT_EQ(empty.byteSize, 0);
    EXPECT_TRUE(empty.ownsPixels);
}

TEST(ImageTest, ByteSizesThatDoNotFitAnIntBecomeZero)
{
    Image huge(65536, 65536, 32, false);
    EXPECT_EQ(huge.byteSize, 0) << "65536 x 65536 x 4 bytes would wrap";
    Image negative(-10, 10, 24, false);
    EXPECT_EQ(negative.byteSize, 0);
    EXPECT_EQ(negative.invalid, 1);
    Image largest(16384, 16384, 32, false);
    EXPECT_EQ(largest.byteSize, 16384 * 16384 * 4) << "1 GiB still fits";
}

TEST(ImageTest, RoundUpPowerOfTwoStartsAtSixteenAndStopsAt2048)
{
    struct Case {
        int value;
        int expected;
    };
    for (const Case& c : {Case{-5, 16}, Case{0, 16}, Case{1, 16}, Case{15, 16}, Case{16, 16}, Case{17, 32},
             Case{100, 128}, Case{128, 128}, Case{129, 256}, Case{1025, 2048}, Case{2048, 2048}, Case{2049, 2049},
             Case{INT_MAX, INT_MAX}}) {
        EXPECT_EQ(Image::roundUpPowerOfTwo(c.value), c.expected) << "value " << c.value;
    }
}

TEST(ImageTest, ColourKeyGives24BitPicturesAnAlphaChannel)
{
    Image image(3, 1, 24, true);
    fill(image, {255, 255, 255, 255, 255, 254, 0, 0, 0});
    image.applyColorKey();
    EXPECT_EQ(image.bits, 32);
    EXPECT_EQ(image.byteSize, 12);
    EXPECT_EQ(image.invalid, 0);
    EXPECT_EQ(bytesOf(image), (std::vector<uint8_t>{255, 255, 255, 0, 255, 255, 254, 255, 0, 0, 0, 255}));
}

TEST(ImageTest, ColourKeyLeavesOtherDepthsAndEmptyImagesAlone)
{
    Image rgba(1, 1, 32, true);
    fill(rgba, {255, 255, 255, 9});
    rgba.applyColorKey();
    EXPECT_EQ(rgba.bits, 32);
    EXPECT_EQ(bytesOf(rgba), (std::vector<uint8_t>{255, 255, 255, 9})) << "a 32-bit picture keeps its alpha";

    Image grey(2, 1, 8, true);
    fill(grey, {255, 3});
    grey.applyColorKey();
    EXPECT_EQ(grey.bits, 8);
    EXPECT_EQ(bytesOf(grey), (std::vector<uint8_t>{255, 3}));

    Image empty;
    empty.applyColorKey();
    EXPECT_EQ(empty.pixels, nullptr);
    EXPECT_EQ(empty.bits, 0);
}

TEST(ImageTest, PaddingPutsThePictureTopLeftAndZerosTheRest)
{
    Image image(3, 2, 8, true);
    fill(image, {1, 2, 3, 4, 5, 6});
    image.padToPowerOfTwo();
    EXPECT_EQ(image.width, 16);
    EXPECT_EQ(image.height, 16);
    EXPECT_EQ(image.sourceWidth, 3);
    EXPECT_EQ(image.sourceHeight, 2);
    ASSERT_EQ(image.byteSize, 256);
    std::vector<uint8_t> expected(256, 0);
    expected[0] = 1;
    expected[1] = 2;
    expected[2] = 3;
    expected[16] = 4;
    expected[17] = 5;
    expected[18] = 6;
    EXPECT_EQ(bytesOf(image), expected);
}

TEST(ImageTest, PaddingMakesANewBufferEvenAtPowerOfTwoSizes)
{
    Image image(16, 16, 8, false);
    std::vector<uint8_t> original(256, 7);
    image.pixels = original.data();
    image.padToPowerOfTwo();
    EXPECT_NE(image.pixels, original.data()) << "a new buffer";
    EXPECT_TRUE(image.ownsPixels) << "which the image owns; the caller's stays the caller's";
    EXPECT_EQ(bytesOf(image), original);
}

TEST(ImageTest, PaddingRefusesABufferWhoseSizeWouldWrap)
{
    // 1 x 200,000,000 at 8 bits fits, but widening it to 16 columns needs
    // 3.2 GB: the image turns invalid instead of allocating a wrapped size.
    uint8_t oneByte = 42;
    Image image(1, 200000000, 8, false);
    image.pixels = &oneByte;
    image.padToPowerOfTwo();
    EXPECT_EQ(image.invalid, 1);
    EXPECT_EQ(image.pixels, &oneByte) << "nothing was replaced";
    EXPECT_EQ(image.width, 1);
}

TEST(ImageTest, FlipVerticalReversesTheRows)
{
    Image image(2, 3, 24, true);
    fill(image, {1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6, 6});
    image.flipVertical();
    EXPECT_EQ(bytesOf(image), (std::vector<uint8_t>{5, 5, 5, 6, 6, 6, 3, 3, 3, 4, 4, 4, 1, 1, 1, 2, 2, 2}));
}

TEST(ImageTest, GreyAlphaExpandsToRgba)
{
    Image image(2, 1, 16, true);
    fill(image, {100, 255, 180, 0});
    EXPECT_TRUE(image.expandToSupportedDepth());
    EXPECT_EQ(image.bits, 32);
    EXPECT_EQ(image.byteSize, 8);
    EXPECT_EQ(bytesOf(image), (std::vector<uint8_t>{100, 100, 100, 255, 180, 180, 180, 0}));

    Image rgb(1, 1, 24, true);
    fill(rgb, {1, 2, 3});
    EXPECT_TRUE(rgb.expandToSupportedDepth()) << "24 bits needs nothing";
    EXPECT_EQ(rgb.bits, 24);

    Image odd(1, 1, 48, true);
    fill(odd, {1, 2, 3, 4, 5, 6});
    EXPECT_FALSE(odd.expandToSupportedDepth()) << "no format for 48 bits";
    EXPECT_EQ(odd.bits, 48);
}

TEST(ImageTest, ReleasePixelsHandsTheBufferOver)
{
    Image image(1, 1, 8, true);
    fill(image, {9});
    uint8_t* taken = image.releasePixels();
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(taken[0], 9);
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_FALSE(image.ownsPixels);
    delete[] taken;
}

} // namespace
} // namespace vlo
