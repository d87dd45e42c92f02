// The desktop: covering the view, the opaque fill, and the overlays drawn
// after the whole tree.

#include "widgets/DesktopWidget.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "content/ShowConfig.h"
#include "platform/Clock.h"
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

uint32_t fakeNow = 0;
uint32_t fakeTicks()
{
    return fakeNow;
}

// A configuration whose title overlay is running, with a texture number no
// widget uses, so its drawing is easy to find in a recording.
constexpr int kTitleTexture = 77;

class DesktopWidgetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        popupOpen = false;
        fakeNow = 5000;
        setTickSource(&fakeTicks);
    }
    void TearDown() override
    {
        setTickSource(nullptr);
        popupOpen = false;
    }
};

TEST_F(DesktopWidgetTest, ConstructorSetsTheDefaults)
{
    DesktopWidget desktop(nullptr, "");
    EXPECT_EQ(desktop.className(), "Desktop Widget");
    EXPECT_TRUE(nearColor(desktop.fillColor, Color(0.0f, 0.0f, 0.0f, 1.0f)));
    EXPECT_EQ(desktop.overlays, nullptr);
    EXPECT_FLOAT_EQ(desktop.margin, 0.2f);
    EXPECT_EQ(desktop.alignment, TopLeft);
    EXPECT_EQ(desktop.direction, Horizontal);
}

TEST_F(DesktopWidgetTest, FitToViewCoversTheViewWhateverTheChildrenNeed)
{
    RecordingRenderer renderer;
    DesktopWidget desktop(nullptr, "");
    Widget* big = new Widget(&desktop, "");
    big->setSize(Vector2(9.0f, 9.0f));
    desktop.fitToView(renderer);
    EXPECT_TRUE(desktop.sizeFixed && desktop.layoutDirty);
    const Rect r = desktop.rect();
    EXPECT_TRUE(nearVec(Vector2(r.x1(), r.y1()), Vector2(0.0f, 0.0f)));
    EXPECT_TRUE(nearVec(Vector2(r.x2(), r.y2()), Vector2(7.0f, 6.0f)));
}

TEST_F(DesktopWidgetTest, WithoutFitToViewItTakesTheBoundedAutomaticSize)
{
    DesktopWidget desktop(nullptr, "");
    Widget* big = new Widget(&desktop, "");
    big->setSize(Vector2(9.0f, 1.0f));
    test::relayout(desktop);
    EXPECT_TRUE(nearVec(desktop.size(), Vector2(8.0f, 1.4f)));
}

TEST_F(DesktopWidgetTest, FillIsDrawnWithoutBlendingEvenAtAlphaZero)
{
    RecordingRenderer renderer;
    DesktopWidget desktop(nullptr, "");
    desktop.fitToView(renderer);
    desktop.setFillColor(Color(0.2f, 0.4f, 0.6f, 0.0f));
    EXPECT_TRUE(nearColor(desktop.fillColor, Color(0.2f, 0.4f, 0.6f, 0.0f)));
    desktop.draw(renderer);
    std::vector<std::string> ops;
    for (const auto& call : renderer.calls) {
        ops.push_back(call.op);
    }
    EXPECT_EQ(test::joined(ops), "[pushState, setColor, drawRect, popState]")
        << "no blending and no texture are switched on for the fill";
    EXPECT_TRUE(nearFloats(renderer.calls[1].floats, {0.2f, 0.4f, 0.6f, 0.0f}));
    EXPECT_TRUE(nearFloats(renderer.calls[2].floats, {0, 0, 7, 6, 1, 1}));
}

TEST_F(DesktopWidgetTest, OverlaysComeAfterEveryWidgetAndTheDesktopsHandler)
{
    EventLog log;
    RecordingRenderer renderer;
    ShowConfig config("Vellumo.ini");
    config.titleTexture = kTitleTexture;
    ASSERT_TRUE(config.startTitleOverlay());
    fakeNow += 500;

    DesktopWidget desktop(nullptr, "");
    desktop.fitToView(renderer);
    StaticWidget* owner = new StaticWidget(&desktop, "");
    PopupMenuWidget* menu = new PopupMenuWidget(nullptr, "");
    owner->setPopup(menu);
    menu->setHandler(new LoggingHandler(Draw, "menu", &log, 1.0f));
    desktop.setHandler(new LoggingHandler(Draw, "desktop", &log, 2.0f));
    desktop.setOverlays(&config);
    EXPECT_EQ(desktop.overlays, &config);

    desktop.draw(renderer);
    EXPECT_EQ(test::joined(log.tags()), "[menu, desktop]");
    const long desktopMark = renderer.indexOf("setPointSize", renderer.indexOf("setPointSize") + 1);
    ASSERT_GE(desktopMark, 0) << renderer.transcript();
    long overlayBind = -1;
    for (size_t i = 0; i < renderer.calls.size(); ++i) {
        const auto& call = renderer.calls[i];
        if (call.op == "bindTexture" && call.ints[0] == kTitleTexture) {
            overlayBind = static_cast<long>(i);
        }
    }
    EXPECT_GT(overlayBind, desktopMark) << renderer.transcript();

    // A hidden desktop runs only its own Draw handler: no overlays.
    desktop.hide();
    renderer.clearCalls();
    log.calls.clear();
    desktop.draw(renderer);
    EXPECT_EQ(test::joined(log.tags()), "[desktop]");
    EXPECT_EQ(renderer.count("bindTexture"), 0u) << renderer.transcript();
    EXPECT_EQ(renderer.count("setPointSize"), 1u) << "only the handler's mark";
}

} // namespace
} // namespace vlo
