// Pixel formats, OpenGL contexts and buffer swaps on a real window
// (DISPLAY=:99, or SDL's offscreen driver, which the test window allows).

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "support/TestWindow.h"

namespace {

PIXELFORMATDESCRIPTOR openGLDescriptor(DWORD flags)
{
    PIXELFORMATDESCRIPTOR descriptor{};
    descriptor.nSize = sizeof(descriptor);
    descriptor.nVersion = 1;
    descriptor.dwFlags = flags;
    descriptor.iPixelType = PFD_TYPE_RGBA;
    descriptor.cColorBits = 32;
    return descriptor;
}

TEST(GLContextTest, PixelFormatNeedsOpenGLOnAWindow)
{
    vlo::test::TestWindow window(64, 48);
    ASSERT_TRUE(window.valid());
    HDC dc = GetDC(window.handle());
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetDC(window.handle()), dc) << "a window keeps one device context";

    const auto full = openGLDescriptor(PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER);
    const auto noGL = openGLDescriptor(PFD_DRAW_TO_WINDOW | PFD_DOUBLEBUFFER);
    const auto noWindow = openGLDescriptor(PFD_SUPPORT_OPENGL);
    EXPECT_EQ(ChoosePixelFormat(dc, &full), 1);
    EXPECT_EQ(ChoosePixelFormat(dc, &noGL), 0);
    EXPECT_EQ(ChoosePixelFormat(dc, &noWindow), 0);
    EXPECT_EQ(ChoosePixelFormat(nullptr, &full), 0);

    EXPECT_EQ(wglCreateContext(dc), nullptr) << "a context needs the pixel format set first";
    EXPECT_FALSE(SetPixelFormat(dc, 0, &full));
    EXPECT_TRUE(SetPixelFormat(dc, 1, &full));
}

TEST(GLContextTest, ClearsAndReadsBackTheBackBuffer)
{
    vlo::test::TestWindow window(64, 48);
    ASSERT_TRUE(window.valid());
    vlo::test::TestGLContext gl(window.handle());
    ASSERT_TRUE(gl.valid());

    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 64) << "viewport width";
    EXPECT_EQ(viewport[3], 48) << "viewport height";
    GLint alphaBits = 0;
    glGetIntegerv(GL_ALPHA_BITS, &alphaBits);
    EXPECT_EQ(alphaBits, 8) << "the framebuffer is RGBA 8/8/8/8";
    GLint depthBits = -1;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    EXPECT_EQ(depthBits, 0) << "no depth buffer";

    // Immediate mode works: a compatibility context.
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 64, 48, 0, -1, 1);
    glColor4f(1.0f, 0.0f, 0.0f, 1.0f);
    glBegin(GL_QUADS);
    glVertex2f(0, 0);
    glVertex2f(32, 0);
    glVertex2f(32, 48);
    glVertex2f(0, 48);
    glEnd();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    unsigned char left[4] = {};
    unsigned char right[4] = {};
    glReadBuffer(GL_BACK);
    glReadPixels(8, 24, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, left);
    glReadPixels(56, 24, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, right);
    EXPECT_EQ(int(left[0]), 255) << "red of the quad";
    EXPECT_EQ(int(left[2]), 0) << "blue under the quad";
    EXPECT_EQ(int(right[0]), 0) << "red of the clear colour";
    EXPECT_EQ(int(right[2]), 255) << "blue of the clear colour";
    EXPECT_TRUE(SwapBuffers(gl.deviceContext()));
}

TEST(GLContextTest, CreatingDoesNotMakeCurrentAndReleaseClearsIt)
{
    vlo::test::TestWindow window(32, 32);
    ASSERT_TRUE(window.valid());
    HDC dc = GetDC(window.handle());
    const auto full = openGLDescriptor(PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL);
    ASSERT_TRUE(SetPixelFormat(dc, ChoosePixelFormat(dc, &full), &full));
    HGLRC context = wglCreateContext(dc);
    ASSERT_NE(context, nullptr);
    // Like WGL, creating leaves no context current.
    EXPECT_EQ(glGetString(GL_VERSION), nullptr) << "a context was current after wglCreateContext";

    ASSERT_TRUE(wglMakeCurrent(dc, context));
    EXPECT_NE(glGetString(GL_VERSION), nullptr);
    EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr));
    EXPECT_EQ(glGetString(GL_VERSION), nullptr) << "still current after wglMakeCurrent(NULL, NULL)";

    EXPECT_TRUE(wglDeleteContext(context));
    EXPECT_FALSE(wglDeleteContext(context)) << "a context is deleted once";
    EXPECT_FALSE(wglMakeCurrent(dc, context)) << "a deleted context cannot be made current";
}

TEST(GLContextTest, CallsOnAGoneWindowFail)
{
    HWND gone = nullptr;
    HDC goneDc = nullptr;
    {
        vlo::test::TestWindow window(32, 32);
        ASSERT_TRUE(window.valid());
        gone = window.handle();
        goneDc = GetDC(gone);
    }
    EXPECT_EQ(GetDC(gone), nullptr);
    EXPECT_FALSE(SwapBuffers(goneDc));
    const auto full = openGLDescriptor(PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL);
    EXPECT_EQ(ChoosePixelFormat(goneDc, &full), 0);
}

} // namespace
