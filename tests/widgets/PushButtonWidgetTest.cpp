// Push buttons: defaults and label, state colours and images in drawing,
// pressed/hover bookkeeping and the behaviour while a popup menu is open.

#include "widgets/PushButtonWidget.h"

#include <gtest/gtest.h>

#include "support/RecordingRenderer.h"
#include "widgets/PopupMenuWidget.h"
#include "widgets/StaticWidget.h"
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

const Color kGrey(0.792f, 0.792f, 0.792f, 1.0f);
const Color kLight(0.901f, 0.901f, 0.901f, 1.0f);
const Color kDark(0.431f, 0.431f, 0.431f, 1.0f);

class PushButtonWidgetTest : public ::testing::Test {
protected:
    PushButtonWidgetTest()
        : root(nullptr, "")
    {
        popupOpen = false;
        root.setSize(Vector2(7.0f, 6.0f));
        button = new PushButtonWidget(&root, "");
        button->setPosition(Vector2(1.0f, 1.0f));
        button->setSize(Vector2(1.0f, 0.5f));
    }
    ~PushButtonWidgetTest() override { popupOpen = false; }

    // The face of the button is the first drawTexturedRect of a frame; the
    // calls before it set its texture and colour.
    struct Face {
        int boundTexture = -1;
        Color color;
        RendererCall rect;
    };
    Face drawFace()
    {
        renderer.clearCalls();
        button->draw(renderer);
        Face face;
        const long at = renderer.indexOf("drawTexturedRect");
        EXPECT_GE(at, 0) << renderer.transcript();
        if (at < 0) {
            return face;
        }
        face.rect = renderer.calls[at];
        for (long i = 0; i < at; ++i) {
            const RendererCall& call = renderer.calls[i];
            if (call.op == "bindTexture") {
                face.boundTexture = call.ints[0];
            } else if (call.op == "setColor") {
                face.color = Color(call.floats[0], call.floats[1], call.floats[2], call.floats[3]);
            }
        }
        return face;
    }

    EventLog log;
    RecordingRenderer renderer;
    Widget root;
    PushButtonWidget* button = nullptr;
};

TEST_F(PushButtonWidgetTest, ConstructorSetsDefaultsAndATransparentLabel)
{
    EXPECT_EQ(button->className(), "PushButton Widget");
    EXPECT_TRUE(nearColor(button->normalColor, kGrey));
    EXPECT_TRUE(nearColor(button->pressedColor, kDark));
    EXPECT_TRUE(nearColor(button->hoverColor, kLight));
    EXPECT_EQ(button->image, 0u);
    EXPECT_EQ(button->pressedImage, 0u);
    EXPECT_FALSE(button->pressed || button->hover);
    EXPECT_FLOAT_EQ(button->margin, 0.2f);
    ASSERT_NE(button->label, nullptr);
    ASSERT_EQ(button->children.size(), 1u);
    EXPECT_EQ(button->children[0], button->label);
    EXPECT_EQ(button->label->parent(), button);
    EXPECT_FLOAT_EQ(button->label->backgroundColor.a, 0.0f);
}

TEST_F(PushButtonWidgetTest, ColourSettersKeepAlpha)
{
    button->normalColor.a = 0.5f;
    button->setColor(ColorRGB(0.1f, 0.2f, 0.3f));
    button->setPressedColor(ColorRGB(0.4f, 0.5f, 0.6f));
    button->setHoverColor(ColorRGB(0.7f, 0.8f, 0.9f));
    EXPECT_TRUE(nearColor(button->normalColor, Color(0.1f, 0.2f, 0.3f, 0.5f)));
    EXPECT_TRUE(nearColor(button->pressedColor, Color(0.4f, 0.5f, 0.6f, 1.0f)));
    EXPECT_TRUE(nearColor(button->hoverColor, Color(0.7f, 0.8f, 0.9f, 1.0f)));
}

