// The window menu's commands: each closes the menu and restores the picture
// first; credits starts a show-only credits run (not during the title), exit
// posts the quit that starts the closing sequence. A release over an item of
// a closed menu does nothing.
#include <gtest/gtest.h>

#include "support/ShowScreenHarness.h"
#include "widgets/PopupMenuWidget.h"
#include "widgets/PushButtonWidget.h"

namespace vlo {
namespace {

using test::ShowScreenHarness;

// With the menu opened at (150, 150) pixels its items (160 x 40 pixels,
// 5 pixels in from the menu's corner, 10 apart) have these middles.
constexpr int itemX = 235;
constexpr int minimiseY = 175;
constexpr int creditsY = 225;
constexpr int exitY = 275;

class MenuCommandsTest : public ::testing::Test {
protected:
    void openMenu()
    {
        h.click(150, 150, RightButton);
        ASSERT_TRUE(s.menu->isOpen());
        ASSERT_EQ(s.pictureAlphaTarget, 0.5f);
    }

    void expectClosedAndRestored()
    {
        EXPECT_FALSE(s.menu->isOpen());
        EXPECT_FALSE(popupOpen);
        EXPECT_EQ(s.pictureAlphaTarget, 1.0f);
        EXPECT_EQ(s.pictureFadeSpeed, 1.0f);
        for (uint32_t i = 0; i < 3; ++i)
            EXPECT_FALSE(s.menu->item(i)->pressed) << "item " << i;
    }

    ShowScreenHarness h{show::standardShow(3)};
    ShowScreen& s = *h.screen;
};

TEST_F(MenuCommandsTest, ItemsActOnRelease)
{
    h.fastForward(10.0f);
    openMenu();
    h.press(itemX, creditsY);
    EXPECT_TRUE(s.menu->isOpen()) << "the press alone runs no command";
    EXPECT_TRUE(s.menu->item(1)->pressed);
    EXPECT_FALSE(h.config->creditsTimer.running);
    h.release(itemX, creditsY);
    EXPECT_FALSE(s.menu->isOpen());
}

TEST_F(MenuCommandsTest, CreditsShowsTheCreditsOnceAndTheButtonsLeaveAndReturn)
{
    h.fastForward(10.0f);
    openMenu();
    h.click(itemX, creditsY);
    expectClosedAndRestored();
    EXPECT_TRUE(h.config->creditsTimer.running);
    EXPECT_FALSE(h.config->quitAfterCredits) << "a show-only credits run";
    h.step();
    EXPECT_TRUE(s.panelAway);
    EXPECT_NE(h.config->creditsTexture, 0);
    h.fastForward(h.now() + 10.1f);
    EXPECT_FALSE(h.config->creditsTimer.running);
    EXPECT_FALSE(s.panelAway);
    EXPECT_FALSE(h.window->isQuitRequested());
}

TEST_F(MenuCommandsTest, CreditsDuringTheTitleOnlyClosesTheMenu)
{
    h.runUntil(2.0f);
    // The menu cannot be opened by a press now; open it directly.
    s.menu->showAt(Vector2(1.5f, 1.5f));
    s.pictureAlphaTarget = 0.5f;
    h.click(itemX, creditsY);
    expectClosedAndRestored();
    EXPECT_FALSE(h.config->creditsTimer.running) << "credits started during the title";
}

TEST_F(MenuCommandsTest, ExitPostsTheQuitThatStartsTheClosingSequence)
{
    h.fastForward(10.0f);
    openMenu();
    h.click(itemX, exitY);
    expectClosedAndRestored();
    for (int i = 0; i < 100 && !h.window->isQuitRequested(); ++i)
        ASSERT_TRUE(h.window->pumpMessage());
    EXPECT_TRUE(h.window->isQuitRequested()) << "no quit message arrived";
    EXPECT_EQ(h.window->getExitCode(), 0);
    EXPECT_TRUE(h.config->creditsTimer.running);
    EXPECT_TRUE(h.config->quitAfterCredits);
}

TEST_F(MenuCommandsTest, MinimiseClosesTheMenu)
{
    h.fastForward(10.0f);
    openMenu();
    h.click(itemX, minimiseY);
    expectClosedAndRestored();
    EXPECT_FALSE(h.config->creditsTimer.running);
}

TEST_F(MenuCommandsTest, ReleaseOverAnItemOfAClosedMenuDoesNothing)
{
    h.fastForward(10.0f);
    s.pictureAlphaTarget = 0.25f;
    // No event can reach a closed menu (it lies off-screen), so call the
    // items' handlers as a release would.
    for (uint32_t i = 0; i < 3; ++i) {
        PushButtonWidget* item = s.menu->item(i);
        WidgetEvent release;
        release.button = LeftButton;
        EXPECT_FALSE(item->handler(MouseUp)->invoke(item, release)) << "item " << i << " ran";
    }
    EXPECT_EQ(s.pictureAlphaTarget, 0.25f);
    EXPECT_FALSE(h.config->creditsTimer.running);
    h.step();
    EXPECT_FALSE(h.window->isQuitRequested());
}

} // namespace
} // namespace vlo
