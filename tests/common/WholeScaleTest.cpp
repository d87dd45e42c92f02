// The whole-number scales of a window on a dense display: the rules every
// window-system back end applies to what its desktop says.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/WholeScale.h"

namespace vlo {
namespace {

TEST(WholeScaleTest, ScaleVariablesAreWholeNumbersFromOneToEight)
{
    EXPECT_EQ(scaleFromText("1"), 1);
    EXPECT_EQ(scaleFromText("2"), 2);
    EXPECT_EQ(scaleFromText("8"), 8);
    // Not a scale: missing, empty, out of range, not a whole number.
    const char* refused[] = {nullptr, "", "0", "9", "-2", "1.5", "2x", "two"};
    for (const char* text : refused)
        EXPECT_EQ(scaleFromText(text), 0) << "\"" << (text ? text : "(null)") << "\"";
}

TEST(WholeScaleTest, DensitiesGiveTheWholeNumberBelow)
{
    struct Case {
        double dpi;
        int scale;
    };
    const Case cases[]
        = {{96.0, 1}, {72.0, 1}, {144.0, 1}, {191.5, 1}, {192.0, 2}, {240.0, 2}, {288.0, 3}, {384.0, 4}, {5000.0, 8}};
    for (const Case& c : cases)
        EXPECT_EQ(scaleFromDpi(c.dpi), c.scale) << c.dpi << " dots per inch";
    EXPECT_EQ(scaleFromDpi(0.0), 0) << "no density";
    EXPECT_EQ(scaleFromDpi(-96.0), 0);
    EXPECT_EQ(scaleFromDpi(std::nan("")), 0);
}

TEST(WholeScaleTest, AScaleShrinksUntilTheWindowFitsTheUsableArea)
{
    EXPECT_EQ(scaleThatFits(2, 700, 600, 1920, 1200), 2);
    EXPECT_EQ(scaleThatFits(2, 700, 600, 1400, 1200), 2) << "exactly the usable area";
    EXPECT_EQ(scaleThatFits(2, 700, 600, 1399, 1200), 1);
    EXPECT_EQ(scaleThatFits(3, 700, 600, 2560, 1300), 2) << "too high for 3";
    EXPECT_EQ(scaleThatFits(4, 700, 600, 100, 100), 1) << "never below 1, even where 1 does not fit";
}

} // namespace
} // namespace vlo
