// The play list and the show sequencing of ShowConfig, frame by frame on a
// fake tick count, against the recording audio back end and a recording
// renderer. A frame is what the program does each frame: the page logic's
// updateShow, then the desktop's drawOverlays.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "content/ShowConfig.h"
#include "music/MusicPlayer.h"
#include "support/FakeClock.h"
#include "support/RecordingAudio.h"
#include "support/RecordingRenderer.h"
#include "support/ScratchDir.h"
#include "support/WaitingQuit.h"

namespace vlo {
namespace {

const char* eventName(ShowEvent event)
{
    switch (event) {
    case Nothing:
        return "Nothing";
    case TrackChanged:
        return "TrackChanged";
    case TitleFinished:
        return "TitleFinished";
    case CreditsRunning:
        return "CreditsRunning";
    case CreditsFinished:
        return "CreditsFinished";
    }
    return "?";
}

#define EXPECT_EVENT(got, expected, when)                                                                              \
    EXPECT_EQ((got), (expected)) << (when) << ": expected " << eventName(expected) << ", got " << eventName(got)

const char* const kThreeTracks = "[vloData]\n"
                                 "title: gui/title.png\n"
                                 "mask: gui/mask.png\n"
                                 "credits: gui/credits.png\n"
                                 "[end]\n"
                                 "[vloMusic]\n"
                                 "music/one.ogg pictures/one.png captions/one.png\n"
                                 "music/two.ogg pictures/two.png captions/two.png\n"
                                 "music/three.ogg pictures/three.png captions/three.png\n"
                                 "[end]\n";

class PlaylistTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        load(kThreeTracks);
        test::takeWaitingQuits(clock);
    }

    // A configuration read from a loose Vellumo.ini (the archive is not
    // open, so the name is read as it is).
    void load(const std::string& ini)
    {
        folder.write("Vellumo.ini", ini);
        config = std::make_unique<ShowConfig>(folder.path("Vellumo.ini").c_str());
        ASSERT_EQ(config->loadFailed, 0) << ini;
    }

    // The show as the front end starts it: first entry playing, the
    // durations it sets.
    void startShow()
    {
        ASSERT_TRUE(config->selectTrack(0));
        ASSERT_TRUE(config->playCurrentTrack(player));
        config->setTitleDuration(8.5f);
        config->setCreditsDuration(10.0f);
        audio.calls.clear();
    }

    ShowEvent frame(uint32_t milliseconds = 10)
    {
        clock.advance(milliseconds);
        const ShowEvent event = config->updateShow(player);
        config->drawOverlays(renderer);
        return event;
    }

    // The volumes set since the recording was last cleared.
    std::vector<int> volumesSet() const
    {
        std::vector<int> volumes;
        for (const test::AudioCall& call : audio.callsOf("BASS_ChannelSetAttributes"))
            volumes.push_back(int(call.args[2]));
        return volumes;
    }

    test::FakeClock clock{50000};
    test::RecordingAudio audio;
    test::RecordingRenderer renderer;
    test::ScratchDir folder{"playlist"};
    std::unique_ptr<ShowConfig> config;
    MusicPlayer player{nullptr, 44100};
};

TEST_F(PlaylistTest, SelectTrackAndThePathGetters)
{
    EXPECT_EQ(config->titlePath(), "gui/title.png");
    EXPECT_EQ(config->maskPath(), "gui/mask.png");
    EXPECT_EQ(config->creditsPath(), "gui/credits.png");

    EXPECT_TRUE(config->selectTrack(2));
    EXPECT_EQ(config->currentTrack, 2u);
    EXPECT_EQ(config->currentTrackFile(), "music/three.ogg");
    EXPECT_EQ(config->currentTrackPicture(), "pictures/three.png");
    EXPECT_EQ(config->currentTrackCaption(), "captions/three.png");

    EXPECT_FALSE(config->selectTrack(3)) << "one past the last entry";
    EXPECT_EQ(config->currentTrack, 2u) << "a refused selection keeps the entry";

    config->loadFailed = 1;
    EXPECT_FALSE(config->selectTrack(0)) << "nothing can be selected after a failed load";
    EXPECT_EQ(config->currentTrack, 2u);
}

TEST_F(PlaylistTest, CaptionOutsideItsListIsEmpty)
{
    config->trackCaptions.pop_back();
    ASSERT_TRUE(config->selectTrack(2));
    EXPECT_EQ(config->currentTrackFile(), "music/three.ogg");
    EXPECT_EQ(config->currentTrackCaption(), "");
}

