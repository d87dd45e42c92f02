#pragma once
// A hidden top-level window for tests, and an OpenGL context on it, built
// with the program's own platform calls. Header only: every test program
// links a subsystem library that carries the platform layer.
//
//   vlo::test::TestWindow window;            // hidden 700 x 600 window
//   ASSERT_TRUE(window.valid());
//   vlo::test::TestGLContext gl(window.handle());
//   ASSERT_TRUE(gl.valid());                 // current until destroyed
//
// A GLRenderer needs only the window: its createContext makes the context.
// Draw, then read pixels from the back buffer before SwapBuffers (under Xvfb
// the front buffer is not kept).

#include "platform/Platform.h"
#include "platform/Win32.h"

namespace vlo {
namespace test {

class TestWindow {
public:
    // procedure receives the window's messages (WM_CREATE and WM_DESTROY
    // included); DefWindowProcA ignores them all.
    explicit TestWindow(int width = 700, int height = 600, WNDPROC procedure = DefWindowProcA,
        const char* className = "VLO Test Window")
        : className_(className)
    {
        // Tests draw with or without a real display.
        setOffscreenAllowed(true);
        WNDCLASSA windowClass{};
        windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
        windowClass.lpfnWndProc = procedure;
        windowClass.lpszClassName = className;
        registered_ = RegisterClassA(&windowClass) != 0;
        handle_ = CreateWindowExA(
            0, className, "VLO Test", WS_POPUP, 100, 100, width, height, nullptr, nullptr, nullptr, nullptr);
    }

    ~TestWindow()
    {
        if (handle_ != nullptr)
            DestroyWindow(handle_);
        if (registered_)
            UnregisterClassA(className_, nullptr);
    }

    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    bool valid() const { return handle_ != nullptr; }
    HWND handle() const { return handle_; }

private:
    const char* className_;
    bool registered_ = false;
    HWND handle_ = nullptr;
};

// The pixel format and a current OpenGL context on a window, released and
// deleted on destruction.
class TestGLContext {
public:
    explicit TestGLContext(HWND window)
    {
        dc_ = GetDC(window);
        PIXELFORMATDESCRIPTOR descriptor{};
        descriptor.nSize = sizeof(descriptor);
        descriptor.nVersion = 1;
        descriptor.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        descriptor.iPixelType = PFD_TYPE_RGBA;
        descriptor.cColorBits = 32;
        const int format = ChoosePixelFormat(dc_, &descriptor);
        if (format == 0 || !SetPixelFormat(dc_, format, &descriptor))
            return;
        context_ = wglCreateContext(dc_);
        if (context_ != nullptr && !wglMakeCurrent(dc_, context_)) {
            wglDeleteContext(context_);
            context_ = nullptr;
        }
    }

    ~TestGLContext()
    {
        if (context_ != nullptr) {
            wglMakeCurrent(nullptr, nullptr);
            wglDeleteContext(context_);
        }
    }

    TestGLContext(const TestGLContext&) = delete;
    TestGLContext& operator=(const TestGLContext&) = delete;

    bool valid() const { return context_ != nullptr; }
    HDC deviceContext() const { return dc_; }
    HGLRC context() const { return context_; }

private:
    HDC dc_ = nullptr;
    HGLRC context_ = nullptr;
};

} // namespace test
} // namespace vlo
