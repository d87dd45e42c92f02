// Top-level windows: creation, showing, text and destruction.

#include <algorithm>
#include <memory>

#include "platform/sdl/DesktopScale.h"
#include "platform/sdl/PlatformData.h"
#include "platform/sdl/ResidentLibraries.h"
#include "platform/sdl/WindowIcon.h"

using vlo::sdl::liveWindow;
using vlo::sdl::PlatformData;
using vlo::sdl::platformData;

namespace {

// Window texts are ANSI bytes; SDL wants UTF-8. Bytes above 0x7F are taken as
// Latin-1, so no text can reach SDL as invalid UTF-8.
std::string ansiToUtf8(const char* text)
{
    std::string utf8;
    for (const char* p = text; p != nullptr && *p != '\0'; ++p) {
        const unsigned char byte = static_cast<unsigned char>(*p);
        if (byte < 0x80) {
            utf8 += char(byte);
        } else {
            utf8 += char(0xC0 | (byte >> 6));
            utf8 += char(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

// The framebuffer every window gets, so that any window can take an OpenGL
// 1.1 context later: double-buffered RGBA 8/8/8/8 without depth or stencil,
// compatibility profile (immediate mode and GLU need it). SDL reads these
// when the window is created, not when the context is.
void setFramebufferAttributes()
{
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
}

LRESULT send(PlatformWindow* window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (window->procedure == nullptr)
        return 0;
    return window->procedure(window, message, wParam, lParam);
}

} // namespace

HWND CreateWindowExA(DWORD, const char* className, const char* windowName, DWORD style, int x, int y, int width,
    int height, HWND, HMENU, HINSTANCE, void*)
{
    PlatformData& data = platformData();
    if (className == nullptr || width <= 0 || height <= 0)
        return nullptr;
    const auto found = data.classes.find(className);
    if (found == data.classes.end())
        return nullptr;
    if (!vlo::sdl::ensureVideo())
        return nullptr;
    // With no display SDL runs its offscreen driver and would hand out a
    // window nobody can see; only headless tools and tests want that.
    if (vlo::sdl::offscreenDriver() && !data.offscreenAllowed)
        return nullptr;

    setFramebufferAttributes();
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_BORDERLESS;
    flags |= (style & WS_VISIBLE) != 0 ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN;
    SDL_Window* sdlWindow = SDL_CreateWindow(ansiToUtf8(windowName).c_str(), x, y, width, height, flags);
    if (sdlWindow == nullptr)
        return nullptr;
    vlo::sdl::setWindowIcon(sdlWindow);
    // An OpenGL window has just loaded the GL driver.
    vlo::sdl::keepLoadedLibrariesResident();
    // On a high-density desktop the window takes the desktop's whole-number
    // scale: larger on the screen by that much, placed in the same shrunk
    // screen coordinates that the program is given.
    const int scale = vlo::sdl::desktopScale(sdlWindow, width, height);
    if (scale > 1) {
        SDL_SetWindowSize(sdlWindow, width * scale, height * scale);
        SDL_SetWindowPosition(sdlWindow, x * scale, y * scale);
    }

    auto window = std::make_unique<PlatformWindow>();
    window->sdl = sdlWindow;
    window->sdlId = SDL_GetWindowID(sdlWindow);
    window->procedure = found->second.lpfnWndProc;
    window->classStyle = found->second.style;
    window->className = className;
    window->text = windowName != nullptr ? windowName : "";
    window->deviceContext.window = window.get();
    window->scale = scale;
    PlatformWindow* handle = window.get();
    data.windows.push_back(std::move(window));

    // A procedure that answers WM_CREATE with -1 refuses the window.
    if (send(handle, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    return handle;
}

BOOL ShowWindow(HWND handle, int command)
{
    PlatformWindow* window = liveWindow(handle);
    if (window == nullptr)
        return FALSE;
    // The result is whether the window was visible before.
    const BOOL wasVisible = (SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_SHOWN) != 0;
    switch (command) {
    case SW_HIDE:
        SDL_HideWindow(window->sdl);
        break;
    case SW_SHOWMINNOACTIVE:
        // Minimised without taking the focus from another window.
        SDL_ShowWindow(window->sdl);
        SDL_MinimizeWindow(window->sdl);
        break;
    case SW_RESTORE:
        // Brought back and to the front, as a task bar click does.
        SDL_ShowWindow(window->sdl);
        SDL_RestoreWindow(window->sdl);
        SDL_RaiseWindow(window->sdl);
        break;
    default:
        SDL_ShowWindow(window->sdl);
        if ((SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_MINIMIZED) != 0)
            SDL_RestoreWindow(window->sdl);
        break;
    }
    return wasVisible;
}

BOOL UpdateWindow(HWND handle)
{
    // Nothing is ever invalidated: the program redraws the whole window every
    // frame, so there is no WM_PAINT to send.
    return liveWindow(handle) != nullptr ? TRUE : FALSE;
}

BOOL SetWindowTextA(HWND handle, const char* text)
{
    PlatformWindow* window = liveWindow(handle);
    if (window == nullptr)
        return FALSE;
    window->text = text != nullptr ? text : "";
    SDL_SetWindowTitle(window->sdl, ansiToUtf8(text).c_str());
    return TRUE;
}

int GetWindowTextA(HWND handle, char* text, int capacity)
{
    PlatformWindow* window = liveWindow(handle);
    if (window == nullptr || text == nullptr || capacity <= 0)
        return 0;
    const size_t copied = std::min(window->text.size(), size_t(capacity - 1));
    window->text.copy(text, copied);
    text[copied] = '\0';
    return int(copied);
}

BOOL DestroyWindow(HWND handle)
{
    PlatformData& data = platformData();
    PlatformWindow* window = liveWindow(handle);
    if (window == nullptr)
        return FALSE;
    // The procedure sees WM_DESTROY while the window still exists.
    send(window, WM_DESTROY, 0, 0);
    if (data.capture == handle) {
        SDL_CaptureMouse(SDL_FALSE);
        data.capture = nullptr;
    }
    data.timers.killAllOf(handle);
    // Messages still queued for it could only reach a dangling handle.
    data.queue.removeFor(handle);
    for (auto& context : data.contexts) {
        if (context->window == handle) {
            if (data.currentContext == context.get()) {
                SDL_GL_MakeCurrent(window->sdl, nullptr);
                data.currentContext = nullptr;
            }
            // The context outlives the window but can no longer be made
            // current: wglMakeCurrent refuses a context without its window.
            context->window = nullptr;
        }
    }
    SDL_DestroyWindow(window->sdl);
    for (auto it = data.windows.begin(); it != data.windows.end(); ++it) {
        if (it->get() == window) {
            data.windows.erase(it);
            break;
        }
    }
    return TRUE;
}
