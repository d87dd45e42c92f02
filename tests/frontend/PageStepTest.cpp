// The page logic's timelines: the caption appears during the title, a track
// change swaps the caption and, 1.5 s later, the picture; the credits picture
// is loaded once; the buttons' target follows the show's phases.
#include <gtest/gtest.h>

#include "support/ShowScreenHarness.h"
#include "widgets/PopupMenuWidget.h"
#include "widgets/StaticWidget.h"

namespace vlo {
namespace {

using show::nextButtonPoint;
using test::ShowScreenHarness;

// Which track's picture a texture holds, told by its width in pixels.
int pictureWidth(ShowScreenHarness& h, int texture)
{
    const TextureInfo* info = h.renderer->textureInfo(texture);
    return info ? info->sourceWidth : -1;
}

class PageStepTest : public ::testing::Test {
protected:
    // Runs until the title is over and the buttons rest in view.
    void runPastTitle() { h.fastForward(10.0f); }

    ShowScreenHarness h{show::standardShow(3)};
    ShowScreen& s = *h.screen;
};

TEST_F(PageStepTest, CaptionAppearsAtFourTenthsOfTheTitle)
{
    h.fastForward(3.35f);
    h.runUntil(3.39f);
    EXPECT_TRUE(s.caption->hidden) << "caption shown before 3.4 s";
    EXPECT_EQ(s.pictureAlphaTarget, 0.0f);
    EXPECT_FALSE(s.pageState.captionRevealed);
    h.runUntil(3.42f);
    EXPECT_FALSE(s.caption->hidden) << "caption still hidden after 3.4 s";
    EXPECT_EQ(s.pictureAlphaTarget, 1.0f) << "the picture starts fading in";
    EXPECT_EQ(s.pictureFadeSpeed, 1.0f);
    EXPECT_TRUE(s.pageState.captionRevealed);
    // It is never hidden again.
    h.runUntil(12.0f, 50);
    EXPECT_FALSE(s.caption->hidden);
}

TEST_F(PageStepTest, TitleEndBringsTheButtonsInAndAllowsTheMenu)
{
    h.fastForward(8.45f);
    h.runUntil(8.5f);
    EXPECT_TRUE(s.panelAway);
    EXPECT_TRUE(h.config->titlePending);
    while (s.panelAway && h.now() < 9.0f)
        h.step();
    EXPECT_FALSE(s.panelAway);
    EXPECT_NEAR(h.now(), 8.52f, 0.015f);
    EXPECT_NEAR(s.panelTargetY, 4.85f, 1e-4f);
}

TEST_F(PageStepTest, NextSwapsCaptionAfterHalfASecondAndPictureTwoSecondsAfterThePress)
{
    runPastTitle();
    const int oldCaption = s.captionTextures[0];
    const int oldPicture = s.pictureTextures[0];
    const float pressed = h.now();
    h.click(nextButtonPoint.x, nextButtonPoint.y);
    ASSERT_EQ(h.config->currentTrack, 1u) << "the next track plays at once";
    EXPECT_EQ(h.playingPath(), "music/track2.wav");

    h.runUntil(pressed + 0.49f);
    EXPECT_EQ(s.captionTextures[0], oldCaption) << "caption changed before 0.5 s";
    EXPECT_FALSE(s.trackSwapPending);
    h.runUntil(pressed + 0.52f);
    EXPECT_NE(s.captionTextures[0], oldCaption) << "caption did not change at 0.5 s";
    EXPECT_EQ(s.caption->backgroundImage, uint32_t(s.captionTextures[0]));
    EXPECT_FALSE(h.renderer->deleteTexture(oldCaption)) << "the old caption texture was deleted";
    EXPECT_TRUE(s.trackSwapPending);
    EXPECT_EQ(s.pictureAlphaTarget, 0.0f) << "the old picture fades out";
    EXPECT_EQ(s.pictureFadeSpeed, 3.5f);
    EXPECT_EQ(s.pictureTextures[0], oldPicture);

    h.runUntil(pressed + 1.99f);
    EXPECT_EQ(s.pictureTextures[0], oldPicture) << "picture changed before 2.0 s";
    h.runUntil(pressed + 2.04f);
    EXPECT_NE(s.pictureTextures[0], oldPicture) << "picture did not change at 2.0 s";
    EXPECT_EQ(s.picture->backgroundImage, uint32_t(s.pictureTextures[0]));
    EXPECT_EQ(pictureWidth(h, s.pictureTextures[0]), show::trackPictureWidth(1));
    EXPECT_FALSE(h.renderer->deleteTexture(oldPicture)) << "the old picture texture was deleted";
    EXPECT_FALSE(s.trackSwapPending);
    EXPECT_EQ(s.pictureAlphaTarget, 1.0f) << "the new picture fades in";
    EXPECT_EQ(s.pictureFadeSpeed, 3.5f);
    EXPECT_FALSE(s.pageState.swapTimer.running);
}

TEST_F(PageStepTest, TrackEndingByItselfSwapsTheCaptionOnTheSameFrame)
{
    runPastTitle();
    const int oldCaption = s.captionTextures[0];
    h.audio.finish(h.stream());
    h.step();
    EXPECT_EQ(h.config->currentTrack, 1u);
    EXPECT_EQ(h.playingPath(), "music/track2.wav");
    EXPECT_NE(s.captionTextures[0], oldCaption) << "no 0.5 s wait after an automatic advance";
    EXPECT_TRUE(s.trackSwapPending);
    const float changed = h.now();
    h.runUntil(changed + 1.52f);
    EXPECT_FALSE(s.trackSwapPending);
    EXPECT_EQ(pictureWidth(h, s.pictureTextures[0]), show::trackPictureWidth(1));
}

TEST_F(PageStepTest, SecondChangeWithinTheDelayShowsTheLatestPicture)
{
    runPastTitle();
    const float first = h.now();
    h.click(nextButtonPoint.x, nextButtonPoint.y);
    h.runUntil(first + 1.0f);
    ASSERT_TRUE(s.trackSwapPending);
    h.click(nextButtonPoint.x, nextButtonPoint.y);
    ASSERT_EQ(h.config->currentTrack, 2u);
    // The first swap would have come at 2.0 s; the second change restarted it.
    h.runUntil(first + 2.3f);
    EXPECT_TRUE(s.trackSwapPending) << "the swap timer was not restarted";
    EXPECT_EQ(pictureWidth(h, s.pictureTextures[0]), show::trackPictureWidth(0));
    h.runUntil(first + 3.05f);
    EXPECT_FALSE(s.trackSwapPending);
    EXPECT_EQ(pictureWidth(h, s.pictureTextures[0]), show::trackPictureWidth(2))
        << "the swap shows the entry current when it comes due";
}

TEST_F(PageStepTest, TrackChangeWhileTheMenuIsOpenFadesTheNewPictureInToHalf)
{
    runPastTitle();
    const float pressed = h.now();
    h.click(nextButtonPoint.x, nextButtonPoint.y);
    h.step();
    // Open the menu before the change is reported.
    h.click(100, 150, RightButton);
    ASSERT_TRUE(s.menu->isOpen());
    h.runUntil(pressed + 2.1f);
    EXPECT_FALSE(s.trackSwapPending);
    EXPECT_EQ(s.pictureAlphaTarget, 0.5f);
    h.fastForward(pressed + 4.0f);
    EXPECT_EQ(s.picture->backgroundColor.a, 0.5f);
}

TEST_F(PageStepTest, CreditsPictureIsLoadedOnceAndReplacesTheTitlePicture)
{
    runPastTitle();
    const int title = s.overlayTexture;
    ASSERT_NE(title, 0);
    ASSERT_TRUE(h.config->startCreditsOverlay(false));
    h.step();
    const int credits = s.overlayTexture;
    EXPECT_NE(credits, title);
    EXPECT_NE(credits, 0);
    EXPECT_EQ(h.config->creditsTexture, credits);
    EXPECT_TRUE(s.pageState.creditsLoaded);
    EXPECT_FALSE(h.renderer->deleteTexture(title)) << "the title texture was deleted";
    const TextureInfo* info = h.renderer->textureInfo(credits);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->sourceWidth, 700);

    // A second run reuses it: no texture is loaded at all.
    h.runUntil(h.now() + 10.5f, 50);
    ASSERT_FALSE(h.config->creditsTimer.running);
    ASSERT_TRUE(h.config->startCreditsOverlay(false));
    h.runUntil(h.now() + 1.0f);
    EXPECT_EQ(s.overlayTexture, credits);
    EXPECT_EQ(h.config->creditsTexture, credits);
    EXPECT_EQ(h.renderer->textureInfo(credits + 1), nullptr) << "another texture was loaded";
}

TEST_F(PageStepTest, ClosingSequenceLoadsTheCreditsAndMovesTheButtonsAway)
{
    runPastTitle();
    PostQuitMessage(0);
    while (!h.window->isQuitRequested())
        ASSERT_TRUE(h.window->pumpMessage());
    ASSERT_TRUE(h.config->creditsTimer.running);
    h.step();
    EXPECT_TRUE(s.panelAway);
    EXPECT_NE(h.config->creditsTexture, 0);
    EXPECT_NEAR(s.panelTargetY, 6.35f, 1e-4f);
}

} // namespace
} // namespace vlo
