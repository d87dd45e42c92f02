// Bitmap fonts and text of the OpenGL renderer, drawn with real OpenGL and
// the program's font ("Courier New", 14, bold) and read back.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <GL/gl.h>

#include "render/GLRenderer.h"
#include "support/GLRendererHarness.h"

namespace vlo {
namespace {

using test::Frame;
using test::GLRendererHarness;
using test::Rgb;

// The pixels of a frame that are not black, as (x, y) pairs.
std::vector<std::pair<int, int>> inkOf(const Frame& frame)
{
    std::vector<std::pair<int, int>> ink;
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            if (!(frame.at(x, y) == Rgb{0, 0, 0})) {
                ink.emplace_back(x, y);
            }
        }
    }
    return ink;
}

class GLRendererTextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gl.ready()) << "no usable GL renderer (is DISPLAY=:99 running?)";
        r = gl.renderer.get();
        font = r->createFont("Courier New", 14, true, false, false);
        blank();
    }

    void blank()
    {
        r->clear(Color(0.0f, 0.0f, 0.0f, 1.0f));
        r->loadIdentity();
    }

    // Runs `calls` inside an open GL primitive; any GL call other than the
    // vertex-level ones is then an error, so no error means no call.
    GLenum errorWhenCalledInsideBeginEnd(const std::function<void()>& calls)
    {
        GLRendererHarness::takeGLError();
        glBegin(GL_POINTS);
        calls();
        glEnd();
        return GLRendererHarness::takeGLError();
    }

    GLRendererHarness gl;
    GLRenderer* r = nullptr;
    int font = -1;
};

TEST_F(GLRendererTextTest, FontsAreNumberedFromZeroAndEachHas256Lists)
{
    EXPECT_EQ(font, 0) << "the first font";
    const int second = r->createFont("Courier New", 20, false, true, true);
    EXPECT_EQ(second, 1) << "the second font";
    ASSERT_EQ(r->fontListBases.size(), 2u);
    for (GLuint base : r->fontListBases) {
        EXPECT_TRUE(glIsList(base)) << "list of code 0 at base " << base;
        EXPECT_TRUE(glIsList(base + 255)) << "list of code 255 at base " << base;
    }
    EXPECT_GE(r->fontListBases[1], r->fontListBases[0] + 256) << "the two fonts' lists do not overlap";

    const FontInfo* first = r->fontInfo(0);
    const FontInfo* other = r->fontInfo(1);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(first->face, "Courier New");
    EXPECT_EQ(first->height, 14);
    EXPECT_TRUE(first->bold);
    EXPECT_FALSE(first->italic);
    EXPECT_TRUE(other->italic);
    EXPECT_TRUE(other->underline);
    EXPECT_EQ(r->fontInfo(2), nullptr);
}

TEST_F(GLRendererTextTest, MetricsDescribeAFourteenPixelMonospacedCell)
{
    const FontInfo* info = r->fontInfo(font);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->textHeight, 14) << "a positive height is the cell height";
    EXPECT_EQ(info->ascent + info->descent, info->textHeight);
    EXPECT_GT(info->ascent, info->descent);
    EXPECT_GT(info->averageCharWidth, 0);
    EXPECT_EQ(info->overhang, 0);
    const int width = info->advanceWidths[int('M')];
    EXPECT_GT(width, 0);
    for (int code = 32; code < 127; ++code) {
        EXPECT_EQ(info->advanceWidths[code], width) << "Courier New is monospaced; code " << code;
    }
    EXPECT_EQ(info->maxCharWidth, width);

    const int characterHeight = r->createFont("Courier New", -14, true, false, false);
    const FontInfo* negative = r->fontInfo(characterHeight);
    ASSERT_NE(negative, nullptr);
    EXPECT_EQ(negative->height, 14) << "the absolute value is kept";
    EXPECT_GT(negative->textHeight, 14) << "a negative height is the character height: the cell is taller";
}

TEST_F(GLRendererTextTest, GlyphsAppearInTheTextColourOnTheBaseLine)
{
    const FontInfo* info = r->fontInfo(font);
    ASSERT_NE(info, nullptr);
    r->setColor(1.0f, 0.0f, 0.0f, 1.0f);
    // GUI (1, 2): pen at pixel x 100 on the base line between rows 199 and 200.
    r->drawText(font, 1.0f, 2.0f, "M");
    const std::vector<std::pair<int, int>> ink = inkOf(gl.frame());
    ASSERT_GE(ink.size(), 20u) << "a bold M has plenty of pixels";
    const Frame frame = gl.frame();
    for (const auto& [x, y] : ink) {
        ASSERT_TRUE(frame.at(x, y) == (Rgb{255, 0, 0})) << "at (" << x << ", " << y << "): " << frame.at(x, y);
        ASSERT_TRUE(x >= 100 && x < 100 + info->advanceWidths[int('M')]) << "x " << x << " outside the cell";
        ASSERT_TRUE(y >= 200 - info->ascent && y < 200) << "y " << y << ": M sits on the base line";
    }

    blank();
    r->setColor(1.0f, 1.0f, 1.0f, 1.0f);
    r->drawText(font, 1.0f, 2.0f, "_");
    for (const auto& [x, y] : inkOf(gl.frame())) {
        EXPECT_TRUE(y >= 200 && y < 200 + info->descent) << "the underscore is below the base line, y " << y;
    }
    blank();
    r->drawText(font, 1.0f, 2.0f, "   ");
    EXPECT_TRUE(inkOf(gl.frame()).empty()) << "spaces leave no ink";
    blank();
    r->drawText(font, 1.0f, 2.0f, "'");
    const std::vector<std::pair<int, int>> apostrophe = inkOf(gl.frame());
    EXPECT_FALSE(apostrophe.empty());
    for (const auto& [x, y] : apostrophe) {
        EXPECT_LT(y, 200 - info->ascent / 2) << "the apostrophe is in the upper half";
    }
}

