// The WGL calls the back end takes part in: on a scaled window the program
// draws its frame at its own size into a framebuffer object, which each
// present enlarges onto the window (every pixel becoming scale x scale
// screen pixels); the present hook decides whether a frame is shown at all.

#include <algorithm>

#include "platform/FrameBufferCalls.h"
#include "platform/win32/WindowRecords.h"

using namespace vlo::win32;
using vlo::FrameBufferCalls;
using vlo::frameBufferCalls;

namespace {

// The size in pixels of the frame the program draws in a window.
void frameSizeOf(const WindowRecord& window, int& width, int& height)
{
    RECT client{};
    GetClientRect(window.window, &client);
    width = (client.right - client.left) / window.scale;
    height = (client.bottom - client.top) / window.scale;
}

// A framebuffer object of the window's frame size, bound in the context
// current now and cleared as a new window would be. False, with nothing
// kept, when the driver cannot give one.
bool makeFrameBuffer(const WindowRecord& window, ContextRecord& context)
{
    const FrameBufferCalls& gl = frameBufferCalls();
    if (!gl.complete())
        return false;
    int width = 0;
    int height = 0;
    frameSizeOf(window, width, height);
    if (!vlo::makeColourFrameBuffer(width, height, context.frameBuffer, context.colourBuffer)) {
        gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
        gl.deleteFramebuffers(1, &context.frameBuffer);
        gl.deleteRenderbuffers(1, &context.colourBuffer);
        context.frameBuffer = 0;
        context.colourBuffer = 0;
        return false;
    }
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    return true;
}

// Without a framebuffer object the window goes back to its unscaled size.
void dropScale(WindowRecord& window)
{
    int width = 0;
    int height = 0;
    frameSizeOf(window, width, height);
    window.scale = 1;
    SetWindowPos(window.window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The program's frame enlarged onto the window's back buffer; the program's
// framebuffer bound again after. Of its state only the scissor test acts on
// a blit.
void enlargeFrame(const WindowRecord& window, const ContextRecord& context)
{
    const FrameBufferCalls& gl = frameBufferCalls();
    int width = 0;
    int height = 0;
    frameSizeOf(window, width, height);
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    if (scissor)
        glDisable(GL_SCISSOR_TEST);
    gl.bindFramebuffer(GL_READ_FRAMEBUFFER, context.frameBuffer);
    gl.bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    gl.blitFramebuffer(
        0, 0, width, height, 0, 0, width * window.scale, height * window.scale, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    gl.bindFramebuffer(GL_FRAMEBUFFER, context.frameBuffer);
    if (scissor)
        glEnable(GL_SCISSOR_TEST);
}

// The context current now when it draws into this window.
const ContextRecord* currentContextOn(const WindowRecord& window)
{
    const ContextRecord* current = contextRecordOf(windowRecords().current);
    return current != nullptr && current->window == window.window ? current : nullptr;
}

} // namespace

BOOL vloWglMakeCurrent(HDC dc, HGLRC context)
{
    if (!wglMakeCurrent(dc, context))
        return FALSE;
    WindowRecords& records = windowRecords();
    records.current = context;
    if (context == nullptr)
        return TRUE;
    ContextRecord* record = contextRecordOf(context);
    if (record == nullptr) {
        records.contexts.push_back(ContextRecord{context, WindowFromDC(dc)});
        record = &records.contexts.back();
        WindowRecord* window = recordOf(record->window);
        if (window != nullptr && window->scale > 1 && !makeFrameBuffer(*window, *record))
            dropScale(*window);
    }
    return TRUE;
}

BOOL vloWglDeleteContext(HGLRC context)
{
    WindowRecords& records = windowRecords();
    if (records.current == context)
        vloWglMakeCurrent(nullptr, nullptr);
    // The framebuffer objects go with the context.
    records.contexts.erase(std::remove_if(records.contexts.begin(), records.contexts.end(),
                               [context](const ContextRecord& record) { return record.context == context; }),
        records.contexts.end());
    return wglDeleteContext(context);
}

BOOL vloSwapBuffers(HDC dc)
{
    WindowRecord* window = recordOf(dc);
    if (window == nullptr)
        return SwapBuffers(dc);
    if (window->presentHook != nullptr && !window->presentHook(window->presentOwner, window->damaged))
        return TRUE;
    const ContextRecord* context = currentContextOn(*window);
    if (window->scale > 1 && context != nullptr && context->frameBuffer != 0)
        enlargeFrame(*window, *context);
    const BOOL shown = SwapBuffers(dc);
    window->damaged = false;
    return shown;
}

void vlo::setPresentHook(HDC dc, PresentHook hook, void* owner)
{
    WindowRecord* window = recordOf(dc);
    if (window == nullptr)
        return;
    window->presentHook = hook;
    window->presentOwner = hook != nullptr ? owner : nullptr;
}

unsigned int vlo::drawFrameBuffer(HDC dc)
{
    const WindowRecord* window = recordOf(dc);
    const ContextRecord* context = window != nullptr ? currentContextOn(*window) : nullptr;
    return context != nullptr ? context->frameBuffer : 0;
}

void* vlo::glProcAddress(const char* name)
{
    // Some drivers answer 1, 2, 3 or -1 for an entry point they lack.
    PROC found = wglGetProcAddress(name);
    const intptr_t value = reinterpret_cast<intptr_t>(found);
    if (value >= -1 && value <= 3)
        found = GetProcAddress(GetModuleHandleA("opengl32.dll"), name);
    return reinterpret_cast<void*>(found);
}
