// The audio back end of previews: streams open only for decodable
// files, play nothing, and end after the music's duration on the tick clock.
// Time is a fake tick count moved by the tests.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "audio/AudioLibrary.h"
#include "support/Environment.h"
#include "support/FakeClock.h"
#include "support/ScratchDir.h"
#include "support/ToneFiles.h"

namespace vlo {
namespace {

class PreviewAudioTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setAudioBackend(&previewAudioBackend());
        ASSERT_TRUE(test::writeWav(wav, test::sineTone(1.5, 440.0, 0.3))) << wav;
    }

    void TearDown() override
    {
        BASS_Free();
        setAudioBackend(nullptr);
    }

    HSTREAM openStarted(const std::string& path)
    {
        const HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
        EXPECT_NE(0u, stream) << path;
        EXPECT_TRUE(BASS_ChannelPlay(stream, TRUE)) << path;
        return stream;
    }

    test::FakeClock clock{5000};
    test::ScratchDir folder{"silent"};
    const std::string wav = folder.path("tone.wav");
};

TEST_F(PreviewAudioTest, StartsOnTheDummyDriverWhateverTheEnvironmentNames)
{
    const char* before = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = before != nullptr ? before : "";
    test::setVariable("SDL_AUDIODRIVER", "no-such-driver");
    EXPECT_TRUE(BASS_Init(-1, 44100, 0, nullptr, nullptr)) << "the dummy driver needs no device";
    EXPECT_FALSE(BASS_Init(-1, 44100, 0, nullptr, nullptr)) << "a second start while open";
    EXPECT_STREQ("no-such-driver", std::getenv("SDL_AUDIODRIVER")) << "the environment is left as it was";
    EXPECT_TRUE(BASS_Free());
    EXPECT_FALSE(BASS_Free()) << "nothing left to free";
    EXPECT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr)) << "starts again after a free";
    if (before != nullptr)
        test::setVariable("SDL_AUDIODRIVER", saved.c_str());
    else
        test::setVariable("SDL_AUDIODRIVER", nullptr);
}

TEST_F(PreviewAudioTest, AStreamEndsAfterTheMusicsDurationOnTheTickClock)
{
    ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr, nullptr));
    const HSTREAM stream = openStarted(wav);
    clock.advance(1499);
    EXPECT_EQ(BASS_ACTIVE_PLAYING, BASS_ChannelIsActive(stream)) << "1.499 s into a 1.5 s file";
    clock.advance(1);
    EXPECT_EQ(BASS_ACTIVE_STOPPED, BASS_ChannelIsActive(stream)) << "1.5 s into a 1.5 s file";

    // Ogg Vorbis reports its length from its own sample count.
    const std::string ogg = folder.path("tone.ogg");
    ASSERT_TRUE(test::writeOgg(ogg, test::sineTone(2.0, 440.0, 0.3)));
    const HSTREAM second = openStarted(ogg);
    clock.advance(1980);
    EXPECT_EQ(BASS_ACTIVE_PLAYING, BASS_ChannelIsActive(second)) << "1.98 s into a 2 s file";
    clock.advance(40);
    EXPECT_EQ(BASS_ACTIVE_STOPPED, BASS_ChannelIsActive(second)) << "2.02 s into a 2 s file";

    // At volume 0 time goes on as at any other volume.
    const HSTREAM quiet = openStarted(wav);
    EXPECT_TRUE(BASS_ChannelSetAttributes(quiet, -1, 0, -101));
    clock.advance(1500);
    EXPECT_EQ(BASS_ACTIVE_STOPPED, BASS_ChannelIsActive(quiet)) << "1.5 s into a 1.5 s file at volume 0";
}

TEST_F(PreviewAudioTest, PauseHoldsThePositionAndPlayWithoutRestartContinues)
{
    ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr, nullptr));
    const HSTREAM stream = openStarted(wav);
    clock.advance(400);
    EXPECT_TRUE(BASS_ChannelPause(stream));
    EXPECT_FALSE(BASS_ChannelPause(stream)) << "pausing a paused stream";
    clock.advance(60000);
    EXPECT_EQ(BASS_ACTIVE_PAUSED, BASS_ChannelIsActive(stream)) << "a paused stream does not run out";
    EXPECT_TRUE(BASS_ChannelPlay(stream, FALSE));
    clock.advance(1099);
    EXPECT_EQ(BASS_ACTIVE_PLAYING, BASS_ChannelIsActive(stream)) << "0.4 s before and 1.099 s after the pause";
    clock.advance(1);
    EXPECT_EQ(BASS_ACTIVE_STOPPED, BASS_ChannelIsActive(stream)) << "0.4 s before and 1.1 s after the pause";
}

