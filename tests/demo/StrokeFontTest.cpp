#include <gtest/gtest.h>

#include <algorithm>

#include "Glyphs.h"
#include "ShowPlan.h"
#include "StrokeFont.h"

namespace vlo::demo {
namespace {

struct Extent {
    int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
    bool empty() const { return right < 0; }
};

Extent extentOf(const Mask& m, float threshold = 0.5f)
{
    Extent e;
    for (int y = 0; y < m.height(); ++y) {
        for (int x = 0; x < m.width(); ++x) {
            if (m.at(x, y) >= threshold) {
                e.left = std::min(e.left, x);
                e.right = std::max(e.right, x);
                e.top = std::min(e.top, y);
                e.bottom = std::max(e.bottom, y);
            }
        }
    }
    return e;
}

TEST(StrokeFontTest, EveryGlyphProgramParses)
{
    for (int i = 0; i < glyphCount(); ++i) {
        const GlyphSource& g = glyphTable()[i];
        std::vector<StrokeFont::Segment> segments;
        EXPECT_TRUE(parseGlyphProgram(g.program, segments)) << "glyph '" << g.character << "'";
        if (g.character != ' ') {
            EXPECT_FALSE(segments.empty()) << "glyph '" << g.character << "' draws nothing";
        }
    }
}

TEST(StrokeFontTest, MalformedProgramsAreRefused)
{
    std::vector<StrokeFont::Segment> s;
    EXPECT_FALSE(parseGlyphProgram("M0,0 L1", s)) << "one coordinate";
    EXPECT_FALSE(parseGlyphProgram("Q0,0", s)) << "unknown operation";
    EXPECT_FALSE(parseGlyphProgram("A0,0,0,1,0,90", s)) << "zero radius";
    EXPECT_FALSE(parseGlyphProgram("L1,2,3", s)) << "three numbers for a line";
    EXPECT_FALSE(parseGlyphProgram("L1,x", s)) << "not a number";
}

TEST(StrokeFontTest, ArcsJoinAPrecedingLineButNotAMove)
{
    std::vector<StrokeFont::Segment> joined;
    ASSERT_TRUE(parseGlyphProgram("M0,0 L10,0 A20,0,5,5,180,360", joined));
    // The line, a joining segment from (10,0) to the arc's start (15,0), the arc.
    ASSERT_GE(joined.size(), 3u);
    EXPECT_FLOAT_EQ(joined[1].from.x, 10.0f);
    EXPECT_NEAR(joined[1].to.x, 15.0f, 1e-4f);

    std::vector<StrokeFont::Segment> moved;
    ASSERT_TRUE(parseGlyphProgram("M0,0 L10,0 M0,5 A20,0,5,5,180,360", moved));
    EXPECT_EQ(moved.size(), joined.size() - 1) << "after a move the arc starts a new stroke";
}

TEST(StrokeFontTest, CapitalsSitOnTheBaselineAtCapHeight)
{
    StrokeFont font;
    for (char c : std::string("EHILMNTZ")) {
        Mask m(120, 120);
        font.drawText(m, std::string(1, c), 10.0f, 100.0f, 50.0f, 1.0f);
        Extent e = extentOf(m);
        ASSERT_FALSE(e.empty()) << c;
        // Stroke radius is 2.5 px at this size.
        EXPECT_NEAR(e.bottom, 101, 2) << "bottom of '" << c << "'";
        EXPECT_NEAR(e.top, 48, 2) << "top of '" << c << "'";
    }
}

TEST(StrokeFontTest, DescendersGoBelowTheBaseline)
{
    StrokeFont font;
    for (char c : std::string("gjpqy")) {
        Mask m(80, 120);
        font.drawText(m, std::string(1, c), 10.0f, 60.0f, 50.0f, 1.0f);
        EXPECT_GT(extentOf(m).bottom, 70) << "'" << c << "' should reach 3 units (15 px) below";
    }
}

TEST(StrokeFontTest, TextWidthMatchesTheDrawnLetters)
{
    StrokeFont font;
    for (const std::string text : {"Emberfall II", "Minimise", "Kindling", "0123"}) {
        Mask m(600, 60);
        float end = font.drawText(m, text, 20.0f, 45.0f, 30.0f, 1.2f);
        Extent e = extentOf(m, 0.5f);
        float width = font.textWidth(text, 30.0f, 1.2f);
        EXPECT_NEAR(e.left, 20.0f, 2.0f) << text;
        EXPECT_NEAR(e.right + 1.0f, 20.0f + width, 3.0f)
            << text << ": expected right edge " << 20.0f + width << ", got " << e.right + 1;
        EXPECT_GT(end, e.right) << "the returned pen position follows the text";
    }
}

TEST(StrokeFontTest, MissingGlyphsAreReportedAndDrawnAsBoxes)
{
    StrokeFont font;
    EXPECT_EQ(font.missingGlyphs("ab#c~"), "#~");
    EXPECT_TRUE(font.hasGlyph(' '));
    Mask m(60, 60);
    font.drawText(m, "#", 10.0f, 50.0f, 30.0f, 1.0f);
    EXPECT_FALSE(extentOf(m).empty()) << "an unknown character must be visible";
}

TEST(StrokeFontTest, EveryTextTheShowDrawsHasItsGlyphs)
{
    StrokeFont font;
    ShowPlan plan = demoShowPlan();
    std::vector<std::string> texts = {"EMBERFALL II", "an album in four movements", "a Vellumo demo show", "THE TRACKS",
        "MUSIC, PICTURES AND LETTERING", "made from nothing but numbers", "by the Vellumo demo generator",
        "Thank you for listening", "right-click the picture", "for the menu", "drag to move - Esc to quit",
        "EMBERFALL II  -  TRACK ONE OF FOUR", "0123456789"};
    for (const TrackPlan& t : plan.tracks) {
        texts.push_back(t.title);
    }
    for (const GuiGraphic& g : plan.gui) {
        texts.push_back(g.label);
    }
    for (const std::string& text : texts) {
        EXPECT_EQ(font.missingGlyphs(text), "") << "in \"" << text << "\"";
    }
}

} // namespace
} // namespace vlo::demo
