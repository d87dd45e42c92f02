// Trigger widgets: invisible, outside the flow, their Draw handler once per frame.

#include "widgets/TriggerEvent.h"

#include <gtest/gtest.h>

#include "support/RecordingRenderer.h"
#include "widgets/FrameWidget.h"
#include "widgets/StaticWidget.h"
#include "widgets/WidgetTestSupport.h"

namespace vlo {
namespace {

using test::EventLog;
using test::LoggingHandler;
using test::nearVec;
using test::RecordingRenderer;

TEST(TriggerEventTest, ConstructorParksItOutsideTheFlow)
{
    TriggerEvent trigger(nullptr, "");
    EXPECT_EQ(trigger.className(), "Generic Trigger Event");
    EXPECT_TRUE(trigger.flowExcluded);
    EXPECT_TRUE(trigger.positionFixed);
    EXPECT_TRUE(trigger.layoutDirty);
    EXPECT_TRUE(nearVec(trigger.position(), Vector2(-1000.0f, -1000.0f)));
    EXPECT_TRUE(nearVec(trigger.size(), Vector2(0.4f, 0.4f)));
}

TEST(TriggerEventTest, HandlersRunOncePerFrameInChildOrderAndDrawNothing)
{
    EventLog log;
    RecordingRenderer renderer;
    Widget root(nullptr, "");
    for (const char* tag : {"page", "fade", "slide"}) {
        TriggerEvent* trigger = new TriggerEvent(&root, "");
        trigger->setHandler(new LoggingHandler(Draw, tag, &log));
    }
    root.draw(renderer);
    EXPECT_EQ(test::joined(log.tags()), "[page, fade, slide]");
    root.draw(renderer);
    EXPECT_EQ(log.calls.size(), 6u) << "once each per frame";
    EXPECT_TRUE(renderer.calls.empty()) << renderer.transcript();
}

TEST(TriggerEventTest, AHiddenParentStopsItsHandler)
{
    EventLog log;
    RecordingRenderer renderer;
    FrameWidget frame(nullptr, "");
    TriggerEvent* trigger = new TriggerEvent(&frame, "");
    trigger->setHandler(new LoggingHandler(Draw, "trigger", &log));
    frame.hide();
    frame.draw(renderer);
    EXPECT_TRUE(log.calls.empty());
    trigger->draw(renderer);
    EXPECT_EQ(test::joined(log.tags()), "[trigger]") << "the trigger itself ignores hidden";
}

TEST(TriggerEventTest, NeverReceivesMouseEventsAtItsDefaultPosition)
{
    EventLog log;
    Widget root(nullptr, "");
    root.setSize(Vector2(7.0f, 6.0f));
    TriggerEvent* trigger = new TriggerEvent(&root, "");
    trigger->setHandler(new LoggingHandler(MouseDown, "trigger", &log));
    for (float x = 0.05f; x < 7.0f; x += 0.5f) {
        for (float y = 0.05f; y < 6.0f; y += 0.5f) {
            root.onMouseDown(Vector2(x, y), LeftButton);
        }
    }
    EXPECT_TRUE(log.calls.empty());
}

TEST(TriggerEventTest, SiblingsIgnoreItButTheParentCountsIt)
{
    Widget root(nullptr, "");
    Widget* before = new Widget(&root, "");
    new TriggerEvent(&root, "");
    Widget* after = new Widget(&root, "");
    before->setSize(Vector2(1.0f, 1.0f));
    after->setSize(Vector2(1.0f, 1.0f));
    test::relayout(root);
    EXPECT_TRUE(nearVec(after->position(), Vector2(1.3f, 0.2f))) << "placed as if it were absent";
    EXPECT_TRUE(nearVec(root.size(), Vector2(3.0f, 1.4f)))
        << "0.2 + 1 + 0.1 + 0.4 + 0.1 + 1 + 0.2: it counts in the automatic size";
}

} // namespace
} // namespace vlo
