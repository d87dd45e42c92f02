// The SDL2_mixer audio back end, heard through SDL's disk audio driver: the
// mixed output (16-bit stereo at 44100 Hz) goes into a file, which the tests
// read back and measure in 10 ms windows. The driver writes at about the
// speed of real time, so these tests wait on the output with short polls,
// each bounded; the bounds are generous.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <vector>

#include "platform/AudioLibrary.h"
#include "support/ScratchDir.h"
#include "support/ToneFiles.h"

namespace vlo {
namespace {

using test::Tone;
using Clock = std::chrono::steady_clock;

constexpr int kRate = 44100;
constexpr size_t kBytesPerSecond = kRate * 4;
constexpr size_t kWindowFrames = kRate / 100; // 10 ms
constexpr double kSoundLevel = 300.0;         // RMS above this is sound
constexpr double kSineRms = 32767.0 / 1.4142135623730951;

// One run of consecutive sound windows.
struct Segment {
    size_t first = 0;
    size_t last = 0; // inclusive
    size_t length() const { return last - first + 1; }
};

// RMS of the left channel in each 10 ms window.
std::vector<double> windowLevels(const std::vector<int16_t>& stereo)
{
    std::vector<double> levels;
    const size_t frames = stereo.size() / 2;
    for (size_t start = 0; start + kWindowFrames <= frames; start += kWindowFrames) {
        double sum = 0.0;
        for (size_t i = start; i < start + kWindowFrames; ++i)
            sum += double(stereo[2 * i]) * stereo[2 * i];
        levels.push_back(std::sqrt(sum / kWindowFrames));
    }
    return levels;
}

std::vector<Segment> soundSegments(const std::vector<double>& levels)
{
    std::vector<Segment> segments;
    for (size_t i = 0; i < levels.size(); ++i) {
        if (levels[i] <= kSoundLevel)
            continue;
        if (!segments.empty() && segments.back().last + 1 == i)
            segments.back().last = i;
        else
            segments.push_back(Segment{i, i});
    }
    return segments;
}

// Mean level of windows [from, to), skipping none.
double meanLevel(const std::vector<double>& levels, size_t from, size_t to)
{
    double sum = 0.0;
    for (size_t i = from; i < to; ++i)
        sum += levels[i];
    return to > from ? sum / double(to - from) : 0.0;
}

std::string describe(const std::vector<Segment>& segments)
{
    std::string text;
    for (const Segment& s : segments)
        text += "[" + std::to_string(s.first) + ".." + std::to_string(s.last) + "] ";
    return text.empty() ? "none" : text;
}

class SdlMixerAudioTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setAudioBackend(nullptr);
        output = folder.path("output.raw");
    }

    void TearDown() override { BASS_Free(); }

    // Opens the default device on the disk driver, writing into `output`.
    bool openDiskDevice()
    {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
        return BASS_Init(-1, kRate, 0, nullptr, nullptr) != FALSE;
    }

    size_t outputBytes() const
    {
        struct stat info {};
        return stat(output.c_str(), &info) == 0 ? size_t(info.st_size) : 0;
    }

