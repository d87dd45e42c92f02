#include "render/FrameCopy.h"

#include <initializer_list>

#include "platform/FrameBufferCalls.h"

namespace vlo {

namespace {

// A whole frame from one framebuffer to another of the same size, upside
// down when asked, then the frame's own framebuffer bound again.
void blit(unsigned int from, unsigned int to, int width, int height, bool upsideDown, unsigned int drawBuffer)
{
    const FrameBufferCalls& gl = frameBufferCalls();
    gl.bindFramebuffer(GL_READ_FRAMEBUFFER, from);
    gl.bindFramebuffer(GL_DRAW_FRAMEBUFFER, to);
    gl.blitFramebuffer(0, 0, width, height, 0, upsideDown ? height : 0, width, upsideDown ? 0 : height,
        GL_COLOR_BUFFER_BIT, GL_NEAREST);
    gl.bindFramebuffer(GL_FRAMEBUFFER, drawBuffer);
}

} // namespace

void FrameCopy::drop()
{
    const FrameBufferCalls& gl = frameBufferCalls();
    if (frameBuffer_ != 0)
        gl.deleteFramebuffers(1, &frameBuffer_);
    if (colourBuffer_ != 0)
        gl.deleteRenderbuffers(1, &colourBuffer_);
    if (texture_ != 0)
        glDeleteTextures(1, &texture_);
    frameBuffer_ = 0;
    colourBuffer_ = 0;
    texture_ = 0;
    width_ = 0;
    height_ = 0;
}

// The copy of a frame drawn in the window: a texture in the layout the
// driver picks for BGRA bytes, which is the window's own layout on common
// drivers. Copies between buffers of one layout can be plain memory copies;
// Mesa does that only when the rows also run the same way in memory, and the
// window's rows run the other way from a framebuffer object's, so this copy
// is kept upside down. False when the driver gives fewer than 8 bits a
// channel.
bool FrameCopy::makeWindowCopy(int width, int height)
{
    const FrameBufferCalls& gl = frameBufferCalls();
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGenTextures(1, &texture_);
    glBindTexture(GL_TEXTURE_2D, texture_);
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
    gl.genFramebuffers(1, &frameBuffer_);
    gl.bindFramebuffer(GL_FRAMEBUFFER, frameBuffer_);
    gl.framebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture_, 0);
    return deep;
}

// Of a frame drawn into a framebuffer object (a window the desktop scales),
// a renderbuffer like it.
bool FrameCopy::make(bool ofWindow, int width, int height)
{
    if (!ofWindow)
        return makeColourFrameBuffer(width, height, frameBuffer_, colourBuffer_);
    const bool deep = makeWindowCopy(width, height);
    return deep && frameBufferCalls().checkFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

bool FrameCopy::save(unsigned int drawBuffer, int width, int height)
{
    const FrameBufferCalls& gl = frameBufferCalls();
    if (supported_ < 0)
        supported_ = frameBufferCalls().complete() ? 1 : 0;
    if (supported_ == 0 || width <= 0 || height <= 0)
        return false;
    if (frameBuffer_ == 0 || width != width_ || height != height_) {
        drop();
        const bool made = make(drawBuffer == 0, width, height);
        gl.bindFramebuffer(GL_FRAMEBUFFER, drawBuffer);
        if (!made) {
            drop();
            return false;
        }
        width_ = width;
        height_ = height;
    }
    blit(drawBuffer, frameBuffer_, width, height, texture_ != 0, drawBuffer);
    return true;
}

bool FrameCopy::restore(unsigned int drawBuffer, int width, int height)
{
    if (frameBuffer_ == 0 || width != width_ || height != height_)
        return false;
    blit(frameBuffer_, drawBuffer, width, height, texture_ != 0, drawBuffer);
    return true;
}

} // namespace vlo