TEST_F(PlaylistTest, PlayCurrentTrackStopsClosesOpensAndPlays)
{
    startShow();
    const HSTREAM first = player.stream;
    ASSERT_TRUE(config->selectTrack(1));
    EXPECT_TRUE(config->playCurrentTrack(player));
    ASSERT_EQ(audio.sequence(),
        "BASS_ChannelStop BASS_StreamFree "
        "BASS_StreamCreateFile BASS_ChannelSetAttributes BASS_ChannelPlay")
        << "stop, close (the stream is stopped already, so only freed), open, play:\n"
        << audio.transcript();
    EXPECT_EQ(audio.calls[0].args[0], int64_t(first));
    EXPECT_EQ(audio.calls[1].args[0], int64_t(first));
    EXPECT_EQ(audio.calls[2].path, "music/two.ogg");
    EXPECT_EQ(player.state, Playing);
}

TEST_F(PlaylistTest, PlayCurrentTrackWithAnUnplayableFileDoesNotPlay)
{
    startShow();
    audio.unplayable.insert("music/two.ogg");
    ASSERT_TRUE(config->selectTrack(1));
    EXPECT_FALSE(config->playCurrentTrack(player));
    EXPECT_EQ(audio.count("BASS_ChannelPlay"), 0u) << audio.transcript();
    EXPECT_EQ(player.state, Closed);
}

TEST_F(PlaylistTest, NextOnTheLastEntryWrapsToTheFirstAndPreviousOnTheFirstToTheLast)
{
    startShow();
    ASSERT_TRUE(config->nextTrack(player));
    EXPECT_EQ(config->currentTrack, 1u);
    ASSERT_TRUE(config->nextTrack(player));
    EXPECT_EQ(config->currentTrack, 2u);
    ASSERT_TRUE(config->nextTrack(player));
    EXPECT_EQ(config->currentTrack, 0u) << "next on the last entry";
    ASSERT_TRUE(config->previousTrack(player));
    EXPECT_EQ(config->currentTrack, 2u) << "previous on the first entry";
    ASSERT_TRUE(config->previousTrack(player));
    EXPECT_EQ(config->currentTrack, 1u);

    std::vector<std::string> opened;
    for (const test::AudioCall& call : audio.callsOf("BASS_StreamCreateFile"))
        opened.push_back(call.path);
    EXPECT_EQ(opened,
        (std::vector<std::string>{
            "music/two.ogg", "music/three.ogg", "music/one.ogg", "music/three.ogg", "music/two.ogg"}));
}

TEST_F(PlaylistTest, AManualChangeSignalsOnceHalfASecondAfterTheLastPress)
{
    startShow();
    config->nextTrack(player);
    config->startTrackChangeTimer();
    // 500 ms is not yet "more than half the delay"; 510 is.
    for (int ms = 10; ms <= 500; ms += 10)
        EXPECT_EVENT(frame(), Nothing, "at " + std::to_string(ms) + " ms");
    EXPECT_EVENT(frame(), TrackChanged, "at 510 ms");
    for (int ms = 520; ms <= 3000; ms += 10)
        ASSERT_EQ(frame(), Nothing) << "a second signal at " << ms << " ms";
}

TEST_F(PlaylistTest, ASecondPressRestartsTheWait)
{
    startShow();
    config->nextTrack(player);
    config->startTrackChangeTimer();
    for (int ms = 10; ms <= 300; ms += 10)
        ASSERT_EQ(frame(), Nothing) << "at " << ms << " ms";
    config->nextTrack(player);
    config->startTrackChangeTimer();
    int signals = 0;
    int signalAt = 0;
    for (int ms = 10; ms <= 2000; ms += 10) {
        if (frame() == TrackChanged) {
            ++signals;
            signalAt = ms;
        }
    }
    EXPECT_EQ(signals, 1);
    EXPECT_EQ(signalAt, 510) << "milliseconds after the second press";
    EXPECT_EQ(config->currentTrack, 2u);
}

