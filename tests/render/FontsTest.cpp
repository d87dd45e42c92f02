// The window system's font calls that the bitmap fonts are built from:
// CreateFontA and friends on FreeType and fontconfig.

#include <gtest/gtest.h>

#include <GL/gl.h>

#include "platform/Win32.h"
#include "support/GLRendererHarness.h"

namespace {

using vlo::test::GLRendererHarness;

// A font created the way the renderer creates its fonts.
HFONT makeFont(const char* face, int height, bool bold, bool italic = false)
{
    return CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, FALSE, FALSE, ANSI_CHARSET, OUT_TT_PRECIS,
        CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, face);
}

class FontsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gl.ready()) << "no usable GL renderer (is DISPLAY=:99 running?)";
        dc = gl.renderer->deviceContext();
    }

    GLRendererHarness gl;
    HDC dc = nullptr;
};

TEST_F(FontsTest, CourierNewBoldIsAMonospacedFourteenPixelCell)
{
    HFONT font = makeFont("Courier New", 14, true);
    ASSERT_NE(font, nullptr) << "fontconfig finds a face for Courier New";
    EXPECT_EQ(SelectObject(dc, font), nullptr) << "nothing was selected before";

    TEXTMETRICA tm = {};
    ASSERT_TRUE(GetTextMetricsA(dc, &tm));
    EXPECT_EQ(tm.tmHeight, 14);
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
    EXPECT_GE(tm.tmInternalLeading, 0);
    EXPECT_LT(tm.tmInternalLeading, tm.tmHeight);
    EXPECT_EQ(tm.tmWeight, FW_BOLD);
    EXPECT_EQ(tm.tmItalic, 0);
    EXPECT_EQ(tm.tmPitchAndFamily & 1, 0) << "the low bit marks a variable-pitch font";
    EXPECT_EQ(tm.tmAveCharWidth, tm.tmMaxCharWidth) << "monospaced";

    ABC widths[256] = {};
    ASSERT_TRUE(GetCharABCWidthsA(dc, 0, 255, widths));
    const int advance = widths['M'].abcA + int(widths['M'].abcB) + widths['M'].abcC;
    EXPECT_EQ(advance, tm.tmAveCharWidth);
    for (int code = 32; code < 127; ++code) {
        EXPECT_EQ(widths[code].abcA + int(widths[code].abcB) + widths[code].abcC, advance) << "code " << code;
    }
    EXPECT_GT(widths['M'].abcB, 0u) << "M has ink";
    EXPECT_GT(widths['M'].abcB, widths['.'].abcB) << "the black box of M is wider than that of a full stop";

    EXPECT_EQ(SelectObject(dc, nullptr), font) << "deselecting returns the font";
    EXPECT_TRUE(DeleteObject(font));
}

TEST_F(FontsTest, NegativeHeightsAskForTheCharacterHeight)
{
    HFONT font = makeFont("Courier New", -14, false);
    ASSERT_NE(font, nullptr);
    SelectObject(dc, font);
    TEXTMETRICA tm = {};
    ASSERT_TRUE(GetTextMetricsA(dc, &tm));
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 14) << "cell minus internal leading is the em height";
    EXPECT_EQ(tm.tmWeight, FW_NORMAL);
    SelectObject(dc, nullptr);
    EXPECT_TRUE(DeleteObject(font));
}

TEST_F(FontsTest, ASelectedFontCannotBeDeleted)
{
    HFONT first = makeFont("Courier New", 14, true);
    HFONT second = makeFont("Courier New", 20, false, true);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    SelectObject(dc, first);
    EXPECT_FALSE(DeleteObject(first)) << "still selected";
    EXPECT_EQ(SelectObject(dc, second), first);
    EXPECT_TRUE(DeleteObject(first)) << "replaced by another font";
    TEXTMETRICA tm = {};
    ASSERT_TRUE(GetTextMetricsA(dc, &tm));
    EXPECT_EQ(tm.tmHeight, 20) << "the metrics are the selected font's";
    EXPECT_NE(tm.tmItalic, 0);
    SelectObject(dc, nullptr);
    EXPECT_TRUE(DeleteObject(second));
    EXPECT_FALSE(DeleteObject(nullptr));
}

TEST_F(FontsTest, CallsWithoutASelectedFontFail)
{
    TEXTMETRICA tm = {};
    ABC widths[1] = {};
    EXPECT_FALSE(GetTextMetricsA(dc, &tm));
    EXPECT_FALSE(GetCharABCWidthsA(dc, 65, 65, widths));
    EXPECT_FALSE(wglUseFontBitmapsA(dc, 0, 256, 1));
    EXPECT_FALSE(GetTextMetricsA(nullptr, &tm));
    EXPECT_EQ(SelectObject(nullptr, nullptr), nullptr);
}

TEST_F(FontsTest, BuildingBitmapsLeavesThePixelUnpackStateAlone)
{
    HFONT font = makeFont("Courier New", 14, true);
    ASSERT_NE(font, nullptr);
    SelectObject(dc, font);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    const GLuint base = glGenLists(256);
    EXPECT_TRUE(wglUseFontBitmapsA(dc, 0, 256, base));
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 8);
    EXPECT_TRUE(glIsList(base));
    EXPECT_TRUE(glIsList(base + 255));
    EXPECT_EQ(GLRendererHarness::takeGLError(), GLenum(GL_NO_ERROR));
    SelectObject(dc, nullptr);
    EXPECT_TRUE(DeleteObject(font));
}

} // namespace
