// The texture record: validity and the setters that ignore 0.

#include <gtest/gtest.h>

#include "render/TextureInfo.h"

namespace vlo {
namespace {

TEST(TextureInfoTest, ANewRecordIsAllZeroAndInvalid)
{
    TextureInfo info;
    EXPECT_EQ(info.width, 0);
    EXPECT_EQ(info.sourceWidth, 0);
    EXPECT_EQ(info.height, 0);
    EXPECT_EQ(info.sourceHeight, 0);
    EXPECT_EQ(info.bits, 0);
    EXPECT_EQ(info.invalid, 1);
}

TEST(TextureInfoTest, ValidNeedsPositiveSizeAndAtLeastEightBits)
{
    struct Case {
        int width;
        int height;
        int bits;
        int invalid;
    };
    for (const Case& c : {Case{1, 1, 8, 0}, Case{128, 64, 32, 0}, Case{0, 1, 8, 1}, Case{1, 0, 8, 1}, Case{1, 1, 7, 1},
             Case{-4, 4, 24, 1}, Case{4, -4, 24, 1}}) {
        TextureInfo info;
        info.width = c.width;
        info.height = c.height;
        info.bits = c.bits;
        info.validate();
        EXPECT_EQ(info.invalid, c.invalid) << c.width << " x " << c.height << " at " << c.bits << " bits";
    }
}

TEST(TextureInfoTest, SettersIgnoreZeroAndRevalidate)
{
    TextureInfo info;
    info.setWidth(100);
    info.setHeight(50);
    EXPECT_EQ(info.invalid, 1) << "no depth yet";
    info.setBits(24);
    EXPECT_EQ(info.invalid, 0);
    EXPECT_EQ(info.width, 100);
    EXPECT_EQ(info.height, 50);
    EXPECT_EQ(info.bits, 24);

    info.setWidth(0);
    info.setHeight(0);
    info.setBits(0);
    EXPECT_EQ(info.width, 100) << "0 keeps the width";
    EXPECT_EQ(info.height, 50) << "0 keeps the height";
    EXPECT_EQ(info.bits, 24) << "0 keeps the depth";
    EXPECT_EQ(info.invalid, 0);

    info.setBits(4);
    EXPECT_EQ(info.invalid, 1) << "below 8 bits";
}

} // namespace
} // namespace vlo
