#pragma once
// What the back end keeps of the program's windows and OpenGL contexts:
// each window's whole-number scale, its own window procedure, whether it was
// damaged since its last present and its present hook; each context's window
// and, on a scaled window, the framebuffer object the program draws into.
// Never included outside src/platform/win32/.

#include <memory>
#include <vector>

#include "platform/Platform.h"
#include "platform/win32/SystemCalls.h"

namespace vlo {
namespace win32 {

struct WindowRecord {
    HWND window = nullptr;
    // Screen pixels per program pixel, 1 or more.
    int scale = 1;
    WNDPROC programProcedure = nullptr;
    bool damaged = true;
    PresentHook presentHook = nullptr;
    void* presentOwner = nullptr;
};

struct ContextRecord {
    HGLRC context = nullptr;
    HWND window = nullptr;
    // The program's frame on a scaled window: made when the context is first
    // made current there; 0 at scale 1.
    unsigned int frameBuffer = 0;
    unsigned int colourBuffer = 0;
};

struct WindowRecords {
    std::vector<std::unique_ptr<WindowRecord>> windows;
    std::vector<ContextRecord> contexts;
    HGLRC current = nullptr;
};

// The back end's process-wide records (the program has one window).
WindowRecords& windowRecords();

// The record of a live window of the program, null for any other.
WindowRecord* recordOf(HWND window);
// The record of the window behind a device context (a CS_OWNDC one).
WindowRecord* recordOf(HDC dc);
ContextRecord* contextRecordOf(HGLRC context);

// a / b rounded towards minus infinity (screen positions left of or above
// the screen's origin are negative).
int floorDivide(int a, int b);

} // namespace win32
} // namespace vlo
