// The real back end decodes ahead of its output, on a thread per stream: a
// decoder stuck in a read (a slow disk, a network share gone quiet) holds up
// neither the main thread's player calls nor the output, where the other
// music keeps sounding. Heard through SDL's disk audio driver, whose file
// grows at about the speed of real time; the waits on it are bounded but
// nothing is timed. Also here: a stream at volume 0 keeps time, and the
// names the sound server is given.

#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <thread>
#include <vector>

#include "audio/MixerBackend.h"
#include "music/MusicPlayer.h"
#include "support/Environment.h"
#include "support/ScratchDir.h"
#include "support/ToneFiles.h"

namespace vlo {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRate = 44100;
constexpr size_t kBytesPerFrame = 4;

// A gate the test holds closed; the reads of a GatedDecoder wait at it.
class Gate {
public:
    // Waits until opened. Should the code under test block the test itself,
    // the gate opens after a minute so that the test ends and fails instead
    // of hanging.
    void pass()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        ++waiting_;
        changed_.notify_all();
        if (!changed_.wait_for(lock, std::chrono::minutes(1), [this] { return open_; }))
            forcedOpen_ = open_ = true;
        --waiting_;
    }

    void open()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }

    // Whether a read waits at the gate now; waits (boundedly) for one first.
    bool readWaiting()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(10), [this] { return waiting_ > 0; });
    }

    bool forcedOpen()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return forcedOpen_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int waiting_ = 0;
    bool open_ = false;
    bool forcedOpen_ = false;
};

// Ten seconds of silence that cannot be read until the gate opens.
class GatedDecoder : public MusicDecoder {
public:
    explicit GatedDecoder(Gate& gate)
        : gate_(gate)
    {
    }
    int channels() const override { return 2; }
    int rate() const override { return kRate; }
    double seconds() const override { return 10.0; }
    size_t read(float* out, size_t frames) override
    {
        gate_.pass();
        std::fill(out, out + frames * 2, 0.0f);
        return frames;
    }
    bool rewind() override { return true; }

private:
    Gate& gate_;
};

class DecodeAheadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setAudioBackend(nullptr);
        test::setVariable("SDL_AUDIODRIVER", "disk");
        test::setVariable("SDL_DISKAUDIOFILE", output.c_str());
    }

    void TearDown() override
    {
        // The decode threads end before the back end frees.
        gate.open();
        BASS_Free();
    }

    size_t outputFrames() const
    {
        struct stat info { };
        return stat(output.c_str(), &info) == 0 ? size_t(info.st_size) / kBytesPerFrame : 0;
    }

    // Waits until the device has written `seconds` more; false when that
    // takes far longer than real time.
    bool waitOutput(double seconds)
    {
        const size_t target = outputFrames() + size_t(seconds * kRate);
        const auto deadline = Clock::now() + std::chrono::duration<double>(seconds * 4 + 2);
        while (outputFrames() < target) {
            if (Clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }

    // The loudest left-channel sample of frames [from, to). Read once the
    // device is closed: while it writes, Windows lets nobody else open the
    // file, and a read would find no samples at all.
    int loudestBetween(size_t from, size_t to) const
    {
        std::ifstream in(output, std::ios::binary);
        EXPECT_TRUE(in.is_open()) << "the output cannot be read: " << output;
        in.seekg(std::streamoff(from * kBytesPerFrame));
        int loudest = 0;
        size_t frames = 0;
        char frame[kBytesPerFrame];
        while (frames < to - from && in.read(frame, sizeof frame)) {
            const int16_t left = int16_t(uint16_t(uint8_t(frame[0])) | (uint16_t(uint8_t(frame[1])) << 8));
            loudest = std::max(loudest, std::abs(int(left)));
            ++frames;
        }
        EXPECT_EQ(frames, to - from) << "frames of the output read";
        return loudest;
    }

    std::string writeTone(const char* name, double seconds)
    {
        const std::string path = folder.path(name);
        EXPECT_TRUE(test::writeWav(path, test::sineTone(seconds, 440, 0.5))) << path;
        return path;
    }

    test::ScratchDir folder{"decode-ahead"};
    const std::string output = folder.path("output.raw");
    Gate gate;
};

TEST_F(DecodeAheadTest, ADecoderStuckInAReadHoldsUpNeitherThePlayerNorTheOutput)
{
    MusicPlayer player(nullptr, kRate);
    ASSERT_EQ(player.initFailed, 0);
    const HSTREAM stuck = mixerStreams().create(std::make_unique<GatedDecoder>(gate));
    ASSERT_NE(stuck, 0u);
    ASSERT_TRUE(BASS_ChannelPlay(stuck, TRUE));
    ASSERT_TRUE(gate.readWaiting()) << "the stuck stream's decoder was never read";

    // The player's calls of a track change, the buttons and the frame loop,
    // each answered while the stuck read goes on.
    const std::string tone = writeTone("tone.wav", 5.0);
    EXPECT_TRUE(player.open(tone));
    EXPECT_TRUE(player.play());
    EXPECT_EQ(player.state, Playing);
    EXPECT_EQ(BASS_ChannelIsActive(stuck), BASS_ACTIVE_STOPPED) << "the track took the output over";
    EXPECT_TRUE(player.setVolume(60));
    EXPECT_TRUE(player.isActive());
    EXPECT_TRUE(player.pause());
    EXPECT_EQ(player.state, Paused);
    EXPECT_TRUE(player.isActive());
    EXPECT_TRUE(player.play());
    EXPECT_EQ(player.state, Playing);
    EXPECT_TRUE(BASS_StreamFree(stuck)) << "letting the stuck stream go";

    // Meanwhile the output goes on, and the track sounds in it.
    const size_t before = outputFrames();
    ASSERT_TRUE(waitOutput(0.5)) << "the output stopped while a decoder was stuck";
    const size_t after = outputFrames();
    EXPECT_TRUE(player.isActive());
    EXPECT_TRUE(gate.readWaiting()) << "the stuck read went on all along";
    EXPECT_FALSE(gate.forcedOpen()) << "the test itself was held up by the stuck read";

    gate.open();
    player.stop();
    player.close();
    player.shutdown();
    EXPECT_GT(loudestBetween(before, after), int(0.6 * 0.5 * 32767 * 0.9)) << "the track at volume 60 was not heard";
}

TEST_F(DecodeAheadTest, AStreamAtVolumeZeroEndsAtItsLengthInSilence)
{
    const std::string tone = writeTone("second.wav", 1.0);
    MusicPlayer player(nullptr, kRate);
    ASSERT_EQ(player.initFailed, 0);
    ASSERT_TRUE(player.open(tone));
    ASSERT_TRUE(player.setVolume(0));
    const size_t start = outputFrames();
    ASSERT_TRUE(player.play());
    // The output's frames, not the clock, tell how long it played.
    while (player.isActive()) {
        ASSERT_LT(outputFrames() - start, size_t(3 * kRate)) << "a 1 s file still plays after 3 s of output";
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    const size_t end = outputFrames();
    const double played = double(end - start) / kRate;
    EXPECT_NEAR(played, 1.0, 0.1) << "seconds of output until the end";
    EXPECT_EQ(player.state, Playing) << "ended by itself, as a track at any volume";
    player.stop();
    player.close();
    player.shutdown();
    EXPECT_EQ(loudestBetween(start, end), 0) << "nothing heard at volume 0";
}

TEST_F(DecodeAheadTest, TheSoundServerIsToldVellumoPlaysMusic)
{
    MusicPlayer player(nullptr, kRate);
    ASSERT_EQ(player.initFailed, 0);
    EXPECT_STREQ(SDL_GetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME), "Vellumo");
    EXPECT_STREQ(SDL_GetHint(SDL_HINT_AUDIO_DEVICE_STREAM_NAME), "Music");
    player.shutdown();
}

} // namespace
} // namespace vlo
