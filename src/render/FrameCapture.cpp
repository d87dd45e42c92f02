#include "render/FrameCapture.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstring>

namespace vlo {

bool captureFrame(CapturedFrame& frame)
{
    frame = CapturedFrame();
    // Errors left by earlier calls must not be taken for the read's own.
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) { }
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    const int width = viewport[2];
    const int height = viewport[3];
    if (width <= 0 || height <= 0)
        return false;

    const size_t rowBytes = size_t(width) * 4;
    std::vector<uint8_t> bottomUp(rowBytes * size_t(height));
    // Rows packed without padding, as the buffer is laid out.
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(viewport[0], viewport[1], width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    if (glGetError() != GL_NO_ERROR)
        return false;

    // GL counts rows from the bottom; the frame starts with the top row.
    frame.rgba.resize(bottomUp.size());
    for (int y = 0; y < height; ++y)
        std::memcpy(
            frame.rgba.data() + size_t(y) * rowBytes, bottomUp.data() + size_t(height - 1 - y) * rowBytes, rowBytes);
    frame.width = width;
    frame.height = height;
    return true;
}

} // namespace vlo
