#include <gtest/gtest.h>

#include <cmath>

#include "Mask.h"

namespace vlo::demo {
namespace {

float total(const Mask& m)
{
    float sum = 0.0f;
    for (int y = 0; y < m.height(); ++y) {
        for (int x = 0; x < m.width(); ++x) {
            sum += m.at(x, y);
        }
    }
    return sum;
}

TEST(MaskTest, DiscCoversItsAreaWithSoftEdge)
{
    Mask m(64, 64);
    m.addDisc(32.0f, 32.0f, 10.0f);
    EXPECT_FLOAT_EQ(m.at(31, 31), 1.0f) << "centre pixel";
    EXPECT_FLOAT_EQ(m.at(0, 0), 0.0f) << "far corner";
    // Anti-aliased area equals pi r^2 to within a small fraction.
    float area = total(m);
    EXPECT_NEAR(area, 3.14159f * 100.0f, 3.0f) << "expected about 314 pixels, got " << area;
    // A pixel straddling the rim is partly covered.
    float rim = m.at(41, 31); // centre at 41.5: 9.5 px from (32, 32) horizontally, a bit more in total
    EXPECT_GT(rim, 0.0f);
    EXPECT_LT(rim, 1.0f);
}

TEST(MaskTest, OverlappingShapesTakeTheLargerCoverage)
{
    Mask m(32, 32);
    m.addDisc(16.0f, 16.0f, 6.0f);
    m.addDisc(16.0f, 16.0f, 6.0f);
    EXPECT_FLOAT_EQ(m.at(15, 15), 1.0f) << "drawing twice must not exceed full coverage";
    float once = total(m);
    Mask single(32, 32);
    single.addDisc(16.0f, 16.0f, 6.0f);
    EXPECT_FLOAT_EQ(once, total(single));
}

TEST(MaskTest, CapsuleAndRoundedRect)
{
    Mask m(40, 20);
    m.addCapsule(5.0f, 10.0f, 35.0f, 10.0f, 2.0f);
    EXPECT_FLOAT_EQ(m.at(20, 9), 1.0f) << "on the line";
    EXPECT_FLOAT_EQ(m.at(20, 14), 0.0f) << "4.5 px from a 2 px radius line";
    EXPECT_FLOAT_EQ(m.at(38, 9), 0.0f) << "past the round end";

    Mask r(40, 40);
    r.addRoundedRect(10.0f, 10.0f, 30.0f, 30.0f, 5.0f);
    EXPECT_FLOAT_EQ(r.at(20, 20), 1.0f);
    EXPECT_FLOAT_EQ(r.at(10, 20), 1.0f) << "straight edge pixel (10.5 is inside)";
    EXPECT_LT(r.at(10, 10), 0.2f) << "the rounded corner cuts the corner pixel";
    EXPECT_NEAR(total(r), 400.0f - (4.0f - 3.14159f) * 25.0f, 2.0f);
}

TEST(MaskTest, PolygonEvenNonConvex)
{
    // An L shape: the notch at the top right is outside.
    std::vector<Point> shape = {{0, 0}, {10, 0}, {10, 20}, {20, 20}, {20, 30}, {0, 30}};
    Mask m(32, 32);
    m.addPolygon(shape);
    EXPECT_FLOAT_EQ(m.at(5, 5), 1.0f);
    EXPECT_FLOAT_EQ(m.at(15, 25), 1.0f);
    EXPECT_FLOAT_EQ(m.at(15, 5), 0.0f) << "notch of the L";
    EXPECT_LT(polygonDistance(shape, 5.0f, 5.0f), 0.0f);
    EXPECT_NEAR(polygonDistance(shape, 15.0f, 10.0f), 5.0f, 1e-4f);
    EXPECT_NEAR(total(m), 400.0f, 1.5f) << "area of the L is 300 + 100";
}

TEST(MaskTest, BelowCurveGivesFractionalRowCoverage)
{
    Mask m(4, 10);
    m.addBelow([](float) { return 4.25f; });
    EXPECT_FLOAT_EQ(m.at(0, 3), 0.0f);
    EXPECT_FLOAT_EQ(m.at(0, 4), 0.75f) << "row 4 spans 4..5, three quarters below 4.25";
    EXPECT_FLOAT_EQ(m.at(0, 5), 1.0f);
}

TEST(MaskTest, CutIntersectAndScale)
{
    Mask a(20, 20);
    a.addShape(0, 0, 20, 20, [](float, float) { return -1.0f; });
    Mask hole(20, 20);
    hole.addShape(5, 5, 10, 10, [](float x, float y) { return (x > 5 && x < 10 && y > 5 && y < 10) ? -1.0f : 1.0f; });
    Mask cutCopy = a;
    cutCopy.cut(hole);
    EXPECT_FLOAT_EQ(cutCopy.at(7, 7), 0.0f);
    EXPECT_FLOAT_EQ(cutCopy.at(2, 2), 1.0f);
    Mask clipped = a;
    clipped.intersect(hole);
    EXPECT_FLOAT_EQ(clipped.at(7, 7), 1.0f);
    EXPECT_FLOAT_EQ(clipped.at(2, 2), 0.0f);
    clipped.scale(0.5f);
    EXPECT_FLOAT_EQ(clipped.at(7, 7), 0.5f);
    // Masks of another size are left alone rather than read out of bounds.
    Mask other(3, 3);
    a.cut(other);
    EXPECT_FLOAT_EQ(a.at(7, 7), 1.0f);
}

TEST(MaskTest, BlurSpreadsButKeepsMassAwayFromEdges)
{
    Mask m(60, 60);
    m.addDisc(30.0f, 30.0f, 5.0f);
    float before = total(m);
    m.blur(3);
    EXPECT_NEAR(total(m), before, before * 0.01f) << "a blur inside the picture keeps the total";
    EXPECT_LT(m.at(29, 29), 1.0f) << "centre softened";
    EXPECT_GT(m.at(29, 40), 0.0f) << "light reaches 10 px out";
    EXPECT_FLOAT_EQ(m.at(0, 0), 0.0f);
}

} // namespace
} // namespace vlo::demo
