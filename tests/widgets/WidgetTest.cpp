// The widget base: defaults, lazy box layout, tree and handler ownership,
// two-pass drawing and destruction.

#include "widgets/Widget.h"

#include <gtest/gtest.h>

#include <string>

#include "support/RecordingRenderer.h"
#include "widgets/DesktopWidget.h"
#include "widgets/FrameWidget.h"
#include "widgets/PopupMenuWidget.h"
#include "widgets/PushButtonWidget.h"
#include "widgets/StaticWidget.h"
#include "widgets/TriggerEvent.h"
#include "widgets/WidgetTestSupport.h"

namespace vlo {
namespace {

using test::EventLog;
using test::LoggingHandler;
using test::nearVec;
using test::ProbeWidget;
using test::RecordingRenderer;
using test::relayout;

class WidgetTest : public ::testing::Test {
protected:
    void SetUp() override { popupOpen = false; }
    void TearDown() override { popupOpen = false; }
};

// ---- Defaults and properties ---------------------------------------------

TEST_F(WidgetTest, ConstructorSetsTheDefaults)
{
    Widget w(nullptr, "panel");
    EXPECT_EQ(w.name, "panel");
    EXPECT_EQ(w.parent(), nullptr);
    EXPECT_EQ(w.popup, nullptr);
    EXPECT_TRUE(w.children.empty());
    EXPECT_TRUE(nearVec(w.maximumSize, Vector2(8.0f, 6.0f)));
    EXPECT_EQ(w.blendSource, 3);
    EXPECT_EQ(w.blendDestination, 7);
    EXPECT_FLOAT_EQ(w.margin, 0.2f);
    EXPECT_FLOAT_EQ(w.spacing, 0.1f);
    EXPECT_EQ(w.direction, Horizontal);
    EXPECT_EQ(w.alignment, TopLeft);
    EXPECT_FALSE(w.hasMinimumSize || w.positionFixed || w.sizeFixed || w.hidden || w.flowExcluded || w.layoutDirty
        || w.mouseInside);
    for (int kind = MouseMove; kind <= Draw; ++kind) {
        EXPECT_EQ(w.handler(kind), nullptr) << "slot of kind " << kind;
    }
    EXPECT_EQ(w.className(), "Generic Object");
    EXPECT_STREQ(w.typeName(), "Generic Object");
}

TEST_F(WidgetTest, TypeNameIsTheClassNameOfEveryWidgetClass)
{
    Widget root(nullptr, "");
    Widget* widgets[]
        = {&root, new DesktopWidget(&root, ""), new FrameWidget(&root, ""), new PushButtonWidget(&root, ""),
            new StaticWidget(&root, ""), new PopupMenuWidget(&root, ""), new TriggerEvent(&root, "")};
    for (Widget* w : widgets) {
        EXPECT_EQ(w->className(), std::string(w->typeName()));
        EXPECT_TRUE(w->isClass(w->className().c_str())) << w->className();
    }
}

TEST_F(WidgetTest, NameKeepsAtMost255Characters)
{
    const std::string longName(300, 'n');
    Widget w(nullptr, longName.c_str());
    EXPECT_EQ(w.name.size(), 255u);
    Widget unnamed(nullptr, nullptr);
    EXPECT_TRUE(unnamed.name.empty());
}

TEST_F(WidgetTest, SettersStoreTheValueAndOnlyMarkTheLayoutDirty)
{
    Widget w(nullptr, "");
    w.setPosition(Vector2(1.0f, 2.0f));
    EXPECT_TRUE(w.positionFixed && w.layoutDirty);
    w.layoutDirty = false;
    w.setSize(Vector2(3.0f, 1.0f));
    EXPECT_TRUE(w.sizeFixed && w.layoutDirty);
    w.layoutDirty = false;
    w.setMinimumSize(Vector2(0.5f, 0.5f));
    EXPECT_TRUE(w.hasMinimumSize && w.layoutDirty);
    w.layoutDirty = false;
    w.setMargin(-0.3f);
    EXPECT_FLOAT_EQ(w.margin, 0.3f) << "margin stores the absolute value";
    EXPECT_TRUE(w.layoutDirty);
    w.layoutDirty = false;
    w.setSpacing(-0.25f);
    EXPECT_FLOAT_EQ(w.spacing, 0.25f) << "spacing stores the absolute value";
    EXPECT_TRUE(w.layoutDirty);
    w.layoutDirty = false;
    w.setAlignment(BottomLeft);
    EXPECT_EQ(w.alignment, BottomLeft);
    EXPECT_TRUE(w.layoutDirty);
    w.layoutDirty = false;
    w.setDirection(Vertical);
    EXPECT_EQ(w.direction, Vertical);
    EXPECT_TRUE(w.layoutDirty);
    w.setBlendFactors(1, 0);
    EXPECT_EQ(w.blendSource, 1);
    EXPECT_EQ(w.blendDestination, 0);
    w.setFlowExcluded();
    EXPECT_TRUE(w.flowExcluded);
}

// ---- Layout ----------------------------------------------------------------

TEST_F(WidgetTest, ChildlessWidgetIsTwiceTheMarginSquare)
{
    Widget root(nullptr, "");
    root.setMargin(0.2f);
    EXPECT_TRUE(nearVec(root.size(), Vector2(0.4f, 0.4f)));
    EXPECT_FALSE(root.layoutDirty) << "size() lays the widget out and clears the flag";

    // A new child is sized by its parent's immediate relayout.
    Widget* child = new Widget(&root, "");
    EXPECT_TRUE(nearVec(child->size_, Vector2(0.4f, 0.4f)));
}

TEST_F(WidgetTest, HorizontalFlowAddsMarginsAndSpacing)
{
    Widget root(nullptr, "");
    Widget* a = new Widget(&root, "");
    Widget* b = new Widget(&root, "");
    a->setSize(Vector2(1.0f, 0.5f));
    b->setSize(Vector2(2.0f, 0.8f));
    relayout(root);

    EXPECT_TRUE(nearVec(root.size(), Vector2(3.5f, 1.2f)))
        << "0.2 + 1.0 + 0.1 + 2.0 + 0.2 wide, the taller child plus 0.4 high";
    EXPECT_TRUE(nearVec(a->position(), Vector2(0.2f, 0.2f)));
    EXPECT_TRUE(nearVec(b->position(), Vector2(1.3f, 0.2f)));
}

TEST_F(WidgetTest, VerticalFlowStacksDownwards)
{
    Widget root(nullptr, "");
    root.setDirection(Vertical);
    Widget* a = new Widget(&root, "");
    Widget* b = new Widget(&root, "");
    a->setSize(Vector2(1.5f, 1.0f));
    b->setSize(Vector2(0.5f, 2.0f));
    relayout(root);

    EXPECT_TRUE(nearVec(root.size(), Vector2(1.9f, 3.5f)));
    EXPECT_TRUE(nearVec(a->position(), Vector2(0.2f, 0.2f)));
    EXPECT_TRUE(nearVec(b->position(), Vector2(0.2f, 1.3f)));
}

TEST_F(WidgetTest, HiddenLastChildStillLeavesItsSpacing)
{
    Widget root(nullptr, "");
    Widget* a = new Widget(&root, "");
    Widget* b = new Widget(&root, "");
    Widget* c = new Widget(&root, "");
    a->setSize(Vector2(1.0f, 0.5f));
    b->setSize(Vector2(2.0f, 0.5f));
    c->setSize(Vector2(0.5f, 0.5f));
    c->hide();
    relayout(root);

    EXPECT_TRUE(nearVec(root.size(), Vector2(3.6f, 0.9f)))
        << "the gap after b stays because b is not the last in the list";
}

TEST_F(WidgetTest, HiddenChildCountsForTheMinimumButNotForTheFlow)
{
    Widget root(nullptr, "");
    Widget* hiddenWide = new Widget(&root, "");
    Widget* b = new Widget(&root, "");
    Widget* c = new Widget(&root, "");
    hiddenWide->setSize(Vector2(5.0f, 1.0f));
    b->setSize(Vector2(1.0f, 0.5f));
    c->setSize(Vector2(1.0f, 0.5f));
    hiddenWide->hide();
    relayout(root);

    EXPECT_TRUE(nearVec(root.contentMinimumSize(), Vector2(5.4f, 1.4f)));
    EXPECT_TRUE(nearVec(root.size(), Vector2(5.4f, 1.4f)))
        << "the flow alone gives 2.5 x 0.9; the largest child, hidden or not, wins";
    EXPECT_TRUE(nearVec(b->position(), Vector2(0.2f, 0.2f))) << "the hidden child takes no flow space";
    EXPECT_TRUE(nearVec(c->position(), Vector2(1.3f, 0.2f)));
    EXPECT_TRUE(nearVec(hiddenWide->position(), Vector2(0.2f, 0.2f))) << "it is still placed";
}

TEST_F(WidgetTest, ExplicitMinimumReplacesTheLargestChild)
{
    Widget root(nullptr, "");
    Widget* child = new Widget(&root, "");
    child->setSize(Vector2(1.0f, 1.0f));
    root.setMinimumSize(Vector2(2.5f, 0.5f));
    EXPECT_TRUE(nearVec(root.contentMinimumSize(), Vector2(2.5f, 0.5f)));
    EXPECT_TRUE(nearVec(root.size(), Vector2(2.5f, 1.0f)))
        << "across the flow only the tallest child counts once the minimum replaces the margins";
}

TEST_F(WidgetTest, BottomRightHorizontalFlowGrowsLeftwardsFromTheCorner)
{
    Widget root(nullptr, "");
    root.setPosition(Vector2(1.0f, 1.0f));
    root.setSize(Vector2(5.0f, 3.0f));
    root.setAlignment(BottomRight);
    Widget* a = new Widget(&root, "");
    Widget* b = new Widget(&root, "");
    a->setSize(Vector2(1.0f, 0.5f));
    b->setSize(Vector2(2.0f, 0.8f));
    relayout(root);

    EXPECT_TRUE(nearVec(a->position(), Vector2(1.0f + 5.0f - 1.2f, 1.0f + 3.0f - 0.7f)))
        << "the first child sits in the corner inside the margin";
    EXPECT_TRUE(nearVec(b->position(), Vector2(1.0f + 5.0f - 2.2f - 1.1f, 1.0f + 3.0f - 1.0f)))
        << "the next one further left";
}

TEST_F(WidgetTest, BottomLeftVerticalFlowGrowsUpwards)
{
    Widget root(nullptr, "");
    root.setSize(Vector2(4.0f, 4.0f));
    root.setAlignment(BottomLeft);
    root.setDirection(Vertical);
    Widget* a = new Widget(&root, "");
    Widget* b = new Widget(&root, "");
    a->setSize(Vector2(1.0f, 1.0f));
    b->setSize(Vector2(1.0f, 0.5f));
    relayout(root);

    EXPECT_TRUE(nearVec(a->position(), Vector2(0.2f, 2.8f)));
    EXPECT_TRUE(nearVec(b->position(), Vector2(0.2f, 4.0f - 0.7f - 1.1f)));
}

TEST_F(WidgetTest, TopRightHorizontalFlowStartsAtTheRightEdge)
{
    Widget root(nullptr, "");
    root.setSize(Vector2(4.0f, 2.0f));
    root.setAlignment(TopRight);
    Widget* a = new Widget(&root, "");
    Widget* b = new Widget(&root, "");
    a->setSize(Vector2(1.0f, 1.0f));
    b->setSize(Vector2(1.0f, 1.0f));
    relayout(root);

    EXPECT_TRUE(nearVec(a->position(), Vector2(2.8f, 0.2f)));
    EXPECT_TRUE(nearVec(b->position(), Vector2(1.7f, 0.2f)));
}

TEST_F(WidgetTest, UnknownAlignmentStacksChildrenOnTheParentCorner)
{
    Widget root(nullptr, "");
    root.setPosition(Vector2(1.5f, 0.5f));
    root.setAlignment(static_cast<Alignment>(9));
    Widget* a = new Widget(&root, "");
    Widget* b = new Widget(&root, "");
    a->setSize(Vector2(1.0f, 1.0f));
    b->setSize(Vector2(1.0f, 1.0f));
    relayout(root);

    EXPECT_TRUE(nearVec(a->position(), Vector2(1.5f, 0.5f)));
    EXPECT_TRUE(nearVec(b->position(), Vector2(1.5f, 0.5f))) << "no margin and no flow";
}

TEST_F(WidgetTest, FlowExcludedSiblingPushesNobodyButCountsInTheSize)
{
    Widget root(nullptr, "");
    Widget* excluded = new Widget(&root, "");
    Widget* b = new Widget(&root, "");
    excluded->setSize(Vector2(1.0f, 1.0f));
    excluded->setFlowExcluded();
    b->setSize(Vector2(1.0f, 1.0f));
    relayout(root);

    EXPECT_TRUE(nearVec(b->position(), Vector2(0.2f, 0.2f)));
    EXPECT_TRUE(nearVec(root.size(), Vector2(2.5f, 1.4f)));
}

TEST_F(WidgetTest, MaximumSizeWinsOverTheMinimum)
{
    Widget root(nullptr, "");
    root.setMinimumSize(Vector2(10.0f, 9.0f));
    EXPECT_TRUE(nearVec(root.size(), Vector2(8.0f, 6.0f)));
}

TEST_F(WidgetTest, FixedPositionStaysWhileItsChildrenArePlacedFromIt)
{
    Widget root(nullptr, "");
    Widget* first = new Widget(&root, "");
    Widget* fixed = new Widget(&root, "");
    Widget* inner = new Widget(fixed, "");
    first->setSize(Vector2(1.0f, 1.0f));
    inner->setSize(Vector2(0.5f, 0.5f));
    fixed->setPosition(Vector2(3.0f, 2.0f));
    relayout(root);
    relayout(root);

    EXPECT_TRUE(nearVec(fixed->position(), Vector2(3.0f, 2.0f)));
    EXPECT_TRUE(nearVec(inner->position(), Vector2(3.2f, 2.2f)));
    EXPECT_TRUE(nearVec(inner->relativePosition(), Vector2(0.2f, 0.2f)));
}

TEST_F(WidgetTest, RootWithoutFixedPositionGoesToTheOrigin)
{
    Widget root(nullptr, "");
    root.position_ = Vector2(2.0f, 2.0f);
    relayout(root);
    EXPECT_TRUE(nearVec(root.position(), Vector2(0.0f, 0.0f)));
}

TEST_F(WidgetTest, LayoutIsLazyAndRunsOnQuery)
{
    Widget root(nullptr, "");
    Widget* child = new Widget(&root, "");
    EXPECT_FALSE(root.layoutDirty) << "constructing a child does not mark the parent dirty";
    child->setMargin(0.5f);
    EXPECT_TRUE(nearVec(child->size_, Vector2(0.4f, 0.4f))) << "a setter does not lay out";
    EXPECT_TRUE(nearVec(child->size(), Vector2(1.0f, 1.0f))) << "the query does";
    EXPECT_FALSE(child->layoutDirty);

    child->setMargin(0.1f);
    EXPECT_TRUE(nearVec(child->toAbsolute(Vector2(1.0f, 1.0f)), Vector2(1.0f, 1.0f)));
    EXPECT_TRUE(nearVec(child->size_, Vector2(0.2f, 0.2f))) << "toAbsolute lays out too";
}

TEST_F(WidgetTest, ConstructingAChildRelaysTheParentOutAtOnce)
{
    Widget root(nullptr, "");
    root.layoutDirty = true;
    Widget* a = new Widget(&root, "");
    EXPECT_TRUE(root.layoutDirty) << "the parent's dirty flag is left alone";
    Widget* b = new Widget(&root, "");
    EXPECT_TRUE(nearVec(root.size_, Vector2(1.3f, 0.8f)));
    EXPECT_TRUE(nearVec(b->position_, Vector2(0.7f, 0.2f)));
    EXPECT_EQ(a->indexInParent, 0u);
    EXPECT_EQ(b->indexInParent, 1u);
    EXPECT_EQ(b->parent(), &root);
}

TEST_F(WidgetTest, RectAndToAbsoluteUseAbsolutePositions)
{
    Widget root(nullptr, "");
    root.setPosition(Vector2(1.0f, 2.0f));
    root.setSize(Vector2(3.0f, 2.0f));
    Widget* child = new Widget(&root, "");
    const Rect r = root.rect();
    EXPECT_TRUE(nearVec(Vector2(r.x1(), r.y1()), Vector2(1.0f, 2.0f)));
    EXPECT_TRUE(nearVec(Vector2(r.x2(), r.y2()), Vector2(4.0f, 4.0f)));
    EXPECT_TRUE(nearVec(child->toAbsolute(Vector2(0.5f, 0.5f)), Vector2(1.5f, 2.5f)));
    EXPECT_TRUE(nearVec(root.toAbsolute(Vector2(0.5f, 0.5f)), Vector2(0.5f, 0.5f)));
    EXPECT_TRUE(nearVec(root.relativePosition(), Vector2(1.0f, 2.0f)));
}

TEST_F(WidgetTest, FitToImageWithoutATextureChangesNothing)
{
    RecordingRenderer renderer;
    Widget root(nullptr, "");
    Widget* child = new Widget(&root, "");
    EXPECT_TRUE(nearVec(child->fitToImage(renderer, 0), Vector2()));
    EXPECT_TRUE(nearVec(child->fitToImage(renderer, 5), Vector2())) << "past the last texture";
    EXPECT_TRUE(nearVec(child->fitToImage(renderer, 0x80000001u), Vector2())) << "beyond int range";
    EXPECT_TRUE(nearVec(child->size_, Vector2(0.4f, 0.4f)));
    EXPECT_FALSE(child->sizeFixed);
}

TEST_F(WidgetTest, FitToImageOnlyGrowsAndFixesTheSize)
{
    RecordingRenderer renderer;
    const int wide = renderer.addTexture(64, 32);
    const int tiny = renderer.addTexture(10, 10);
    Widget root(nullptr, "");
    Widget* child = new Widget(&root, "");

    EXPECT_TRUE(nearVec(child->fitToImage(renderer, wide), Vector2(0.64f, 0.32f)))
        << "the picture's own pixel size at 0.01 units per pixel";
    EXPECT_TRUE(nearVec(child->size_, Vector2(0.64f, 0.4f))) << "the height was already larger";
    EXPECT_TRUE(child->sizeFixed);
    EXPECT_TRUE(nearVec(root.size_, Vector2(1.04f, 0.8f))) << "the parent is relaid out at once";
    EXPECT_FALSE(root.layoutDirty);

    EXPECT_TRUE(nearVec(child->fitToImage(renderer, tiny), Vector2(0.1f, 0.1f)));
    EXPECT_TRUE(nearVec(child->size_, Vector2(0.64f, 0.4f))) << "a smaller picture never shrinks it";
}

TEST_F(WidgetTest, CenterHorizontallyCentresOnTheView)
{
    RecordingRenderer renderer;
    Widget root(nullptr, "");
    Widget* first = new Widget(&root, "");
    Widget* child = new Widget(&root, "");
    first->setSize(Vector2(0.5f, 1.5f));
    child->setSize(Vector2(2.0f, 1.0f));
    relayout(root);
    const float y = child->position().y;

    child->centerHorizontally(renderer);
    EXPECT_TRUE(child->positionFixed);
    EXPECT_TRUE(nearVec(child->position(), Vector2(2.5f, y)));
    relayout(root);
    EXPECT_TRUE(nearVec(child->position(), Vector2(2.5f, y))) << "stays through later layouts";
}

// ---- Tree and handlers -----------------------------------------------------

TEST_F(WidgetTest, AddChildOnlyAppends)
{
    Widget root(nullptr, "");
    Widget* first = new Widget(&root, "");
    Widget* loose = new Widget(nullptr, "");
    EXPECT_EQ(root.addChild(loose), 1u) << "the former child count";
    EXPECT_EQ(loose->parent(), nullptr);
    ASSERT_EQ(root.children.size(), 2u);
    EXPECT_EQ(root.children[0], first);
    EXPECT_EQ(root.children[1], loose);
}

TEST_F(WidgetTest, SetHandlerFillsTheSlotOfItsKind)
{
    EventLog log;
    {
        Widget w(nullptr, "");
        w.setHandler(nullptr);
        auto* down = new LoggingHandler(MouseDown, "down", &log);
        auto* draw = new LoggingHandler(Draw, "draw", &log);
        w.setHandler(down);
        w.setHandler(draw);
        EXPECT_EQ(w.handlers[2], down);
        EXPECT_EQ(w.handlers[4], draw);
        EXPECT_EQ(w.handler(MouseDown), down);

        LoggingHandler bogus(6, "bogus", &log);
        LoggingHandler none(0, "none", &log);
        w.setHandler(&bogus);
        w.setHandler(&none);
        for (int slot = 0; slot < 5; ++slot) {
            EXPECT_NE(w.handlers[slot], &bogus) << "slot " << slot;
            EXPECT_NE(w.handlers[slot], &none) << "slot " << slot;
        }
    }
    EXPECT_EQ(test::joined(log.destroyed), "[none, bogus, down, draw]")
        << "the refused handlers stayed the caller's; the widget released its two";
}

TEST_F(WidgetTest, ReplacingAHandlerReleasesTheOldOne)
{
    EventLog log;
    Widget w(nullptr, "");
    auto* first = new LoggingHandler(MouseUp, "first", &log);
    auto* second = new LoggingHandler(MouseUp, "second", &log);
    w.setHandler(first);
    w.setHandler(first);
    EXPECT_TRUE(log.destroyed.empty()) << "attaching the same handler again keeps it";
    w.setHandler(second);
    EXPECT_EQ(w.handler(MouseUp), second);
    EXPECT_EQ(test::joined(log.destroyed), "[first]");
}

TEST_F(WidgetTest, SetPopupAdoptsAParentlessWidgetOnce)
{
    Widget root(nullptr, "");
    Widget* owner = new Widget(&root, "");
    new Widget(owner, "");
    PopupMenuWidget* menu = new PopupMenuWidget(nullptr, "");
    owner->setPopup(menu);
    EXPECT_EQ(owner->popup, menu);
    ASSERT_EQ(owner->children.size(), 2u);
    EXPECT_EQ(owner->children[1], menu);
    EXPECT_EQ(menu->indexInParent, 1u);
    EXPECT_EQ(menu->parent(), nullptr) << "the popup keeps no parent";

    // A second adoption, or adopting a widget that has a parent, would own it
    // twice; both are refused.
    Widget* other = new Widget(&root, "");
    other->setPopup(menu);
    owner->setPopup(menu);
    other->setPopup(owner);
    EXPECT_EQ(other->popup, nullptr);
    EXPECT_TRUE(other->children.empty());
    EXPECT_EQ(owner->children.size(), 2u);
}

TEST_F(WidgetTest, HideAndShowCoverTheSubtreeAndThePopupFlag)
{
    Widget root(nullptr, "");
    Widget* a = new Widget(&root, "");
    Widget* a1 = new Widget(a, "");
    PopupMenuWidget* menu = new PopupMenuWidget(nullptr, "");
    a->setPopup(menu);
    EXPECT_FALSE(popupOpen);

    root.show();
    EXPECT_FALSE(root.hidden || a->hidden || a1->hidden || menu->hidden);
    EXPECT_TRUE(popupOpen) << "showing a subtree with a popup menu opens it";
    root.hide();
    EXPECT_TRUE(root.hidden && a->hidden && a1->hidden && menu->hidden);
    EXPECT_FALSE(popupOpen);

    a1->show();
    EXPECT_FALSE(popupOpen) << "only a popup menu touches the flag";
    EXPECT_TRUE(a->hidden) << "show goes down, never up";
}

// ---- Drawing ---------------------------------------------------------------

TEST_F(WidgetTest, DrawsChildrenThenAdoptedPopupsThenItsHandler)
{
    EventLog log;
    RecordingRenderer renderer;
    Widget root(nullptr, "");
    Widget* owner = new Widget(&root, "");
    Widget* sibling = new Widget(&root, "");
    PopupMenuWidget* menu = new PopupMenuWidget(nullptr, "");
    owner->setPopup(menu);
    root.setHandler(new LoggingHandler(Draw, "root", &log));
    owner->setHandler(new LoggingHandler(Draw, "owner", &log));
    sibling->setHandler(new LoggingHandler(Draw, "sibling", &log));
    menu->setHandler(new LoggingHandler(Draw, "menu", &log));

    root.draw(renderer);
    EXPECT_EQ(test::joined(log.tags()), "[owner, sibling, menu, root]")
        << "the menu is skipped by its owner and drawn after the owner's siblings";
    for (const auto& call : log.calls) {
        EXPECT_EQ(call.renderer, &renderer) << call.tag;
    }
    EXPECT_EQ(log.calls[0].sender, owner);
}

TEST_F(WidgetTest, BaseDrawIgnoresHiddenAndDrawsNothingItself)
{
    EventLog log;
    RecordingRenderer renderer;
    Widget root(nullptr, "");
    root.setHandler(new LoggingHandler(Draw, "root", &log));
    root.hide();
    root.draw(renderer);
    EXPECT_EQ(test::joined(log.tags()), "[root]");
    EXPECT_TRUE(renderer.calls.empty()) << renderer.transcript();
}

// ---- Destruction -----------------------------------------------------------

TEST_F(WidgetTest, DestroyingTheRootFreesEveryWidgetAndHandlerOnceInOrder)
{
    EventLog log;
    auto* root = new ProbeWidget(nullptr, "root", &log);
    auto* a = new ProbeWidget(root, "a", &log);
    new ProbeWidget(a, "a1", &log);
    auto* b = new ProbeWidget(root, "b", &log);
    auto* menu = new PopupMenuWidget(nullptr, "");
    b->setPopup(menu);
    menu->addItem("Item", new LoggingHandler(MouseDown, "item.down", &log));
    const char* kinds[] = {"", "move", "leave", "down", "up", "draw"};
    for (int kind = MouseMove; kind <= Draw; ++kind) {
        root->setHandler(new LoggingHandler(kind, std::string("root.") + kinds[kind], &log));
    }
    a->setHandler(new LoggingHandler(Draw, "a.draw", &log));

    delete root;
    EXPECT_EQ(test::joined(log.destroyed),
        "[root, a, a1, a.draw, b, item.down, root.down, root.up, root.draw, root.move, "
        "root.leave]")
        << "children in list order, each with its subtree, then the handlers MouseDown, MouseUp, "
           "Draw, MouseMove, MouseLeave";
}

} // namespace
} // namespace vlo
