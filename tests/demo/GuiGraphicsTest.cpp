#include <gtest/gtest.h>

#include <algorithm>

#include "DemoTestSupport.h"
#include "GuiGraphics.h"

namespace vlo::demo {
namespace {

// What the saved picture does to a light background component (230) under
// the multiply blend, per pixel, averaged over the three colours.
class MultiplyView {
public:
    explicit MultiplyView(const Canvas& c)
        : w(c.width())
        , h(c.height())
        , bytes(c.toPremultipliedRgba8())
    {
    }

    float factor(int x, int y) const
    {
        const uint8_t* p = &bytes[(static_cast<size_t>(y) * w + x) * 4];
        float sum = 0.0f;
        for (int k = 0; k < 3; ++k) {
            sum += test::multiplyBlend(p[k], p[3], 230.0f) / 230.0f;
        }
        return sum / 3.0f;
    }
    float minimum(int x0, int y0, int x1, int y1) const
    {
        float m = 2.0f;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                m = std::min(m, factor(x, y));
            }
        }
        return m;
    }
    float mean(int x0, int y0, int x1, int y1) const
    {
        double s = 0.0;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                s += factor(x, y);
            }
        }
        return static_cast<float>(s / ((x1 - x0) * (y1 - y0)));
    }
    float maximum() const
    {
        float m = 0.0f;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                m = std::max(m, factor(x, y));
            }
        }
        return m;
    }

private:
    int w, h;
    std::vector<uint8_t> bytes;
};

TEST(GuiGraphicsTest, CaptionIsABannerOfDarkLettering)
{
    StrokeFont font;
    Canvas caption = drawCaptionPicture(font, 2, 4, "Ashen Road");
    ASSERT_EQ(caption.width(), 700);
    ASSERT_EQ(caption.height(), 100);
    MultiplyView view(caption);
    EXPECT_LE(view.maximum(), 1.0f + 1e-3f) << "a caption never lightens the background";
    EXPECT_NEAR(view.factor(2, 2), 1.0f, 1e-3f) << "corner is neutral";
    EXPECT_NEAR(view.factor(697, 97), 1.0f, 1e-3f) << "corner is neutral";
    float titleRight = 124.0f + font.textWidth("Ashen Road", 34.0f, 1.5f);
    EXPECT_LT(view.minimum(124, 22, static_cast<int>(titleRight), 60), 0.35f) << "title letters darken";
    EXPECT_GT(view.minimum(static_cast<int>(titleRight) + 60, 20, 600, 60), 0.8f)
        << "after the title only the light ribbon tints the background";
    EXPECT_LT(view.factor(50, 30), 0.8f) << "the badge tints";
}

TEST(GuiGraphicsTest, ButtonsFitThePanelAndShowTheirSymbol)
{
    const ButtonSymbol symbols[]
        = {ButtonSymbol::Play, ButtonSymbol::Pause, ButtonSymbol::Stop, ButtonSymbol::Previous, ButtonSymbol::Next};
    std::vector<std::vector<uint8_t>> seen;
    for (ButtonSymbol s : symbols) {
        for (bool pressed : {false, true}) {
            Canvas b = drawPlayerButton(s, pressed);
            ASSERT_EQ(b.width(), kButtonWidth);
            ASSERT_EQ(b.height(), kButtonHeight);
            EXPECT_LE(b.width(), 120) << "four buttons and their gaps fit in the 540 px panel";
            EXPECT_LE(b.height(), 95);
            MultiplyView view(b);
            EXPECT_NEAR(view.factor(0, 0), 1.0f, 1e-3f) << "corners are neutral";
            EXPECT_NEAR(view.factor(kButtonWidth - 1, kButtonHeight - 1), 1.0f, 1e-3f);
            EXPECT_LT(view.minimum(35, 25, 75, 65), 0.4f) << "a dark symbol in the middle";
            seen.push_back(b.toPremultipliedRgba8());
        }
        MultiplyView up(drawPlayerButton(s, false)), down(drawPlayerButton(s, true));
        EXPECT_LT(down.mean(20, 10, 90, 80), up.mean(20, 10, 90, 80) - 0.05f) << "pressed looks darker";
    }
    for (size_t i = 0; i < seen.size(); ++i) {
        for (size_t j = i + 1; j < seen.size(); ++j) {
            EXPECT_NE(seen[i], seen[j]) << "graphics " << i << " and " << j << " are identical";
        }
    }
}

TEST(GuiGraphicsTest, MenuItemsAndPanelFitTogether)
{
    StrokeFont font;
    for (bool pressed : {false, true}) {
        Canvas item = drawMenuItem(font, MenuIcon::Minimise, "Minimise", pressed);
        ASSERT_EQ(item.width(), kMenuItemWidth);
        ASSERT_EQ(item.height(), kMenuItemHeight);
        MultiplyView view(item);
        EXPECT_LT(view.minimum(42, 10, 150, 30), 0.35f) << "label lettering";
        EXPECT_LT(view.minimum(10, 10, 34, 30), 0.6f) << "icon";
    }
    MultiplyView up(drawMenuItem(font, MenuIcon::Exit, "Exit", false));
    MultiplyView down(drawMenuItem(font, MenuIcon::Exit, "Exit", true));
    EXPECT_LT(down.mean(5, 5, 155, 35), up.mean(5, 5, 155, 35) - 0.05f) << "pressed looks darker";

    // Three items stacked 10 px apart, 5 px in from the corner, fill the panel.
    EXPECT_GE(kMenuPanelWidth, 5 + kMenuItemWidth + 5);
    EXPECT_GE(kMenuPanelHeight, 5 + 3 * kMenuItemHeight + 2 * 10 + 5);
    Canvas panel = drawMenuPanel();
    ASSERT_EQ(panel.width(), kMenuPanelWidth);
    ASSERT_EQ(panel.height(), kMenuPanelHeight);
    MultiplyView view(panel);
    EXPECT_NEAR(view.factor(0, 0), 1.0f, 0.02f) << "rounded corner";
    float middle = view.factor(kMenuPanelWidth / 2, kMenuPanelHeight / 2);
    EXPECT_LT(middle, 0.97f) << "the panel tints what it covers";
    EXPECT_GT(middle, 0.6f) << "but lightly enough to read the items over it";
}

} // namespace
} // namespace vlo::demo
