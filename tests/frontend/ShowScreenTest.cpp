// The show screen as built: its widget tree, every widget's settings, the
// handlers attached, the pictures loaded, and what runs after construction.
#include <gtest/gtest.h>

#include <string>

#include "frontend/DragHandlers.h"
#include "frontend/MenuCommands.h"
#include "frontend/PageStep.h"
#include "frontend/PanelSlide.h"
#include "frontend/PictureClick.h"
#include "frontend/PictureFade.h"
#include "frontend/PlayerHandlers.h"
#include "support/ShowScreenHarness.h"
#include "widgets/DesktopWidget.h"
#include "widgets/FrameWidget.h"
#include "widgets/PopupMenuWidget.h"
#include "widgets/PushButtonWidget.h"
#include "widgets/StaticWidget.h"
#include "widgets/TriggerEvent.h"

namespace vlo {
namespace {

using test::ShowScreenHarness;

constexpr float eps = 1e-4f;

void expectAt(Widget* widget, float x, float y, const char* what)
{
    const Vector2 at = widget->position();
    EXPECT_NEAR(at.x, x, eps) << what << " x";
    EXPECT_NEAR(at.y, y, eps) << what << " y";
}

void expectSize(Widget* widget, float w, float h, const char* what)
{
    const Vector2 size = widget->size();
    EXPECT_NEAR(size.x, w, eps) << what << " width";
    EXPECT_NEAR(size.y, h, eps) << what << " height";
}

template <typename T> bool handlerIs(Widget* widget, int kind)
{
    return dynamic_cast<T*>(widget->handler(kind)) != nullptr;
}

TEST(ShowScreen, WithoutWindowBuildsNothing)
{
    ShowScreen screen(nullptr);
    EXPECT_EQ(screen.window, nullptr);
    EXPECT_EQ(screen.renderer, nullptr);
    EXPECT_EQ(screen.config, nullptr);
    EXPECT_EQ(screen.player, nullptr);
    EXPECT_EQ(screen.desktop, nullptr);
    EXPECT_EQ(screen.picture, nullptr);
    EXPECT_EQ(screen.menu, nullptr);
    EXPECT_EQ(screen.playButton, nullptr);
    EXPECT_TRUE(screen.pictureTextures.empty());
    EXPECT_TRUE(screen.captionTextures.empty());
}

class ShowScreenBuilt : public ::testing::Test {
protected:
    ShowScreenHarness h{show::standardShow(3)};
    ShowScreen& s = *h.screen;
};

TEST_F(ShowScreenBuilt, TreeHasItsWidgetsInDrawingOrder)
{
    ASSERT_TRUE(h.archiveOpen);
    ASSERT_TRUE(h.rendererAccepted);
    ASSERT_EQ(h.config->loadFailed, 0);
    ASSERT_NE(s.desktop, nullptr);
    EXPECT_EQ(h.window->getRootWidget(), s.desktop);

    ASSERT_EQ(s.desktop->children.size(), 4u);
    EXPECT_EQ(s.desktop->children[0], s.background);
    EXPECT_EQ(s.desktop->children[1], s.picture);
    EXPECT_EQ(s.desktop->children[2], s.caption);
    EXPECT_EQ(s.desktop->children[3], s.playerPanel);

    ASSERT_EQ(s.background->children.size(), 3u);
    EXPECT_EQ(s.background->children[0], s.pageTrigger);
    EXPECT_EQ(s.background->children[1], s.fadeTrigger);
    EXPECT_EQ(s.background->children[2], s.slideTrigger);

    // The menu has no parent; the picture adopted it.
    EXPECT_EQ(s.menu->parent(), nullptr);
    EXPECT_EQ(s.picture->popup, s.menu);
    ASSERT_FALSE(s.picture->children.empty());
    EXPECT_EQ(s.picture->children.back(), s.menu);

    ASSERT_EQ(s.playerPanel->children.size(), 4u);
    for (int i = 0; i < ShowScreen::playerButtonCount; ++i)
        EXPECT_EQ(s.playerPanel->children[size_t(i)], s.playerButton(i)) << "button " << i;
    EXPECT_EQ(s.playerButton(0), s.playButton);
    EXPECT_EQ(s.playerButton(3), s.nextButton);
    EXPECT_EQ(s.playerButton(4), nullptr);

    EXPECT_EQ(s.desktop->className(), "Desktop Widget");
    EXPECT_EQ(s.background->className(), "Static Widget");
    EXPECT_EQ(s.pageTrigger->className(), "Generic Trigger Event");
    EXPECT_EQ(s.menu->className(), "PopupMenu Widget");
    EXPECT_EQ(s.playerPanel->className(), "Frame Widget");
    EXPECT_EQ(s.stopButton->className(), "PushButton Widget");
}

TEST_F(ShowScreenBuilt, DesktopBackgroundPictureAndCaptionSettings)
{
    EXPECT_NEAR(s.desktop->margin, 0.0f, eps);
    EXPECT_EQ(s.desktop->alignment, BottomRight);
    EXPECT_TRUE(s.desktop->sizeFixed);
    expectSize(s.desktop, 7.0f, 6.0f, "desktop");
    EXPECT_EQ(s.desktop->fillColor.a, 0.0f);
    EXPECT_EQ(s.desktop->fillColor.r, 0.0f);
    EXPECT_EQ(s.desktop->overlays, h.config);

    expectAt(s.background, 0.0f, 0.0f, "background");
    expectSize(s.background, 7.0f, 6.0f, "background");
    EXPECT_TRUE(s.background->hasMinimumSize);
    EXPECT_TRUE(s.background->flowExcluded);
    EXPECT_EQ(s.background->backgroundColor.a, 1.0f);
    EXPECT_EQ(s.background->backgroundColor.g, 1.0f);
    EXPECT_EQ(s.background->blendSource, BlendOne);
    EXPECT_EQ(s.background->blendDestination, BlendZero);
    EXPECT_NE(s.background->backgroundImage, 0u);

    expectAt(s.picture, 0.0f, 1.05f, "picture");
    expectSize(s.picture, 6.8f, 3.0f, "picture");
    EXPECT_TRUE(s.picture->positionFixed);
    EXPECT_TRUE(s.picture->flowExcluded);
    EXPECT_EQ(s.picture->backgroundColor.a, 0.0f) << "the picture is invisible until it fades in";
    EXPECT_EQ(s.picture->blendSource, BlendSrcAlpha);
    EXPECT_EQ(s.picture->blendDestination, BlendOneMinusSrcAlpha);
    ASSERT_EQ(s.pictureTextures.size(), 1u);
    EXPECT_EQ(s.picture->backgroundImage, uint32_t(s.pictureTextures[0]));
    EXPECT_NE(s.pictureTextures[0], 0);

    expectAt(s.caption, 0.0f, 0.0f, "caption");
    expectSize(s.caption, 7.0f, 1.0f, "caption");
    EXPECT_TRUE(s.caption->hidden);
    EXPECT_TRUE(s.caption->positionFixed);
    EXPECT_EQ(s.caption->backgroundColor.a, 1.0f);
    EXPECT_EQ(s.caption->textColor.r, 1.0f);
    EXPECT_EQ(s.caption->blendSource, BlendDstColor);
    EXPECT_EQ(s.caption->blendDestination, BlendOneMinusSrcAlpha);
    ASSERT_EQ(s.captionTextures.size(), 1u);
    EXPECT_EQ(s.caption->backgroundImage, uint32_t(s.captionTextures[0]));
    EXPECT_NE(s.captionTextures[0], s.pictureTextures[0]);
}

TEST_F(ShowScreenBuilt, PlayerPanelSitsInTheBottomRightCornerWithButtonsOutOfView)
{
    expectAt(s.playerPanel, 1.2f, 4.65f, "player panel");
    expectSize(s.playerPanel, 5.8f, 1.35f, "player panel");
    EXPECT_NEAR(s.playerPanel->margin, 0.2f, eps);
    EXPECT_NEAR(s.playerPanel->spacing, 0.1f, eps);
    EXPECT_EQ(s.playerPanel->lineWidth, 0.0f);
    EXPECT_EQ(s.playerPanel->outlineColor.a, 0.0f);

    // Laid out from (1.4, 4.85), 1.0 wide and 0.1 apart, then moved by each
    // button's offset: they wait at y 6.35, below the window.
    const float xs[4] = {1.35f, 2.35f, 3.5f, 4.6f};
    for (int i = 0; i < ShowScreen::playerButtonCount; ++i) {
        PushButtonWidget* button = s.playerButton(i);
        const std::string what = "button " + std::to_string(i);
        expectAt(button, xs[i], 6.35f, what.c_str());
        expectSize(button, 1.0f, 0.9f, what.c_str());
        EXPECT_TRUE(button->positionFixed) << what;
        EXPECT_EQ(button->blendSource, BlendDstColor) << what;
        EXPECT_EQ(button->blendDestination, BlendOneMinusSrcAlpha) << what;
        EXPECT_EQ(button->normalColor.g, 1.0f) << what;
        EXPECT_EQ(button->pressedColor.g, 1.0f) << what;
        EXPECT_EQ(button->hoverColor.b, 1.0f) << what;
        EXPECT_NE(button->image, 0u) << what;
        EXPECT_NE(button->pressedImage, button->image) << what;
    }
    EXPECT_NEAR(s.panelTargetY, 6.35f, eps);
    EXPECT_EQ(s.panelTargetY, s.playButton->position().y) << "nothing moves after construction";

    // The music is about to start: the play button shows pause.
    EXPECT_EQ(s.playButton->image, uint32_t(s.pauseOffTexture));
    EXPECT_EQ(s.playButton->pressedImage, uint32_t(s.pauseOnTexture));
    EXPECT_NE(s.playOffTexture, s.pauseOffTexture);
    EXPECT_NE(s.playOnTexture, s.pauseOnTexture);
    // Textures are numbered in load order: the seven menu graphics first,
    // then play_on, play_off, pause_on, pause_off.
    EXPECT_EQ(s.playOnTexture, 8);
    EXPECT_EQ(s.playOffTexture, 9);
    EXPECT_EQ(s.pauseOnTexture, 10);
    EXPECT_EQ(s.pauseOffTexture, 11);
    EXPECT_EQ(s.nextButton->image, 17u) << "next_off is the last of the ten panel graphics";
}

TEST_F(ShowScreenBuilt, WindowMenuIsClosedOnItsPolygonPicture)
{
    EXPECT_FALSE(s.menu->isOpen());
    EXPECT_FALSE(popupOpen);
    EXPECT_EQ(s.menu->backgroundImage, 7u) << "gui/polygon.png is the seventh texture";
    // 170 x 150 pixels plus (0.1, 0.3).
    expectSize(s.menu, 1.8f, 1.8f, "menu");
    EXPECT_NEAR(s.menu->margin, 0.05f, eps);
    EXPECT_EQ(s.menu->borderWidth, 0.0f);
    EXPECT_EQ(s.menu->backgroundColor.a, 1.0f);
    EXPECT_EQ(s.menu->blendSource, BlendDstColor);
    EXPECT_EQ(s.menu->blendDestination, BlendOneMinusSrcAlpha);

    // minimize_off/on are textures 3 and 4, credits 5 and 6, exit 1 and 2.
    const uint32_t images[3][2] = {{3, 4}, {5, 6}, {1, 2}};
    for (uint32_t i = 0; i < 3; ++i) {
        PushButtonWidget* item = s.menu->item(i);
        ASSERT_NE(item, nullptr) << "item " << i;
        EXPECT_EQ(item->image, images[i][0]) << "item " << i;
        EXPECT_EQ(item->pressedImage, images[i][1]) << "item " << i;
        EXPECT_EQ(item->blendSource, BlendDstColor) << "item " << i;
        EXPECT_EQ(item->normalColor.r, 1.0f) << "item " << i;
        expectSize(item, 1.6f, 0.4f, "item");
    }
    EXPECT_EQ(s.menu->item(3), nullptr);
}

TEST_F(ShowScreenBuilt, EveryHandlerIsAttachedWhereItBelongs)
{
    EXPECT_TRUE(handlerIs<DragMove>(s.background, MouseMove));
    EXPECT_TRUE(handlerIs<DragEnd>(s.background, MouseUp));
    EXPECT_TRUE(handlerIs<DragStart>(s.background, MouseDown));
    EXPECT_TRUE(handlerIs<PictureClick>(s.picture, MouseDown));
    EXPECT_TRUE(handlerIs<PageStep>(s.pageTrigger, Draw));
    EXPECT_TRUE(handlerIs<PictureFade>(s.fadeTrigger, Draw));
    EXPECT_TRUE(handlerIs<PanelSlide>(s.slideTrigger, Draw));
    EXPECT_TRUE(handlerIs<PlayPause>(s.playButton, MouseDown));
    EXPECT_TRUE(handlerIs<PlayPauseToggle>(s.playButton, MouseUp));
    EXPECT_TRUE(handlerIs<StopTrack>(s.stopButton, MouseDown));
    EXPECT_TRUE(handlerIs<PreviousTrack>(s.prevButton, MouseDown));
    EXPECT_TRUE(handlerIs<NextTrack>(s.nextButton, MouseDown));
    EXPECT_TRUE(handlerIs<MinimiseCommand>(s.menu->item(0), MouseUp));
    EXPECT_TRUE(handlerIs<CreditsCommand>(s.menu->item(1), MouseUp));
    EXPECT_TRUE(handlerIs<ExitCommand>(s.menu->item(2), MouseUp));
    // Nothing else carries a handler of the screen.
    EXPECT_EQ(s.desktop->handler(MouseDown), nullptr);
    EXPECT_EQ(s.caption->handler(MouseDown), nullptr);
    EXPECT_EQ(s.stopButton->handler(MouseUp), nullptr);
}

TEST_F(ShowScreenBuilt, FirstTrackPlaysAndTheTitleRuns)
{
    EXPECT_TRUE(s.musicPlaying);
    EXPECT_TRUE(s.panelAway);
    EXPECT_FALSE(s.dragging);
    EXPECT_FALSE(s.trackSwapPending);
    EXPECT_EQ(s.pictureAlphaTarget, 0.0f);
    EXPECT_EQ(s.pictureFadeSpeed, 1.0f);
    EXPECT_EQ(s.dragAnchorX, 0);
    EXPECT_EQ(s.dragAnchorY, 0);

    EXPECT_EQ(h.config->currentTrack, 0u);
    EXPECT_EQ(h.playingPath(), "music/track1.wav");
    EXPECT_EQ(h.player->state, Playing);
    EXPECT_EQ(h.audio.count("BASS_ChannelPlay"), 1u) << h.audio.transcript();

    EXPECT_TRUE(h.config->titleTimer.running);
    EXPECT_TRUE(h.config->titlePending);
    EXPECT_FLOAT_EQ(h.config->titleDuration, 8.5f);
    EXPECT_FLOAT_EQ(h.config->creditsDuration, 10.0f);
    EXPECT_NE(s.overlayTexture, 0);
    EXPECT_EQ(h.config->titleTexture, s.overlayTexture);
    EXPECT_EQ(h.config->creditsTexture, 0) << "the credits picture loads when credits first run";
}

// A play list without entries: no pictures, no music, no title. The list
// has nothing to try, so the page logic never hears of a track change and
// starts no picture swap (it used to hear of one every frame).
TEST(ShowScreenEmptyPlayList, BuildsTheScreenWithoutContentAndKeepsRunning)
{
    show::ShowContent content = show::standardShow(0);
    ShowScreenHarness h(content);
    ShowScreen& s = *h.screen;
    ASSERT_EQ(h.config->loadFailed, 0);
    ASSERT_TRUE(h.config->tracks.empty());

    EXPECT_TRUE(s.pictureTextures.empty());
    EXPECT_TRUE(s.captionTextures.empty());
    EXPECT_EQ(s.background->backgroundImage, 0u) << "no background picture";
    EXPECT_EQ(s.picture->backgroundImage, 0u);
    EXPECT_EQ(s.caption->backgroundImage, 0u);
    EXPECT_EQ(s.desktop->overlays, nullptr) << "no overlays are drawn";
    EXPECT_FALSE(h.config->titleTimer.running) << "no title overlay";
    EXPECT_EQ(h.audio.count("BASS_ChannelPlay"), 0u) << h.audio.transcript();
    EXPECT_EQ(h.window->getRootWidget(), s.desktop);

    // Twenty seconds of frames: no track change.
    h.runUntil(20.0f, 50);
    EXPECT_FALSE(s.trackSwapPending) << "no track change with nothing to play";
    EXPECT_FALSE(s.pageState.swapTimer.running);
    EXPECT_TRUE(s.caption->hidden);
    EXPECT_TRUE(s.panelAway) << "the title never ran, so the buttons never come in";
    EXPECT_TRUE(s.pictureTextures.empty());
    EXPECT_TRUE(s.captionTextures.empty());
    EXPECT_EQ(h.audio.count("BASS_ChannelPlay"), 0u);

    // Show-only credits run and end with nothing to swap either.
    ASSERT_TRUE(h.config->startCreditsOverlay(false));
    h.runUntil(h.now() + 11.0f, 50);
    EXPECT_FALSE(s.trackSwapPending);
    EXPECT_FALSE(s.pageState.swapTimer.running);
    EXPECT_TRUE(s.pictureTextures.empty());
    EXPECT_EQ(s.picture->backgroundImage, 0u);
}

} // namespace
} // namespace vlo
