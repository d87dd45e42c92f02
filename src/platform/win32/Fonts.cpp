// Display lists of a GDI font's glyphs. Wine (8.0) builds the space's list
// with no advance and leaves GL_OUT_OF_MEMORY behind, so the space's list is
// built again here from the font's own widths: an empty bitmap that moves
// the raster position by the space's advance, which is what Windows builds.

#include "platform/win32/SystemCalls.h"

#include <GL/gl.h>

BOOL vloWglUseFontBitmapsA(HDC dc, DWORD first, DWORD count, DWORD listBase)
{
    if (!wglUseFontBitmapsA(dc, first, count, listBase))
        return FALSE;
    while (glGetError() != GL_NO_ERROR) { }
    const DWORD space = ' ';
    ABC widths{};
    if (space < first || space >= first + count || !GetCharABCWidthsA(dc, space, space, &widths))
        return TRUE;
    static const GLubyte empty[4] = {0, 0, 0, 0};
    glNewList(listBase + (space - first), GL_COMPILE);
    glBitmap(0, 0, 0.0f, 0.0f, float(widths.abcA + int(widths.abcB) + widths.abcC), 0.0f, empty);
    glEndList();
    return TRUE;
}
