#include "platform/FrameBufferCalls.h"

#include <cstdlib>
#include <cstring>

namespace vlo {

namespace {

bool contextHasFrameBuffers()
{
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (version != nullptr && std::atoi(version) >= 3)
        return true;
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return extensions != nullptr && std::strstr(extensions, "GL_ARB_framebuffer_object") != nullptr;
}

template <typename Call> void find(Call& call, const char* name)
{
    call = reinterpret_cast<Call>(glProcAddress(name));
}

} // namespace

bool FrameBufferCalls::complete() const
{
    return genFramebuffers && deleteFramebuffers && bindFramebuffer && genRenderbuffers && deleteRenderbuffers
        && bindRenderbuffer && renderbufferStorage && framebufferRenderbuffer && framebufferTexture2D
        && checkFramebufferStatus && blitFramebuffer;
}

const FrameBufferCalls& frameBufferCalls()
{
    static const FrameBufferCalls calls = [] {
        FrameBufferCalls found;
        if (!contextHasFrameBuffers())
            return found;
        find(found.genFramebuffers, "glGenFramebuffers");
        find(found.deleteFramebuffers, "glDeleteFramebuffers");
        find(found.bindFramebuffer, "glBindFramebuffer");
        find(found.genRenderbuffers, "glGenRenderbuffers");
        find(found.deleteRenderbuffers, "glDeleteRenderbuffers");
        find(found.bindRenderbuffer, "glBindRenderbuffer");
        find(found.renderbufferStorage, "glRenderbufferStorage");
        find(found.framebufferRenderbuffer, "glFramebufferRenderbuffer");
        find(found.framebufferTexture2D, "glFramebufferTexture2D");
        find(found.checkFramebufferStatus, "glCheckFramebufferStatus");
        find(found.blitFramebuffer, "glBlitFramebuffer");
        if (!found.complete())
            found = FrameBufferCalls{};
        return found;
    }();
    return calls;
}

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

} // namespace vlo
