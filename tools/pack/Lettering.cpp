#include "Lettering.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "FontLookup.h"

namespace vlo::pack {

struct Lettering::Face {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~Face()
    {
        if (face != nullptr)
            FT_Done_Face(face);
        if (library != nullptr)
            FT_Done_FreeType(library);
    }
};

namespace {

// The code points of a UTF-8 text; a malformed byte stands for U+FFFD.
std::vector<char32_t> codePoints(const std::string& text)
{
    std::vector<char32_t> points;
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
        char32_t point = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
        bool valid = length > 0 && i + length <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            valid = (next >> 6) == 2;
            point = (point << 6) | (next & 0x3F);
        }
        points.push_back(valid ? point : 0xFFFD);
        i += valid ? length : 1;
    }
    return points;
}

} // namespace

Lettering::Lettering() = default;
Lettering::~Lettering() = default;

bool Lettering::open(const std::string& font, std::string& error)
{
    std::error_code status;
    const bool fontFile = !font.empty() && std::filesystem::is_regular_file(std::filesystem::u8path(font), status);
    if (fontFile)
        file = font;
    else if (!findFontFile(font, file, error))
        return false;
    face = std::make_unique<Face>();
    if (FT_Init_FreeType(&face->library) != 0 || FT_New_Face(face->library, file.c_str(), 0, &face->face) != 0) {
        error = "FreeType cannot open the font '" + file + "'";
        face.reset();
        return false;
    }
    return true;
}

namespace {

// Sets the text on one line from pen (26.6 fixed point), kerning each pair,
// and hands each glyph that loads to eachGlyph with the pen where it starts.
// Returns the pen after the last glyph.
long setLine(FT_Face face, const std::string& text, long pen, FT_Int32 loadFlags,
    const std::function<void(FT_GlyphSlot, long)>& eachGlyph)
{
    FT_UInt previous = 0;
    for (char32_t point : codePoints(text)) {
        const FT_UInt glyph = FT_Get_Char_Index(face, point);
        if (previous != 0 && glyph != 0 && FT_HAS_KERNING(face)) {
            FT_Vector kern{};
            FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &kern);
            pen += kern.x;
        }
        previous = glyph;
        if (FT_Load_Glyph(face, glyph, loadFlags) != 0)
            continue;
        eachGlyph(face->glyph, pen);
        pen += face->glyph->advance.x;
    }
    return pen;
}

} // namespace

int Lettering::width(const std::string& text, int size)
{
    FT_Set_Pixel_Sizes(face->face, 0, FT_UInt(size));
    const long pen = setLine(face->face, text, 0, FT_LOAD_DEFAULT, [](FT_GlyphSlot, long) {});
    return int((pen + 63) >> 6);
}

void Lettering::draw(demo::Mask& mask, const std::string& text, int x, int baseline, int size)
{
    FT_Set_Pixel_Sizes(face->face, 0, FT_UInt(size));
    setLine(face->face, text, long(x) << 6, FT_LOAD_RENDER, [&](FT_GlyphSlot slot, long pen) {
        const FT_Bitmap& bitmap = slot->bitmap;
        const int left = int(pen >> 6) + slot->bitmap_left;
        const int top = baseline - slot->bitmap_top;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            const int y = top + int(row);
            if (y < 0 || y >= mask.height())
                continue;
            for (unsigned column = 0; column < bitmap.width; ++column) {
                const int px = left + int(column);
                if (px < 0 || px >= mask.width())
                    continue;
                const float cover = bitmap.buffer[row * bitmap.pitch + column] / 255.0f;
                mask.set(px, y, std::max(mask.at(px, y), cover));
            }
        }
    });
}

int Lettering::drawFitted(
    demo::Mask& mask, const std::string& text, int cx, int baseline, int size, int minSize, int maxWidth, bool centred)
{
    int used = size;
    while (used > minSize && width(text, used) > maxWidth)
        --used;
    std::string shown = text;
    if (width(shown, used) > maxWidth) {
        // Cut whole code points (never inside one) until it fits with "...".
        std::vector<size_t> starts;
        for (size_t i = 0; i < text.size(); ++i)
            if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
                starts.push_back(i);
        while (!starts.empty()) {
            shown = text.substr(0, starts.back()) + "...";
            starts.pop_back();
            if (width(shown, used) <= maxWidth)
                break;
        }
    }
    const int left = centred ? cx - width(shown, used) / 2 : cx;
    draw(mask, shown, left, baseline, used);
    return used;
}

} // namespace vlo::pack
