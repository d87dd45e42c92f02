#include "StrokeFont.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "Glyphs.h"

namespace vlo::demo {

namespace {

// Space between letters, in font units, on top of the stroke thickness.
const float kTracking = 2.0f;
const float kPi = 3.14159265358979f;

// Reads "a,b,c" into exactly n numbers.
bool readNumbers(const std::string& text, int n, float* out)
{
    std::istringstream in(text);
    std::string item;
    int count = 0;
    while (std::getline(in, item, ',')) {
        if (count == n || item.empty()) {
            return false;
        }
        char* end = nullptr;
        out[count++] = std::strtof(item.c_str(), &end);
        if (end == item.c_str() || *end != '\0') {
            return false;
        }
    }
    return count == n;
}

} // namespace

bool parseGlyphProgram(const std::string& program, std::vector<StrokeFont::Segment>& out)
{
    std::istringstream in(program);
    std::string op;
    Point pen;
    bool penDown = false; // a line or arc ended at pen
    while (in >> op) {
        std::string args;
        if (op.size() > 1) {
            args = op.substr(1);
        } else if (!(in >> args)) {
            return false;
        }
        if (op[0] == 'M' || op[0] == 'L') {
            float v[2];
            if (!readNumbers(args, 2, v)) {
                return false;
            }
            Point p{v[0], v[1]};
            if (op[0] == 'L') {
                out.push_back({pen, p});
                penDown = true;
            } else {
                penDown = false;
            }
            pen = p;
        } else if (op[0] == 'A') {
            float v[6];
            if (!readNumbers(args, 6, v) || v[2] <= 0.0f || v[3] <= 0.0f) {
                return false;
            }
            float a0 = v[4] * kPi / 180.0f;
            float a1 = v[5] * kPi / 180.0f;
            // About one segment per 8 degrees keeps the curves smooth at
            // the largest sizes the pictures use.
            int steps = std::max(4, static_cast<int>(std::fabs(v[5] - v[4]) / 8.0f));
            Point start{v[0] + v[2] * std::cos(a0), v[1] + v[3] * std::sin(a0)};
            if (penDown) {
                out.push_back({pen, start});
            }
            Point previous = start;
            for (int i = 1; i <= steps; ++i) {
                float a = a0 + (a1 - a0) * static_cast<float>(i) / static_cast<float>(steps);
                Point p{v[0] + v[2] * std::cos(a), v[1] + v[3] * std::sin(a)};
                out.push_back({previous, p});
                previous = p;
            }
            pen = previous;
            penDown = true;
        } else {
            return false;
        }
    }
    return true;
}

StrokeFont::StrokeFont()
    : glyphs(256)
{
    const GlyphSource* table = glyphTable();
    for (int i = 0; i < glyphCount(); ++i) {
        Glyph& g = glyphs[static_cast<unsigned char>(table[i].character)];
        g.width = table[i].width;
        g.defined = parseGlyphProgram(table[i].program, g.segments);
        if (!g.defined) {
            g.segments.clear();
        }
    }
    missing.width = 6.0f;
    missing.defined = false;
    parseGlyphProgram("M0,0 L0,10 L6,10 L6,0 L0,0", missing.segments);
}

bool StrokeFont::hasGlyph(char c) const
{
    return glyphs[static_cast<unsigned char>(c)].defined;
}

std::string StrokeFont::missingGlyphs(const std::string& text) const
{
    std::string result;
    for (char c : text) {
        if (!hasGlyph(c)) {
            result += c;
        }
    }
    return result;
}

const StrokeFont::Glyph& StrokeFont::glyphFor(char c) const
{
    const Glyph& g = glyphs[static_cast<unsigned char>(c)];
    return g.defined ? g : missing;
}

const std::vector<StrokeFont::Segment>& StrokeFont::strokes(char c) const
{
    return glyphFor(c).segments;
}

float StrokeFont::advance(const Glyph& g, float weight) const
{
    return g.width + weight + kTracking;
}

float StrokeFont::textWidth(const std::string& text, float capHeight, float weight) const
{
    if (text.empty()) {
        return 0.0f;
    }
    float units = 0.0f;
    for (char c : text) {
        units += advance(glyphFor(c), weight);
    }
    return (units - kTracking) * capHeight / 10.0f;
}

float StrokeFont::drawText(
    Mask& mask, const std::string& text, float x, float baseline, float capHeight, float weight) const
{
    float scale = capHeight / 10.0f;
    float radius = weight * 0.5f * scale;
    // The pen runs along the stroke centres: half a stroke in from the left.
    float penX = x + radius;
    for (char c : text) {
        const Glyph& g = glyphFor(c);
        for (const Segment& s : g.segments) {
            mask.addCapsule(penX + s.from.x * scale, baseline - s.from.y * scale, penX + s.to.x * scale,
                baseline - s.to.y * scale, radius);
        }
        penX += advance(g, weight) * scale;
    }
    return penX - radius;
}

void StrokeFont::drawCentred(
    Mask& mask, const std::string& text, float cx, float baseline, float capHeight, float weight) const
{
    drawText(mask, text, cx - textWidth(text, capHeight, weight) * 0.5f, baseline, capHeight, weight);
}

} // namespace vlo::demo
