// Bitmap fonts of the OpenGL renderer: 256 display lists per font, built
// from the window system's font, one glBitmap glyph per character code.

#include <climits>
#include <cstdlib>

#include <GL/gl.h>
#include <GL/glext.h>

#include "render/GLConstants.h"
#include "render/GLRenderer.h"

namespace vlo {

// A positive height asks for the cell height (ascent + descent), a negative
// one for the character height; either is handed to the font as it is. No
// window-system result is checked: the number is returned in every case.
int GLRenderer::createFont(const char* face, int height, bool bold, bool italic, bool underline)
{
    beforeDirectGL();
    const GLuint listBase = glGenLists(256);
    const int number = int(fontListBases.size());

    HFONT font
        = CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic ? TRUE : FALSE, underline ? TRUE : FALSE,
            FALSE, ANSI_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, face);
    SelectObject(deviceContext_, font);

    FontInfo info;
    info.face = face != nullptr ? face : "";
    info.height = height == INT_MIN ? INT_MAX : std::abs(height);
    info.bold = bold;
    info.italic = italic;
    info.underline = underline;

    TEXTMETRICA metrics = {};
    GetTextMetricsA(deviceContext_, &metrics);
    info.textHeight = metrics.tmHeight;
    info.ascent = metrics.tmAscent;
    info.descent = metrics.tmDescent;
    info.averageCharWidth = metrics.tmAveCharWidth;
    info.maxCharWidth = metrics.tmMaxCharWidth;
    info.overhang = metrics.tmOverhang;

    ABC widths[256] = {};
    GetCharABCWidthsA(deviceContext_, 0, 255, widths);
    for (int code = 0; code < 256; ++code) {
        info.advanceWidths[code] = widths[code].abcA + int(widths[code].abcB) + widths[code].abcC;
    }

    wglUseFontBitmapsA(deviceContext_, 0, 256, listBase);

    SelectObject(deviceContext_, nullptr);
    DeleteObject(font);

    fonts.push_back(info);
    fontListBases.push_back(listBase);
    return number;
}

void GLRenderer::drawText(int font, float x, float y, std::string text)
{
    if (text.empty() || unsigned(font) >= fontListBases.size()) {
        return;
    }
    frame.addText(fontListBases[size_t(font)], x, y, text);
    recorded();
}

void GLRenderer::drawText(int font, Vector2 position, std::string text)
{
    drawText(font, position.x, position.y, std::move(text));
}

} // namespace vlo