TEST_F(PreviewAudioTest, RestartAndTheEndStartOverFromTheBeginning)
{
    ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr, nullptr));
    const HSTREAM stream = openStarted(wav);
    clock.advance(1000);
    EXPECT_TRUE(BASS_ChannelPlay(stream, TRUE));
    clock.advance(1499);
    EXPECT_EQ(BASS_ACTIVE_PLAYING, BASS_ChannelIsActive(stream)) << "restarted 1.499 s ago";
    clock.advance(1);
    EXPECT_EQ(BASS_ACTIVE_STOPPED, BASS_ChannelIsActive(stream));
    // After its end a stream plays from the beginning even without restart.
    EXPECT_TRUE(BASS_ChannelPlay(stream, FALSE));
    clock.advance(1499);
    EXPECT_EQ(BASS_ACTIVE_PLAYING, BASS_ChannelIsActive(stream)) << "played again after its end";

    // Stopping the output pauses what plays.
    EXPECT_TRUE(BASS_Stop());
    EXPECT_EQ(BASS_ACTIVE_PAUSED, BASS_ChannelIsActive(stream));
}

TEST_F(PreviewAudioTest, OnlyOneStreamPlaysAtATime)
{
    ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr, nullptr));
    const HSTREAM first = openStarted(wav);
    clock.advance(500);
    const HSTREAM second = openStarted(wav);
    EXPECT_NE(first, second);
    EXPECT_EQ(BASS_ACTIVE_STOPPED, BASS_ChannelIsActive(first)) << "starting the second stopped the first";
    EXPECT_EQ(BASS_ACTIVE_PLAYING, BASS_ChannelIsActive(second));
    EXPECT_TRUE(BASS_StreamFree(first));
    EXPECT_FALSE(BASS_StreamFree(first)) << "freed twice";
    EXPECT_EQ(BASS_ACTIVE_PLAYING, BASS_ChannelIsActive(second)) << "freeing another stream leaves this one";
}

TEST_F(PreviewAudioTest, OpensOnlyWholeDecodableFilesOnceStarted)
{
    EXPECT_EQ(0u, BASS_StreamCreateFile(FALSE, wav.c_str(), 0, 0, 0)) << "before the start";
    ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr, nullptr));
    folder.write("noise.ogg", "OggS but nothing more");
    const std::string noise = folder.path("noise.ogg");
    const std::string missing = folder.path("missing.wav");
    EXPECT_EQ(0u, BASS_StreamCreateFile(FALSE, noise.c_str(), 0, 0, 0)) << "a file no decoder takes";
    EXPECT_EQ(0u, BASS_StreamCreateFile(FALSE, missing.c_str(), 0, 0, 0)) << "a file that is not there";
    EXPECT_EQ(0u, BASS_StreamCreateFile(TRUE, wav.c_str(), 0, 10, 0)) << "memory streams";
    EXPECT_EQ(0u, BASS_StreamCreateFile(FALSE, wav.c_str(), 44, 0, 0)) << "a slice of a file";
    EXPECT_EQ(0u, BASS_StreamCreateFile(FALSE, nullptr, 0, 0, 0)) << "no path";
    EXPECT_NE(0u, BASS_StreamCreateFile(FALSE, wav.c_str(), 0, 0, 0)) << "the whole WAV file";
}

TEST_F(PreviewAudioTest, AttributesAndUnknownHandlesAreJudgedAsByTheRealBackEnd)
{
    ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr, nullptr));
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, wav.c_str(), 0, 0, 0);
    ASSERT_NE(0u, stream);
    EXPECT_TRUE(BASS_ChannelSetAttributes(stream, -1, 100, -101));
    EXPECT_TRUE(BASS_ChannelSetAttributes(stream, -1, 0, -101));
    EXPECT_FALSE(BASS_ChannelSetAttributes(stream, -1, 101, -101)) << "volume above 100";
    EXPECT_FALSE(BASS_ChannelSetAttributes(stream, 22050, 50, -101)) << "a changed rate";
    EXPECT_FALSE(BASS_ChannelSetAttributes(stream, -1, 50, 30)) << "a changed panning";
    const HSTREAM unknown = stream + 100;
    EXPECT_FALSE(BASS_ChannelPlay(unknown, TRUE));
    EXPECT_FALSE(BASS_ChannelStop(unknown));
    EXPECT_FALSE(BASS_ChannelPause(unknown));
    EXPECT_EQ(BASS_ACTIVE_STOPPED, BASS_ChannelIsActive(unknown));
    EXPECT_FALSE(BASS_ChannelSetAttributes(unknown, -1, 50, -101));
}

} // namespace
} // namespace vlo
