// GDI fonts on FreeType and fontconfig: CreateFontA, SelectObject,
// DeleteObject, GetTextMetricsA, GetCharABCWidthsA and wglUseFontBitmapsA.
// A font is a FreeType face sized in pixels the way Windows sizes TrueType
// fonts; character codes are Windows-1252, the ANSI code page. All sizes
// handed out are pixels of the device context (which has no scaling).

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <GL/gl.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include "platform/Win32.h"
#include "platform/sdl/PlatformState.h"

// The one kind of GDI object the program creates: a font. It owns its own
// FreeType library instance, so fonts share no global state.
struct PlatformGdiObject {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    int pixelsPerEm = 0;
    // Cell above and below the base line, in pixels.
    int ascent = 0;
    int descent = 0;
    int externalLeading = 0;
    int weight = FW_NORMAL;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    // The matched face is lighter or more upright than asked for: glyphs
    // are thickened or slanted when they are rendered.
    bool syntheticBold = false;
    bool syntheticItalic = false;
    // The device context it is selected into, if any; a selected font cannot
    // be deleted, as in GDI.
    HDC selectedInto = nullptr;

    PlatformGdiObject() = default;
    PlatformGdiObject(const PlatformGdiObject&) = delete;
    PlatformGdiObject& operator=(const PlatformGdiObject&) = delete;
    ~PlatformGdiObject()
    {
        if (face != nullptr) {
            FT_Done_Face(face);
        }
        if (library != nullptr) {
            FT_Done_FreeType(library);
        }
    }
};

