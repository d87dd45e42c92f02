// What the widgets look like when drawn with the OpenGL renderer: a few
// pixels of each widget's drawing, read back from the back buffer of a hidden
// 700 x 600 window (1 GUI unit = 100 pixels, origin top-left).

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "support/GLRendererHarness.h"
#include "support/ImageFixtures.h"
#include "support/ScratchDir.h"
#include "widgets/DesktopWidget.h"
#include "widgets/FrameWidget.h"
#include "widgets/PopupMenuWidget.h"
#include "widgets/PushButtonWidget.h"
#include "widgets/StaticWidget.h"
#include "widgets/TriggerEvent.h"

namespace vlo {
namespace {

using test::GLRendererHarness;
using test::pixelIs;
using test::Rgb;

// 8-bit values of the toolkit's colours.
const Rgb kGrey{202, 202, 202};
const Rgb kLightGrey{230, 230, 230};
const Rgb kDarkGrey{110, 110, 110};
const Rgb kClearWhite{255, 255, 255};

class WidgetPixelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gl.ready()) << "no usable GL renderer (is DISPLAY=:99 running?)";
        popupOpen = false;
        desktop = new DesktopWidget(nullptr, "");
        desktop->setMargin(0.0f);
        desktop->fitToView(*gl.renderer);
    }
    void TearDown() override
    {
        delete desktop;
        popupOpen = false;
    }

    // One frame as the main loop draws it.
    void drawFrame()
    {
        Renderer& r = *gl.renderer;
        r.clear(Color(1.0f, 1.0f, 1.0f, 0.5f));
        r.loadIdentity();
        desktop->updateLayout();
        r.pushState();
        desktop->draw(r);
        r.popState();
    }

    // A one-colour 24-bit bitmap loaded as a texture.
    int solidTexture(const std::string& name, int width, int height, Rgb colour)
    {
        fixtures::Bytes pixels;
        for (int i = 0; i < width * height; ++i) {
            pixels.insert(pixels.end(), {uint8_t(colour.b), uint8_t(colour.g), uint8_t(colour.r)});
        }
        const fixtures::Bytes file = fixtures::bmpFile(width, height, 24, 0, pixels);
        scratch.write(name, std::string(file.begin(), file.end()));
        return gl.renderer->loadTexture(scratch.path(name).c_str(), FilterNearest, false);
    }

    GLRendererHarness gl;
    test::ScratchDir scratch{"widgets"};
    DesktopWidget* desktop = nullptr;
};

TEST_F(WidgetPixelTest, DesktopFillIsOpaqueEvenAtAlphaZero)
{
    desktop->setFillColor(Color(0.2f, 0.4f, 0.6f, 0.0f));
    drawFrame();
    EXPECT_TRUE(pixelIs(gl.pixel(10, 10), Rgb{51, 102, 153}, 1));
    EXPECT_TRUE(pixelIs(gl.pixel(690, 590), Rgb{51, 102, 153}, 1));
}

TEST_F(WidgetPixelTest, HiddenDesktopLeavesTheClearColour)
{
    desktop->hide();
    drawFrame();
    EXPECT_TRUE(pixelIs(gl.pixel(350, 300), kClearWhite));
}

TEST_F(WidgetPixelTest, FrameDrawsAnOutlineOnly)
{
    FrameWidget* frame = new FrameWidget(desktop, "");
    frame->setPosition(Vector2(1.0f, 1.0f));
    frame->setSize(Vector2(2.0f, 1.0f));
    frame->setColor(ColorRGB(1.0f, 0.0f, 0.0f));
    frame->setLineWidth(3.0f);
    drawFrame();
    // A 3-pixel line centred on the edge at x = 100.
    EXPECT_TRUE(pixelIs(gl.pixel(100, 150), Rgb{255, 0, 0}));
    EXPECT_TRUE(pixelIs(gl.pixel(200, 100), Rgb{255, 0, 0}));
    EXPECT_TRUE(pixelIs(gl.pixel(200, 150), Rgb{0, 0, 0})) << "the inside keeps the desktop's fill";
}