    // Waits until the device has written `seconds` more of output; false when
    // that takes far longer than real time.
    bool waitOutput(double seconds)
    {
        const size_t target = outputBytes() + size_t(seconds * kBytesPerSecond);
        const auto deadline = Clock::now() + std::chrono::duration<double>(seconds * 4 + 2);
        while (outputBytes() < target) {
            if (Clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }

    // Waits until the stream is no longer active; the time it took, or a
    // negative value when it did not end within `boundSeconds`.
    double waitInactive(HSTREAM stream, double boundSeconds)
    {
        const auto start = Clock::now();
        while (BASS_ChannelIsActive(stream) != BASS_ACTIVE_STOPPED) {
            if (Clock::now() - start > std::chrono::duration<double>(boundSeconds))
                return -1.0;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return std::chrono::duration<double>(Clock::now() - start).count();
    }

    // Closes the device (which flushes the file) and reads the whole output.
    std::vector<double> finishAndMeasure()
    {
        BASS_Free();
        std::ifstream in(output, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::vector<int16_t> samples(bytes.size() / 2);
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = int16_t(uint16_t(uint8_t(bytes[2 * i])) | (uint16_t(uint8_t(bytes[2 * i + 1])) << 8));
        return windowLevels(samples);
    }

    std::string writeTone(const std::string& name, const Tone& tone)
    {
        const std::string path = folder.path(name);
        const std::string ext = name.substr(name.rfind('.') + 1);
        bool ok = false;
        if (ext == "wav")
            ok = test::writeWav(path, tone);
        else if (ext == "ogg")
            ok = test::writeOgg(path, tone);
#ifdef VLO_HAVE_FLAC_ENCODER
        else if (ext == "flac")
            ok = test::writeFlac(path, tone);
#endif
#ifdef VLO_HAVE_MP3_ENCODER
        else if (ext == "mp3")
            ok = test::writeMp3(path, tone);
#endif
        EXPECT_TRUE(ok) << "could not write " << path;
        return path;
    }

    test::ScratchDir folder{"audio"};
    std::string output;
};

TEST_F(SdlMixerAudioTest, InitFailsWithoutADeviceAndLeavesNothingOpen)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_EQ(BASS_Init(-1, kRate, 0, nullptr, nullptr), FALSE);
    const std::string wav = writeTone("tone.wav", test::sineTone(0.2, 440, 0.5));
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, wav.c_str(), 0, 0, 0), 0u)
        << "no stream without an open device";
    EXPECT_EQ(BASS_Free(), FALSE) << "nothing to free";

    // A later initialisation with a working driver still succeeds.
    ASSERT_TRUE(openDiskDevice());
    EXPECT_EQ(BASS_Init(-1, kRate, 0, nullptr, nullptr), FALSE) << "already initialised";
    EXPECT_EQ(BASS_Init(0, kRate, 0, nullptr, nullptr), FALSE);
}

TEST_F(SdlMixerAudioTest, UnreadableAndNonAudioFilesFailToOpen)
{
    ASSERT_TRUE(openDiskDevice());
    const std::string text = folder.path("notes.ogg");
    ASSERT_TRUE(test::writeBytes(text, {'N', 'o', 't', ' ', 'm', 'u', 's', 'i', 'c', '\n'}));
    const std::string empty = folder.path("empty.wav");
    ASSERT_TRUE(test::writeBytes(empty, {}));
    // A RIFF header that promises a WAV and has no format chunk.
    const std::string cut = folder.path("cut.wav");
    ASSERT_TRUE(test::writeBytes(cut, {'R', 'I', 'F', 'F', 12, 0, 0, 0, 'W', 'A', 'V', 'E', 'j', 'u', 'n', 'k'}));

    for (const std::string& path : {folder.path("missing.wav"), folder.path(), text, empty, cut})
        EXPECT_EQ(BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0), 0u) << path;
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, nullptr, 0, 0, 0), 0u);

    const std::string wav = writeTone("tone.wav", test::sineTone(0.2, 440, 0.5));
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, wav.c_str(), 0, 0, 1), 0u) << "flags are not supported";
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, wav.c_str(), 4, 0, 0), 0u) << "file slices are not supported";
    EXPECT_NE(BASS_StreamCreateFile(FALSE, wav.c_str(), 0, 0, 0), 0u) << "the plain tone opens";
}

TEST_F(SdlMixerAudioTest, UnknownHandlesAreRefused)
{
    ASSERT_TRUE(openDiskDevice());
    EXPECT_EQ(BASS_ChannelPlay(12345, TRUE), FALSE);
    EXPECT_EQ(BASS_ChannelStop(12345), FALSE);
    EXPECT_EQ(BASS_ChannelPause(12345), FALSE);
    EXPECT_EQ(BASS_ChannelSetAttributes(12345, -1, 50, -101), FALSE);
    EXPECT_EQ(BASS_ChannelIsActive(12345), BASS_ACTIVE_STOPPED);
    EXPECT_EQ(BASS_StreamFree(12345), FALSE);
}

