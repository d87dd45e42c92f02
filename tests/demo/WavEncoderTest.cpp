#include <gtest/gtest.h>

#include "AudioEncoders.h"
#include "DemoTestSupport.h"

namespace vlo::demo {
namespace {

using test::le16;
using test::le32;

TEST(WavEncoderTest, HeaderDescribesStereoSixteenBitPcm)
{
    StereoBuffer audio(3);
    std::vector<uint8_t> out;
    std::string error;
    ASSERT_TRUE(encodeWav(audio, out, error)) << error;
    ASSERT_EQ(out.size(), 44u + 12u);
    EXPECT_EQ(std::string(out.begin(), out.begin() + 4), "RIFF");
    EXPECT_EQ(le32(out, 4), out.size() - 8) << "RIFF size";
    EXPECT_EQ(std::string(out.begin() + 8, out.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(le32(out, 16), 16u);
    EXPECT_EQ(le16(out, 20), 1u) << "PCM";
    EXPECT_EQ(le16(out, 22), 2u) << "channels";
    EXPECT_EQ(le32(out, 24), 44100u) << "sample rate";
    EXPECT_EQ(le32(out, 28), 44100u * 4u) << "byte rate";
    EXPECT_EQ(le16(out, 32), 4u) << "block align";
    EXPECT_EQ(le16(out, 34), 16u) << "bits";
    EXPECT_EQ(std::string(out.begin() + 36, out.begin() + 40), "data");
    EXPECT_EQ(le32(out, 40), 12u) << "data size";
}

TEST(WavEncoderTest, SamplesAreInterleavedScaledAndClipped)
{
    StereoBuffer audio(2);
    audio.left = {0.5f, 2.0f};
    audio.right = {-0.5f, -3.0f};
    std::vector<uint8_t> out;
    std::string error;
    ASSERT_TRUE(encodeWav(audio, out, error)) << error;
    auto sample = [&](int i) { return static_cast<int16_t>(le16(out, 44 + 2 * i)); };
    EXPECT_EQ(sample(0), 16384) << "left 0.5";
    EXPECT_EQ(sample(1), -16384) << "right -0.5";
    EXPECT_EQ(sample(2), 32767) << "left 2.0 clipped";
    EXPECT_EQ(sample(3), -32767) << "right -3.0 clipped";
}

TEST(WavEncoderTest, RefusesChannelsOfDifferentLength)
{
    StereoBuffer audio(4);
    audio.right.pop_back();
    std::vector<uint8_t> out;
    std::string error;
    EXPECT_FALSE(encodeWav(audio, out, error));
    EXPECT_FALSE(error.empty());
}

} // namespace
} // namespace vlo::demo