TEST_F(WidgetPixelTest, FrameWithAlphaZeroIsInvisibleButItsChildrenShow)
{
    FrameWidget* frame = new FrameWidget(desktop, "");
    frame->setPosition(Vector2(1.0f, 1.0f));
    frame->setSize(Vector2(3.0f, 2.0f));
    frame->setColor(ColorRGB(1.0f, 0.0f, 0.0f));
    frame->setLineWidth(3.0f);
    frame->setAlpha(0.0f);
    PushButtonWidget* button = new PushButtonWidget(frame, "");
    button->setSize(Vector2(1.0f, 0.5f));
    drawFrame();
    EXPECT_TRUE(pixelIs(gl.pixel(100, 200), Rgb{0, 0, 0}));
    EXPECT_TRUE(pixelIs(gl.pixel(170, 145), kGrey)) << "the button at (1.2, 1.2)";
}

TEST_F(WidgetPixelTest, PushButtonFlatColoursFollowItsState)
{
    PushButtonWidget* button = new PushButtonWidget(desktop, "");
    button->setPosition(Vector2(1.0f, 1.0f));
    button->setSize(Vector2(1.0f, 1.0f));
    drawFrame();
    EXPECT_TRUE(pixelIs(gl.pixel(150, 150), kGrey, 1)) << "normal";
    button->hover = true;
    drawFrame();
    EXPECT_TRUE(pixelIs(gl.pixel(150, 150), kLightGrey, 1)) << "hover";
    button->pressed = true;
    drawFrame();
    EXPECT_TRUE(pixelIs(gl.pixel(150, 150), kDarkGrey, 1)) << "pressed";
    EXPECT_TRUE(pixelIs(gl.pixel(250, 150), Rgb{0, 0, 0})) << "nothing outside the button";
}

TEST_F(WidgetPixelTest, PushButtonImagesAreTintedByTheStateColour)
{
    const int red = solidTexture("red.bmp", 64, 32, Rgb{255, 0, 0});
    const int blue = solidTexture("blue.bmp", 64, 32, Rgb{0, 0, 255});
    ASSERT_GT(red, 0);
    ASSERT_GT(blue, 0);
    PushButtonWidget* button = new PushButtonWidget(desktop, "");
    button->setPosition(Vector2(2.0f, 2.0f));
    button->setImage(*gl.renderer, red);
    button->setPressedImage(*gl.renderer, blue);
    button->setColor(ColorRGB(1.0f, 1.0f, 1.0f));
    drawFrame();
    EXPECT_TRUE(pixelIs(gl.pixel(230, 215), Rgb{255, 0, 0}, 1)) << "white tint shows the picture";
    button->pressed = true;
    drawFrame();
    EXPECT_TRUE(pixelIs(gl.pixel(230, 215), Rgb{0, 0, 110}, 1)) << "pressed picture, dark tint";
}

TEST_F(WidgetPixelTest, HiddenPushButtonDrawsNothing)
{
    PushButtonWidget* button = new PushButtonWidget(desktop, "");
    button->setPosition(Vector2(1.0f, 1.0f));
    button->setSize(Vector2(1.0f, 1.0f));
    button->hide();
    drawFrame();
    EXPECT_TRUE(pixelIs(gl.pixel(150, 150), Rgb{0, 0, 0}));
}

TEST_F(WidgetPixelTest, StaticBackgroundBlendsWithItsAlpha)
{
    desktop->setFillColor(Color(0.0f, 0.0f, 1.0f, 1.0f));
    StaticWidget* panel = new StaticWidget(desktop, "");
    panel->setPosition(Vector2(1.0f, 1.0f));
    panel->setSize(Vector2(2.0f, 2.0f));
    panel->setColor(ColorRGB(1.0f, 0.0f, 0.0f));
    panel->setBackgroundAlpha(0.5f);
    drawFrame();
    EXPECT_TRUE(pixelIs(gl.pixel(200, 200), Rgb{128, 0, 128}, 2)) << "half red over blue";

    panel->setBlendFactors(0, 0);
    panel->setBackgroundAlpha(0.0f);
    drawFrame();
    EXPECT_TRUE(pixelIs(gl.pixel(200, 200), Rgb{255, 0, 0}, 1)) << "no blending: opaque at alpha 0";
}

