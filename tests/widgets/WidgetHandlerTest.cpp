// Mouse dispatch through the widget tree to the handlers: hit testing, the
// points handlers receive, move and leave bookkeeping, presses and releases.

#include "widgets/WidgetHandler.h"

#include <gtest/gtest.h>

#include "widgets/Widget.h"
#include "widgets/WidgetTestSupport.h"

namespace vlo {
namespace {

using test::EventLog;
using test::LoggingHandler;
using test::nearVec;

// A 7 x 6 root at the origin, like the desktop.
class WidgetHandlerTest : public ::testing::Test {
protected:
    WidgetHandlerTest()
        : root(nullptr, "")
    {
        root.setSize(Vector2(7.0f, 6.0f));
    }

    // A child of `parent` with a fixed absolute rectangle.
    Widget* box(Widget* parent, float x, float y, float w, float h)
    {
        Widget* widget = new Widget(parent, "");
        widget->setPosition(Vector2(x, y));
        widget->setSize(Vector2(w, h));
        return widget;
    }

    void attach(Widget* widget, int kind, const std::string& tag)
    {
        widget->setHandler(new LoggingHandler(kind, tag, &log));
    }

    EventLog log;
    Widget root;
};

TEST_F(WidgetHandlerTest, PointsOnTheEdgeAreOutside)
{
    Widget* w = box(&root, 1.0f, 1.0f, 2.0f, 1.0f);
    Vector2 local(-7.0f, -7.0f);
    const Vector2 edges[] = {{1.0f, 1.5f}, {3.0f, 1.5f}, {2.0f, 1.0f}, {2.0f, 2.0f}};
    for (const Vector2& p : edges) {
        EXPECT_FALSE(w->hitTest(p, local)) << "point " << test::str(p);
    }
    EXPECT_TRUE(nearVec(local, Vector2(-7.0f, -7.0f))) << "a miss leaves local alone";
    EXPECT_TRUE(w->hitTest(Vector2(1.001f, 1.999f), local));
    EXPECT_TRUE(nearVec(local, Vector2(1.001f, 1.999f))) << "relative to the root at the origin";
}

TEST_F(WidgetHandlerTest, HitTestGivesThePointRelativeToTheParent)
{
    Widget* parent = box(&root, 1.0f, 1.0f, 4.0f, 4.0f);
    Widget* child = box(parent, 2.0f, 2.0f, 1.0f, 1.0f);
    Vector2 local;
    ASSERT_TRUE(child->hitTest(Vector2(2.5f, 2.25f), local));
    EXPECT_TRUE(nearVec(local, Vector2(1.5f, 1.25f)));
    ASSERT_TRUE(root.hitTest(Vector2(6.0f, 5.0f), local));
    EXPECT_TRUE(nearVec(local, Vector2(6.0f, 5.0f))) << "a widget without parent keeps the point";
}

TEST_F(WidgetHandlerTest, OverlappingChildrenAllReceiveAPressInListOrder)
{
    Widget* a = box(&root, 1.0f, 1.0f, 2.0f, 2.0f);
    Widget* b = box(&root, 2.0f, 2.0f, 2.0f, 2.0f);
    Widget* away = box(&root, 5.0f, 5.0f, 1.0f, 1.0f);
    attach(a, MouseDown, "a");
    attach(b, MouseDown, "b");
    attach(away, MouseDown, "away");
    attach(&root, MouseDown, "root");

    EXPECT_TRUE(root.onMouseDown(Vector2(2.5f, 2.5f), LeftButton));
    EXPECT_EQ(test::joined(log.tags()), "[a, b]") << "the root's own handler is not called";

    log.calls.clear();
    EXPECT_FALSE(root.onMouseDown(Vector2(4.5f, 0.5f), RightButton));
    ASSERT_EQ(test::joined(log.tags()), "[root]") << "no child took the press";
    EXPECT_TRUE(nearVec(log.calls[0].point, Vector2(4.5f, 0.5f)));
    EXPECT_EQ(log.calls[0].button, RightButton);
    EXPECT_EQ(log.calls[0].sender, &root);
}

TEST_F(WidgetHandlerTest, ButtonNumbersReachTheHandlers)
{
    Widget* w = box(&root, 1.0f, 1.0f, 1.0f, 1.0f);
    attach(w, MouseDown, "down");
    attach(w, MouseUp, "up");
    root.onMouseDown(Vector2(1.5f, 1.5f), LeftButton);
    root.onMouseUp(Vector2(1.5f, 1.5f), RightButton);
    root.onMouseUp(Vector2(1.5f, 1.5f), LeftButton);
    ASSERT_EQ(test::joined(log.tags()), "[down, up, up]");
    EXPECT_EQ(log.calls[0].button, 0);
    EXPECT_EQ(log.calls[1].button, 1);
    EXPECT_EQ(log.calls[2].button, 0);
    EXPECT_TRUE(nearVec(log.calls[1].point, Vector2(1.5f, 1.5f)));
}

TEST_F(WidgetHandlerTest, ReleasesDispatchLikePresses)
{
    Widget* a = box(&root, 1.0f, 1.0f, 2.0f, 2.0f);
    Widget* b = box(&root, 2.0f, 2.0f, 2.0f, 2.0f);
    attach(a, MouseUp, "a");
    attach(b, MouseUp, "b");
    attach(&root, MouseUp, "root");
    EXPECT_TRUE(root.onMouseUp(Vector2(2.5f, 2.5f), LeftButton));
    EXPECT_FALSE(root.onMouseUp(Vector2(6.5f, 0.5f), LeftButton));
    EXPECT_EQ(test::joined(log.tags()), "[a, b, root]");
}

TEST_F(WidgetHandlerTest, MovingFromOneSiblingToTheNextLeavesThenEntersInListOrder)
{
    Widget* a = box(&root, 1.0f, 1.0f, 1.0f, 1.0f);
    Widget* b = box(&root, 2.5f, 1.0f, 1.0f, 1.0f);
    for (Widget* w : {a, b}) {
        const std::string tag = w == a ? "a" : "b";
        attach(w, MouseMove, tag + ".move");
        attach(w, MouseLeave, tag + ".leave");
    }

    root.onMouseMove(Vector2(1.5f, 1.5f));
    EXPECT_TRUE(a->mouseInside);
    log.calls.clear();
    root.onMouseMove(Vector2(3.0f, 1.5f));
    EXPECT_EQ(test::joined(log.tags()), "[a.leave, b.move]");
    EXPECT_FALSE(a->mouseInside);
    EXPECT_TRUE(b->mouseInside);

    log.calls.clear();
    root.onMouseMove(Vector2(1.5f, 1.5f));
    EXPECT_EQ(test::joined(log.tags()), "[a.move, b.leave]") << "list order, not event order";
}

TEST_F(WidgetHandlerTest, AMoveOverNoChildReachesTheWidgetsOwnHandler)
{
    Widget* parent = box(&root, 1.0f, 1.0f, 4.0f, 4.0f);
    Widget* child = box(parent, 1.5f, 1.5f, 1.0f, 1.0f);
    attach(parent, MouseMove, "parent");
    attach(child, MouseMove, "child");

    EXPECT_TRUE(root.onMouseMove(Vector2(4.0f, 3.0f)));
    ASSERT_EQ(test::joined(log.tags()), "[parent]");
    EXPECT_TRUE(nearVec(log.calls[0].point, Vector2(4.0f, 3.0f)))
        << "the point the parent received, relative to the root";

    log.calls.clear();
    root.onMouseMove(Vector2(2.0f, 2.0f));
    ASSERT_EQ(test::joined(log.tags()), "[child]") << "a move over a child skips the parent's handler";
    EXPECT_TRUE(nearVec(log.calls[0].point, Vector2(1.0f, 1.0f))) << "relative to the parent";
}

TEST_F(WidgetHandlerTest, LeavingAParentDoesNotLeaveItsChildren)
{
    Widget* parent = box(&root, 1.0f, 1.0f, 3.0f, 3.0f);
    Widget* child = box(parent, 2.0f, 2.0f, 1.0f, 1.0f);
    attach(parent, MouseLeave, "parent.leave");
    attach(child, MouseLeave, "child.leave");

    root.onMouseMove(Vector2(2.5f, 2.5f));
    ASSERT_TRUE(parent->mouseInside && child->mouseInside);
    root.onMouseMove(Vector2(6.0f, 5.0f));
    EXPECT_EQ(test::joined(log.tags()), "[parent.leave]");
    EXPECT_TRUE(child->mouseInside) << "kept until the parent sees a move that misses it";
    EXPECT_FALSE(parent->mouseInside);
}

TEST_F(WidgetHandlerTest, HiddenWidgetsStillReceiveEvents)
{
    Widget* w = box(&root, 1.0f, 1.0f, 1.0f, 1.0f);
    attach(w, MouseDown, "down");
    attach(w, MouseMove, "move");
    w->hide();
    root.onMouseMove(Vector2(1.5f, 1.5f));
    root.onMouseDown(Vector2(1.5f, 1.5f), LeftButton);
    EXPECT_EQ(test::joined(log.tags()), "[move, down]");
}

TEST_F(WidgetHandlerTest, DeeperChildrenAreHitWhereTheyAreDrawn)
{
    // Three levels below the root, each offset from its parent: the press
    // must reach the widget whose absolute rectangle holds the point.
    Widget* level1 = box(&root, 1.0f, 1.0f, 5.0f, 4.0f);
    Widget* level2 = box(level1, 2.0f, 2.0f, 3.0f, 2.5f);
    Widget* level3 = box(level2, 3.0f, 3.0f, 1.0f, 1.0f);
    attach(level2, MouseDown, "level2");
    attach(level3, MouseDown, "level3");

    root.onMouseDown(Vector2(3.5f, 3.5f), LeftButton);
    ASSERT_EQ(test::joined(log.tags()), "[level3]");
    EXPECT_TRUE(nearVec(log.calls[0].point, Vector2(1.5f, 1.5f))) << "relative to level2";
    EXPECT_TRUE(nearVec(level3->toAbsolute(log.calls[0].point), Vector2(3.5f, 3.5f)));

    log.calls.clear();
    root.onMouseDown(Vector2(2.5f, 2.5f), LeftButton);
    ASSERT_EQ(test::joined(log.tags()), "[level2]") << "outside level3's rectangle";
    EXPECT_TRUE(nearVec(log.calls[0].point, Vector2(1.5f, 1.5f))) << "relative to level1";
}

TEST_F(WidgetHandlerTest, LeaveHandlerGetsOnlyTheSender)
{
    Widget* w = box(&root, 1.0f, 1.0f, 1.0f, 1.0f);
    attach(w, MouseLeave, "leave");
    w->onMouseLeave();
    ASSERT_EQ(log.calls.size(), 1u);
    EXPECT_EQ(log.calls[0].sender, w);
    EXPECT_EQ(log.calls[0].renderer, nullptr);
}

} // namespace
} // namespace vlo
