// Device contexts, pixel formats and OpenGL contexts (the WGL calls), on
// SDL's GL support. Every window offers exactly one pixel format, number 1:
// the double-buffered RGBA 8/8/8/8 framebuffer it was created with.

#include <memory>

#include <SDL_opengl.h>

#include "platform/sdl/PlatformData.h"
#include "platform/sdl/ResidentLibraries.h"

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

// The framebuffer-object calls a scaled window needs; null where the
// driver has none.
struct FrameBufferCalls {
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
    PFNGLFRAMEBUFFERTEXTURE2DPROC framebufferTexture2D = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
    PFNGLBLITFRAMEBUFFERPROC blitFramebuffer = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers = nullptr;

    bool complete() const
    {
        return genFramebuffers && bindFramebuffer && genRenderbuffers && bindRenderbuffer && renderbufferStorage
            && framebufferRenderbuffer && framebufferTexture2D && checkFramebufferStatus && blitFramebuffer
            && deleteFramebuffers && deleteRenderbuffers;
    }
};

// Looked up with a context current (GLX hands out the same entry points for
// every context of the process).
const FrameBufferCalls& frameBufferCalls()
{
    static const FrameBufferCalls calls = [] {
        FrameBufferCalls found;
        if (SDL_GL_ExtensionSupported("GL_ARB_framebuffer_object") != SDL_TRUE)
            return found;
        found.genFramebuffers = PFNGLGENFRAMEBUFFERSPROC(SDL_GL_GetProcAddress("glGenFramebuffers"));
        found.bindFramebuffer = PFNGLBINDFRAMEBUFFERPROC(SDL_GL_GetProcAddress("glBindFramebuffer"));
        found.genRenderbuffers = PFNGLGENRENDERBUFFERSPROC(SDL_GL_GetProcAddress("glGenRenderbuffers"));
        found.bindRenderbuffer = PFNGLBINDRENDERBUFFERPROC(SDL_GL_GetProcAddress("glBindRenderbuffer"));
        found.renderbufferStorage = PFNGLRENDERBUFFERSTORAGEPROC(SDL_GL_GetProcAddress("glRenderbufferStorage"));
        found.framebufferRenderbuffer
            = PFNGLFRAMEBUFFERRENDERBUFFERPROC(SDL_GL_GetProcAddress("glFramebufferRenderbuffer"));
        found.framebufferTexture2D = PFNGLFRAMEBUFFERTEXTURE2DPROC(SDL_GL_GetProcAddress("glFramebufferTexture2D"));
        found.checkFramebufferStatus
            = PFNGLCHECKFRAMEBUFFERSTATUSPROC(SDL_GL_GetProcAddress("glCheckFramebufferStatus"));
        found.blitFramebuffer = PFNGLBLITFRAMEBUFFERPROC(SDL_GL_GetProcAddress("glBlitFramebuffer"));
        found.deleteFramebuffers = PFNGLDELETEFRAMEBUFFERSPROC(SDL_GL_GetProcAddress("glDeleteFramebuffers"));
        found.deleteRenderbuffers = PFNGLDELETERENDERBUFFERSPROC(SDL_GL_GetProcAddress("glDeleteRenderbuffers"));
        return found;
    }();
    return calls;
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

// A framebuffer object with one RGBA 8/8/8/8 colour buffer of this size,
// bound now. False when the driver cannot complete it; the names made are
// in the arguments either way.
bool makeColourFrameBuffer(int width, int height, unsigned int& frameBuffer, unsigned int& colourBuffer)
{
    const FrameBufferCalls& gl = frameBufferCalls();
    gl.genRenderbuffers(1, &colourBuffer);
    gl.bindRenderbuffer(GL_RENDERBUFFER, colourBuffer);
    gl.renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    gl.bindRenderbuffer(GL_RENDERBUFFER, 0);
    gl.genFramebuffers(1, &frameBuffer);
    gl.bindFramebuffer(GL_FRAMEBUFFER, frameBuffer);
    gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colourBuffer);
    return gl.checkFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

// Copies a whole frame from one framebuffer to another with a nearest blit
// (an exact copy where the sizes are equal, each pixel enlarged to a block
// where the second is a whole multiple), upside down when asked, then binds
// the program's framebuffer again.
void blitFrame(const PlatformGLContext& context, unsigned int from, int fromWidth, int fromHeight, unsigned int to,
    int toWidth, int toHeight, bool upsideDown = false)
{
    const FrameBufferCalls& gl = frameBufferCalls();
    // Of the program's state only the scissor test acts on a blit.
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    if (scissor)
        glDisable(GL_SCISSOR_TEST);
    gl.bindFramebuffer(GL_READ_FRAMEBUFFER, from);
    gl.bindFramebuffer(GL_DRAW_FRAMEBUFFER, to);
    gl.blitFramebuffer(0, 0, fromWidth, fromHeight, 0, upsideDown ? toHeight : 0, toWidth, upsideDown ? 0 : toHeight,
        GL_COLOR_BUFFER_BIT, GL_NEAREST);
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
        blitFrame(*context, context->frameBuffer, width, height, 0, width * window.scale, height * window.scale);
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
    // Loading the driver ran its compiler's start-up code.
    data.codeTrim.afterContextCreated();
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
    if (window->presentFilter != nullptr && !window->presentFilter(window->presentOwner, window->damaged))
        return TRUE;
    presentFrame(*window);
    window->damaged = false;
    // The frame may have had the driver compile new shaders.
    platformData().codeTrim.afterPresent();
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

namespace {

void dropCopy(PlatformGLContext& context)
{
    const FrameBufferCalls& gl = frameBufferCalls();
    if (context.copyFrameBuffer != 0)
        gl.deleteFramebuffers(1, &context.copyFrameBuffer);
    if (context.copyColourBuffer != 0)
        gl.deleteRenderbuffers(1, &context.copyColourBuffer);
    if (context.copyTexture != 0)
        glDeleteTextures(1, &context.copyTexture);
    context.copyFrameBuffer = 0;
    context.copyColourBuffer = 0;
    context.copyTexture = 0;
    context.copyWidth = 0;
    context.copyHeight = 0;
}

// The copy of a frame drawn in the window: a texture in the layout the
// driver picks for BGRA bytes, bound now, which is the window's own layout
// on common drivers. Copies between buffers of one layout can be plain
// memory copies; Mesa does that only when the rows also run the same way in
// memory, and the window's rows run the other way from a framebuffer
// object's, so this copy is kept upside down. False when the driver cannot
// complete it or gives fewer than 8 bits a channel.
bool makeWindowCopy(int width, int height, PlatformGLContext& context)
{
    const FrameBufferCalls& gl = frameBufferCalls();
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGenTextures(1, &context.copyTexture);
    glBindTexture(GL_TEXTURE_2D, context.copyTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    bool deep = true;
    for (const GLenum channel :
        {GL_TEXTURE_RED_SIZE, GL_TEXTURE_GREEN_SIZE, GL_TEXTURE_BLUE_SIZE, GL_TEXTURE_ALPHA_SIZE}) {
        GLint bits = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, channel, &bits);
        deep = deep && bits >= 8;
    }
    glBindTexture(GL_TEXTURE_2D, GLuint(bound));
    gl.genFramebuffers(1, &context.copyFrameBuffer);
    gl.bindFramebuffer(GL_FRAMEBUFFER, context.copyFrameBuffer);
    gl.framebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, context.copyTexture, 0);
    return deep && gl.checkFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

// The current context and its live window, or false.
bool currentDrawing(PlatformGLContext*& context, PlatformWindow*& window)
{
    context = platformData().currentContext;
    window = context != nullptr ? liveWindow(context->window) : nullptr;
    return window != nullptr && frameBufferCalls().complete();
}

} // namespace

bool vlo::saveFrameCopy()
{
    PlatformGLContext* context = nullptr;
    PlatformWindow* window = nullptr;
    if (!currentDrawing(context, window))
        return false;
    int width = 0;
    int height = 0;
    frameSizeOf(*window, width, height);
    if (width <= 0 || height <= 0)
        return false;
    if (context->copyFrameBuffer == 0 || context->copyWidth != width || context->copyHeight != height) {
        dropCopy(*context);
        const bool complete = context->frameBuffer == 0
            ? makeWindowCopy(width, height, *context)
            : makeColourFrameBuffer(width, height, context->copyFrameBuffer, context->copyColourBuffer);
        frameBufferCalls().bindFramebuffer(GL_FRAMEBUFFER, context->frameBuffer);
        if (!complete) {
            dropCopy(*context);
            return false;
        }
        context->copyWidth = width;
        context->copyHeight = height;
        context->copyRestored = false;
        // The first copies have the driver compile their blits.
        platformData().codeTrim.afterNewDriverWork();
    }
    blitFrame(*context, context->frameBuffer, width, height, context->copyFrameBuffer, width, height,
        context->copyTexture != 0);
    return true;
}

bool vlo::restoreFrameCopy()
{
    PlatformGLContext* context = nullptr;
    PlatformWindow* window = nullptr;
    if (!currentDrawing(context, window) || context->copyFrameBuffer == 0)
        return false;
    int width = 0;
    int height = 0;
    frameSizeOf(*window, width, height);
    if (width != context->copyWidth || height != context->copyHeight)
        return false;
    blitFrame(*context, context->copyFrameBuffer, width, height, context->frameBuffer, width, height,
        context->copyTexture != 0);
    if (!context->copyRestored) {
        context->copyRestored = true;
        platformData().codeTrim.afterNewDriverWork();
    }
    return true;
}

void vlo::dropFrameCopy()
{
    PlatformGLContext* context = nullptr;
    PlatformWindow* window = nullptr;
    if (currentDrawing(context, window))
        dropCopy(*context);
}