TEST_F(SdlMixerAudioTest, AttributesTakeOnlyVolumesInRange)
{
    ASSERT_TRUE(openDiskDevice());
    const std::string wav = writeTone("tone.wav", test::sineTone(0.2, 440, 0.5));
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, wav.c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u);
    EXPECT_EQ(BASS_ChannelSetAttributes(stream, -1, 0, -101), TRUE);
    EXPECT_EQ(BASS_ChannelSetAttributes(stream, -1, 100, -101), TRUE);
    EXPECT_EQ(BASS_ChannelSetAttributes(stream, -1, -1, -101), TRUE) << "-1 leaves the volume";
    EXPECT_EQ(BASS_ChannelSetAttributes(stream, -1, 101, -101), FALSE);
    EXPECT_EQ(BASS_ChannelSetAttributes(stream, -1, -2, -101), FALSE);
    EXPECT_EQ(BASS_ChannelSetAttributes(stream, 22050, 50, -101), FALSE) << "no rate change";
    EXPECT_EQ(BASS_ChannelSetAttributes(stream, -1, 50, 30), FALSE) << "no panning";
}

// Each format SDL2_mixer decodes on Debian plays the tone it holds.
class SdlMixerFormatTest : public SdlMixerAudioTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(SdlMixerFormatTest, PlayingProducesTheTone)
{
    const std::string name = std::string("tone.") + GetParam();
    const std::string path = writeTone(name, test::sineTone(0.5, 440, 0.5));
    ASSERT_TRUE(openDiskDevice());
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u) << name << " did not open";
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_STOPPED) << "not yet played";
    ASSERT_EQ(BASS_ChannelPlay(stream, TRUE), TRUE);
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_PLAYING);
    ASSERT_GE(waitInactive(stream, 5.0), 0.0) << name << " did not end";
    ASSERT_TRUE(waitOutput(0.1));

    const std::vector<double> levels = finishAndMeasure();
    const std::vector<Segment> segments = soundSegments(levels);
    ASSERT_EQ(segments.size(), 1u) << "expected one stretch of sound, got " << describe(segments);
    // 0.5 s of tone (lossy encoders pad a little).
    EXPECT_NEAR(double(segments[0].length()), 50.0, 6.0) << "windows of sound";
    const double level = meanLevel(levels, segments[0].first + 3, segments[0].last - 2);
    EXPECT_NEAR(level, 0.5 * kSineRms, 0.1 * 0.5 * kSineRms) << "level of a sine at half scale";
}

INSTANTIATE_TEST_SUITE_P(Formats, SdlMixerFormatTest,
                         ::testing::Values("wav", "ogg"
#ifdef VLO_HAVE_FLAC_ENCODER
                                           , "flac"
#endif
#ifdef VLO_HAVE_MP3_ENCODER
                                           , "mp3"
#endif
                                           ),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param);
                         });

// Pause is silence, and play without restart continues where the pause
// was: the tone's level rises over its 2 s, so where it went on tells.
class SdlMixerPauseTest : public SdlMixerAudioTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(SdlMixerPauseTest, PauseIsSilentAndResumeContinues)
{
    const double from = 0.1;
    const double to = 0.9;
    const std::string path = writeTone(std::string("ramp.") + GetParam(), test::rampTone(2.0, 440, from, to));
    ASSERT_TRUE(openDiskDevice());
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u);

    ASSERT_EQ(BASS_ChannelPlay(stream, TRUE), TRUE);
    ASSERT_TRUE(waitOutput(0.7));
    ASSERT_EQ(BASS_ChannelPause(stream), TRUE);
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_PAUSED);
    EXPECT_EQ(BASS_ChannelPause(stream), FALSE) << "a paused stream is not playing";
    ASSERT_TRUE(waitOutput(0.5));
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_PAUSED) << "still paused";
    ASSERT_EQ(BASS_ChannelPlay(stream, FALSE), TRUE);
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_PLAYING);
    ASSERT_GE(waitInactive(stream, 6.0), 0.0) << "the rest of the tone did not end";
    ASSERT_TRUE(waitOutput(0.1));

    const std::vector<double> levels = finishAndMeasure();
    const std::vector<Segment> segments = soundSegments(levels);
    ASSERT_EQ(segments.size(), 2u) << "expected sound, silence, sound; got " << describe(segments);
    const Segment& before = segments[0];
    const Segment& after = segments[1];
    EXPECT_GE(after.first - before.last, 35u) << "windows of silence while paused";
    // Both parts together are the tone once: a restart would add the first part again.
    EXPECT_NEAR(double(before.length() + after.length()), 200.0, 8.0) << "windows of sound in all";

    const double startLevel = meanLevel(levels, before.first + 1, before.first + 4);
    const double pausedLevel = meanLevel(levels, before.last - 3, before.last);
    const double resumedLevel = meanLevel(levels, after.first + 1, after.first + 4);
    const double expectedPaused = (from + (to - from) * before.length() / 200.0) * kSineRms;
    EXPECT_NEAR(startLevel, from * kSineRms, 0.15 * from * kSineRms) << "level at the start";
    EXPECT_NEAR(pausedLevel, expectedPaused, 0.12 * expectedPaused) << "level where it paused";
    EXPECT_NEAR(resumedLevel, pausedLevel, 0.12 * pausedLevel)
        << "expected the resumed tone at the paused level " << pausedLevel << ", got " << resumedLevel
        << " (start level " << startLevel << ")";
}

