#pragma once
#include <vector>

#include "render/FrameList.h"

namespace vlo {

// The part of the OpenGL state that decides whether a quad overwrites every
// pixel of the window, followed operation by operation as the renderer sends
// them: the polygon mode, blending, the modelview matrix and the depth of the
// attribute and matrix stacks. It starts from OpenGL's defaults (fill, no
// blending, identity) on a fresh context. Once a stack could have overflowed
// the state is no longer known and nothing is claimed any more.
class CoverState {
public:
    // maxDepth: pushes the attribute and modelview stacks both take.
    explicit CoverState(int maxDepth = 0);

    // The view: width x height GUI units over clientWidth x clientHeight
    // pixels, origin top-left (the renderer's projection).
    void setView(float width, float height, int clientWidth, int clientHeight);

    // Follows the operation at pos of the list.
    void apply(const FrameList& list, size_t pos);

    // True when the quad at pos, drawn in the current state, writes every
    // pixel of the window without reading what was there: filled, blending
    // off or ONE, ZERO, and its corners, through the modelview matrix, beyond
    // the centres of the outermost pixels.
    bool coversWindow(const FrameList& list, size_t pos) const;

    // False once a stack could have overflowed.
    bool known() const { return known_; }

    // OpenGL's own state as read back from the context.
    struct Reading {
        int polygonModes[2] = {0, 0}; // front, back
        int matrixMode = 0;
        int viewport[4] = {0, 0, 0, 0};
        bool blend = false;
        int blendSource = 0;
        int blendDestination = 0;
        float modelview[16] = {};
        float projection[16] = {};
    };
    // Whether the reading is the state followed here: the polygon mode of
    // both faces, blending and its factors, the modelview matrix current,
    // the view's viewport and projection, and the modelview matrix (within
    // the rounding by which this matrix may differ from OpenGL's).
    bool matches(const Reading& reading) const;

private:
    struct Attributes {
        unsigned polygonMode = 0x1B02; // GL_FILL
        bool blend = false;
        unsigned source = 1;      // GL_ONE
        unsigned destination = 0; // GL_ZERO
    };
    // Column-major 4 x 4, as OpenGL keeps it.
    struct Matrix {
        float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    };

    void multiply(const Matrix& right);

    int maxDepth_;
    bool known_ = true;
    Attributes attributes_;
    Matrix modelview_;
    std::vector<Attributes> savedAttributes_;
    std::vector<Matrix> savedMatrices_;
    float viewWidth_ = 0.0f;
    float viewHeight_ = 0.0f;
    float pixelsPerUnitX_ = 0.0f;
    float pixelsPerUnitY_ = 0.0f;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
};

} // namespace vlo