namespace {

// The cell height used when a font is asked for with height 0.
constexpr int defaultCellHeight = 16;
// Heights beyond this are clamped: a glyph bitmap grows with the square of
// the height, and no screen needs characters taller than this.
constexpr int maximumHeight = 1024;

// Windows-1252 codes 0x80..0x9F as Unicode; 0 where the code page leaves
// the code undefined (it then stays as it is).
const FT_ULong cp1252High[32] = {0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161,
    0x203A, 0x0153, 0, 0x017E, 0x0178};

FT_ULong unicodeOf(UINT code)
{
    if (code >= 0x80 && code <= 0x9F && cp1252High[code - 0x80] != 0) {
        return cp1252High[code - 0x80];
    }
    return code;
}

FT_UInt glyphIndexOf(FT_Face face, UINT code)
{
    FT_UInt index = FT_Get_Char_Index(face, unicodeOf(code));
    if (index == 0 && face->charmap != nullptr && face->charmap->encoding == FT_ENCODING_MS_SYMBOL) {
        // Symbol fonts put their glyphs at U+F000 + code.
        index = FT_Get_Char_Index(face, 0xF000 + code);
    }
    return index;
}

int roundToInt(double value)
{
    return int(std::lround(value));
}

// RAII owner of fontconfig patterns.
struct PatternGuard {
    FcPattern* pattern;
    explicit PatternGuard(FcPattern* p)
        : pattern(p)
    {
    }
    ~PatternGuard()
    {
        if (pattern != nullptr) {
            FcPatternDestroy(pattern);
        }
    }
    PatternGuard(const PatternGuard&) = delete;
    PatternGuard& operator=(const PatternGuard&) = delete;
};

// The face fontconfig offers for a family, weight and slant, as file and
// face index, with the weight and slant it actually has.
struct ResolvedFace {
    std::vector<char> file;
    int index = 0;
    int weight = FC_WEIGHT_REGULAR;
    int slant = FC_SLANT_ROMAN;
};

bool resolveFace(const char* family, int weight, bool italic, ResolvedFace& out)
{
    PatternGuard request(FcPatternCreate());
    if (request.pattern == nullptr) {
        return false;
    }
    const char* name = (family != nullptr && family[0] != '\0') ? family : "sans-serif";
    FcPatternAddString(request.pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name));
    FcPatternAddInteger(request.pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(request.pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(request.pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, request.pattern, FcMatchPattern);
    FcDefaultSubstitute(request.pattern);

    FcResult result = FcResultNoMatch;
    PatternGuard match(FcFontMatch(nullptr, request.pattern, &result));
    if (match.pattern == nullptr) {
        return false;
    }
    FcChar8* file = nullptr;
    if (FcPatternGetString(match.pattern, FC_FILE, 0, &file) != FcResultMatch || file == nullptr) {
        return false;
    }
    const size_t length = std::strlen(reinterpret_cast<const char*>(file));
    out.file.assign(file, file + length);
    out.file.push_back('\0');
    FcPatternGetInteger(match.pattern, FC_INDEX, 0, &out.index);
    FcPatternGetInteger(match.pattern, FC_WEIGHT, 0, &out.weight);
    FcPatternGetInteger(match.pattern, FC_SLANT, 0, &out.slant);
    return true;
}

// Windows sizes a TrueType font from its OS/2 cell: a positive height is the
// cell (ascent + descent), a negative one the em square in pixels.
bool sizeFont(PlatformGdiObject& font, int height)
{
    FT_Face face = font.face;
    const double unitsPerEm = face->units_per_EM > 0 ? face->units_per_EM : 2048.0;
    const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const TT_HoriHeader* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
    double cellAscent = os2 != nullptr ? os2->usWinAscent : double(face->ascender);
    double cellDescent = os2 != nullptr ? os2->usWinDescent : -double(face->descender);
    if (cellAscent + cellDescent <= 0.0) {
        cellAscent = unitsPerEm * 0.8;
        cellDescent = unitsPerEm * 0.2;
    }
    const double cell = cellAscent + cellDescent;

    if (height == 0) {
        height = defaultCellHeight;
    }
    height = std::max(-maximumHeight, std::min(maximumHeight, height));
    if (height > 0) {
        font.pixelsPerEm = std::max(1, roundToInt(height * unitsPerEm / cell));
        font.ascent = roundToInt(height * cellAscent / cell);
        font.descent = height - font.ascent;
    } else {
        font.pixelsPerEm = -height;
        font.ascent = roundToInt(font.pixelsPerEm * cellAscent / unitsPerEm);
        font.descent = roundToInt(font.pixelsPerEm * cellDescent / unitsPerEm);
    }
    if (hhea != nullptr) {
        // Line gap beyond what the OS/2 cell already covers.
        const double gap = hhea->Line_Gap - (cell - (hhea->Ascender - hhea->Descender));
        font.externalLeading = std::max(0, roundToInt(gap * font.pixelsPerEm / unitsPerEm));
    }

    if (FT_IS_SCALABLE(face)) {
        return FT_Set_Pixel_Sizes(face, 0, FT_UInt(font.pixelsPerEm)) == 0;
    }
    // A bitmap-only face: take the strike closest to the size asked for.
    if (face->num_fixed_sizes <= 0) {
        return false;
    }
    int best = 0;
    for (int i = 1; i < face->num_fixed_sizes; ++i) {
        if (std::abs(face->available_sizes[i].height - font.pixelsPerEm)
            < std::abs(face->available_sizes[best].height - font.pixelsPerEm)) {
            best = i;
        }
    }
    return FT_Select_Size(face, best) == 0;
}

PlatformGdiObject* selectedFont(HDC dc)
{
    return dc != nullptr ? dc->selected : nullptr;
}

// One character as a monochrome bitmap: offset of its top-left pixel from
// the pen position on the base line (x right, y up), size, and advance.
struct GlyphImage {
    int left = 0;
    int top = 0;
    int width = 0;
    int rows = 0;
    int advance = 0;
    // Row r of the glyph, top row first, one bit per pixel, MSB first.
    std::vector<uint8_t> bits;
    int rowBytes = 0;
};

// Renders the glyph of one Windows-1252 code. A code the font lacks gives
// the font's missing-glyph shape, as on Windows. False only when FreeType
// fails, leaving an empty glyph with no advance.
bool renderGlyph(const PlatformGdiObject& font, UINT code, GlyphImage& out)
{
    out.left = out.top = out.width = out.rows = out.advance = out.rowBytes = 0;
    FT_Face face = font.face;
    if (FT_Load_Glyph(face, glyphIndexOf(face, code), FT_LOAD_TARGET_MONO) != 0) {
        return false;
    }
    FT_GlyphSlot slot = face->glyph;
    if (font.syntheticItalic && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        FT_GlyphSlot_Oblique(slot);
    }
    if (font.syntheticBold) {
        FT_GlyphSlot_Embolden(slot);
    }
    if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) {
        return false;
    }
    const FT_Bitmap& bitmap = slot->bitmap;
    out.left = slot->bitmap_left;
    out.top = slot->bitmap_top;
    out.advance = int((slot->advance.x + 32) >> 6);
    if (bitmap.width == 0 || bitmap.rows == 0 || bitmap.buffer == nullptr) {
        return true;
    }
    out.width = int(bitmap.width);
    out.rows = int(bitmap.rows);
    out.rowBytes = (out.width + 7) / 8;
    out.bits.assign(size_t(out.rowBytes) * size_t(out.rows), 0);
    for (int row = 0; row < out.rows; ++row) {
        const uint8_t* source = bitmap.buffer + ptrdiff_t(row) * bitmap.pitch;
        uint8_t* target = out.bits.data() + size_t(row) * size_t(out.rowBytes);
        if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
            std::memcpy(target, source, size_t(out.rowBytes));
        } else if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
            // An embedded grey strike: half coverage and more is ink.
            for (int x = 0; x < out.width; ++x) {
                if (source[x] >= 128) {
                    target[x / 8] = uint8_t(target[x / 8] | (0x80 >> (x % 8)));
                }
            }
        }
    }
    return true;
}

} // namespace

