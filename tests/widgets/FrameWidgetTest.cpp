// Frames: outline colour and alpha, and the outline drawing.

#include "widgets/FrameWidget.h"

#include <gtest/gtest.h>

#include "support/RecordingRenderer.h"
#include "widgets/WidgetTestSupport.h"

namespace vlo {
namespace {

using test::EventLog;
using test::LoggingHandler;
using test::nearColor;
using test::nearFloats;
using test::RecordingRenderer;

std::string opsOf(const RecordingRenderer& renderer)
{
    std::vector<std::string> ops;
    for (const auto& call : renderer.calls) {
        ops.push_back(call.op);
    }
    return test::joined(ops);
}

TEST(FrameWidgetTest, ConstructorSetsTheDefaults)
{
    FrameWidget frame(nullptr, "");
    EXPECT_EQ(frame.className(), "Frame Widget");
    EXPECT_TRUE(nearColor(frame.outlineColor, Color(0.0f, 0.0f, 0.0f, 1.0f)));
    EXPECT_FLOAT_EQ(frame.lineWidth, 1.0f);
    EXPECT_FALSE(frame.blendEnabled);
    EXPECT_FLOAT_EQ(frame.margin, 0.2f);
}

TEST(FrameWidgetTest, SettersKeepAlphaAndClampItFromAbove)
{
    FrameWidget frame(nullptr, "");
    frame.setColor(ColorRGB(0.1f, 0.2f, 0.3f));
    EXPECT_TRUE(nearColor(frame.outlineColor, Color(0.1f, 0.2f, 0.3f, 1.0f)));
    EXPECT_FALSE(frame.blendEnabled) << "a colour alone does not switch blending on";
    frame.setAlpha(1.5f);
    EXPECT_FLOAT_EQ(frame.outlineColor.a, 1.0f);
    EXPECT_TRUE(frame.blendEnabled);
    frame.setAlpha(-0.5f);
    EXPECT_FLOAT_EQ(frame.outlineColor.a, -0.5f) << "no lower clamp";
    frame.setLineWidth(2.5f);
    EXPECT_FLOAT_EQ(frame.lineWidth, 2.5f);
}

TEST(FrameWidgetTest, DrawsAnOutlineThenItsChildren)
{
    EventLog log;
    RecordingRenderer renderer;
    FrameWidget frame(nullptr, "");
    frame.setPosition(Vector2(1.0f, 1.0f));
    frame.setSize(Vector2(2.0f, 1.0f));
    frame.setLineWidth(3.0f);
    Widget* child = new Widget(&frame, "");
    child->setHandler(new LoggingHandler(Draw, "child", &log, 5.0f));
    frame.draw(renderer);
    EXPECT_EQ(opsOf(renderer), "[pushState, setColor, setLineWidth, setPolygonMode, drawRect, popState, setPointSize]");
    EXPECT_EQ(renderer.callsOf("setPolygonMode")[0].ints[0], 1) << "outline, not fill";
    EXPECT_TRUE(nearFloats(renderer.callsOf("setLineWidth")[0].floats, {3.0f}));
    EXPECT_TRUE(nearFloats(renderer.callsOf("drawRect")[0].floats, {1, 1, 3, 2, 1, 1}));
}

TEST(FrameWidgetTest, AlphaDrawsTheOutlineBlended)
{
    RecordingRenderer renderer;
    FrameWidget frame(nullptr, "");
    frame.setAlpha(0.0f);
    frame.draw(renderer);
    EXPECT_EQ(opsOf(renderer),
        "[pushState, setBlendFunc, setColor, setLineWidth, setPolygonMode, drawRect, "
        "disableBlend, popState]");
    EXPECT_EQ(renderer.callsOf("setBlendFunc")[0].ints, (std::vector<int>{3, 7}));
    EXPECT_TRUE(nearFloats(renderer.callsOf("setColor")[0].floats, {0, 0, 0, 0}));
}

TEST(FrameWidgetTest, HiddenFrameDrawsOnlyItsHandler)
{
    EventLog log;
    RecordingRenderer renderer;
    FrameWidget frame(nullptr, "");
    Widget* child = new Widget(&frame, "");
    child->setHandler(new LoggingHandler(Draw, "child", &log));
    frame.setHandler(new LoggingHandler(Draw, "frame", &log));
    frame.hide();
    frame.draw(renderer);
    EXPECT_TRUE(renderer.calls.empty()) << renderer.transcript();
    EXPECT_EQ(test::joined(log.tags()), "[frame]");
}

} // namespace
} // namespace vlo
