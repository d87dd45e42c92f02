// The Windows back end's part in the program's window: at scale 2 the window
// is twice as large on the screen while the program sees its own pixels in
// every size, position and mouse message; presents pass the present hook;
// the font's space glyph advances. Needs Wine's X11 driver (a display).
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/Platform.h"
#include "platform/win32/SystemCalls.h"

#include <GL/gl.h>

namespace vlo {
namespace {

std::vector<LPARAM> mousePoints;

LRESULT CALLBACK recordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_LBUTTONDOWN)
        mousePoints.push_back(lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

struct Presents {
    std::vector<bool> damaged;
    bool show = true;
};

bool presentHook(void* owner, bool windowDamaged)
{
    auto* presents = static_cast<Presents*>(owner);
    presents->damaged.push_back(windowDamaged);
    return presents->show;
}

void pump(HWND window)
{
    MSG message;
    while (PeekMessageA(&message, window, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}

class ScaledWindowWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        _putenv("VELLUMO_SCALE=2");
        WNDCLASSA windowClass{};
        windowClass.style = CS_OWNDC;
        windowClass.lpfnWndProc = recordingProcedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "ScaledWindowTest";
        RegisterClassA(&windowClass);
        window = vloCreateWindowExA(0, "ScaledWindowTest", "scaled", WS_POPUP, 100, 50, 350, 300, nullptr, nullptr,
            GetModuleHandleA(nullptr), nullptr);
        _putenv("VELLUMO_SCALE=");
        if (window == nullptr)
            GTEST_SKIP() << "Wine gives no window here (no display?)";
        ShowWindow(window, SW_SHOW);
        pump(window);
    }
    void TearDown() override
    {
        if (window != nullptr)
            vloDestroyWindow(window);
        UnregisterClassA("ScaledWindowTest", GetModuleHandleA(nullptr));
    }
    HWND window = nullptr;
};

TEST_F(ScaledWindowWindows, TheScreenHasTwiceTheSizeAndTheProgramItsOwnPixels)
{
    RECT screen{};
    GetWindowRect(window, &screen);
    EXPECT_EQ(screen.right - screen.left, 700);
    EXPECT_EQ(screen.bottom - screen.top, 600);
    RECT client{};
    vloGetClientRect(window, &client);
    EXPECT_EQ(client.right, 350);
    EXPECT_EQ(client.bottom, 300);

    vloSetWindowPos(window, nullptr, 61, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    GetWindowRect(window, &screen);
    EXPECT_EQ(screen.left, 122);
    EXPECT_EQ(screen.top, 80);
    RECT program{};
    vloGetWindowRect(window, &program);
    EXPECT_EQ(program.left, 61);
    EXPECT_EQ(program.top, 40);
    EXPECT_EQ(program.right - program.left, 350);

    // A press at screen pixel (21, 11) of the client area is program pixel
    // (10, 5); one left of and above the window stays outside it.
    mousePoints.clear();
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(21, 11));
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(WORD(-3), WORD(-1)));
    pump(window);
    ASSERT_EQ(mousePoints.size(), 2u);
    EXPECT_EQ(LOWORD(mousePoints[0]), 10);
    EXPECT_EQ(HIWORD(mousePoints[0]), 5);
    EXPECT_EQ(short(LOWORD(mousePoints[1])), -2);
    EXPECT_EQ(short(HIWORD(mousePoints[1])), -1);
}

TEST_F(ScaledWindowWindows, PresentsPassTheHookAndTheFrameIsDrawnAtTheProgramsSize)
{
    HDC dc = GetDC(window);
    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 32;
    ASSERT_TRUE(SetPixelFormat(dc, ChoosePixelFormat(dc, &format), &format));
    HGLRC context = wglCreateContext(dc);
    ASSERT_NE(context, nullptr);
    ASSERT_TRUE(vloWglMakeCurrent(dc, context));
    const unsigned int frame = drawFrameBuffer(dc);
    ASSERT_NE(frame, 0u) << "a scaled window draws into a framebuffer object";
    GLint bound = 0;
    glGetIntegerv(0x8CA6 /* GL_FRAMEBUFFER_BINDING */, &bound);
    EXPECT_EQ(GLuint(bound), frame);

    Presents presents;
    setPresentHook(dc, presentHook, &presents);
    EXPECT_TRUE(vloSwapBuffers(dc));
    EXPECT_TRUE(vloSwapBuffers(dc));
    presents.show = false;
    EXPECT_TRUE(vloSwapBuffers(dc)) << "a skipped present is no failure";
    ASSERT_EQ(presents.damaged.size(), 3u);
    EXPECT_TRUE(presents.damaged[0]) << "a new window's pixels are not there yet";
    EXPECT_FALSE(presents.damaged[1]);
    // Hidden and shown again: its pixels may be gone.
    ShowWindow(window, SW_HIDE);
    ShowWindow(window, SW_SHOW);
    pump(window);
    presents.show = true;
    vloSwapBuffers(dc);
    EXPECT_TRUE(presents.damaged.back());
    setPresentHook(dc, nullptr, nullptr);

    // The space of a GDI font's display lists moves the raster position by
    // its width, and building them leaves no error behind.
    HFONT font = CreateFontA(14, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
        ANTIALIASED_QUALITY, DEFAULT_PITCH, "Courier New");
    SelectObject(dc, font);
    const GLuint lists = glGenLists(256);
    ASSERT_TRUE(vloWglUseFontBitmapsA(dc, 0, 256, lists));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    ABC space{};
    ASSERT_TRUE(GetCharABCWidthsA(dc, ' ', ' ', &space));
    glViewport(0, 0, 350, 300);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 350, 0, 300, -1, 1);
    glRasterPos2i(10, 10);
    glCallList(lists + ' ');
    GLfloat position[4] = {};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
    EXPECT_GT(space.abcA + int(space.abcB) + space.abcC, 0);
    EXPECT_FLOAT_EQ(position[0], 10.0f + float(space.abcA + int(space.abcB) + space.abcC));
    glDeleteLists(lists, 256);
    DeleteObject(font);

    vloWglDeleteContext(context);
}

} // namespace
} // namespace vlo
