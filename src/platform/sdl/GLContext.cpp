// Device contexts, pixel formats and OpenGL contexts (the WGL calls), on
// SDL's GL support. Every window offers exactly one pixel format, number 1:
// the double-buffered RGBA 8/8/8/8 framebuffer it was created with.

#include <memory>

#include "platform/sdl/PlatformData.h"
#include "platform/sdl/ResidentLibraries.h"

using vlo::sdl::PlatformData;
using vlo::sdl::liveWindow;
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
    // SDL makes the new context current; WGL does not. Put back what was
    // current before.
    PlatformGLContext* previous = data.currentContext;
    PlatformWindow* previousWindow = previous != nullptr ? liveWindow(previous->window) : nullptr;
    if (previousWindow != nullptr)
        SDL_GL_MakeCurrent(previousWindow->sdl, previous->sdl);
    else
        SDL_GL_MakeCurrent(window->sdl, nullptr);

    auto context = std::make_unique<PlatformGLContext>();
    context->sdl = created;
    context->window = window;
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
    if (window == nullptr || context == nullptr || context->window == nullptr ||
        window->pixelFormat == 0)
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
    if (window->presentFilter != nullptr &&
        !window->presentFilter(window->presentOwner, window->damaged))
        return TRUE;
    SDL_GL_SwapWindow(window->sdl);
    window->damaged = false;
    return TRUE;
}

void vlo::setPresentFilter(HDC dc, PresentFilter filter, void* owner)
{
    PlatformWindow* window = windowOf(dc);
    if (window == nullptr)
        return;
    window->presentFilter = filter;
    window->presentOwner = filter != nullptr ? owner : nullptr;
}
