// Popup menus: closed and open states, items, placement and drawing order.

#include "widgets/PopupMenuWidget.h"

#include <gtest/gtest.h>

#include "support/RecordingRenderer.h"
#include "widgets/PushButtonWidget.h"
#include "widgets/StaticWidget.h"
#include "widgets/WidgetTestSupport.h"

namespace vlo {
namespace {

using test::EventLog;
using test::LoggingHandler;
using test::nearVec;
using test::RecordingRenderer;

class PopupMenuWidgetTest : public ::testing::Test {
protected:
    void SetUp() override { popupOpen = false; }
    void TearDown() override { popupOpen = false; }
    EventLog log;
};

TEST_F(PopupMenuWidgetTest, ANewMenuIsClosedAndOffScreen)
{
    popupOpen = true;
    PopupMenuWidget menu(nullptr, "");
    EXPECT_EQ(menu.className(), "PopupMenu Widget");
    EXPECT_TRUE(menu.hidden);
    EXPECT_FALSE(menu.isOpen());
    EXPECT_FALSE(popupOpen) << "constructing a menu hides it, which clears the flag";
    EXPECT_TRUE(nearVec(menu.position(), Vector2(-1000.0f, -1000.0f)));
    EXPECT_TRUE(menu.positionFixed);
    EXPECT_TRUE(menu.flowExcluded);
    EXPECT_EQ(menu.direction, Vertical);
    EXPECT_EQ(menu.alignment, TopLeft);
    EXPECT_FLOAT_EQ(menu.margin, 0.0f);
}

TEST_F(PopupMenuWidgetTest, AddItemAppendsALabelledButtonWithItsHandler)
{
    PopupMenuWidget menu(nullptr, "");
    auto* handler = new LoggingHandler(MouseUp, "exit", &log);
    menu.addItem("Exit", handler);
    menu.addItem("Credits", nullptr);
    ASSERT_EQ(menu.children.size(), 2u);
    PushButtonWidget* first = menu.item(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->parent(), &menu);
    EXPECT_EQ(first->handler(MouseUp), handler);
    EXPECT_EQ(first->label->text, "Exit");
    EXPECT_FLOAT_EQ(first->margin, 0.0f);
    EXPECT_TRUE(first->layoutDirty);
    EXPECT_EQ(menu.item(1)->label->text, "Credits");
}

TEST_F(PopupMenuWidgetTest, ItemReturnsOnlyPushButtons)
{
    PopupMenuWidget menu(nullptr, "");
    menu.addItem("One", nullptr);
    new StaticWidget(&menu, "");
    EXPECT_NE(menu.item(0), nullptr);
    EXPECT_EQ(menu.item(1), nullptr) << "a static child is no item";
    EXPECT_EQ(menu.item(2), nullptr) << "past the end";
    EXPECT_EQ(menu.item(0xFFFFFFFFu), nullptr);
}

TEST_F(PopupMenuWidgetTest, ShowAtPlacesTheMenuAndItsItems)
{
    PopupMenuWidget menu(nullptr, "");
    menu.addItem("A", nullptr);
    menu.addItem("B", nullptr);
    menu.item(0)->setSize(Vector2(1.0f, 0.3f));
    menu.item(1)->setSize(Vector2(1.2f, 0.3f));
    menu.showAt(Vector2(2.0f, 3.0f));

    EXPECT_TRUE(menu.isOpen());
    EXPECT_TRUE(popupOpen);
    EXPECT_FALSE(menu.item(0)->hidden) << "show reaches the items";
    EXPECT_TRUE(nearVec(menu.position(), Vector2(2.0f, 3.0f)));
    EXPECT_TRUE(nearVec(menu.item(0)->position(), Vector2(2.0f + menu.margin, 3.0f + menu.margin)));
    EXPECT_TRUE(nearVec(menu.item(1)->position(), Vector2(2.0f, 3.4f))) << "stacked with spacing 0.1";
    EXPECT_TRUE(nearVec(menu.size(), Vector2(1.2f, 0.7f)));

    // The items follow when the menu itself is laid out (drawn or hit-tested).
    menu.showAt(Vector2(1.0f, 1.0f));
    EXPECT_TRUE(nearVec(menu.position(), Vector2(1.0f, 1.0f))) << "an open menu moves";
    EXPECT_TRUE(nearVec(menu.item(0)->position(), Vector2(1.0f, 1.0f)));
}

TEST_F(PopupMenuWidgetTest, CloseClearsPressedItemsAndParksTheMenu)
{
    PopupMenuWidget menu(nullptr, "");
    menu.addItem("A", nullptr);
    menu.addItem("B", nullptr);
    menu.showAt(Vector2(2.0f, 3.0f));
    menu.item(0)->pressed = true;
    menu.item(1)->pressed = true;

    menu.close();
    EXPECT_FALSE(menu.item(0)->pressed);
    EXPECT_FALSE(menu.item(1)->pressed);
    EXPECT_FALSE(menu.isOpen());
    EXPECT_TRUE(menu.item(0)->hidden);
    EXPECT_FALSE(popupOpen);
    EXPECT_TRUE(nearVec(menu.position(), Vector2(-100.0f, -100.0f)));
}

TEST_F(PopupMenuWidgetTest, ItIsDrawnAfterItsOwnersSiblings)
{
    RecordingRenderer renderer;
    Widget root(nullptr, "");
    StaticWidget* owner = new StaticWidget(&root, "");
    StaticWidget* sibling = new StaticWidget(&root, "");
    owner->setHandler(new LoggingHandler(Draw, "owner", &log, 1.0f));
    sibling->setHandler(new LoggingHandler(Draw, "sibling", &log, 2.0f));
    PopupMenuWidget* menu = new PopupMenuWidget(nullptr, "");
    owner->setPopup(menu);
    menu->setHandler(new LoggingHandler(Draw, "menu", &log, 3.0f));
    menu->addItem("Item", nullptr);
    menu->showAt(Vector2(1.0f, 1.0f));

    root.draw(renderer);
    EXPECT_EQ(test::joined(log.tags()), "[owner, sibling, menu]");
    const long siblingMark = renderer.indexOf("setPointSize", renderer.indexOf("setPointSize") + 1);
    long itemText = -1;
    for (size_t i = 0; i < renderer.calls.size(); ++i) {
        if (renderer.calls[i].op == "drawText" && renderer.calls[i].text == "Item") {
            itemText = static_cast<long>(i);
        }
    }
    ASSERT_GE(siblingMark, 0) << renderer.transcript();
    EXPECT_GT(itemText, siblingMark) << "the menu's item is drawn after the sibling\n" << renderer.transcript();
}

TEST_F(PopupMenuWidgetTest, AClosedMenuIsDrawnOnlyThroughItsDrawHandler)
{
    RecordingRenderer renderer;
    PopupMenuWidget menu(nullptr, "");
    menu.addItem("Item", nullptr);
    menu.setHandler(new LoggingHandler(Draw, "menu", &log));
    menu.draw(renderer);
    EXPECT_TRUE(renderer.calls.empty()) << renderer.transcript();
    EXPECT_EQ(test::joined(log.tags()), "[menu]");
}

} // namespace
} // namespace vlo