TEST_F(WidgetPixelTest, StaticDefaultsAreInvisibleAndAPictureNeedsAlphaOne)
{
    const int green = solidTexture("green.bmp", 100, 100, Rgb{0, 255, 0});
    ASSERT_GT(green, 0);
    StaticWidget* panel = new StaticWidget(desktop, "");
    panel->setPosition(Vector2(1.0f, 1.0f));
    panel->setBackgroundImage(*gl.renderer, green);
    drawFrame();
    EXPECT_TRUE(pixelIs(gl.pixel(150, 150), Rgb{0, 0, 0})) << "alpha 0 by default";
    panel->setColor(ColorRGB(1.0f, 1.0f, 1.0f));
    panel->setBackgroundAlpha(1.0f);
    drawFrame();
    EXPECT_TRUE(pixelIs(gl.pixel(150, 150), Rgb{0, 255, 0}, 1));
    EXPECT_TRUE(pixelIs(gl.pixel(205, 150), Rgb{0, 0, 0})) << "sized to the 100-pixel picture";
}

TEST_F(WidgetPixelTest, StaticOutlineIsDrawnInTheBorderColour)
{
    StaticWidget* panel = new StaticWidget(desktop, "");
    panel->setPosition(Vector2(1.0f, 1.0f));
    panel->setSize(Vector2(2.0f, 2.0f));
    panel->borderWidth = 3.0f;
    panel->borderColor = Color(0.0f, 1.0f, 0.0f, 1.0f);
    drawFrame();
    EXPECT_TRUE(pixelIs(gl.pixel(100, 200), Rgb{0, 255, 0}));
    EXPECT_TRUE(pixelIs(gl.pixel(200, 200), Rgb{0, 0, 0}));
}

TEST_F(WidgetPixelTest, OpenPopupMenuLiesOverItsOwnersSiblings)
{
    StaticWidget* owner = new StaticWidget(desktop, "");
    owner->setPosition(Vector2(0.5f, 0.5f));
    owner->setSize(Vector2(1.0f, 1.0f));
    StaticWidget* sibling = new StaticWidget(desktop, "");
    sibling->setPosition(Vector2(2.0f, 2.0f));
    sibling->setSize(Vector2(3.0f, 3.0f));
    sibling->setColor(ColorRGB(0.0f, 1.0f, 0.0f));
    sibling->setBackgroundAlpha(1.0f);
    PopupMenuWidget* menu = new PopupMenuWidget(nullptr, "");
    owner->setPopup(menu);
    menu->addItem("Exit", nullptr);
    menu->item(0)->setSize(Vector2(1.5f, 0.5f));

    drawFrame();
    EXPECT_TRUE(pixelIs(gl.pixel(300, 300), Rgb{0, 255, 0})) << "closed: the sibling shows";
    menu->showAt(Vector2(2.5f, 2.5f));
    drawFrame();
    EXPECT_TRUE(pixelIs(gl.pixel(300, 275), kGrey, 1)) << "open: its item covers the sibling";
    menu->close();
    drawFrame();
    EXPECT_TRUE(pixelIs(gl.pixel(300, 275), Rgb{0, 255, 0}));
}

TEST_F(WidgetPixelTest, TriggersDrawNothing)
{
    TriggerEvent* trigger = new TriggerEvent(desktop, "");
    trigger->setPosition(Vector2(1.0f, 1.0f));
    drawFrame();
    EXPECT_TRUE(pixelIs(gl.pixel(120, 120), Rgb{0, 0, 0}));
}

} // namespace
} // namespace vlo
