// MusicPlayer state rules against the recording audio back end.

#include <gtest/gtest.h>

#include <memory>

#include "music/MusicPlayer.h"
#include "support/RecordingAudio.h"

namespace vlo {
namespace {

using test::AudioCall;
using test::RecordingAudio;

const char* stateName(PlayerState state)
{
    switch (state) {
    case Closed:
        return "Closed";
    case Playing:
        return "Playing";
    case Stopped:
        return "Stopped";
    case Paused:
        return "Paused";
    }
    return "?";
}

#define EXPECT_STATE(player, expected)                                                                                 \
    EXPECT_EQ((player).state, (expected))                                                                              \
        << "expected state " << stateName(expected) << ", got " << stateName((player).state)

class MusicPlayerTest : public ::testing::Test {
protected:
    // A player with one stream open on "track.ogg", the recording cleared.
    MusicPlayer& openPlayer()
    {
        player = std::make_unique<MusicPlayer>(nullptr, 44100);
        EXPECT_TRUE(player->open("track.ogg")) << audio.transcript();
        audio.calls.clear();
        return *player;
    }

    RecordingAudio audio;
    std::unique_ptr<MusicPlayer> player;
};

TEST_F(MusicPlayerTest, ConstructionInitialisesTheDefaultDeviceAndStartsClosed)
{
    MusicPlayer p(nullptr, 44100);
    ASSERT_EQ(audio.calls.size(), 1u) << audio.transcript();
    const AudioCall& init = audio.calls[0];
    EXPECT_EQ(init.name, "BASS_Init");
    EXPECT_EQ(init.args, (std::vector<int64_t>{-1, 44100, 0, 0}))
        << "expected BASS_Init(-1, 44100, 0, window, null), got " << init.describe();
    EXPECT_EQ(p.initFailed, 0);
    EXPECT_EQ(p.stream, 0u);
    EXPECT_STATE(p, Closed);
}

TEST_F(MusicPlayerTest, FailedInitialisationIsRememberedAndTheShutdownSkipped)
{
    audio.initSucceeds = false;
    MusicPlayer p(nullptr, 44100);
    EXPECT_EQ(p.initFailed, 1);
    EXPECT_STATE(p, Closed);

    // Requests still go to the library unchanged.
    audio.calls.clear();
    p.open("track.ogg");
    EXPECT_EQ(audio.count("BASS_StreamCreateFile"), 1u) << audio.transcript();

    audio.calls.clear();
    p.shutdown();
    EXPECT_TRUE(audio.calls.empty()) << "expected no call, got:\n" << audio.transcript();
}

TEST_F(MusicPlayerTest, ShutdownStopsThenFreesTheLibrary)
{
    MusicPlayer p(nullptr, 44100);
    audio.calls.clear();
    p.shutdown();
    EXPECT_EQ(audio.sequence(), "BASS_Stop BASS_Free");
}

TEST_F(MusicPlayerTest, OpenCreatesAFileStreamAtFullVolume)
{
    MusicPlayer p(nullptr, 44100);
    audio.calls.clear();
    ASSERT_TRUE(p.open("music/one.ogg"));
    ASSERT_EQ(audio.calls.size(), 2u) << audio.transcript();
    EXPECT_EQ(audio.calls[0].name, "BASS_StreamCreateFile");
    EXPECT_EQ(audio.calls[0].args, (std::vector<int64_t>{0, 0, 0, 0})) << audio.calls[0].describe();
    EXPECT_EQ(audio.calls[0].path, "music/one.ogg");
    EXPECT_EQ(audio.calls[1].name, "BASS_ChannelSetAttributes");
    EXPECT_EQ(audio.calls[1].args, (std::vector<int64_t>{int64_t(audio.lastCreated), -1, 100, -101}))
        << audio.calls[1].describe();
    EXPECT_EQ(p.stream, audio.lastCreated);
    EXPECT_STATE(p, Stopped);
}

TEST_F(MusicPlayerTest, OpenOfAnUnplayableFileFailsAndStaysClosed)
{
    audio.unplayable.insert("broken.ogg");
    MusicPlayer p(nullptr, 44100);
    audio.calls.clear();
    EXPECT_FALSE(p.open("broken.ogg"));
    EXPECT_EQ(p.stream, 0u);
    EXPECT_STATE(p, Closed);
    EXPECT_EQ(audio.sequence(), "BASS_StreamCreateFile") << "no attributes for a failed stream";
}

TEST_F(MusicPlayerTest, OpenWhileOpenFailsAndLeavesTheStreamAlone)
{
    MusicPlayer& p = openPlayer();
    const HSTREAM first = p.stream;
    for (PlayerState before : {Stopped, Playing, Paused}) {
        if (before == Playing)
            p.play();
        if (before == Paused)
            p.pause();
        audio.calls.clear();
        EXPECT_FALSE(p.open("other.ogg")) << "open in state " << stateName(before);
        EXPECT_TRUE(audio.calls.empty()) << "expected no call, got:\n" << audio.transcript();
        EXPECT_EQ(p.stream, first);
        EXPECT_STATE(p, before);
    }
    EXPECT_NE(audio.stream(first), nullptr) << "the open stream was freed";
}

TEST_F(MusicPlayerTest, PauseOnAStoppedOrClosedPlayerReturnsFalseWithoutACall)
{
    MusicPlayer closed(nullptr, 44100);
    audio.calls.clear();
    EXPECT_FALSE(closed.pause());
    EXPECT_STATE(closed, Closed);

    MusicPlayer& stopped = openPlayer();
    EXPECT_FALSE(stopped.pause());
    EXPECT_STATE(stopped, Stopped);
    EXPECT_EQ(audio.count("BASS_ChannelPause"), 0u) << audio.transcript();
}

TEST_F(MusicPlayerTest, PlayAfterPauseResumesWhereItWas)
{
    MusicPlayer& p = openPlayer();
    p.play();
    audio.advance(1500);
    EXPECT_TRUE(p.pause());
    EXPECT_STATE(p, Paused);
    audio.advance(1000); // paused: does not move
    audio.calls.clear();
    EXPECT_TRUE(p.play());
    ASSERT_EQ(audio.calls.size(), 1u) << audio.transcript();
    EXPECT_EQ(audio.calls[0].args, (std::vector<int64_t>{int64_t(p.stream), 0}))
        << "expected a resume (restart 0), got " << audio.calls[0].describe();
    EXPECT_STATE(p, Playing);
    EXPECT_EQ(audio.stream(p.stream)->positionMs, 1500u);
}

TEST_F(MusicPlayerTest, PlayAfterStopStartsFromTheBeginning)
{
    MusicPlayer& p = openPlayer();
    p.play();
    audio.advance(1500);
    EXPECT_TRUE(p.stop());
    EXPECT_STATE(p, Stopped);
    audio.calls.clear();
    EXPECT_TRUE(p.play());
    ASSERT_EQ(audio.calls.size(), 1u) << audio.transcript();
    EXPECT_EQ(audio.calls[0].args, (std::vector<int64_t>{int64_t(p.stream), 1}))
        << "expected a restart (restart 1), got " << audio.calls[0].describe();
    EXPECT_EQ(audio.stream(p.stream)->positionMs, 0u);
}

TEST_F(MusicPlayerTest, FailedLibraryCallsReportSuccessButKeepTheState)
{
    MusicPlayer& p = openPlayer();
    audio.playSucceeds = false;
    EXPECT_TRUE(p.play());
    EXPECT_STATE(p, Stopped);

    audio.playSucceeds = true;
    p.play();
    audio.pauseSucceeds = false;
    EXPECT_TRUE(p.pause()) << "pause on a playing stream reports true even when the call fails";
    EXPECT_STATE(p, Playing);

    audio.stopSucceeds = false;
    EXPECT_TRUE(p.stop());
    EXPECT_STATE(p, Playing);
}

TEST_F(MusicPlayerTest, IsActiveTellsAnEndedTrackFromAHeldOne)
{
    MusicPlayer& p = openPlayer();
    EXPECT_TRUE(p.isActive()) << "an opened, stopped stream counts as active";
    p.play();
    EXPECT_TRUE(p.isActive()) << "a playing stream";

    audio.finish(p.stream);
    EXPECT_FALSE(p.isActive()) << "a track that played to its end";
    EXPECT_STATE(p, Playing);

    p.stop();
    EXPECT_TRUE(p.isActive()) << "after stop";

    p.play();
    audio.advance(100);
    p.pause();
    EXPECT_TRUE(p.isActive()) << "after pause";

    MusicPlayer closed(nullptr, 44100);
    EXPECT_FALSE(closed.isActive()) << "nothing open";
}

TEST_F(MusicPlayerTest, SetVolumePassesTheVolumeAndItsResult)
{
    MusicPlayer& p = openPlayer();
    EXPECT_TRUE(p.setVolume(40));
    ASSERT_EQ(audio.calls.size(), 1u);
    EXPECT_EQ(audio.calls[0].args, (std::vector<int64_t>{int64_t(p.stream), -1, 40, -101}))
        << audio.calls[0].describe();
    EXPECT_EQ(audio.stream(p.stream)->volume, 40);

    EXPECT_FALSE(p.setVolume(101)) << "the library refuses a volume above 100";
    p.close();
    EXPECT_FALSE(p.setVolume(50)) << "no stream left to set";
}

TEST_F(MusicPlayerTest, CloseStopsAPlayingOrPausedStreamThenFreesIt)
{
    MusicPlayer& p = openPlayer();
    p.play();
    audio.calls.clear();
    p.close();
    EXPECT_EQ(audio.sequence(), "BASS_ChannelStop BASS_StreamFree");
    EXPECT_STATE(p, Closed);
    EXPECT_TRUE(audio.streams.empty());

    MusicPlayer& paused = openPlayer();
    paused.play();
    paused.pause();
    audio.calls.clear();
    paused.close();
    EXPECT_EQ(audio.sequence(), "BASS_ChannelStop BASS_StreamFree");

    MusicPlayer& stopped = openPlayer();
    stopped.close();
    EXPECT_EQ(audio.sequence(), "BASS_StreamFree") << "a stopped stream needs no stop";
    EXPECT_STATE(stopped, Closed);
}

TEST_F(MusicPlayerTest, CloseOnAClosedPlayerMakesNoCall)
{
    MusicPlayer p(nullptr, 44100);
    audio.calls.clear();
    p.close();
    EXPECT_TRUE(audio.calls.empty()) << "expected no call, got:\n" << audio.transcript();

    MusicPlayer& reopened = openPlayer();
    reopened.close();
    audio.calls.clear();
    reopened.close();
    EXPECT_TRUE(audio.calls.empty()) << "second close, got:\n" << audio.transcript();
}

} // namespace
} // namespace vlo
