// The real audio back end, heard through SDL's disk audio driver: the
// mixed output (16-bit stereo at 44100 Hz) goes into a file, which the tests
// read back and measure in 10 ms windows. The driver writes at about the
// speed of real time, so these tests wait on the output with short polls,
// each bounded; the bounds are generous.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <future>
#include <thread>
#include <vector>

#include "audio/AudioLibrary.h"
#include "audio/MixerBackend.h"
#include "audio/MusicFiles.h"
#include "support/Environment.h"
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

class MixerAudioTest : public ::testing::Test {
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
        test::setVariable("SDL_AUDIODRIVER", "disk");
        test::setVariable("SDL_DISKAUDIOFILE", output.c_str());
        return BASS_Init(-1, kRate, 0, nullptr, nullptr) != FALSE;
    }

    size_t outputBytes() const
    {
        struct stat info { };
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

    // Closes the device (which flushes the file) and reads the whole output,
    // interleaved stereo.
    std::vector<int16_t> finishAndRead()
    {
        BASS_Free();
        std::ifstream in(output, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::vector<int16_t> samples(bytes.size() / 2);
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = int16_t(uint16_t(uint8_t(bytes[2 * i])) | (uint16_t(uint8_t(bytes[2 * i + 1])) << 8));
        return samples;
    }

    std::vector<double> finishAndMeasure() { return windowLevels(finishAndRead()); }

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

TEST_F(MixerAudioTest, WithoutADeviceTheSilentDeviceKeepsRealTime)
{
    test::setVariable("SDL_AUDIODRIVER", "no-such-driver");
    ASSERT_EQ(BASS_Init(-1, kRate, 0, nullptr, nullptr), TRUE) << "the silent device needs no sound card";
    EXPECT_EQ(mixerOutputDevice(), 0u) << "no SDL device opened";
    EXPECT_EQ(BASS_Init(-1, kRate, 0, nullptr, nullptr), FALSE) << "already initialised";
    const std::string wav = writeTone("second.wav", test::sineTone(1.0, 440, 0.5));
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, wav.c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u);
    ASSERT_EQ(BASS_ChannelPlay(stream, TRUE), TRUE);
    const double took = waitInactive(stream, 4.0);
    ASSERT_GE(took, 0.0) << "a 1 s file still plays after 4 s on the silent device";
    EXPECT_NEAR(took, 1.0, 0.25) << "expected the file to last its real length";
    EXPECT_EQ(BASS_Free(), TRUE);
    EXPECT_EQ(BASS_Free(), FALSE) << "nothing left to free";
    EXPECT_EQ(BASS_Init(0, kRate, 0, nullptr, nullptr), FALSE) << "device 0 (no sound) is not offered";
}

TEST_F(MixerAudioTest, FilesThatAreNoRegularFilesAreRefusedWithoutBeingOpened)
{
    ASSERT_TRUE(openDiskDevice());
#ifdef _WIN32
    // Windows has no FIFOs in its file systems; its devices have names, which
    // the C library may not even find (then no message is asked for here).
    const std::string kinds[][2] = {
        {"NUL", ""},
        {folder.path(), "it is a folder, not a music file"},
    };
#else
    const std::string fifo = folder.path("pipe.wav");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string kinds[][2] = {
        {"/dev/zero", "it is a character device, not a music file"},
        {fifo, "it is a FIFO (named pipe), not a music file"},
        {folder.path(), "it is a folder, not a music file"},
    };
#endif
    for (const auto& kind : kinds) {
        // Opening the FIFO would wait for a writer, reading the device would
        // never end: each must be answered at once.
        auto opened
            = std::async(std::launch::async, [&] { return BASS_StreamCreateFile(FALSE, kind[0].c_str(), 0, 0, 0); });
        if (opened.wait_for(std::chrono::seconds(2)) != std::future_status::ready) {
            ADD_FAILURE() << kind[0] << " was opened and blocked";
#ifndef _WIN32
            // Lets a blocked open of the FIFO return before failing.
            const int writer = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
            opened.wait();
            if (writer >= 0)
                close(writer);
#endif
        }
        EXPECT_EQ(opened.get(), 0u) << kind[0];
        if (!kind[1].empty())
            EXPECT_EQ(musicFileProblem(kind[0]), kind[1]);
        else
            EXPECT_FALSE(musicFileProblem(kind[0]).empty()) << kind[0];
    }
}

TEST_F(MixerAudioTest, UnreadableAndNonAudioFilesFailToOpen)
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

TEST_F(MixerAudioTest, UnknownHandlesAreRefused)
{
    ASSERT_TRUE(openDiskDevice());
    EXPECT_EQ(BASS_ChannelPlay(12345, TRUE), FALSE);
    EXPECT_EQ(BASS_ChannelStop(12345), FALSE);
    EXPECT_EQ(BASS_ChannelPause(12345), FALSE);
    EXPECT_EQ(BASS_ChannelSetAttributes(12345, -1, 50, -101), FALSE);
    EXPECT_EQ(BASS_ChannelIsActive(12345), BASS_ACTIVE_STOPPED);
    EXPECT_EQ(BASS_StreamFree(12345), FALSE);
}

TEST_F(MixerAudioTest, AttributesTakeOnlyVolumesInRange)
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

// Each format the back end decodes plays the tone it holds.
class MixerFormatTest : public MixerAudioTest, public ::testing::WithParamInterface<const char*> { };

TEST_P(MixerFormatTest, PlayingProducesTheTone)
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

INSTANTIATE_TEST_SUITE_P(Formats, MixerFormatTest,
    ::testing::Values("wav", "ogg"
#ifdef VLO_HAVE_FLAC_ENCODER
        ,
        "flac"
#endif
#ifdef VLO_HAVE_MP3_ENCODER
        ,
        "mp3"
#endif
        ),
    [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

// The frequency of the left channel over [from, to) frames, from its
// upward zero crossings.
double measuredHz(const std::vector<int16_t>& stereo, size_t from, size_t to)
{
    size_t crossings = 0;
    size_t first = 0;
    size_t last = 0;
    for (size_t i = from + 1; i < to; ++i) {
        if (stereo[2 * (i - 1)] < 0 && stereo[2 * i] >= 0) {
            if (crossings == 0)
                first = i;
            last = i;
            ++crossings;
        }
    }
    return crossings > 1 ? double(crossings - 1) * kRate / double(last - first) : 0.0;
}

// Files whose coding or container is told by the content alone: the name
// says nothing (or says something else), and each plays the tone it holds at
// its level and pitch.
struct CodedTone {
    const char* name;
    bool (*write)(const std::string& path, const Tone& tone);
    // The rate the coding stores (Opus has only 48 kHz).
    int rate = 44100;
};

class MixerCodingTest : public MixerAudioTest, public ::testing::WithParamInterface<CodedTone> { };

TEST_P(MixerCodingTest, PlaysTheToneAtItsLevelAndPitch)
{
    const CodedTone& coded = GetParam();
    const std::string path = folder.path(coded.name);
    ASSERT_TRUE(coded.write(path, test::sineTone(0.6, 440, 0.5, coded.rate))) << "could not write " << path;
    EXPECT_EQ(musicFileProblem(path), "") << coded.name;
    ASSERT_TRUE(openDiskDevice());
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u) << coded.name << " did not open";
    ASSERT_EQ(BASS_ChannelPlay(stream, TRUE), TRUE);
    ASSERT_GE(waitInactive(stream, 5.0), 0.0) << coded.name << " did not end";
    ASSERT_TRUE(waitOutput(0.1));

    const std::vector<int16_t> samples = finishAndRead();
    const std::vector<double> levels = windowLevels(samples);
    const std::vector<Segment> segments = soundSegments(levels);
    ASSERT_EQ(segments.size(), 1u) << "expected one stretch of sound, got " << describe(segments);
    EXPECT_NEAR(double(segments[0].length()), 60.0, 6.0) << "windows of sound";
    const double level = meanLevel(levels, segments[0].first + 3, segments[0].last - 2);
    // A-law and ADPCM are lossy by a few per cent, Opus by a little more.
    EXPECT_NEAR(level, 0.5 * kSineRms, 0.1 * 0.5 * kSineRms) << "level of a sine at half scale";
    const double hz
        = measuredHz(samples, (segments[0].first + 3) * kWindowFrames, (segments[0].last - 2) * kWindowFrames);
    EXPECT_NEAR(hz, 440.0, 4.0) << "pitch of the tone";
}

bool writeOpusInOgg(const std::string& path, const Tone& tone)
{
    return test::writeSndfile(path, tone, SF_FORMAT_OGG | SF_FORMAT_OPUS);
}
bool writeImaAdpcm(const std::string& path, const Tone& tone)
{
    return test::writeSndfile(path, tone, SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM);
}
bool writeMsAdpcm(const std::string& path, const Tone& tone)
{
    return test::writeSndfile(path, tone, SF_FORMAT_WAV | SF_FORMAT_MS_ADPCM);
}
bool writeAlaw(const std::string& path, const Tone& tone)
{
    return test::writeSndfile(path, tone, SF_FORMAT_WAV | SF_FORMAT_ALAW);
}
bool writeUlaw(const std::string& path, const Tone& tone)
{
    return test::writeSndfile(path, tone, SF_FORMAT_WAV | SF_FORMAT_ULAW);
}
bool writeFloatWav(const std::string& path, const Tone& tone)
{
    return test::writeSndfile(path, tone, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
}
bool writeWavNamedMp3(const std::string& path, const Tone& tone)
{
    return test::writeWav(path, tone);
}

const CodedTone kCodedTones[] = {
    {"opus.ogg", writeOpusInOgg, 48000},
    {"ima-adpcm.wav", writeImaAdpcm},
    {"ms-adpcm.wav", writeMsAdpcm},
    {"alaw.wav", writeAlaw},
    {"mulaw.wav", writeUlaw},
    {"float.wav", writeFloatWav},
    {"wave.mp3", writeWavNamedMp3},
#ifdef VLO_HAVE_FLAC_ENCODER
    {"flac.oga", test::writeOggFlac},
    {"flac-in-ogg.ogg", test::writeOggFlac},
#endif
#ifdef VLO_HAVE_MP3_ENCODER
    {"tagged.mp3", test::writeTaggedMp3},
#endif
};

INSTANTIATE_TEST_SUITE_P(
    Codings, MixerCodingTest, ::testing::ValuesIn(kCodedTones), [](const ::testing::TestParamInfo<CodedTone>& info) {
        std::string name;
        for (const char* c = info.param.name; *c != 0; ++c)
            name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
        return name;
    });

// Pause is silence, and play without restart continues where the pause
// was: the tone's level rises over its 2 s, so where it went on tells.
class MixerPauseTest : public MixerAudioTest, public ::testing::WithParamInterface<const char*> { };

TEST_P(MixerPauseTest, PauseIsSilentAndResumeContinues)
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

INSTANTIATE_TEST_SUITE_P(Formats, MixerPauseTest, ::testing::Values("wav", "ogg"),
    [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

TEST_F(MixerAudioTest, PlayWithRestartAfterStopStartsOver)
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
    // Windows 1..3 of the 100 the tone lasts: its level 25 ms in.
    const double restartLevel = meanLevel(levels, segments[1].first + 1, segments[1].first + 4);
    const double startLevel = (from + (to - from) * 0.025) * kSineRms;
    EXPECT_NEAR(restartLevel, startLevel, 0.1 * startLevel) << "expected the restarted tone at its start level";
}

TEST_F(MixerAudioTest, VolumeTwentyIsAFifthOfVolumeHundred)
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
    // The change is looked for after the full-level stretch: the first
    // window holds the start's ramp and may already read below 0.6.
    size_t change = s.first + 20;
    while (change <= s.last && levels[change] > 0.6 * full)
        ++change;
    ASSERT_LT(change + 20, s.last) << "the level never dropped";
    const double quiet = meanLevel(levels, change + 3, s.last - 2);
    EXPECT_NEAR(quiet / full, 0.2, 0.02) << "expected volume 20 at a fifth of volume 100: " << quiet << " against "
                                         << full;
}

TEST_F(MixerAudioTest, EachStreamKeepsItsOwnVolumeAndOnlyOnePlays)
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

TEST_F(MixerAudioTest, AOneSecondFileEndsAndTurnsInactive)
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

TEST_F(MixerAudioTest, StopAndFreeReleaseTheDevice)
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

// The largest step between two neighbouring left-channel samples in
// [from, to) frames.
int largestJump(const std::vector<int16_t>& stereo, size_t from, size_t to)
{
    int largest = 0;
    for (size_t i = from + 1; i < to && i < stereo.size() / 2; ++i)
        largest = std::max(largest, std::abs(int(stereo[2 * i]) - int(stereo[2 * (i - 1)])));
    return largest;
}

// Stop, pause, resume, a track change and every step of the closing fade
// are heard as the tone getting softer or louder, never as a jump: no two
// neighbouring samples differ by more than they do within the tone itself.
TEST_F(MixerAudioTest, NoChangeOfLevelJumpsFurtherThanTheToneItself)
{
    constexpr double kAmplitude = 12000.0 / 32767.0;
    const std::string path = writeTone("kilohertz.wav", test::sineTone(20.0, 1000, kAmplitude));
    ASSERT_TRUE(openDiskDevice());
    HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u);
    // The player's calls: play, pause, play (resume), stop, play (restart),
    // then a change of track (stop, free, open, play) and the fade.
    ASSERT_EQ(BASS_ChannelPlay(stream, TRUE), TRUE);
    ASSERT_TRUE(waitOutput(0.25));
    ASSERT_EQ(BASS_ChannelPause(stream), TRUE);
    ASSERT_TRUE(waitOutput(0.15));
    ASSERT_EQ(BASS_ChannelPlay(stream, FALSE), TRUE);
    ASSERT_TRUE(waitOutput(0.25));
    ASSERT_EQ(BASS_ChannelStop(stream), TRUE);
    ASSERT_TRUE(waitOutput(0.15));
    ASSERT_EQ(BASS_ChannelPlay(stream, TRUE), TRUE);
    ASSERT_TRUE(waitOutput(0.25));
    ASSERT_EQ(BASS_ChannelStop(stream), TRUE);
    ASSERT_EQ(BASS_StreamFree(stream), TRUE);
    stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u);
    ASSERT_EQ(BASS_ChannelPlay(stream, TRUE), TRUE);
    for (int volume : {100, 80, 60, 40, 20, 0}) {
        ASSERT_EQ(BASS_ChannelSetAttributes(stream, -1, volume, -101), TRUE);
        ASSERT_TRUE(waitOutput(0.2));
    }
    const std::vector<int16_t> samples = finishAndRead();
    ASSERT_GT(samples.size() / 2, size_t(kRate * 2)) << "expected over 2 s of output";

    // A sine of amplitude A at f Hz moves by at most 2 A sin(pi f / rate)
    // from one sample to the next: 1,709 here.
    const double toneStep = 2.0 * 12000.0 * std::sin(3.141592653589793 * 1000.0 / kRate);
    const int largest = largestJump(samples, 0, samples.size() / 2);
    EXPECT_LT(largest, toneStep * 1.1) << "expected no step above the tone's own " << toneStep << ", got " << largest;
    EXPECT_GT(largest, toneStep * 0.9) << "the tone itself was not heard at full level";
}

// Resume goes on with the sample after the last one heard before the pause:
// where the tone continues is found by matching it against the file.
TEST_F(MixerAudioTest, ResumeContinuesAtThePausedSample)
{
    // Its rising level tells every 441-frame stretch of it from the others.
    const Tone tone = test::rampTone(2.0, 441, 0.1, 0.9);
    const std::string path = writeTone("ramp.wav", tone);
    ASSERT_TRUE(openDiskDevice());
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u);
    ASSERT_EQ(BASS_ChannelPlay(stream, TRUE), TRUE);
    ASSERT_TRUE(waitOutput(0.5));
    ASSERT_EQ(BASS_ChannelPause(stream), TRUE);
    ASSERT_TRUE(waitOutput(0.3));
    ASSERT_EQ(BASS_ChannelPlay(stream, FALSE), TRUE);
    ASSERT_TRUE(waitOutput(0.5));
    const std::vector<int16_t> out = finishAndRead();
    const size_t frames = out.size() / 2;

    // The silence of the pause: the last sound frame before it, the first after.
    size_t firstSound = 0;
    while (firstSound < frames && out[2 * firstSound] == 0)
        ++firstSound;
    size_t gapStart = firstSound;
    size_t run = 0;
    for (size_t i = firstSound; i < frames && run < 2000; ++i) {
        run = out[2 * i] == 0 ? run + 1 : 0;
        if (run == 1)
            gapStart = i;
    }
    ASSERT_GE(run, 2000u) << "no pause found in the output";
    size_t gapEnd = gapStart;
    while (gapEnd < frames && out[2 * gapEnd] == 0)
        ++gapEnd;
    ASSERT_LT(gapEnd + 2000, frames) << "nothing after the pause";

    // Frame of the file that output frame `at` holds: the best match of 441
    // frames there, well inside full level.
    auto fileFrameAt = [&](size_t at) {
        size_t best = 0;
        double bestError = 1e300;
        for (size_t k = 0; k + 441 < tone.frames(); ++k) {
            double error = 0.0;
            for (size_t i = 0; i < 441 && error < bestError; ++i) {
                const double d = double(out[2 * (at + i)]) - tone.samples[2 * (k + i)];
                error += d * d;
            }
            if (error < bestError) {
                bestError = error;
                best = k;
            }
        }
        return best;
    };
    const size_t before = gapStart - 1000;
    const size_t after = gapEnd + 1000;
    // Output frames minus file frames, before and after the pause; the
    // difference is the silence only when nothing was skipped or repeated.
    const long shiftBefore = long(before) - long(fileFrameAt(before));
    const long shiftAfter = long(after) - long(fileFrameAt(after));
    const long silence = long(gapEnd) - long(gapStart);
    EXPECT_NEAR(double(shiftAfter - shiftBefore), double(silence), 4.0)
        << "expected the tone to go on where it paused: " << silence << " frames of silence, the tone moved by "
        << (shiftAfter - shiftBefore);
}

