#pragma once
#include <string>
#include <vector>

#include "Mask.h"

namespace vlo::demo {

// The demo's own lettering: a single-stroke font drawn with round-capped
// lines, so the show carries no font from anywhere else. Glyphs are designed
// on a grid where the capitals are 10 units tall, the lower case 6.5, and
// descenders reach 3 below the baseline; y points up in font units.
class StrokeFont {
public:
    struct Segment {
        Point from;
        Point to;
    };

    StrokeFont();

    // Whether the font draws this character (space included).
    bool hasGlyph(char c) const;
    // The characters of the text that the font does not draw, in order.
    std::string missingGlyphs(const std::string& text) const;

    // Width in pixels of the text set at the given capital height, from the
    // left edge of the first stroke to the right edge of the last.
    float textWidth(const std::string& text, float capHeight, float weight) const;

    // Adds the text's strokes to the mask. (x, baseline) is the left end of
    // the baseline in pixels; weight is the stroke thickness in font units
    // (1.0 is a regular weight, 1.6 bold). Returns the x where the next
    // character would start. Characters without a glyph draw a hollow box,
    // so a missing letter is plain to see.
    float drawText(Mask& mask, const std::string& text, float x, float baseline, float capHeight, float weight) const;

    // Same, centred on cx.
    void drawCentred(
        Mask& mask, const std::string& text, float cx, float baseline, float capHeight, float weight) const;

    // The strokes of one glyph in font units (empty for the space).
    const std::vector<Segment>& strokes(char c) const;

private:
    struct Glyph {
        float width = 0.0f;
        bool defined = false;
        std::vector<Segment> segments;
    };

    float advance(const Glyph& g, float weight) const;
    const Glyph& glyphFor(char c) const;

    std::vector<Glyph> glyphs; // indexed by unsigned char
    Glyph missing;
};

// Builds a glyph's strokes from its outline program: "M x,y" moves the pen,
// "L x,y" draws a line to the point, "A cx,cy,rx,ry,a0,a1" draws an
// elliptical arc from angle a0 to a1 (degrees, anticlockwise, y up); an arc
// that follows a line is joined to it. Returns false on a malformed program.
bool parseGlyphProgram(const std::string& program, std::vector<StrokeFont::Segment>& out);

} // namespace vlo::demo
