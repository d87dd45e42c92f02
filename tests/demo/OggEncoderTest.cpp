#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <utility>

#include "AudioEncoders.h"
#include "DemoTestSupport.h"

#ifdef VLO_HAVE_VORBISFILE
#include <vorbis/vorbisfile.h>
#endif

namespace vlo::demo {
namespace {

StereoBuffer tone(double seconds, double leftHz, double rightHz)
{
    StereoBuffer b(static_cast<size_t>(seconds * kSampleRate));
    for (size_t i = 0; i < b.frames(); ++i) {
        double t = static_cast<double>(i) / kSampleRate;
        b.left[i] = static_cast<float>(0.5 * std::sin(6.283185307 * leftHz * t));
        b.right[i] = static_cast<float>(0.25 * std::sin(6.283185307 * rightHz * t));
    }
    return b;
}

TEST(OggEncoderTest, WritesOggPagesWithTheGivenSerial)
{
    std::vector<uint8_t> out;
    std::string error;
    ASSERT_TRUE(encodeOgg(tone(0.5, 440, 660), 0.3f, 0x1234, {"T", "A", "B", 2}, out, error)) << error;
    ASSERT_GT(out.size(), 100u);
    EXPECT_EQ(std::string(out.begin(), out.begin() + 4), "OggS");
    EXPECT_EQ(out[5] & 0x02, 0x02) << "first page starts the stream";
    EXPECT_EQ(test::le32(out, 14), 0x1234u) << "stream serial number";
}

TEST(OggEncoderTest, SameAudioSameBytes)
{
    std::vector<uint8_t> a, b;
    std::string error;
    StereoBuffer audio = tone(0.7, 300, 500);
    ASSERT_TRUE(encodeOgg(audio, 0.4f, 7, {}, a, error)) << error;
    ASSERT_TRUE(encodeOgg(audio, 0.4f, 7, {}, b, error)) << error;
    EXPECT_EQ(a, b);
}

TEST(OggEncoderTest, RefusesBadQualityAndChannels)
{
    std::vector<uint8_t> out;
    std::string error;
    EXPECT_FALSE(encodeOgg(tone(0.1, 1, 1), 1.5f, 1, {}, out, error));
    StereoBuffer odd = tone(0.1, 1, 1);
    odd.left.pop_back();
    EXPECT_FALSE(encodeOgg(odd, 0.4f, 1, {}, out, error));
}

#ifdef VLO_HAVE_VORBISFILE
size_t readAt(void* ptr, size_t size, size_t count, void* source)
{
    auto* s = static_cast<std::pair<const std::vector<uint8_t>*, size_t>*>(source);
    size_t wanted = size * count;
    size_t left = s->first->size() - s->second;
    size_t n = wanted < left ? wanted : left;
    std::memcpy(ptr, s->first->data() + s->second, n);
    s->second += n;
    return size ? n / size : 0;
}

TEST(OggEncoderTest, DecodesBackToTheSameLengthChannelsAndLevels)
{
    StereoBuffer audio = tone(1.0, 440, 880);
    std::vector<uint8_t> file;
    std::string error;
    ASSERT_TRUE(encodeOgg(audio, 0.4f, 3, {"Kindling", "Vellumo demo", "Emberfall II", 1}, file, error)) << error;

    std::pair<const std::vector<uint8_t>*, size_t> source{&file, 0};
    ov_callbacks callbacks{readAt, nullptr, nullptr, nullptr};
    OggVorbis_File vf;
    ASSERT_EQ(ov_open_callbacks(&source, &vf, nullptr, 0, callbacks), 0);
    vorbis_info* info = ov_info(&vf, -1);
    EXPECT_EQ(info->channels, 2);
    EXPECT_EQ(info->rate, 44100);
    vorbis_comment* comment = ov_comment(&vf, -1);
    ASSERT_NE(vorbis_comment_query(comment, "TITLE", 0), nullptr);
    EXPECT_STREQ(vorbis_comment_query(comment, "TITLE", 0), "Kindling");
    EXPECT_STREQ(vorbis_comment_query(comment, "TRACKNUMBER", 0), "1");

    double sumL = 0.0, sumR = 0.0;
    long frames = 0;
    for (;;) {
        float** pcm = nullptr;
        int section = 0;
        long n = ov_read_float(&vf, &pcm, 1024, &section);
        if (n <= 0) {
            break;
        }
        for (long i = 0; i < n; ++i) {
            sumL += pcm[0][i] * pcm[0][i];
            sumR += pcm[1][i] * pcm[1][i];
        }
        frames += n;
    }
    ov_clear(&vf);
    EXPECT_EQ(frames, static_cast<long>(audio.frames())) << "every sample comes back";
    // RMS of a sine of amplitude A is A / sqrt(2).
    EXPECT_NEAR(std::sqrt(sumL / frames), 0.5 / std::sqrt(2.0), 0.02);
    EXPECT_NEAR(std::sqrt(sumR / frames), 0.25 / std::sqrt(2.0), 0.02);
}
#endif

} // namespace
} // namespace vlo::demo