HFONT CreateFontA(int height, int, int, int, int weight, DWORD italic, DWORD underline, DWORD strikeOut, DWORD, DWORD,
    DWORD, DWORD, DWORD, const char* face)
{
    const int requestedWeight = weight <= 0 ? FW_NORMAL : std::min(weight, 1000);
    ResolvedFace resolved;
    if (!resolveFace(face, requestedWeight, italic != 0, resolved)) {
        return nullptr;
    }
    PlatformGdiObject* font = new PlatformGdiObject;
    if (FT_Init_FreeType(&font->library) != 0
        || FT_New_Face(font->library, resolved.file.data(), resolved.index, &font->face) != 0
        || !sizeFont(*font, height)) {
        delete font;
        return nullptr;
    }
    font->weight = requestedWeight;
    font->italic = italic != 0;
    font->underline = underline != 0;
    font->strikeOut = strikeOut != 0;
    font->syntheticBold = requestedWeight >= 600 && resolved.weight < FC_WEIGHT_DEMIBOLD;
    font->syntheticItalic = font->italic && resolved.slant == FC_SLANT_ROMAN;
    return font;
}

// Selecting a null object clears the selection and returns the previous
// font, so that it can then be deleted.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object)
{
    if (dc == nullptr) {
        return nullptr;
    }
    HGDIOBJ previous = dc->selected;
    if (previous != nullptr) {
        previous->selectedInto = nullptr;
    }
    dc->selected = object;
    if (object != nullptr) {
        object->selectedInto = dc;
    }
    return previous;
}

BOOL DeleteObject(HGDIOBJ object)
{
    if (object == nullptr || object->selectedInto != nullptr) {
        return FALSE;
    }
    delete object;
    return TRUE;
}

BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* metrics)
{
    const PlatformGdiObject* font = selectedFont(dc);
    if (font == nullptr || metrics == nullptr) {
        return FALSE;
    }
    FT_Face face = font->face;
    const double scale = double(font->pixelsPerEm) / (face->units_per_EM > 0 ? face->units_per_EM : 2048);
    const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const int boldExtra = font->syntheticBold ? std::max(1, roundToInt(font->pixelsPerEm / 24.0)) : 0;
    const bool fixedPitch = FT_IS_FIXED_WIDTH(face);

    std::memset(metrics, 0, sizeof(*metrics));
    metrics->tmAscent = font->ascent;
    metrics->tmDescent = font->descent;
    metrics->tmHeight = font->ascent + font->descent;
    metrics->tmInternalLeading = std::max(0, metrics->tmHeight - font->pixelsPerEm);
    metrics->tmExternalLeading = font->externalLeading;
    int average = (os2 != nullptr && os2->xAvgCharWidth > 0) ? roundToInt(os2->xAvgCharWidth * scale) : 0;
    if (average == 0) {
        GlyphImage x;
        renderGlyph(*font, 'x', x);
        average = x.advance;
    }
    metrics->tmAveCharWidth = average + boldExtra;
    metrics->tmMaxCharWidth = roundToInt(face->max_advance_width * scale) + boldExtra;
    metrics->tmWeight = font->weight;
    metrics->tmOverhang = 0;
    metrics->tmDigitizedAspectX = 96;
    metrics->tmDigitizedAspectY = 96;
    metrics->tmFirstChar = 0x1E;
    metrics->tmLastChar = 0xFF;
    metrics->tmDefaultChar = 0x1F;
    metrics->tmBreakChar = 0x20;
    metrics->tmItalic = font->italic ? 0xFF : 0;
    metrics->tmUnderlined = font->underline ? 0xFF : 0;
    metrics->tmStruckOut = font->strikeOut ? 0xFF : 0;
    // As in GDI, the low bit is set for a variable-pitch font; 2 and 4 mark
    // an outline (TrueType) font; 0x30 is the modern (monospaced) family.
    metrics->tmPitchAndFamily = BYTE((fixedPitch ? 0x30 : 0x01) | (FT_IS_SCALABLE(face) ? 0x06 : 0));
    metrics->tmCharSet = BYTE(ANSI_CHARSET);
    return TRUE;
}

// A: from the pen to the glyph's first column; B: the glyph's width; C: from
// its last column to the next pen position. A + B + C is the advance.
BOOL GetCharABCWidthsA(HDC dc, UINT first, UINT last, ABC* widths)
{
    const PlatformGdiObject* font = selectedFont(dc);
    if (font == nullptr || widths == nullptr || first > last) {
        return FALSE;
    }
    GlyphImage glyph;
    for (UINT code = first;; ++code) {
        renderGlyph(*font, code, glyph);
        ABC& abc = widths[code - first];
        abc.abcA = glyph.left;
        abc.abcB = UINT(glyph.width);
        abc.abcC = glyph.advance - glyph.left - glyph.width;
        if (code == last) {
            break;
        }
    }
    return TRUE;
}

// One display list per code: a glBitmap of the glyph whose origin is the
// pen position on the base line, moving the raster position by the advance.
// GL window y grows upwards, so the rows go in bottom row first.
BOOL wglUseFontBitmapsA(HDC dc, DWORD first, DWORD count, DWORD listBase)
{
    const PlatformGdiObject* font = selectedFont(dc);
    if (font == nullptr) {
        return FALSE;
    }
    // glBitmap copies its data at compile time with the current unpack
    // state: make it tightly packed, MSB first, and put it back afterwards.
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);

    GlyphImage glyph;
    std::vector<uint8_t> bottomUp;
    for (DWORD i = 0; i < count; ++i) {
        renderGlyph(*font, UINT(first + i), glyph);
        bottomUp.resize(glyph.bits.size());
        for (int row = 0; row < glyph.rows; ++row) {
            std::memcpy(bottomUp.data() + size_t(glyph.rows - 1 - row) * size_t(glyph.rowBytes),
                glyph.bits.data() + size_t(row) * size_t(glyph.rowBytes), size_t(glyph.rowBytes));
        }
        glNewList(listBase + i, GL_COMPILE);
        glBitmap(glyph.width, glyph.rows, GLfloat(-glyph.left), GLfloat(glyph.rows - glyph.top), GLfloat(glyph.advance),
            0.0f, bottomUp.empty() ? nullptr : bottomUp.data());
        glEndList();
    }
    glPopClientAttrib();
    return TRUE;
}