TEST_F(PlaylistTest, ATrackThatEndsAdvancesInTheSameFrame)
{
    startShow();
    EXPECT_EVENT(frame(), Nothing, "while the first track plays");
    audio.finish(player.stream);
    EXPECT_EVENT(frame(), TrackChanged, "the frame the track ended");
    EXPECT_EQ(config->currentTrack, 1u);
    EXPECT_EQ(player.state, Playing);
    ASSERT_NE(audio.stream(player.stream), nullptr);
    EXPECT_EQ(audio.stream(player.stream)->path, "music/two.ogg");
    EXPECT_EQ(audio.stream(player.stream)->phase, BASS_ACTIVE_PLAYING);
    EXPECT_EVENT(frame(), Nothing, "the next frame");
}

TEST_F(PlaylistTest, AStoppedOrPausedTrackIsNotAdvanced)
{
    startShow();
    player.pause();
    EXPECT_EVENT(frame(), Nothing, "paused");
    player.stop();
    EXPECT_EVENT(frame(), Nothing, "stopped");
    EXPECT_EQ(config->currentTrack, 0u);
}

TEST_F(PlaylistTest, TheTitleEndsWithOneTitleFinished)
{
    startShow();
    EXPECT_TRUE(config->startTitleOverlay());
    EXPECT_FALSE(config->startTitleOverlay()) << "while the title runs";
    for (int ms = 10; ms <= 8500; ms += 10)
        ASSERT_EQ(frame(), Nothing) << "at " << ms << " ms of the title";
    EXPECT_EVENT(frame(), Nothing, "8510 ms: the drawing ends the title");
    EXPECT_FALSE(config->titleTimer.running);
    EXPECT_EVENT(frame(), TitleFinished, "the frame after");
    EXPECT_EVENT(frame(), Nothing, "then");
    EXPECT_TRUE(config->startTitleOverlay()) << "once it has ended";
}

TEST_F(PlaylistTest, DuringTheTitleAnEndedTrackStillAdvances)
{
    startShow();
    config->startTitleOverlay();
    frame();
    audio.finish(player.stream);
    EXPECT_EVENT(frame(), TrackChanged, "track ended during the title");
    EXPECT_EQ(config->currentTrack, 1u);
}

TEST_F(PlaylistTest, DuringCreditsAnEndedTrackIsNotAdvanced)
{
    for (bool quit : {false, true}) {
        SCOPED_TRACE(quit ? "closing sequence" : "show-only credits");
        load(kThreeTracks);
        startShow();
        ASSERT_TRUE(config->startCreditsOverlay(quit));
        frame();
        audio.finish(player.stream);
        for (int i = 0; i < 50; ++i)
            ASSERT_EQ(frame(), CreditsRunning) << "frame " << i;
        EXPECT_EQ(config->currentTrack, 0u);
        EXPECT_EQ(audio.count("BASS_StreamCreateFile"), 0u) << audio.transcript();
        player.close();
        test::takeWaitingQuits(clock);
    }
}

TEST_F(PlaylistTest, AQuitDuringTheTitleCannotStartTheClosingSequence)
{
    startShow();
    config->startTitleOverlay();
    frame();
    EXPECT_FALSE(config->startCreditsOverlay(true));
    EXPECT_FALSE(config->creditsTimer.running);

    // Nor during credits.
    for (int ms = 0; ms < 9000; ms += 10)
        frame();
    ASSERT_FALSE(config->titleTimer.running);
    frame();
    ASSERT_TRUE(config->startCreditsOverlay(false));
    EXPECT_FALSE(config->startCreditsOverlay(true));
    EXPECT_FALSE(config->quitAfterCredits) << "the refused request changes nothing";
}

TEST_F(PlaylistTest, TheClosingSequenceFadesTheMusicOutAndQuitsOneFrameAfterTenSeconds)
{
    startShow();
    ASSERT_TRUE(config->startCreditsOverlay(true));
    std::vector<int> volumesInOrder;
    int frameCount = 0;
    for (int ms = 10; ms <= 10010; ms += 10) {
        audio.calls.clear();
        const ShowEvent event = frame();
        ++frameCount;
        ASSERT_EQ(event, CreditsRunning) << "at " << ms << " ms";
        const std::vector<int> volumes = volumesSet();
        ASSERT_EQ(volumes.size(), 1u) << "one volume a frame, at " << ms << " ms";
        const int wholeSeconds = ms / 1000;
        const int expected = wholeSeconds >= 5 ? 0 : 100 - 20 * wholeSeconds;
        ASSERT_EQ(volumes[0], expected) << "volume at " << ms << " ms";
        if (volumesInOrder.empty() || volumesInOrder.back() != volumes[0])
            volumesInOrder.push_back(volumes[0]);
        ASSERT_EQ(test::takeWaitingQuits(clock), 0) << "quit already at " << ms << " ms";
    }
    EXPECT_EQ(volumesInOrder, (std::vector<int>{100, 80, 60, 40, 20, 0}));
    EXPECT_FALSE(config->creditsTimer.running) << "the overlay's time is up at 10010 ms";
    EXPECT_TRUE(config->creditsAtFull);

    audio.calls.clear();
    EXPECT_EVENT(frame(), Nothing, "the frame after the overlay");
    EXPECT_EQ(test::takeWaitingQuits(clock), 1) << "one quit message on the frame after the overlay";
    EXPECT_EQ(audio.count("BASS_StreamCreateFile"), 0u) << "no track change while quitting";
}

