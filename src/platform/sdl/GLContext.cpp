// Device contexts, pixel formats and OpenGL contexts (the WGL calls), on
// SDL's GL support. Every window offers exactly one pixel format, number 1:
// the double-buffered RGBA 8/8/8/8 framebuffer it was created with.

#include <memory>

#include <SDL_opengl.h>

#include "platform/FrameBufferCalls.h"
#include "platform/sdl/PlatformData.h"
#include "platform/sdl/ResidentLibraries.h"

using vlo::frameBufferCalls;
using vlo::FrameBufferCalls;
using vlo::makeColourFrameBuffer;
using vlo::sdl::liveWindow;
using vlo::sdl::PlatformData;
using vlo::sdl::platformData;

namespace {

constexpr int OnlyPixelFormat = 1;

// The live window that owns a device context; a context of a destroyed
// window is found in none and is never read.
PlatformWindow* windowOf(HDC dc)
{
    if (dc == nullptr)
        return nullptr;
    for (const auto& live : platformData().windows) {
        if (&live->deviceContext == dc)
            return live.get();
    }
    return nullptr;
}

PlatformGLContext* liveContext(HGLRC context)
{
    for (const auto& live : platformData().contexts) {
        if (live.get() == context)
            return live.get();
    }
    return nullptr;
}

// Vertical sync where the driver offers it: adaptive first (a late frame
// is shown at once instead of waiting a whole refresh), then plain. A
// driver that refuses both (Xvfb) presents as before. Applies to the
// context current now.
void chooseSwapInterval()
{
    if (SDL_GL_SetSwapInterval(-1) != 0)
        SDL_GL_SetSwapInterval(1);
}

// The size in pixels of the frame the program draws in a window: the
// window's own size divided by its scale.
void frameSizeOf(PlatformWindow& window, int& width, int& height)
{
    SDL_GetWindowSize(window.sdl, &width, &height);
    width /= window.scale;
    height /= window.scale;
}

// Enlarges the program's frame onto the window's back buffer with a nearest
// blit (each pixel becomes scale x scale screen pixels), then binds the
// program's framebuffer again.
void enlargeFrame(const PlatformGLContext& context, int width, int height, int scale)
{
    const FrameBufferCalls& gl = frameBufferCalls();
    // Of the program's state only the scissor test acts on a blit.
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    if (scissor)
        glDisable(GL_SCISSOR_TEST);
    gl.bindFramebuffer(GL_READ_FRAMEBUFFER, context.frameBuffer);
    gl.bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    gl.blitFramebuffer(0, 0, width, height, 0, 0, width * scale, height * scale, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    gl.bindFramebuffer(GL_FRAMEBUFFER, context.frameBuffer);
    if (scissor)
        glEnable(GL_SCISSOR_TEST);
}

// For a scaled window: a framebuffer object of the window's own size, bound
// in the context current now, so that the program draws its frame at its
// own size. False when the driver cannot give one.
bool makeFrameBuffer(PlatformWindow& window, PlatformGLContext& context)
{
    if (!frameBufferCalls().complete())
        return false;
    int width = 0;
    int height = 0;
    frameSizeOf(window, width, height);
    if (!makeColourFrameBuffer(width, height, context.frameBuffer, context.colourBuffer)) {
        // The objects go with the context; the window draws unscaled.
        frameBufferCalls().bindFramebuffer(GL_FRAMEBUFFER, 0);
        context.frameBuffer = 0;
        context.colourBuffer = 0;
        return false;
    }
    // The frame starts as the window would: cleared to black.
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    return true;
}

// Shows the frame drawn in the window: at scale 1 the back buffer as it is;
// on a scaled window the program's frame enlarged as a whole (each pixel
// becomes scale x scale screen pixels) onto the back buffer first.
void presentFrame(PlatformWindow& window)
{
    const PlatformGLContext* context = platformData().currentContext;
    if (window.scale > 1 && context != nullptr && context->window == &window && context->frameBuffer != 0) {
        int width = 0;
        int height = 0;
        frameSizeOf(window, width, height);
        enlargeFrame(*context, width, height, window.scale);
    }
    SDL_GL_SwapWindow(window.sdl);
}

} // namespace

HDC GetDC(HWND handle)
{
    PlatformWindow* window = liveWindow(handle);
    return window != nullptr ? &window->deviceContext : nullptr;
}

int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor)
{
    if (windowOf(dc) == nullptr || descriptor == nullptr)
        return 0;
    const DWORD needed = PFD_SUPPORT_OPENGL | PFD_DRAW_TO_WINDOW;
    return (descriptor->dwFlags & needed) == needed ? OnlyPixelFormat : 0;
}

BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR*)
{
    PlatformWindow* window = windowOf(dc);
    if (window == nullptr || format != OnlyPixelFormat)
        return FALSE;
    window->pixelFormat = format;
    return TRUE;
}

HGLRC wglCreateContext(HDC dc)
{
    PlatformData& data = platformData();
    PlatformWindow* window = windowOf(dc);
    // As with WGL, the window needs its pixel format first.
    if (window == nullptr || window->pixelFormat == 0)
        return nullptr;
    SDL_GLContext created = SDL_GL_CreateContext(window->sdl);
    if (created == nullptr)
        return nullptr;
    vlo::sdl::keepLoadedLibrariesResident();
    auto context = std::make_unique<PlatformGLContext>();
    context->sdl = created;
    context->window = window;
    // While the new context is current: its swap interval, and on a scaled
    // window the framebuffer object the program draws into. Without one the
    // window goes back to its unscaled size.
    chooseSwapInterval();
    if (window->scale > 1 && !makeFrameBuffer(*window, *context)) {
        int width = 0;
        int height = 0;
        frameSizeOf(*window, width, height);
        SDL_SetWindowSize(window->sdl, width, height);
        window->scale = 1;
    }
    // SDL makes the new context current; WGL does not. Put back what was
    // current before.
    PlatformGLContext* previous = data.currentContext;
    PlatformWindow* previousWindow = previous != nullptr ? liveWindow(previous->window) : nullptr;
    if (previousWindow != nullptr)
        SDL_GL_MakeCurrent(previousWindow->sdl, previous->sdl);
    else
        SDL_GL_MakeCurrent(window->sdl, nullptr);

    HGLRC handle = context.get();
    data.contexts.push_back(std::move(context));
    return handle;
}

BOOL wglMakeCurrent(HDC dc, HGLRC handle)
{
    PlatformData& data = platformData();
    if (handle == nullptr) {
        // Releases the current context, whatever dc says.
        PlatformGLContext* current = data.currentContext;
        PlatformWindow* window = current != nullptr ? liveWindow(current->window) : nullptr;
        if (data.videoReady)
            SDL_GL_MakeCurrent(window != nullptr ? window->sdl : nullptr, nullptr);
        data.currentContext = nullptr;
        return TRUE;
    }
    PlatformWindow* window = windowOf(dc);
    PlatformGLContext* context = liveContext(handle);
    if (window == nullptr || context == nullptr || context->window == nullptr || window->pixelFormat == 0)
        return FALSE;
    if (SDL_GL_MakeCurrent(window->sdl, context->sdl) != 0)
        return FALSE;
    data.currentContext = context;
    return TRUE;
}

BOOL wglDeleteContext(HGLRC handle)
{
    PlatformData& data = platformData();
    PlatformGLContext* context = liveContext(handle);
    if (context == nullptr)
        return FALSE;
    if (data.currentContext == context)
        wglMakeCurrent(nullptr, nullptr);
    SDL_GL_DeleteContext(context->sdl);
    for (auto it = data.contexts.begin(); it != data.contexts.end(); ++it) {
        if (it->get() == context) {
            data.contexts.erase(it);
            break;
        }
    }
    return TRUE;
}

BOOL SwapBuffers(HDC dc)
{
    PlatformWindow* window = windowOf(dc);
    if (window == nullptr)
        return FALSE;
    if (window->presentHook != nullptr && !window->presentHook(window->presentOwner, window->damaged))
        return TRUE;
    presentFrame(*window);
    window->damaged = false;
    return TRUE;
}

void vlo::setPresentHook(HDC dc, PresentHook hook, void* owner)
{
    PlatformWindow* window = windowOf(dc);
    if (window == nullptr)
        return;
    window->presentHook = hook;
    window->presentOwner = hook != nullptr ? owner : nullptr;
}

unsigned int vlo::drawFrameBuffer(HDC dc)
{
    PlatformWindow* window = windowOf(dc);
    if (window == nullptr)
        return 0;
    const PlatformGLContext* current = platformData().currentContext;
    return current != nullptr && current->window == window ? current->frameBuffer : 0;
}

void* vlo::glProcAddress(const char* name)
{
    return SDL_GL_GetProcAddress(name);
}
