#include "render/codecs/ImageLimits.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>

namespace vlo {
namespace {

TEST(ImageLimits, SizesWithinBothLimitsAreAccepted)
{
    EXPECT_TRUE(imageSizeAccepted(1, 1));
    EXPECT_TRUE(imageSizeAccepted(700, 600));
    EXPECT_TRUE(imageSizeAccepted(8192, 4096)) << "exactly 32 megapixels";
    EXPECT_TRUE(imageSizeAccepted(16384, 2048)) << "the longest side at the pixel budget";
    EXPECT_TRUE(imageSizeAccepted(1, 16384));
}

TEST(ImageLimits, SizesPastEitherLimitAreRefused)
{
    EXPECT_FALSE(imageSizeAccepted(8192, 4097)) << "one row past 32 megapixels";
    EXPECT_FALSE(imageSizeAccepted(16384, 2049));
    EXPECT_FALSE(imageSizeAccepted(16384, 16384));
    EXPECT_FALSE(imageSizeAccepted(16385, 1)) << "a side past 16384, whatever the pixel count";
    EXPECT_FALSE(imageSizeAccepted(1, 16385));
    EXPECT_FALSE(imageSizeAccepted(0, 10));
    EXPECT_FALSE(imageSizeAccepted(10, 0));
    EXPECT_FALSE(imageSizeAccepted(-1, 10));
    EXPECT_FALSE(imageSizeAccepted(10, -5));
    EXPECT_FALSE(imageSizeAccepted(int64_t(1) << 40, int64_t(1) << 40)) << "no overflow of the product";
}

TEST(ImageLimits, BytesLeftCountFromThePositionAndKeepIt)
{
    FILE* file = std::tmpfile();
    ASSERT_NE(nullptr, file);
    const char bytes[100] = {};
    ASSERT_EQ(100u, std::fwrite(bytes, 1, sizeof bytes, file));
    ASSERT_EQ(0, std::fseek(file, 30, SEEK_SET));
    EXPECT_EQ(70, bytesLeftInFile(file));
    EXPECT_EQ(30, std::ftell(file)) << "the position stays where it was";
    std::rewind(file);
    EXPECT_EQ(100, bytesLeftInFile(file));
    std::fclose(file);
}

TEST(ImageLimits, AStreamThatCannotSeekCannotTell)
{
    int ends[2];
    ASSERT_EQ(0, pipe(ends));
    FILE* reader = fdopen(ends[0], "rb");
    ASSERT_NE(nullptr, reader);
    EXPECT_EQ(-1, bytesLeftInFile(reader));
    std::fclose(reader);
    close(ends[1]);
}

} // namespace
} // namespace vlo