TEST_F(PlaylistTest, TheClosingSequenceHoldsTheCreditsAtFullOpacity)
{
    startShow();
    config->creditsTexture = 7;
    ASSERT_TRUE(config->startCreditsOverlay(true));
    int heldFrom = 0;
    for (int ms = 10; ms <= 10000; ms += 10) {
        renderer.clearCalls();
        frame();
        const std::vector<test::RendererCall> colours = renderer.callsOf("setColor");
        ASSERT_EQ(colours.size(), 1u) << renderer.transcript();
        const float alpha = colours[0].floats[3];
        if (heldFrom != 0) {
            ASSERT_FLOAT_EQ(alpha, 1.0f) << "held since " << heldFrom << " ms, at " << ms << " ms";
            continue;
        }
        if (alpha == 1.0f) {
            heldFrom = ms;
            continue;
        }
        const double rising = std::sin(3.14159265358979 * ms / 10000.0);
        ASSERT_NEAR(alpha, rising, 1e-4) << "fading in at " << ms << " ms";
    }
    // sin(pi t / 10) passes 0.99 at about 4.55 s; the hold starts the frame after.
    EXPECT_GE(heldFrom, 4550);
    EXPECT_LE(heldFrom, 4570);
}

TEST_F(PlaylistTest, ClosingSequenceQuitsEvenWhenStalledFramesMissFullOpacity)
{
    startShow();
    ASSERT_TRUE(config->startCreditsOverlay(true));
    EXPECT_EQ(frame(4500), CreditsRunning);
    EXPECT_EQ(frame(1000), CreditsRunning); // 5.5 s: opacity 0.988
    EXPECT_FALSE(config->creditsAtFull);
    EXPECT_EQ(frame(4600), CreditsRunning); // 10.1 s: the overlay ends
    EXPECT_EQ(test::takeWaitingQuits(clock), 0);
    EXPECT_EVENT(frame(), Nothing, "after the overlay");
    EXPECT_EQ(test::takeWaitingQuits(clock), 1) << "the program must still end after its closing sequence";
}

TEST_F(PlaylistTest, ShowOnlyCreditsEndWithOneCreditsFinished)
{
    startShow();
    ASSERT_TRUE(config->startCreditsOverlay(false));
    EXPECT_FALSE(config->quitAfterCredits);
    int ms = 0;
    while (config->creditsTimer.running && ms < 20000) {
        ASSERT_EQ(frame(), CreditsRunning) << "at " << ms << " ms";
        ms += 10;
    }
    EXPECT_EQ(ms, 10010) << "milliseconds the overlay ran";
    EXPECT_FALSE(config->creditsAtFull) << "cleared for the next run";
    EXPECT_EVENT(frame(), CreditsFinished, "the frame after");
    EXPECT_TRUE(config->quitAfterCredits);
    EXPECT_EVENT(frame(), Nothing, "normal play again");
    EXPECT_EQ(test::takeWaitingQuits(clock), 0);
    EXPECT_TRUE(volumesSet().empty()) << "show-only credits leave the volume alone:\n" << audio.transcript();
}

TEST_F(PlaylistTest, UnplayableEntriesAreSkippedOnePerFrame)
{
    audio.unplayable = {"music/one.ogg", "music/two.ogg"};
    ASSERT_TRUE(config->selectTrack(0));
    EXPECT_FALSE(config->playCurrentTrack(player));
    audio.calls.clear();

    EXPECT_EVENT(frame(), TrackChanged, "frame 1");
    EXPECT_EQ(config->currentTrack, 1u);
    EXPECT_EQ(player.state, Closed);
    EXPECT_EQ(audio.count("BASS_StreamCreateFile"), 1u);

    EXPECT_EVENT(frame(), TrackChanged, "frame 2");
    EXPECT_EQ(config->currentTrack, 2u);
    EXPECT_EQ(player.state, Playing);
    EXPECT_EQ(audio.count("BASS_StreamCreateFile"), 2u);

    EXPECT_EVENT(frame(), Nothing, "frame 3");
}

