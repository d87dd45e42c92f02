#pragma once

namespace vlo {

// A copy of the pixels of the frame being drawn in the current OpenGL
// context, for frames that begin with the same drawing: save takes what the
// frame's framebuffer holds so far, restore writes it back over the whole
// frame. Both copies are exact (nearest blits between buffers of one size).
// The copy lives in framebuffer objects of the context; drop frees them,
// and so does the release of the context.
class FrameCopy {
public:
    // drawBuffer is the framebuffer the frame is drawn into (0 the window's
    // back buffer), width x height its size in pixels; it is bound again
    // afterwards. False, with nothing kept, where the context cannot copy
    // framebuffers.
    bool save(unsigned int drawBuffer, int width, int height);
    // False, with nothing done, when no copy of that size is kept.
    bool restore(unsigned int drawBuffer, int width, int height);
    void drop();

private:
    bool make(bool ofWindow, int width, int height);
    bool makeWindowCopy(int width, int height);

    // Whether the context has framebuffer objects: -1 not asked yet.
    int supported_ = -1;
    unsigned int frameBuffer_ = 0;
    unsigned int colourBuffer_ = 0;
    unsigned int texture_ = 0;
    int width_ = 0;
    int height_ = 0;
};

} // namespace vlo
