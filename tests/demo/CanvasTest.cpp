#include <gtest/gtest.h>

#include "Canvas.h"
#include "DemoTestSupport.h"

namespace vlo::demo {
namespace {

Mask full(int w, int h, float coverage)
{
    Mask m(w, h);
    m.addShape(0, 0, static_cast<float>(w), static_cast<float>(h), [](float, float) { return -1.0f; });
    m.scale(coverage);
    return m;
}

TEST(CanvasTest, PaintLaysPremultipliedOver)
{
    Canvas c(2, 2);
    c.fill(straight(0.0f, 0.0f, 1.0f));
    c.paint(full(2, 2, 0.5f), straight(1.0f, 0.0f, 0.0f));
    const Rgba& p = c.at(1, 1);
    EXPECT_FLOAT_EQ(p.r, 0.5f);
    EXPECT_FLOAT_EQ(p.b, 0.5f);
    EXPECT_FLOAT_EQ(p.a, 1.0f);
}

TEST(CanvasTest, StraightExportDividesByAlpha)
{
    Canvas c(4, 4);
    c.paint(full(4, 4, 0.5f), straight(1.0f, 0.5f, 0.0f));
    std::vector<uint8_t> bytes = c.toStraightRgba8();
    ASSERT_EQ(bytes.size(), 4u * 4u * 4u);
    for (size_t i = 0; i < bytes.size(); i += 4) {
        EXPECT_EQ(bytes[i], 255) << "red of straight colour at pixel " << i / 4;
        EXPECT_NEAR(bytes[i + 1], 128, 1) << "green at pixel " << i / 4;
        EXPECT_EQ(bytes[i + 2], 0);
        EXPECT_NEAR(bytes[i + 3], 128, 1) << "alpha at pixel " << i / 4;
    }
}

TEST(CanvasTest, PremultipliedExportIsANeutralMultiplyWhereEmptyOrWhite)
{
    Canvas c(8, 1);
    Mask left(8, 1);
    left.addShape(0, 0, 4, 1, [](float x, float) { return x < 4.0f ? -1.0f : 1.0f; });
    c.paint(left, straight(1.0f, 1.0f, 1.0f));
    std::vector<uint8_t> bytes = c.toPremultipliedRgba8();
    const float background = 200.0f;
    for (int x = 0; x < 8; ++x) {
        const uint8_t* p = &bytes[x * 4];
        for (int k = 0; k < 3; ++k) {
            EXPECT_LE(p[k], p[3]) << "premultiplied component above alpha at x=" << x;
            EXPECT_NEAR(test::multiplyBlend(p[k], p[3], background), background, 0.5f)
                << "white or empty pixel " << x << " must leave the background as it is";
        }
    }
}

TEST(CanvasTest, PremultipliedExportDarkensWhereInked)
{
    Canvas c(4, 4);
    c.paint(full(4, 4, 1.0f), straight(0.25f, 0.5f, 1.0f));
    std::vector<uint8_t> bytes = c.toPremultipliedRgba8();
    const float d = 200.0f;
    EXPECT_NEAR(test::multiplyBlend(bytes[0], bytes[3], d), d * 0.25f, 1.0f);
    EXPECT_NEAR(test::multiplyBlend(bytes[1], bytes[3], d), d * 0.5f, 1.0f);
    EXPECT_NEAR(test::multiplyBlend(bytes[2], bytes[3], d), d, 1.0f);
}

TEST(CanvasTest, DitherAveragesToTheTrueValue)
{
    Canvas c(16, 16);
    c.fill(straight(0.5f, 0.25f, 0.0f));
    std::vector<uint8_t> rgb = c.toRgb8();
    double red = 0.0, green = 0.0;
    for (size_t i = 0; i < rgb.size(); i += 3) {
        red += rgb[i];
        green += rgb[i + 1];
        EXPECT_EQ(rgb[i + 2], 0) << "zero must stay exactly zero";
    }
    size_t n = rgb.size() / 3;
    EXPECT_NEAR(red / n, 127.5, 0.1);
    EXPECT_NEAR(green / n, 63.75, 0.1);
}

TEST(CanvasTest, DrawCanvasPlacesAndClips)
{
    Canvas big(10, 10);
    big.fill(straight(0.0f, 0.0f, 0.0f));
    Canvas small(4, 4);
    small.fill(straight(1.0f, 1.0f, 1.0f));
    big.drawCanvas(small, 8, -2); // partly outside
    EXPECT_FLOAT_EQ(big.at(8, 0).r, 1.0f);
    EXPECT_FLOAT_EQ(big.at(9, 1).r, 1.0f);
    EXPECT_FLOAT_EQ(big.at(9, 2).r, 0.0f) << "row 2 is below the small canvas (rows -2..1)";
    EXPECT_FLOAT_EQ(big.at(7, 0).r, 0.0f);
}

TEST(CanvasTest, AddLightMakesTransparentPixelsVisible)
{
    Canvas c(2, 2);
    c.addLight(full(2, 2, 0.5f), straight(1.0f, 0.5f, 0.0f));
    EXPECT_FLOAT_EQ(c.at(0, 0).r, 0.5f);
    EXPECT_FLOAT_EQ(c.at(0, 0).a, 0.5f) << "alpha follows the brightest component";
}

} // namespace
} // namespace vlo::demo
