#pragma once
#include <cstdint>
#include <vector>

namespace vlo {

// One frame as drawn: width x height pixels, RGBA with 8 bits per component,
// rows from the top of the window down (origin top-left, as window pixels).
struct CapturedFrame {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;
};

// Reads what the current OpenGL context has drawn since the last
// SwapBuffers: the back buffer over the whole viewport. Call it before the
// swap; afterwards the back buffer's content is undefined (under Xvfb it is
// not kept). False, with the frame left empty, when there is no viewport to
// read or GL reports an error.
bool captureFrame(CapturedFrame& frame);

} // namespace vlo
