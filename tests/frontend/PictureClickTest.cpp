// Opening and closing the window menu on the track picture: a right press
// opens it at the pointer (kept inside the view), not during the title or
// credits; a left press on the picture closes it.
#include <gtest/gtest.h>

#include "support/ShowScreenHarness.h"
#include "widgets/PopupMenuWidget.h"
#include "widgets/StaticWidget.h"

namespace vlo {
namespace {

using test::ShowScreenHarness;

constexpr float eps = 1e-4f;

class PictureClickTest : public ::testing::Test {
protected:
    void expectMenuAt(float x, float y)
    {
        ASSERT_TRUE(s.menu->isOpen());
        const Vector2 at = s.menu->position();
        EXPECT_NEAR(at.x, x, eps) << "menu x";
        EXPECT_NEAR(at.y, y, eps) << "menu y";
    }

    ShowScreenHarness h{show::standardShow(3)};
    ShowScreen& s = *h.screen;
};

TEST_F(PictureClickTest, RightPressDuringTheTitleDoesNothing)
{
    h.fastForward(5.0f);
    const float target = s.pictureAlphaTarget;
    h.click(300, 250, RightButton);
    EXPECT_FALSE(s.menu->isOpen());
    EXPECT_FALSE(popupOpen);
    EXPECT_EQ(s.pictureAlphaTarget, target);
}

TEST_F(PictureClickTest, MenuCanOpenFromTheFrameTheTitleEnds)
{
    h.fastForward(8.4f);
    while (!h.config->titlePending || h.config->titleTimer.running)
        h.step();
    // The title overlay has ended but its end is reported on the next frame.
    h.click(300, 250, RightButton);
    EXPECT_FALSE(s.menu->isOpen()) << "menu opened before the title's end was reported";
    h.step();
    ASSERT_FALSE(s.panelAway);
    h.click(300, 250, RightButton);
    EXPECT_TRUE(s.menu->isOpen());
}

TEST_F(PictureClickTest, RightPressOpensTheMenuAtThePointerAndDimsThePicture)
{
    h.fastForward(10.0f);
    h.click(150, 150, RightButton);
    expectMenuAt(1.5f, 1.5f);
    EXPECT_TRUE(popupOpen);
    EXPECT_EQ(s.pictureAlphaTarget, 0.5f);
    EXPECT_EQ(s.pictureFadeSpeed, 1.0f);
    // 0.2 alpha per second: half alpha 2.5 s later.
    const float opened = h.now();
    h.runUntil(opened + 1.0f);
    EXPECT_NEAR(s.picture->backgroundColor.a, 0.8f, 2e-3f);
    h.runUntil(opened + 2.6f);
    EXPECT_EQ(s.picture->backgroundColor.a, 0.5f);
}

TEST_F(PictureClickTest, NearTheRightEdgeTheMenuOpensToTheLeft)
{
    h.fastForward(10.0f);
    h.click(650, 150, RightButton);
    expectMenuAt(6.5f - 1.8f, 1.5f);
}

TEST_F(PictureClickTest, LowOnThePictureTheMenuOpensAbove)
{
    h.fastForward(10.0f);
    h.click(150, 380, RightButton);
    expectMenuAt(1.5f, 3.8f - 1.8f);
    h.click(100, 100, LeftButton); // outside the picture: stays open
    h.click(650, 390, RightButton);
    expectMenuAt(6.5f - 1.8f, 3.9f - 1.8f);
}

TEST_F(PictureClickTest, LeftPressOnThePictureClosesTheMenu)
{
    h.fastForward(10.0f);
    h.click(150, 150, RightButton);
    ASSERT_TRUE(s.menu->isOpen());
    h.click(500, 300, LeftButton);
    EXPECT_FALSE(s.menu->isOpen());
    EXPECT_FALSE(popupOpen);
    const Vector2 at = s.menu->position();
    EXPECT_NEAR(at.x, -100.0f, eps);
    EXPECT_NEAR(at.y, -100.0f, eps);
    EXPECT_EQ(s.pictureAlphaTarget, 1.0f);
    EXPECT_EQ(s.pictureFadeSpeed, 1.0f);
}

TEST_F(PictureClickTest, LeftPressWithTheMenuClosedChangesNothing)
{
    h.fastForward(10.0f);
    s.pictureAlphaTarget = 0.25f;
    s.pictureFadeSpeed = 2.0f;
    h.click(500, 300, LeftButton);
    EXPECT_EQ(s.pictureAlphaTarget, 0.25f);
    EXPECT_EQ(s.pictureFadeSpeed, 2.0f);
    EXPECT_FALSE(s.menu->isOpen());
}

TEST_F(PictureClickTest, PressOutsideThePictureLeavesTheMenuOpen)
{
    h.fastForward(10.0f);
    h.click(150, 150, RightButton);
    h.click(600, 450, LeftButton); // on the background below the picture
    EXPECT_TRUE(s.menu->isOpen());
    h.click(600, 50, LeftButton); // on the caption above it
    EXPECT_TRUE(s.menu->isOpen());
}

TEST_F(PictureClickTest, DuringATrackSwapTheMenuLeavesThePictureTargetAlone)
{
    h.fastForward(10.0f);
    h.audio.finish(h.stream());
    h.step();
    ASSERT_TRUE(s.trackSwapPending);
    ASSERT_EQ(s.pictureAlphaTarget, 0.0f);
    h.click(150, 150, RightButton);
    EXPECT_TRUE(s.menu->isOpen());
    EXPECT_EQ(s.pictureAlphaTarget, 0.0f);
    EXPECT_EQ(s.pictureFadeSpeed, 3.5f);
    h.click(500, 300, LeftButton);
    EXPECT_FALSE(s.menu->isOpen());
    EXPECT_EQ(s.pictureAlphaTarget, 0.0f);
}

TEST_F(PictureClickTest, RightPressWhileCreditsRunDoesNothing)
{
    h.fastForward(10.0f);
    ASSERT_TRUE(h.config->startCreditsOverlay(false));
    h.step();
    ASSERT_TRUE(s.panelAway);
    h.click(150, 150, RightButton);
    EXPECT_FALSE(s.menu->isOpen());
}

} // namespace
} // namespace vlo
