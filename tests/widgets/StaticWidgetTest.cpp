// Static panels: defaults, colour and text setters, sizing from a picture
// and the drawing sequence of background, outline and text.

#include "widgets/StaticWidget.h"

#include <gtest/gtest.h>

#include "support/RecordingRenderer.h"
#include "widgets/WidgetTestSupport.h"

namespace vlo {
namespace {

using test::EventLog;
using test::LoggingHandler;
using test::nearColor;
using test::nearFloats;
using test::nearVec;
using test::RecordingRenderer;
using test::RendererCall;

std::vector<std::string> opsOf(const RecordingRenderer& renderer)
{
    std::vector<std::string> ops;
    for (const RendererCall& call : renderer.calls) {
        ops.push_back(call.op);
    }
    return ops;
}

TEST(StaticWidgetTest, ConstructorSetsTheDefaults)
{
    StaticWidget panel(nullptr, "");
    EXPECT_EQ(panel.className(), "Static Widget");
    EXPECT_TRUE(nearColor(panel.backgroundColor, Color(0.792f, 0.792f, 0.792f, 0.0f)));
    EXPECT_EQ(panel.backgroundImage, 0u);
    EXPECT_EQ(panel.font, 0u);
    EXPECT_FLOAT_EQ(panel.lineHeight, 0.0f);
    for (float width : panel.glyphWidths) {
        ASSERT_FLOAT_EQ(width, 0.0f);
    }
    EXPECT_TRUE(panel.text.empty());
    EXPECT_TRUE(nearColor(panel.textColor, Color(0.0f, 0.0f, 0.0f, 1.0f)));
    EXPECT_TRUE(nearColor(panel.borderColor, Color(0.0f, 0.0f, 0.0f, 1.0f)));
    EXPECT_FLOAT_EQ(panel.borderWidth, 0.0f);
    EXPECT_FLOAT_EQ(panel.margin, 0.0f);
    EXPECT_EQ(panel.blendSource, 3);
    EXPECT_EQ(panel.blendDestination, 7);
    EXPECT_EQ(panel.alignment, TopLeft);
}

TEST(StaticWidgetTest, ANewEmptyPanelHasNoSizeAlsoInsideAParent)
{
    Widget root(nullptr, "");
    StaticWidget* panel = new StaticWidget(&root, "");
    EXPECT_TRUE(nearVec(panel->size(), Vector2(0.0f, 0.0f)));
    EXPECT_TRUE(nearVec(root.size_, Vector2(0.4f, 0.4f))) << "the parent was laid out with the panel's own margin of 0";
    StaticWidget loose(nullptr, "");
    loose.layoutDirty = true;
    EXPECT_TRUE(nearVec(loose.size(), Vector2(0.0f, 0.0f)));
}

TEST(StaticWidgetTest, BackgroundAlphaHasOnlyAnUpperBound)
{
    StaticWidget panel(nullptr, "");
    panel.setBackgroundAlpha(2.0f);
    EXPECT_FLOAT_EQ(panel.backgroundColor.a, 1.0f);
    panel.setBackgroundAlpha(-1.0f);
    EXPECT_FLOAT_EQ(panel.backgroundColor.a, -1.0f);
    panel.setBackgroundAlpha(0.25f);
    EXPECT_FLOAT_EQ(panel.backgroundColor.a, 0.25f);
}

TEST(StaticWidgetTest, ColourSettersKeepAlpha)
{
    StaticWidget panel(nullptr, "");
    panel.setBackgroundAlpha(0.5f);
    panel.setColor(ColorRGB(0.1f, 0.2f, 0.3f));
    panel.textColor.a = 0.75f;
    panel.setTextColor(ColorRGB(0.4f, 0.5f, 0.6f));
    EXPECT_TRUE(nearColor(panel.backgroundColor, Color(0.1f, 0.2f, 0.3f, 0.5f)));
    EXPECT_TRUE(nearColor(panel.textColor, Color(0.4f, 0.5f, 0.6f, 0.75f)));
}

TEST(StaticWidgetTest, EmptyTextTouchesNothingElse)
{
    StaticWidget panel(nullptr, "");
    panel.setText("old");
    panel.minimumSize = Vector2(1.5f, 2.5f);
    panel.hasMinimumSize = false;
    panel.layoutDirty = false;
    panel.setText("");
    EXPECT_TRUE(panel.text.empty());
    EXPECT_TRUE(nearVec(panel.minimumSize, Vector2(1.5f, 2.5f)));
    EXPECT_FALSE(panel.hasMinimumSize);
    EXPECT_FALSE(panel.layoutDirty);
}

TEST(StaticWidgetTest, TextSetsTheMinimumFromTheGlyphWidths)
{
    StaticWidget panel(nullptr, "");
    panel.setText("Exit");
    EXPECT_TRUE(nearVec(panel.minimumSize, Vector2(0.0f, 0.0f))) << "zero metrics";
    EXPECT_TRUE(panel.hasMinimumSize && panel.layoutDirty);

    panel.glyphWidths[static_cast<unsigned char>('a')] = 0.1f;
    panel.glyphWidths[228] = 0.25f;
    panel.lineHeight = 0.3f;
    panel.setText("a\xE4"
                  "a");
    EXPECT_TRUE(nearVec(panel.minimumSize, Vector2(0.45f, 0.3f))) << "byte 0xE4 uses the width of character 228";
    EXPECT_TRUE(nearVec(panel.size(), Vector2(0.45f, 0.3f)));
}

TEST(StaticWidgetTest, BackgroundImageSizesThePanel)
{
    RecordingRenderer renderer;
    StaticWidget panel(nullptr, "");
    const int picture = renderer.addTexture(300, 200);
    panel.setBackgroundImage(renderer, picture);
    EXPECT_EQ(panel.backgroundImage, static_cast<uint32_t>(picture));
    EXPECT_TRUE(panel.sizeFixed);
    EXPECT_TRUE(nearVec(panel.size(), Vector2(3.0f, 2.0f)));
}

TEST(StaticWidgetTest, DrawsBackgroundThenTextAtTheBottomLeft)
{
    EventLog log;
    RecordingRenderer renderer;
    StaticWidget panel(nullptr, "");
    const int picture = renderer.addTexture(100, 50);
    panel.setPosition(Vector2(1.0f, 2.0f));
    panel.setBackgroundImage(renderer, picture);
    panel.setBackgroundAlpha(1.0f);
    panel.setText("Hi");
    panel.font = 3;
    panel.setTextColor(ColorRGB(1.0f, 0.0f, 0.0f));
    panel.setHandler(new LoggingHandler(Draw, "draw", &log, 9.0f));
    renderer.clearCalls();
    panel.draw(renderer);

    EXPECT_EQ(test::joined(opsOf(renderer)),
        "[pushState, setColor, setBlendFunc, bindTexture, drawTexturedRect, bindTexture, "
        "disableBlend, setColor, drawText, popState, setPointSize]");
    const auto colors = renderer.callsOf("setColor");
    ASSERT_EQ(colors.size(), 2u);
    EXPECT_TRUE(nearFloats(colors[0].floats, {0.792f, 0.792f, 0.792f, 1.0f}));
    EXPECT_TRUE(nearFloats(colors[1].floats, {1.0f, 0.0f, 0.0f, 1.0f}));
    const auto binds = renderer.callsOf("bindTexture");
    EXPECT_EQ(binds[0].ints[0], picture);
    EXPECT_EQ(binds[1].ints[0], 0);
    const RendererCall rect = renderer.callsOf("drawTexturedRect")[0];
    EXPECT_TRUE(nearFloats(rect.floats, {1.0f, 2.0f, 2.0f, 2.5f}));
    EXPECT_EQ(rect.ints[0], picture);
    const RendererCall text = renderer.callsOf("drawText")[0];
    EXPECT_TRUE(nearFloats(text.floats, {1.0f, 2.5f})) << "baseline on the bottom edge";
    EXPECT_EQ(text.ints[0], 3);
    EXPECT_EQ(text.text, "Hi");
    EXPECT_EQ(test::joined(log.tags()), "[draw]");
}

TEST(StaticWidgetTest, ZeroBlendFactorsDrawTheBackgroundOpaque)
{
    RecordingRenderer renderer;
    StaticWidget panel(nullptr, "");
    panel.setBlendFactors(0, 0);
    panel.draw(renderer);
    EXPECT_EQ(renderer.count("setBlendFunc"), 0u) << renderer.transcript();
    const long off = renderer.indexOf("disableBlend");
    const long fill = renderer.indexOf("drawTexturedRect");
    ASSERT_GE(off, 0);
    EXPECT_LT(off, fill) << "blending is off before the background is drawn";
}

TEST(StaticWidgetTest, OutlineIsDrawnInItsOwnStateWithoutBlending)
{
    RecordingRenderer renderer;
    StaticWidget panel(nullptr, "");
    panel.setSize(Vector2(2.0f, 1.0f));
    panel.borderWidth = 3.0f;
    panel.borderColor = Color(0.0f, 0.0f, 1.0f, 1.0f);
    panel.draw(renderer);
    EXPECT_EQ(test::joined(opsOf(renderer)),
        "[pushState, setColor, setBlendFunc, bindTexture, drawTexturedRect, bindTexture, "
        "disableBlend, pushState, setColor, setPolygonMode, setLineWidth, drawRect, popState, "
        "setColor, drawText, popState]");
    EXPECT_EQ(renderer.callsOf("setPolygonMode")[0].ints[0], 1);
    EXPECT_TRUE(nearFloats(renderer.callsOf("setLineWidth")[0].floats, {3.0f}));
    EXPECT_TRUE(nearFloats(renderer.callsOf("drawRect")[0].floats, {0, 0, 2, 1, 1, 1}));
    EXPECT_TRUE(nearFloats(renderer.callsOf("setColor")[1].floats, {0, 0, 1, 1}));
}

TEST(StaticWidgetTest, HiddenPanelDrawsNeitherItselfNorItsChildren)
{
    EventLog log;
    RecordingRenderer renderer;
    StaticWidget panel(nullptr, "");
    StaticWidget* child = new StaticWidget(&panel, "");
    child->setHandler(new LoggingHandler(Draw, "child", &log));
    panel.setHandler(new LoggingHandler(Draw, "panel", &log));
    panel.hide();
    panel.draw(renderer);
    EXPECT_TRUE(renderer.calls.empty()) << renderer.transcript();
    EXPECT_EQ(test::joined(log.tags()), "[panel]");
}

} // namespace
} // namespace vlo
