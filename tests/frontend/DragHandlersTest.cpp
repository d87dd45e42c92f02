// Dragging the window by its background: a left press, then pointer motion
// moves the window by exactly the pointer's motion; the release ends it.
#include <gtest/gtest.h>

#include "support/ShowScreenHarness.h"

namespace vlo {
namespace {

using test::ShowScreenHarness;

// The real pointer lives in screen pixels; the window reports it relative to
// its client area, which moves with the window.
class DragHandlersTest : public ::testing::Test {
protected:
    RECT windowRect() const
    {
        RECT rect{};
        GetWindowRect(h.window->getHandle(), &rect);
        return rect;
    }

    void pointerTo(int screenX, int screenY)
    {
        pointerX = screenX;
        pointerY = screenY;
        const RECT rect = windowRect();
        h.move(screenX - rect.left, screenY - rect.top);
    }

    void pointerBy(int dx, int dy) { pointerTo(pointerX + dx, pointerY + dy); }

    void button(bool down, int which = LeftButton)
    {
        const RECT rect = windowRect();
        if (down)
            h.press(pointerX - rect.left, pointerY - rect.top, which);
        else
            h.release(pointerX - rect.left, pointerY - rect.top, which);
    }

    void expectWindowAt(int left, int top, const char* when)
    {
        const RECT rect = windowRect();
        EXPECT_EQ(rect.left, left) << when;
        EXPECT_EQ(rect.top, top) << when;
        EXPECT_EQ(rect.right - rect.left, 700) << when;
        EXPECT_EQ(rect.bottom - rect.top, 600) << when;
    }

    ShowScreenHarness h{show::standardShow(3)};
    ShowScreen& s = *h.screen;
    int pointerX = 0;
    int pointerY = 0;
};

TEST_F(DragHandlersTest, WindowMovesByExactlyThePointersMotion)
{
    h.fastForward(10.0f);
    expectWindowAt(100, 100, "at start");
    pointerTo(100 + 600, 100 + 450); // on the background
    EXPECT_EQ(s.dragAnchorX, 600) << "the anchor follows the pointer";
    EXPECT_EQ(s.dragAnchorY, 450);
    button(true);
    EXPECT_TRUE(s.dragging);

    pointerBy(50, 20);
    expectWindowAt(150, 120, "after the first motion");
    pointerBy(-130, 35);
    expectWindowAt(20, 155, "after the second motion");
    pointerBy(1, 1);
    expectWindowAt(21, 156, "after a one-pixel motion");
    EXPECT_EQ(s.dragAnchorX, 600) << "the anchor stays during the drag";
    EXPECT_EQ(s.dragAnchorY, 450);

    button(false);
    EXPECT_FALSE(s.dragging);
    pointerBy(40, 40);
    expectWindowAt(21, 156, "after the release");
}

TEST_F(DragHandlersTest, RightPressStartsNoDrag)
{
    h.fastForward(10.0f);
    pointerTo(700, 550);
    button(true, RightButton);
    EXPECT_FALSE(s.dragging);
    pointerBy(30, 30);
    expectWindowAt(100, 100, "after a right-button drag");
    button(false, RightButton);
}

TEST_F(DragHandlersTest, PressWithoutEarlierMotionAnchorsOnTheFirstMotion)
{
    ASSERT_EQ(s.dragAnchorX, 0);
    ASSERT_EQ(s.dragAnchorY, 0);
    pointerX = 100 + 650;
    pointerY = 100 + 450;
    button(true);
    ASSERT_TRUE(s.dragging);
    pointerBy(25, 10);
    expectWindowAt(100, 100, "the first motion only anchors");
    EXPECT_EQ(s.dragAnchorX, 675);
    EXPECT_EQ(s.dragAnchorY, 460);
    pointerBy(5, -7);
    expectWindowAt(105, 93, "later motion moves the window");
    button(false);
}

TEST_F(DragHandlersTest, PressOverThePictureOrAButtonAlsoDrags)
{
    h.fastForward(10.0f);
    pointerTo(100 + 300, 100 + 250); // on the track picture
    button(true);
    EXPECT_TRUE(s.dragging);
    pointerBy(10, 0);
    expectWindowAt(110, 100, "dragged by the picture");
    button(false);
    EXPECT_FALSE(s.dragging);

    const int nextBefore = int(h.config->currentTrack);
    pointerTo(110 + show::nextButtonPoint.x, 100 + show::nextButtonPoint.y);
    button(true);
    EXPECT_TRUE(s.dragging);
    EXPECT_EQ(int(h.config->currentTrack), nextBefore + 1) << "the button's own handler ran too";
    pointerBy(0, -10);
    expectWindowAt(110, 90, "dragged by the next button");
    button(false);
}

} // namespace
} // namespace vlo