TEST_F(PushButtonWidgetTest, WithoutImagesEachStateDrawsItsFlatColour)
{
    Face face = drawFace();
    EXPECT_EQ(face.boundTexture, 0);
    EXPECT_TRUE(nearColor(face.color, kGrey)) << "normal";
    EXPECT_TRUE(nearFloats(face.rect.floats, {1.0f, 1.0f, 2.0f, 1.5f}));
    EXPECT_EQ(face.rect.ints[0], 0);

    button->hover = true;
    EXPECT_TRUE(nearColor(drawFace().color, kLight)) << "hover";
    button->pressed = true;
    face = drawFace();
    EXPECT_TRUE(nearColor(face.color, kDark)) << "pressed wins over hover";
    EXPECT_EQ(face.boundTexture, 0);
}

TEST_F(PushButtonWidgetTest, ASingleImageIsTintedInEveryState)
{
    const int picture = renderer.addTexture(64, 32);
    button->setImage(renderer, picture);
    for (int state = 0; state < 3; ++state) {
        button->hover = state == 1;
        button->pressed = state == 2;
        const Face face = drawFace();
        EXPECT_EQ(face.boundTexture, picture) << "state " << state;
        EXPECT_EQ(face.rect.ints[0], picture) << "state " << state;
        EXPECT_TRUE(nearColor(face.color, state == 0 ? kGrey : state == 1 ? kLight : kDark)) << "state " << state;
    }
}

TEST_F(PushButtonWidgetTest, PressedImageIsBoundWithTheNormalImagesExtent)
{
    const int normal = renderer.addTexture(64, 32);
    const int held = renderer.addTexture(64, 32);
    button->setImage(renderer, normal);
    button->setPressedImage(renderer, held);
    EXPECT_EQ(drawFace().boundTexture, normal);
    button->pressed = true;
    const Face face = drawFace();
    EXPECT_EQ(face.boundTexture, held);
    EXPECT_EQ(face.rect.ints[0], normal) << "the extent comes from the normal image";
}

TEST_F(PushButtonWidgetTest, SetImageGrowsToThePictureAndFixesTheSize)
{
    Widget free(nullptr, "");
    PushButtonWidget* fresh = new PushButtonWidget(&free, "");
    const int picture = renderer.addTexture(64, 32);
    fresh->setImage(renderer, picture);
    EXPECT_EQ(fresh->image, static_cast<uint32_t>(picture));
    EXPECT_TRUE(fresh->sizeFixed);
    const Vector2 size = fresh->size();
    EXPECT_GE(size.x, 0.64f - test::kTolerance);
    EXPECT_GE(size.y, 0.32f - test::kTolerance);
    EXPECT_TRUE(nearVec(size, Vector2(0.64f, 0.4f))) << "the margin of 0.2 around an empty label is 0.4 high";
}

TEST_F(PushButtonWidgetTest, DrawsItsFaceThenTheLabelThenItsHandler)
{
    button->setHandler(new LoggingHandler(Draw, "draw", &log, 42.0f));
    button->label->setText("Go");
    renderer.clearCalls();
    button->draw(renderer);
    std::vector<std::string> ops;
    for (const RendererCall& call : renderer.calls) {
        ops.push_back(call.op);
    }
    const std::string expected
        = "[pushState, bindTexture, setColor, setBlendFunc, drawTexturedRect, bindTexture, "
          "disableBlend, popState, pushState, setColor, setBlendFunc, bindTexture, drawTexturedRect, "
          "bindTexture, disableBlend, setColor, drawText, popState, setPointSize]";
    EXPECT_EQ(test::joined(ops), expected);
    const auto blends = renderer.callsOf("setBlendFunc");
    ASSERT_FALSE(blends.empty());
    EXPECT_EQ(blends[0].ints, (std::vector<int>{3, 7}));
    const auto texts = renderer.callsOf("drawText");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "Go");
}

TEST_F(PushButtonWidgetTest, HiddenButtonDrawsNothingButRunsItsDrawHandler)
{
    button->setHandler(new LoggingHandler(Draw, "draw", &log));
    button->hide();
    renderer.clearCalls();
    button->draw(renderer);
    EXPECT_TRUE(renderer.calls.empty()) << renderer.transcript();
    EXPECT_EQ(test::joined(log.tags()), "[draw]");
}

TEST_F(PushButtonWidgetTest, HoverFollowsMovesAndLeaves)
{
    button->setHandler(new LoggingHandler(MouseLeave, "leave", &log));
    root.onMouseMove(Vector2(1.5f, 1.25f));
    EXPECT_TRUE(button->hover);
    root.onMouseMove(Vector2(5.0f, 5.0f));
    EXPECT_FALSE(button->hover);
    EXPECT_EQ(test::joined(log.tags()), "[leave]");
}