INSTANTIATE_TEST_SUITE_P(Formats, SdlMixerPauseTest, ::testing::Values("wav", "ogg"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param);
                         });

TEST_F(SdlMixerAudioTest, PlayWithRestartAfterStopStartsOver)
{
    const double from = 0.1;
    const double to = 0.9;
    const std::string path = writeTone("ramp.wav", test::rampTone(1.0, 440, from, to));
    ASSERT_TRUE(openDiskDevice());
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u);

    ASSERT_EQ(BASS_ChannelPlay(stream, TRUE), TRUE);
    ASSERT_TRUE(waitOutput(0.5));
    ASSERT_EQ(BASS_ChannelStop(stream), TRUE);
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_STOPPED);
    EXPECT_EQ(BASS_ChannelPause(stream), FALSE) << "a stopped stream cannot pause";
    ASSERT_TRUE(waitOutput(0.3));
    ASSERT_EQ(BASS_ChannelPlay(stream, TRUE), TRUE);
    ASSERT_GE(waitInactive(stream, 5.0), 0.0);
    ASSERT_TRUE(waitOutput(0.1));

    const std::vector<double> levels = finishAndMeasure();
    const std::vector<Segment> segments = soundSegments(levels);
    ASSERT_EQ(segments.size(), 2u) << describe(segments);
    EXPECT_NEAR(double(segments[1].length()), 100.0, 5.0) << "the whole tone after the restart";
    const double restartLevel = meanLevel(levels, segments[1].first + 1, segments[1].first + 4);
    EXPECT_NEAR(restartLevel, from * kSineRms, 0.15 * from * kSineRms)
        << "expected the restarted tone at its start level";
}

TEST_F(SdlMixerAudioTest, VolumeTwentyIsAFifthOfVolumeHundred)
{
    const std::string path = writeTone("steady.wav", test::sineTone(2.0, 440, 0.5));
    ASSERT_TRUE(openDiskDevice());
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u);
    ASSERT_EQ(BASS_ChannelSetAttributes(stream, -1, 100, -101), TRUE);
    ASSERT_EQ(BASS_ChannelPlay(stream, TRUE), TRUE);
    ASSERT_TRUE(waitOutput(0.5));
    ASSERT_EQ(BASS_ChannelSetAttributes(stream, -1, 20, -101), TRUE);
    ASSERT_TRUE(waitOutput(0.5));
    ASSERT_EQ(BASS_ChannelStop(stream), TRUE);
    ASSERT_TRUE(waitOutput(0.1));

    const std::vector<double> levels = finishAndMeasure();
    const std::vector<Segment> segments = soundSegments(levels);
    ASSERT_EQ(segments.size(), 1u) << describe(segments);
    const Segment& s = segments[0];
    const double full = meanLevel(levels, s.first + 2, s.first + 20);
    size_t change = s.first;
    while (change <= s.last && levels[change] > 0.6 * full)
        ++change;
    ASSERT_LT(change + 20, s.last) << "the level never dropped";
    const double quiet = meanLevel(levels, change + 3, s.last - 2);
    EXPECT_NEAR(quiet / full, 0.2, 0.02) << "expected volume 20 at a fifth of volume 100: " << quiet
                                         << " against " << full;
}