// An SDL device closed under the mixer (as an unplugged one goes) is replaced
// by the default device at the next call, and the track goes on from where
// it was, not from its start: the disk driver starts its file afresh, whose
// first sound is then at the level the rising tone had reached.
TEST_F(MixerAudioTest, ALostDeviceIsReplacedAndTheTrackGoesOn)
{
    const double from = 0.1;
    const double to = 0.9;
    const std::string path = writeTone("ramp.wav", test::rampTone(3.0, 440, from, to));
    ASSERT_TRUE(openDiskDevice());
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u);
    ASSERT_EQ(BASS_ChannelPlay(stream, TRUE), TRUE);
    ASSERT_TRUE(waitOutput(1.0));
    const SDL_AudioDeviceID lost = mixerOutputDevice();
    ASSERT_NE(lost, 0u);
    const auto lostAt = Clock::now();
    SDL_CloseAudioDevice(lost);
    const size_t writtenBefore = outputBytes();

    // The player asks every frame; within a second a device plays again,
    // and the disk driver has started its file anew.
    while (outputBytes() >= writtenBefore) {
        ASSERT_LT(Clock::now() - lostAt, std::chrono::seconds(1)) << "no device within a second";
        EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_PLAYING);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_NE(mixerOutputDevice(), 0u) << "expected a real device again, not the silent one";
    ASSERT_TRUE(waitOutput(0.3));
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_PLAYING);
    const std::vector<double> levels = finishAndMeasure();
    const std::vector<Segment> segments = soundSegments(levels);
    ASSERT_FALSE(segments.empty()) << "nothing heard after the new device opened";
    const double resumed = meanLevel(levels, segments[0].first + 1, segments[0].first + 4);
    // About 1 s into the 3 s tone; a restart would be at `from`.
    const double lowest = (from + (to - from) * 0.8 / 3.0) * kSineRms;
    const double highest = (from + (to - from) * 1.5 / 3.0) * kSineRms;
    EXPECT_GT(resumed, lowest) << "expected the track to go on near 1 s, got level " << resumed;
    EXPECT_LT(resumed, highest) << "expected the track to go on near 1 s, got level " << resumed;
}

} // namespace
} // namespace vlo
