#pragma once
// A window of the SDL back end; never included outside src/platform/.

#include <string>

#include <SDL.h>

#include "platform/Platform.h"
#include "platform/sdl/PlatformState.h"

// One top-level window: the SDL window behind an HWND, the procedure of its
// class, and its one device context (the class style CS_OWNDC is implied:
// every window keeps a single device context for its whole life).
struct PlatformWindow {
    SDL_Window* sdl = nullptr;
    Uint32 sdlId = 0;
    WNDPROC procedure = nullptr;
    UINT classStyle = 0;
    std::string className;
    // The window text as the program gave it (ANSI bytes, not UTF-8).
    std::string text;
    PlatformDeviceContext deviceContext;
    // Pixel format chosen with SetPixelFormat; 0 until then.
    int pixelFormat = 0;
    // Run before each present; see setPresentHook.
    vlo::PresentHook presentHook = nullptr;
    void* presentOwner = nullptr;
    // Asked where a press grabs the window; see setDragAreaTest.
    vlo::DragAreaTest dragAreaTest = nullptr;
    void* dragAreaOwner = nullptr;
    // Exposed, resized or shown again since the last present (and before the
    // first one): the next present must not be skipped.
    bool damaged = true;
    // Screen pixels per window pixel. On a high-density desktop the window
    // is this many times larger on the screen than the program thinks, and
    // every frame is enlarged as a whole when it is presented.
    int scale = 1;
};

// An OpenGL rendering context and the window it was created for.
struct PlatformGLContext {
    SDL_GLContext sdl = nullptr;
    HWND window = nullptr;
    // On a scaled window the program draws into this framebuffer object of
    // the window's own size, which is enlarged onto the window when the
    // frame is presented; 0 at scale 1.
    unsigned int frameBuffer = 0;
    unsigned int colourBuffer = 0;
};

// The program's one module instance; only its address matters.
struct PlatformInstance {
    int unused = 0;
};