TEST_F(GLRendererTextTest, EachGlyphAdvancesThePenByItsWidth)
{
    const int advance = r->fontInfo(font)->advanceWidths[int('M')];
    r->setColor(1.0f, 1.0f, 1.0f, 1.0f);
    r->drawText(font, Vector2(1.0f, 2.0f), "M");
    const std::vector<std::pair<int, int>> one = inkOf(gl.frame());
    blank();
    r->drawText(font, Vector2(1.0f, 2.0f), "MM");
    const std::vector<std::pair<int, int>> two = inkOf(gl.frame());
    ASSERT_FALSE(one.empty());
    ASSERT_EQ(two.size(), 2 * one.size());
    std::vector<std::pair<int, int>> expected = one;
    for (const auto& [x, y] : one) {
        expected.emplace_back(x + advance, y);
    }
    std::sort(expected.begin(), expected.end());
    std::vector<std::pair<int, int>> got = two;
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, expected) << "the second M is the first moved right by " << advance;
}

TEST_F(GLRendererTextTest, TextInATranslatedModelviewLandsAtTheTranslatedPlace)
{
    r->setColor(1.0f, 1.0f, 1.0f, 1.0f);
    r->drawText(font, 2.5f, 1.5f, "Ab#");
    const Frame direct = gl.frame();
    ASSERT_FALSE(inkOf(direct).empty());

    blank();
    r->translate(2.0f, 1.0f);
    r->drawText(font, 0.5f, 0.5f, "Ab#");
    EXPECT_TRUE(gl.frame() == direct) << "(0.5, 0.5) moved by (2, 1) draws exactly as (2.5, 1.5)";
}

TEST_F(GLRendererTextTest, DrawTextRestoresColourRasterPositionAndListBase)
{
    r->setColor(0.25f, 0.5f, 0.75f, 1.0f);
    glRasterPos2f(4.0f, 4.0f);
    glListBase(7);
    GLfloat rasterBefore[4] = {};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, rasterBefore);

    r->drawText(font, 1.0f, 1.0f, "Hello");

    GLfloat colour[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], 0.25f);
    EXPECT_FLOAT_EQ(colour[1], 0.5f);
    EXPECT_FLOAT_EQ(colour[2], 0.75f);
    GLfloat rasterAfter[4] = {};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, rasterAfter);
    EXPECT_FLOAT_EQ(rasterAfter[0], rasterBefore[0]) << "raster x";
    EXPECT_FLOAT_EQ(rasterAfter[1], rasterBefore[1]) << "raster y";
    GLint listBase = 0;
    glGetIntegerv(GL_LIST_BASE, &listBase);
    EXPECT_EQ(listBase, 7);
    EXPECT_FALSE(inkOf(gl.frame()).empty()) << "and the text was drawn";
}

TEST_F(GLRendererTextTest, EmptyTextAndUnknownFontsIssueNoGLCall)
{
    EXPECT_EQ(errorWhenCalledInsideBeginEnd([&] { r->drawText(font, 1.0f, 1.0f, ""); }), GLenum(GL_NO_ERROR))
        << "empty text";
    for (int unknown : {1, -1, 1000}) {
        EXPECT_EQ(errorWhenCalledInsideBeginEnd([&] { r->drawText(unknown, 1.0f, 1.0f, "abc"); }), GLenum(GL_NO_ERROR))
            << "font " << unknown;
    }
    // The check itself: a real drawText inside begin/end is a GL error.
    EXPECT_NE(errorWhenCalledInsideBeginEnd([&] { r->drawText(font, 1.0f, 1.0f, "abc"); }), GLenum(GL_NO_ERROR));

    blank();
    r->setColor(1.0f, 1.0f, 1.0f, 1.0f);
    r->drawText(1, 1.0f, 1.0f, "abc");
    r->drawText(-1, 1.0f, 1.0f, "abc");
    EXPECT_TRUE(inkOf(gl.frame()).empty()) << "unknown font numbers draw nothing";
}

TEST_F(GLRendererTextTest, CodesAreWindows1252Characters)
{
    r->setColor(1.0f, 1.0f, 1.0f, 1.0f);
    r->drawText(font, 1.0f, 2.0f, "\x80");
    const Frame euro = gl.frame();
    blank();
    r->drawText(font, 1.0f, 2.0f, "\x81");
    const Frame undefinedCode = gl.frame();
    blank();
    r->drawText(font, 1.0f, 2.0f, "\xE9");
    const Frame eAcute = gl.frame();
    blank();
    r->drawText(font, 1.0f, 2.0f, "e");
    const Frame plainE = gl.frame();

    EXPECT_FALSE(inkOf(euro).empty());
    EXPECT_FALSE(euro == undefinedCode) << "0x80 is the euro sign, not the missing-glyph box";
    EXPECT_FALSE(eAcute == plainE) << "0xE9 is e with an accent";
    std::vector<std::pair<int, int>> accented = inkOf(eAcute);
    std::vector<std::pair<int, int>> plain = inkOf(plainE);
    EXPECT_GT(accented.size(), plain.size()) << "the accent adds pixels";
}

} // namespace
} // namespace vlo