TEST_F(SdlMixerAudioTest, EachStreamKeepsItsOwnVolumeAndOnlyOnePlays)
{
    const std::string path = writeTone("steady.wav", test::sineTone(2.0, 440, 0.5));
    ASSERT_TRUE(openDiskDevice());
    const HSTREAM loud = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
    const HSTREAM quiet = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
    ASSERT_NE(loud, 0u);
    ASSERT_NE(quiet, 0u);
    ASSERT_NE(loud, quiet);
    ASSERT_EQ(BASS_ChannelSetAttributes(quiet, -1, 20, -101), TRUE);
    ASSERT_EQ(BASS_ChannelSetAttributes(loud, -1, 100, -101), TRUE);

    ASSERT_EQ(BASS_ChannelPlay(loud, TRUE), TRUE);
    ASSERT_TRUE(waitOutput(0.4));
    ASSERT_EQ(BASS_ChannelPlay(quiet, TRUE), TRUE);
    EXPECT_EQ(BASS_ChannelIsActive(loud), BASS_ACTIVE_STOPPED) << "the second stream halts the first";
    EXPECT_EQ(BASS_ChannelIsActive(quiet), BASS_ACTIVE_PLAYING);
    ASSERT_TRUE(waitOutput(0.4));
    ASSERT_EQ(BASS_StreamFree(quiet), TRUE) << "freeing a playing stream";
    EXPECT_EQ(BASS_ChannelIsActive(quiet), BASS_ACTIVE_STOPPED);
    ASSERT_TRUE(waitOutput(0.2));

    const std::vector<double> levels = finishAndMeasure();
    const std::vector<Segment> segments = soundSegments(levels);
    ASSERT_EQ(segments.size(), 1u) << describe(segments);
    const Segment& s = segments[0];
    ASSERT_GE(s.length(), 70u) << "windows of sound from both streams";
    EXPECT_GE(levels.size() - 1 - s.last, 15u) << "windows of silence after the free: it stops at once";
    const double full = meanLevel(levels, s.first + 2, s.first + 20);
    const double low = meanLevel(levels, s.last - 20, s.last - 2);
    EXPECT_NEAR(full, 0.5 * kSineRms, 0.05 * kSineRms);
    EXPECT_NEAR(low / full, 0.2, 0.02) << "the second stream plays at its own volume";
}

TEST_F(SdlMixerAudioTest, AOneSecondFileEndsAndTurnsInactive)
{
    const std::string path = writeTone("second.wav", test::sineTone(1.0, 440, 0.5));
    ASSERT_TRUE(openDiskDevice());
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u);
    ASSERT_EQ(BASS_ChannelPlay(stream, TRUE), TRUE);
    const double took = waitInactive(stream, 4.0);
    ASSERT_GE(took, 0.0) << "still active 4 s after a 1 s file started";
    EXPECT_GT(took, 0.7) << "ended too early";
    EXPECT_EQ(BASS_ChannelPause(stream), FALSE) << "an ended stream cannot pause";

    // Played again after its end, it starts over.
    ASSERT_EQ(BASS_ChannelPlay(stream, TRUE), TRUE);
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_PLAYING);
}

TEST_F(SdlMixerAudioTest, StopAndFreeReleaseTheDevice)
{
    const std::string path = writeTone("steady.wav", test::sineTone(2.0, 440, 0.5));
    ASSERT_TRUE(openDiskDevice());
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u);
    ASSERT_EQ(BASS_ChannelPlay(stream, TRUE), TRUE);
    EXPECT_EQ(BASS_Stop(), TRUE);
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_PAUSED) << "stopping the output pauses";
    EXPECT_EQ(BASS_Free(), TRUE);
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_STOPPED) << "streams go with the device";
    EXPECT_EQ(BASS_Stop(), FALSE);
    EXPECT_EQ(BASS_Free(), FALSE);
    // The device can be opened again.
    EXPECT_TRUE(openDiskDevice());
}

} // namespace
} // namespace vlo
