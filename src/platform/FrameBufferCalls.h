#pragma once
// The OpenGL 3.0 framebuffer-object entry points (GL_ARB_framebuffer_object)
// that frame saving and the scaled window's frame use. They are not part of
// the OpenGL 1.1 every system exports, so they are looked up at run time
// through the window system (SDL's GL loader, wglGetProcAddress).

#include "platform/Win32.h"

#include <GL/gl.h>
#include <GL/glext.h>

namespace vlo {

struct FrameBufferCalls {
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
    PFNGLFRAMEBUFFERTEXTURE2DPROC framebufferTexture2D = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
    PFNGLBLITFRAMEBUFFERPROC blitFramebuffer = nullptr;

    // Every entry point found.
    bool complete() const;
};

// The calls of the context current now, all null where it has no
// framebuffer objects. Asked first with a context current; the program's
// contexts all have the same pixel format, so the answer holds for all.
const FrameBufferCalls& frameBufferCalls();

// A framebuffer object with one RGBA 8/8/8/8 colour buffer of this size,
// bound now. False when the driver cannot complete it; the names made are
// in the arguments either way.
bool makeColourFrameBuffer(int width, int height, unsigned int& frameBuffer, unsigned int& colourBuffer);

// The address of an OpenGL entry point of the context current now, null
// when the driver has none (given by the window-system back end).
void* glProcAddress(const char* name);

} // namespace vlo
