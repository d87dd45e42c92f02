// The four player buttons drive the player and the play list: play/pause
// pauses and resumes, stop stops (play then starts over), previous and next
// step with wrap-around; the play button's images follow.
#include <gtest/gtest.h>

#include "support/ShowScreenHarness.h"
#include "widgets/PopupMenuWidget.h"
#include "widgets/PushButtonWidget.h"
#include "widgets/StaticWidget.h"

namespace vlo {
namespace {

using test::ShowScreenHarness;
using namespace show;

class PlayerHandlersTest : public ::testing::Test {
protected:
    void SetUp() override { h.fastForward(10.0f); }

    void clickAt(PixelPoint p, int button = LeftButton) { h.click(p.x, p.y, button); }

    void expectPauseImages(bool pause, const char* when)
    {
        EXPECT_EQ(s.musicPlaying, pause) << when;
        EXPECT_EQ(s.playButton->image, uint32_t(pause ? s.pauseOffTexture : s.playOffTexture)) << when;
        EXPECT_EQ(s.playButton->pressedImage, uint32_t(pause ? s.pauseOnTexture : s.playOnTexture)) << when;
    }

    // The restart flag of the most recent BASS_ChannelPlay, -1 when none.
    int64_t lastPlayRestart() const
    {
        const auto plays = h.audio.callsOf("BASS_ChannelPlay");
        return plays.empty() ? -1 : plays.back().args[1];
    }

    ShowScreenHarness h{standardShow(3)};
    ShowScreen& s = *h.screen;
};

TEST_F(PlayerHandlersTest, PlayPausePausesAndResumes)
{
    h.audio.advance(3000);
    clickAt(playButtonPoint);
    EXPECT_EQ(h.player->state, Paused);
    EXPECT_EQ(h.audio.count("BASS_ChannelPause"), 1u) << h.audio.transcript();
    expectPauseImages(false, "after pausing");
    const uint32_t position = h.audio.stream(h.stream())->positionMs;

    h.runUntil(h.now() + 1.0f);
    clickAt(playButtonPoint);
    EXPECT_EQ(h.player->state, Playing);
    EXPECT_EQ(lastPlayRestart(), 0) << "resumed, not restarted";
    EXPECT_EQ(h.audio.stream(h.stream())->positionMs, position);
    expectPauseImages(true, "after resuming");
}

TEST_F(PlayerHandlersTest, StopThenPlayStartsTheTrackOver)
{
    const HSTREAM stream = h.stream();
    const size_t stopsBefore = h.audio.count("BASS_ChannelStop");
    clickAt(stopButtonPoint);
    EXPECT_EQ(h.player->state, Stopped);
    EXPECT_EQ(h.audio.count("BASS_ChannelStop"), stopsBefore + 1) << h.audio.transcript();
    expectPauseImages(false, "after stop");

    clickAt(playButtonPoint);
    EXPECT_EQ(h.player->state, Playing);
    EXPECT_EQ(lastPlayRestart(), 1) << "a stopped track starts from the beginning";
    EXPECT_EQ(h.stream(), stream) << "the same track";
    EXPECT_EQ(h.audio.stream(stream)->positionMs, 0u);
    expectPauseImages(true, "after play");
}

TEST_F(PlayerHandlersTest, PreviousOnTheFirstTrackPlaysTheLast)
{
    clickAt(playButtonPoint); // paused: play images
    clickAt(prevButtonPoint);
    EXPECT_EQ(h.config->currentTrack, 2u);
    EXPECT_EQ(h.playingPath(), "music/track3.wav");
    EXPECT_EQ(h.player->state, Playing);
    EXPECT_TRUE(h.config->trackChangeTimer.running);
    expectPauseImages(true, "after previous");
    clickAt(prevButtonPoint);
    EXPECT_EQ(h.playingPath(), "music/track2.wav");
}

TEST_F(PlayerHandlersTest, NextOnTheLastTrackPlaysTheFirst)
{
    const char* expected[] = {"music/track2.wav", "music/track3.wav", "music/track1.wav"};
    for (const char* path : expected) {
        clickAt(nextButtonPoint);
        EXPECT_EQ(h.playingPath(), path);
    }
    EXPECT_EQ(h.config->currentTrack, 0u);
}

TEST_F(PlayerHandlersTest, EitherMouseButtonWorks)
{
    clickAt(nextButtonPoint, RightButton);
    EXPECT_EQ(h.config->currentTrack, 1u);
    clickAt(playButtonPoint, RightButton);
    EXPECT_EQ(h.player->state, Paused);
    expectPauseImages(false, "after a right click on play/pause");
}

TEST_F(PlayerHandlersTest, ButtonsIgnoreTheMouseWhileTheMenuIsOpen)
{
    h.click(150, 150, RightButton);
    ASSERT_TRUE(s.menu->isOpen());
    const size_t callsBefore = h.audio.count("BASS_StreamCreateFile");
    clickAt(nextButtonPoint);
    clickAt(stopButtonPoint);
    clickAt(playButtonPoint);
    EXPECT_EQ(h.config->currentTrack, 0u);
    EXPECT_EQ(h.player->state, Playing);
    EXPECT_EQ(h.audio.count("BASS_StreamCreateFile"), callsBefore);
    expectPauseImages(true, "with the menu open");
}

// The same click as the window procedure receives it: two posted mouse
// messages with the client position packed into lParam.
TEST_F(PlayerHandlersTest, ClickThroughTheWindowProcedure)
{
    const LPARAM at = MAKELPARAM(WORD(nextButtonPoint.x), WORD(nextButtonPoint.y));
    ASSERT_TRUE(PostMessageA(h.window->getHandle(), WM_LBUTTONDOWN, MK_LBUTTON, at));
    ASSERT_TRUE(PostMessageA(h.window->getHandle(), WM_LBUTTONUP, 0, at));
    // Posted messages come before timers; a few pumps take both (an input
    // event of the window system may come between).
    for (int i = 0; i < 10 && (h.config->currentTrack != 1u || s.nextButton->pressed); ++i)
        ASSERT_TRUE(h.window->pumpMessage());
    EXPECT_EQ(h.config->currentTrack, 1u);
    EXPECT_EQ(h.playingPath(), "music/track2.wav");
    EXPECT_FALSE(s.nextButton->pressed) << "the release reached the button too";
    EXPECT_FALSE(s.dragging) << "the release ended the drag the press began";
}

TEST(PlayerHandlersCaption, TrackChangeCentresTheCaption)
{
    ShowContent content = standardShow(3);
    content.pictures["captions/track1.png"] = Canvas(500, 100, captionColour(0));
    ShowScreenHarness h(content);
    h.fastForward(10.0f);
    ASSERT_NEAR(h.screen->caption->position().x, 0.0f, 1e-4f);
    h.click(nextButtonPoint.x, nextButtonPoint.y);
    EXPECT_NEAR(h.screen->caption->position().x, 1.0f, 1e-4f) << "(7 - 5) / 2";
    EXPECT_NEAR(h.screen->caption->position().y, 0.0f, 1e-4f);
}

} // namespace
} // namespace vlo
