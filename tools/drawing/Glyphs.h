#pragma once

namespace vlo::demo {

// One glyph of the stroke font: its character, its width in font units and
// its outline program (see parseGlyphProgram).
struct GlyphSource {
    char character;
    float width;
    const char* program;
};

// The font's glyph table and its length.
const GlyphSource* glyphTable();
int glyphCount();

} // namespace vlo::demo