// With nothing playable the list makes one pass, then stays on the entry it
// reached instead of turning (and making the screen reload) every frame;
// next, previous and a new start still try, and a track that opens again
// brings the automatic advance back.
TEST_F(PlaylistTest, NothingPlayableStopsTheAdvanceAfterOnePass)
{
    audio.unplayable = {"music/one.ogg", "music/two.ogg", "music/three.ogg"};
    ASSERT_TRUE(config->selectTrack(0));
    EXPECT_FALSE(config->playCurrentTrack(player));
    audio.calls.clear();
    EXPECT_EVENT(frame(), TrackChanged, "frame 1");
    EXPECT_EVENT(frame(), TrackChanged, "frame 2");
    EXPECT_EQ(config->currentTrack, 2u) << "every entry tried once";
    for (int i = 0; i < 100; ++i)
        EXPECT_EVENT(frame(), Nothing, "after the pass, frame " + std::to_string(i));
    EXPECT_EQ(config->currentTrack, 2u) << "stays on the entry reached";
    EXPECT_EQ(audio.count("BASS_StreamCreateFile"), 2u) << "no more tries by itself";

    EXPECT_FALSE(config->nextTrack(player));
    EXPECT_EQ(config->currentTrack, 0u);
    EXPECT_EQ(audio.count("BASS_StreamCreateFile"), 3u) << "next tries once";
    EXPECT_EVENT(frame(), Nothing, "after a failed next");
    EXPECT_EQ(audio.count("BASS_StreamCreateFile"), 3u);

    audio.unplayable.erase("music/two.ogg");
    EXPECT_TRUE(config->nextTrack(player));
    EXPECT_EQ(player.state, Playing);
    EXPECT_EQ(config->failedOpens, 0u);
    // The track that opened ends: the advance runs again, for one pass.
    audio.finish(player.stream);
    EXPECT_EVENT(frame(), TrackChanged, "an ended track advances");
    EXPECT_EQ(config->currentTrack, 2u);
}

TEST_F(PlaylistTest, AnEmptyListAnswersEmptyPathsAndNeverCrashes)
{
    load("[vloData]\ntitle: gui/title.png\n[end]\n");
    ASSERT_TRUE(config->tracks.empty());
    EXPECT_FALSE(config->selectTrack(0));
    EXPECT_EQ(config->currentTrackFile(), "");
    EXPECT_EQ(config->currentTrackPicture(), "");
    EXPECT_EQ(config->currentTrackCaption(), "");
    EXPECT_FALSE(config->playCurrentTrack(player));

    EXPECT_FALSE(config->previousTrack(player));
    EXPECT_EQ(config->currentTrack, 0xFFFFFFFFu) << "previous from 0 moves out of range";
    EXPECT_FALSE(config->nextTrack(player));
    EXPECT_EQ(config->currentTrack, 0u) << "unsigned wrap";
    for (int i = 0; i < 5; ++i) {
        EXPECT_EVENT(frame(), Nothing, "nothing to play: the list does not turn");
        EXPECT_EQ(config->currentTrack, 0u);
        EXPECT_EQ(config->currentTrackFile(), "");
        EXPECT_EQ(config->currentTrackPicture(), "");
        EXPECT_EQ(config->currentTrackCaption(), "");
    }
    EXPECT_EQ(player.state, Closed);
    EXPECT_EQ(audio.count("BASS_ChannelPlay"), 0u);
}

TEST_F(PlaylistTest, DurationsAreStoredAsAbsoluteValues)
{
    config->setTitleDuration(-8.5f);
    config->setCreditsDuration(-10.0f);
    EXPECT_FLOAT_EQ(config->titleDuration, 8.5f);
    EXPECT_FLOAT_EQ(config->creditsDuration, 10.0f);
    config->setTitleDuration(3.0f);
    EXPECT_FLOAT_EQ(config->titleDuration, 3.0f);
}

} // namespace
} // namespace vlo