TEST_F(PushButtonWidgetTest, ReleaseOutsideLeavesItPressedAndItsUpHandlerUncalled)
{
    button->setHandler(new LoggingHandler(MouseDown, "down", &log));
    button->setHandler(new LoggingHandler(MouseUp, "up", &log));
    root.onMouseDown(Vector2(1.5f, 1.25f), LeftButton);
    EXPECT_TRUE(button->pressed);
    root.onMouseMove(Vector2(4.0f, 4.0f));
    root.onMouseUp(Vector2(4.0f, 4.0f), LeftButton);
    EXPECT_TRUE(button->pressed) << "the release happened elsewhere";
    EXPECT_EQ(test::joined(log.tags()), "[down]");
    EXPECT_TRUE(nearColor(drawFace().color, kDark)) << "still drawn pressed";

    root.onMouseUp(Vector2(1.5f, 1.25f), RightButton);
    EXPECT_FALSE(button->pressed) << "the next release over it clears it";
    EXPECT_EQ(test::joined(log.tags()), "[down, up]");
}

TEST_F(PushButtonWidgetTest, EitherButtonPresses)
{
    root.onMouseDown(Vector2(1.5f, 1.25f), RightButton);
    EXPECT_TRUE(button->pressed);
}

TEST_F(PushButtonWidgetTest, WhileAMenuIsOpenOnlyItsItemsReact)
{
    button->setHandler(new LoggingHandler(MouseDown, "button.down", &log));
    button->setHandler(new LoggingHandler(MouseUp, "button.up", &log));
    Widget* owner = new Widget(&root, "");
    owner->setPosition(Vector2(4.0f, 1.0f));
    owner->setSize(Vector2(2.0f, 2.0f));
    PopupMenuWidget* menu = new PopupMenuWidget(nullptr, "");
    owner->setPopup(menu);
    menu->addItem("Item", new LoggingHandler(MouseDown, "item.down", &log));
    menu->item(0)->setHandler(new LoggingHandler(MouseUp, "item.up", &log));
    menu->item(0)->setSize(Vector2(1.0f, 0.5f));
    menu->showAt(Vector2(4.5f, 1.5f));
    ASSERT_TRUE(popupOpen);

    root.onMouseDown(Vector2(1.5f, 1.25f), LeftButton);
    EXPECT_FALSE(button->pressed) << "an ordinary button ignores the press";
    button->pressed = true;
    root.onMouseUp(Vector2(1.5f, 1.25f), LeftButton);
    EXPECT_TRUE(button->pressed) << "and the release";
    EXPECT_TRUE(log.calls.empty()) << test::joined(log.tags());

    const Vector2 onItem = menu->item(0)->toAbsolute(Vector2(0.0f, 0.0f)) + Vector2(0.5f, 0.25f);
    EXPECT_TRUE(nearVec(onItem, Vector2(5.0f, 1.75f)));
    root.onMouseDown(onItem, LeftButton);
    EXPECT_TRUE(menu->item(0)->pressed);
    root.onMouseUp(onItem, LeftButton);
    EXPECT_FALSE(menu->item(0)->pressed);
    EXPECT_EQ(test::joined(log.tags()), "[item.down, item.up]");
}

TEST_F(PushButtonWidgetTest, AButtonWhoseOwnPopupIsShownStillReacts)
{
    button->setHandler(new LoggingHandler(MouseDown, "down", &log));
    button->setHandler(new LoggingHandler(MouseUp, "up", &log));
    PopupMenuWidget* menu = new PopupMenuWidget(nullptr, "");
    button->setPopup(menu);
    menu->showAt(Vector2(3.0f, 3.0f));
    ASSERT_TRUE(popupOpen);
    root.onMouseDown(Vector2(1.5f, 1.25f), LeftButton);
    EXPECT_TRUE(button->pressed);
    root.onMouseUp(Vector2(1.5f, 1.25f), LeftButton);
    EXPECT_FALSE(button->pressed);
    EXPECT_EQ(test::joined(log.tags()), "[down, up]");
}

} // namespace
} // namespace vlo
