#include "render/CoverState.h"

#include <cmath>

namespace vlo {

namespace {

// The GL enumerants the state compares with.
constexpr unsigned GlZero = 0;
constexpr unsigned GlOne = 1;
constexpr unsigned GlFill = 0x1B02;
constexpr int GlModelview = 0x1700;

// How far, in pixels, the quad must reach past the centres of the outermost
// pixels: far more than the rasteriser's sub-pixel precision and the rounding
// by which this matrix may differ from OpenGL's.
constexpr float CoverMarginPixels = 0.25f;

constexpr float DegreesToRadians = 3.14159265358979f / 180.0f;

} // namespace

CoverState::CoverState(int maxDepth)
    : maxDepth_(maxDepth)
{
}

void CoverState::setView(float width, float height, int clientWidth, int clientHeight)
{
    viewWidth_ = width;
    viewHeight_ = height;
    pixelsPerUnitX_ = width > 0.0f ? float(clientWidth) / width : 0.0f;
    pixelsPerUnitY_ = height > 0.0f ? float(clientHeight) / height : 0.0f;
    clientWidth_ = clientWidth;
    clientHeight_ = clientHeight;
}

// modelview = modelview x right, as glMultMatrix does.
void CoverState::multiply(const Matrix& right)
{
    Matrix product;
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += modelview_.m[k * 4 + row] * right.m[column * 4 + k];
            product.m[column * 4 + row] = sum;
        }
    }
    modelview_ = product;
}

void CoverState::apply(const FrameList& list, size_t pos)
{
    switch (list.op(pos)) {
    case FrameOp::LoadIdentity:
        modelview_ = Matrix();
        break;
    case FrameOp::Translate: {
        Matrix t;
        t.m[12] = list.number(pos, 0);
        t.m[13] = list.number(pos, 1);
        multiply(t);
        break;
    }
    case FrameOp::Scale: {
        Matrix s;
        s.m[0] = list.number(pos, 0);
        s.m[5] = list.number(pos, 1);
        s.m[10] = 0.0f;
        multiply(s);
        break;
    }
    case FrameOp::Rotate: {
        const float radians = list.number(pos, 0) * DegreesToRadians;
        Matrix r;
        r.m[0] = std::cos(radians);
        r.m[1] = std::sin(radians);
        r.m[4] = -r.m[1];
        r.m[5] = r.m[0];
        multiply(r);
        break;
    }
    case FrameOp::PolygonMode:
        attributes_.polygonMode = list.word(pos, 0);
        break;
    case FrameOp::BlendFunc:
        attributes_.blend = true;
        attributes_.source = list.word(pos, 0);
        attributes_.destination = list.word(pos, 1);
        break;
    case FrameOp::DisableBlend:
        attributes_.blend = false;
        break;
    case FrameOp::PushState:
        // A push onto a full stack is refused by OpenGL, and the pops after
        // it would restore older levels than this state expects.
        if (int(savedAttributes_.size()) >= maxDepth_) {
            known_ = false;
            break;
        }
        savedAttributes_.push_back(attributes_);
        savedMatrices_.push_back(modelview_);
        break;
    case FrameOp::PopState:
        // A pop of an empty stack changes nothing, in OpenGL as here.
        if (savedAttributes_.empty())
            break;
        attributes_ = savedAttributes_.back();
        modelview_ = savedMatrices_.back();
        savedAttributes_.pop_back();
        savedMatrices_.pop_back();
        break;
    case FrameOp::DrawImage:
    case FrameOp::DrawText:
        // Both push and pop the attributes around their own drawing.
        if (int(savedAttributes_.size()) >= maxDepth_)
            known_ = false;
        break;
    default:
        break;
    }
}

bool CoverState::coversWindow(const FrameList& list, size_t pos) const
{
    if (!known_ || list.op(pos) != FrameOp::Quad || attributes_.polygonMode != GlFill)
        return false;
    if (attributes_.blend && (attributes_.source != GlOne || attributes_.destination != GlZero))
        return false;
    const float* m = modelview_.m;
    // Only scales and translations in x and y keep a rectangle a rectangle.
    if (m[1] != 0.0f || m[4] != 0.0f || m[3] != 0.0f || m[7] != 0.0f || m[15] != 1.0f)
        return false;
    // Corners a, b, c, d as drawRect gives them: a-b the top edge, b-c the
    // right one.
    const float ax = list.number(pos, 0), ay = list.number(pos, 1);
    const float bx = list.number(pos, 2), by = list.number(pos, 3);
    const float cx = list.number(pos, 4), cy = list.number(pos, 5);
    const float dx = list.number(pos, 6), dy = list.number(pos, 7);
    if (ay != by || cy != dy || ax != dx || bx != cx)
        return false;
    const float x1 = (m[0] * ax + m[12]) * pixelsPerUnitX_;
    const float x2 = (m[0] * bx + m[12]) * pixelsPerUnitX_;
    const float y1 = (m[5] * ay + m[13]) * pixelsPerUnitY_;
    const float y2 = (m[5] * cy + m[13]) * pixelsPerUnitY_;
    if (!std::isfinite(x1) || !std::isfinite(x2) || !std::isfinite(y1) || !std::isfinite(y2))
        return false;
    const float left = std::fmin(x1, x2), right = std::fmax(x1, x2);
    const float top = std::fmin(y1, y2), bottom = std::fmax(y1, y2);
    return clientWidth_ > 0 && clientHeight_ > 0 && left <= 0.5f - CoverMarginPixels
        && right >= float(clientWidth_) - 0.5f + CoverMarginPixels && top <= 0.5f - CoverMarginPixels
        && bottom >= float(clientHeight_) - 0.5f + CoverMarginPixels;
}

namespace {

bool nearlyEqual(float a, float b)
{
    return std::fabs(a - b) <= 1e-5f * std::fmax(1.0f, std::fmax(std::fabs(a), std::fabs(b)));
}

} // namespace

bool CoverState::matches(const Reading& reading) const
{
    if (reading.polygonModes[0] != int(attributes_.polygonMode)
        || reading.polygonModes[1] != int(attributes_.polygonMode))
        return false;
    if (reading.blend != attributes_.blend)
        return false;
    if (attributes_.blend
        && (reading.blendSource != int(attributes_.source) || reading.blendDestination != int(attributes_.destination)))
        return false;
    if (reading.matrixMode != GlModelview || reading.viewport[0] != 0 || reading.viewport[1] != 0
        || reading.viewport[2] != clientWidth_ || reading.viewport[3] != clientHeight_)
        return false;
    // The view's projection: an orthographic one with left 0, right width,
    // bottom height, top 0, near -1 and far 1.
    Matrix projection;
    projection.m[0] = viewWidth_ > 0.0f ? 2.0f / viewWidth_ : 0.0f;
    projection.m[5] = viewHeight_ > 0.0f ? -2.0f / viewHeight_ : 0.0f;
    projection.m[10] = -1.0f;
    projection.m[12] = -1.0f;
    projection.m[13] = 1.0f;
    for (int i = 0; i < 16; ++i) {
        if (!nearlyEqual(reading.modelview[i], modelview_.m[i]) || !nearlyEqual(reading.projection[i], projection.m[i]))
            return false;
    }
    return true;
}

} // namespace vlo
