// Frame saving of the OpenGL renderer: the recorded operations of a frame,
// sent to OpenGL at the present only when they change what is on screen.
//
// Why skipping an equal frame is safe: a closed frame (FrameList::isClosed)
// sets the clear colour and the modelview matrix before using them and puts
// every other piece of state back. So when the last frame presented was
// closed and drawn from some state, nothing worked on OpenGL directly since
// it began, and the new frame is the same list, the new frame would draw the
// same pixels from the same state and leave OpenGL exactly as it is now.

#include <GL/gl.h>
#include <GL/glext.h>

#include "platform/Platform.h"
#include "render/GLConstants.h"
#include "render/GLRenderer.h"

namespace vlo {

namespace {

// A frame that is never presented (a tool drawing without SwapBuffers) is
// sent and forgotten once it holds this many words, so it cannot grow
// without bound. The show's frames hold a few hundred.
constexpr size_t MaxFrameWords = size_t(1) << 20;

// After this many unchanged frames in a row (a second of the main loop's
// timer) the frame copy is given back; the next change takes a new one.
constexpr int IdleFramesBeforeDroppingCopy = 100;

// The capabilities of OpenGL 1.1 to 1.4 that change which pixels a drawing
// writes or what it writes there; the saving assumes every one of them off.
// Blending is followed by the cover state and 2D texturing is always on.
// Dithering and multisampling, on by default, are left out: they change
// pixels the same way however a frame is sent, and a quad over the whole
// window still writes every pixel.
constexpr GLenum UnfollowedCapabilities[] = {GL_ALPHA_TEST, GL_AUTO_NORMAL, GL_CLIP_PLANE0, GL_CLIP_PLANE1,
    GL_CLIP_PLANE2, GL_CLIP_PLANE3, GL_CLIP_PLANE4, GL_CLIP_PLANE5, GL_COLOR_LOGIC_OP, GL_COLOR_MATERIAL, GL_CULL_FACE,
    GL_DEPTH_TEST, GL_FOG, GL_INDEX_LOGIC_OP, GL_LIGHTING, GL_LIGHT0, GL_LIGHT1, GL_LIGHT2, GL_LIGHT3, GL_LIGHT4,
    GL_LIGHT5, GL_LIGHT6, GL_LIGHT7, GL_LINE_SMOOTH, GL_LINE_STIPPLE, GL_MAP1_COLOR_4, GL_MAP1_INDEX, GL_MAP1_NORMAL,
    GL_MAP1_TEXTURE_COORD_1, GL_MAP1_TEXTURE_COORD_2, GL_MAP1_TEXTURE_COORD_3, GL_MAP1_TEXTURE_COORD_4,
    GL_MAP1_VERTEX_3, GL_MAP1_VERTEX_4, GL_MAP2_COLOR_4, GL_MAP2_INDEX, GL_MAP2_NORMAL, GL_MAP2_TEXTURE_COORD_1,
    GL_MAP2_TEXTURE_COORD_2, GL_MAP2_TEXTURE_COORD_3, GL_MAP2_TEXTURE_COORD_4, GL_MAP2_VERTEX_3, GL_MAP2_VERTEX_4,
    GL_NORMALIZE, GL_POINT_SMOOTH, GL_POLYGON_OFFSET_FILL, GL_POLYGON_OFFSET_LINE, GL_POLYGON_OFFSET_POINT,
    GL_POLYGON_SMOOTH, GL_POLYGON_STIPPLE, GL_SCISSOR_TEST, GL_STENCIL_TEST, GL_TEXTURE_1D, GL_TEXTURE_GEN_Q,
    GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_3D, GL_TEXTURE_CUBE_MAP,
    GL_SAMPLE_ALPHA_TO_COVERAGE, GL_SAMPLE_ALPHA_TO_ONE, GL_SAMPLE_COVERAGE, GL_COLOR_SUM, GL_RESCALE_NORMAL};

} // namespace

void GLRenderer::setFrameSaving(bool on)
{
    if (on == saving)
        return;
    flush();
    saving = on;
    frame.clear();
    shown.clear();
    sentUpTo = 0;
    hasShown = false;
    frameIncomplete = false;
    frameStartChanges = directChanges;
    frameStartedInPrimitive = inPrimitive;
    startChecked = false;
    forgetCopy();
    setPresentHook(deviceContext_, on ? &GLRenderer::presentHook : nullptr, this);
}

void GLRenderer::forgetCopy()
{
    copy.drop();
    copyEnd = 0;
    copied.clear();
}

// Read back, not assumed: state set on the context by other code (or left
// by a frame begun inside a primitive, where nothing can be read) turns the
// saving off for the frame.
bool GLRenderer::startStateFollowed()
{
    if (startChecked)
        return startFollowed;
    startChecked = true;
    startFollowed = false;
    if (frameStartedInPrimitive || !coverState.known())
        return false;
    for (const GLenum capability : UnfollowedCapabilities) {
        if (glIsEnabled(capability))
            return false;
    }
    GLboolean colourMask[4] = {GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE};
    glGetBooleanv(GL_COLOR_WRITEMASK, colourMask);
    if (!colourMask[0] || !colourMask[1] || !colourMask[2] || !colourMask[3])
        return false;
    CoverState::Reading reading;
    glGetIntegerv(GL_POLYGON_MODE, reading.polygonModes);
    glGetIntegerv(GL_MATRIX_MODE, &reading.matrixMode);
    glGetIntegerv(GL_VIEWPORT, reading.viewport);
    reading.blend = glIsEnabled(GL_BLEND) == GL_TRUE;
    glGetIntegerv(GL_BLEND_SRC, &reading.blendSource);
    glGetIntegerv(GL_BLEND_DST, &reading.blendDestination);
    glGetFloatv(GL_MODELVIEW_MATRIX, reading.modelview);
    glGetFloatv(GL_PROJECTION_MATRIX, reading.projection);
    startFollowed = coverState.matches(reading);
    return startFollowed;
}

void GLRenderer::recorded()
{
    if (!saving) {
        send(sentUpTo, frame.size(), 0);
        frame.clear();
        sentUpTo = 0;
        return;
    }
    if (frame.size() > MaxFrameWords) {
        flush();
        frame.clear();
        sentUpTo = 0;
        frameIncomplete = true;
    }
}

void GLRenderer::beforeDirectGL()
{
    flush();
    ++directChanges;
    // Work done before the frame's first operation is where that frame
    // starts from.
    if (frame.empty() && !frameIncomplete)
        frameStartChanges = directChanges;
}

// The last quad of the unsent part that overwrites the whole window makes
// every pixel drawn before it in that part invisible.
void GLRenderer::flush()
{
    if (sentUpTo >= frame.size())
        return;
    size_t cover = sentUpTo;
    if (saving && startStateFollowed()) {
        CoverState ahead = coverState;
        for (size_t pos = sentUpTo; pos < frame.size(); pos = frame.next(pos)) {
            if (ahead.coversWindow(frame, pos))
                cover = pos;
            ahead.apply(frame, pos);
        }
    }
    send(sentUpTo, frame.size(), cover);
    sentUpTo = frame.size();
}

void GLRenderer::send(size_t from, size_t to, size_t cover)
{
    for (size_t pos = from; pos < to; pos = frame.next(pos)) {
        sendOne(pos, pos < cover);
        coverState.apply(frame, pos);
    }
}

// Every GL call the recorded operations stand for is here and only here:
// each operation is the GL sequence of its case. With pixelsCovered only
// what the operation leaves in the state is sent: the clear colour of a
// clear, the final (0, 0) texture coordinate of a triangle or quad; text and
// pixel images save and restore everything they touch, so nothing of them.
void GLRenderer::sendOne(size_t pos, bool pixelsCovered)
{
    const FrameList& f = frame;
    auto n = [&](int index) { return f.number(pos, index); };
    const FrameOp op = f.op(pos);
    const bool drawsPixels = op == FrameOp::Clear || op == FrameOp::Triangle || op == FrameOp::Quad
        || op == FrameOp::DrawImage || op == FrameOp::DrawText;
    const bool dropped = pixelsCovered && drawsPixels;
    if (dropped)
        ++counts.droppedOperations;
    else
        ++counts.sentOperations;
    switch (op) {
    case FrameOp::Clear:
        // The clear colour stays set afterwards.
        glClearColor(n(0), n(1), n(2), n(3));
        if (!dropped)
            glClear(GL_COLOR_BUFFER_BIT);
        break;
    case FrameOp::LoadIdentity:
        glLoadIdentity();
        break;
    case FrameOp::Translate:
        glTranslatef(n(0), n(1), 0.0f);
        break;
    case FrameOp::Scale:
        // The z scale is 0, not 1: everything is flattened onto z = 0.
        glScalef(n(0), n(1), 0.0f);
        break;
    case FrameOp::Rotate:
        glRotatef(n(0), 0.0f, 0.0f, 1.0f);
        break;
    case FrameOp::PolygonMode:
        glPolygonMode(GL_FRONT_AND_BACK, f.word(pos, 0));
        break;
    case FrameOp::Begin:
        // An unknown primitive code opens no GL primitive.
        if (f.word(pos, 0) != FrameList::NoPrimitive)
            glBegin(f.word(pos, 0));
        break;
    case FrameOp::End:
        glEnd();
        break;
    case FrameOp::Vertex:
        glVertex2f(n(0), n(1));
        break;
    case FrameOp::TexCoord:
        glTexCoord2f(n(0), n(1));
        break;
    case FrameOp::Triangle:
        // Each texture coordinate is set after its vertex and so applies to
        // the next one; the sequence ends on (0, 0), which the first vertex
        // of the next shape takes: a gets (0, 0), b (0.5, 1), c (1, 0).
        if (!dropped) {
            glBegin(GL_TRIANGLES);
            glVertex2f(n(0), n(1));
            glTexCoord2f(0.5f, 1.0f);
            glVertex2f(n(2), n(3));
            glTexCoord2f(1.0f, 0.0f);
            glVertex2f(n(4), n(5));
        }
        glTexCoord2f(0.0f, 0.0f);
        if (!dropped)
            glEnd();
        break;
    case FrameOp::Quad:
        // Same trailing-coordinate pattern: a (0, 0), b (e.x, 0),
        // c (e.x, e.y), d (0, e.y). Texture row 0, the top row of the
        // picture, lands on edge a-b.
        if (!dropped) {
            glBegin(GL_QUADS);
            glVertex2f(n(0), n(1));
            glTexCoord2f(n(8), 0.0f);
            glVertex2f(n(2), n(3));
            glTexCoord2f(n(8), n(9));
            glVertex2f(n(4), n(5));
            glTexCoord2f(0.0f, n(9));
            glVertex2f(n(6), n(7));
        }
        glTexCoord2f(0.0f, 0.0f);
        if (!dropped)
            glEnd();
        break;
    case FrameOp::Color:
        glColor4f(n(0), n(1), n(2), n(3));
        break;
    case FrameOp::BlendFunc:
        glEnable(GL_BLEND);
        glBlendFunc(f.word(pos, 0), f.word(pos, 1));
        break;
    case FrameOp::DisableBlend:
        glDisable(GL_BLEND);
        break;
    case FrameOp::BindTexture:
        glBindTexture(GL_TEXTURE_2D, f.word(pos, 0));
        break;
    case FrameOp::PointSize:
        glPointSize(n(0));
        break;
    case FrameOp::LineWidth:
        glLineWidth(n(0));
        break;
    case FrameOp::DrawImage:
        // The picture grows up and to the right from the view's bottom-left
        // corner, one screen pixel per image pixel.
        if (dropped)
            break;
        glPushAttrib(allAttribBits);
        glRasterPos2f(0.0f, n(5));
        glDrawPixels(
            GLsizei(f.word(pos, 0)), GLsizei(f.word(pos, 1)), f.word(pos, 2), GL_UNSIGNED_BYTE, f.imagePixels(pos));
        glPopAttrib();
        break;
    case FrameOp::DrawText: {
        // The raster position is the origin of the first glyph on the base
        // line; each glyph moves it by its advance. The colour is latched
        // when the position is set, so callers set it first. The attribute
        // pop restores the colour, the raster position and the list base.
        if (dropped)
            break;
        const std::string_view text = f.text(pos);
        glPushAttrib(allAttribBits);
        glRasterPos2f(n(1), n(2));
        glListBase(f.word(pos, 0));
        glCallLists(GLsizei(text.size()), GL_UNSIGNED_BYTE, text.data());
        glPopAttrib();
        break;
    }
    case FrameOp::PushState:
        glPushAttrib(allAttribBits);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        break;
    case FrameOp::PopState:
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
        glPopAttrib();
        break;
    }
}

bool GLRenderer::presentFrame(bool windowDamaged)
{
    if (!saving)
        return true;
    // Begun from the state the frame on screen began from: equal operations
    // then draw equal pixels.
    const bool followed = startStateFollowed();
    const bool sameStart = followed && hasShown && !frameIncomplete && sentUpTo == 0 && !frameStartedInPrimitive
        && !inPrimitive && directChanges == shownStartChanges && coverState.known() && frame.isClosed();
    const bool unchanged = sameStart && !windowDamaged && frame == shown;
    if (unchanged) {
        ++counts.skipped;
        frame.clear();
        if (copyEnd != 0 && ++unchangedFrames >= IdleFramesBeforeDroppingCopy)
            forgetCopy();
    } else {
        unchangedFrames = 0;
        // The copy is of the program's frame at its present size; a window
        // that was resized may need more.
        sendChanged(sameStart && !windowDamaged);
        // A frame partly forgotten, or drawn from state the saving does not
        // follow, cannot be compared with the next one.
        hasShown = !frameIncomplete && followed;
        shown.swap(frame);
        frame.clear();
        shownStartChanges = frameStartChanges;
        ++counts.presented;
    }
    sentUpTo = 0;
    frameIncomplete = false;
    frameStartChanges = directChanges;
    frameStartedInPrimitive = inPrimitive;
    startChecked = false;
    return !unchanged;
}

// A frame that changes only after its start, as in a fade over a still
// picture, begins with the same drawing as the last one. When that start
// holds an opaque quad over the whole window, the pixels it leaves depend on
// nothing before it; they are copied once, and the frames that begin the same
// way start from the copy and send the start only for its effect on the
// state. A start with a primitive of its own (begin, vertex, end) is drawn
// every time, as is everything when the rest covers the window again.
void GLRenderer::sendChanged(bool sameStart)
{
    if (!sameStart) {
        forgetCopy();
        flush();
        return;
    }
    // The last quad over the whole window, and where the frame first makes
    // a primitive of its own.
    CoverState ahead = coverState;
    bool covered = false;
    size_t cover = 0;
    size_t firstPrimitive = frame.size();
    for (size_t pos = 0; pos < frame.size(); pos = frame.next(pos)) {
        if (ahead.coversWindow(frame, pos)) {
            covered = true;
            cover = pos;
        }
        if (frame.op(pos) == FrameOp::Begin && firstPrimitive == frame.size())
            firstPrimitive = pos;
        ahead.apply(frame, pos);
    }
    const auto startIsReusable
        = [&](size_t end) { return covered && cover < end && end <= firstPrimitive && end < frame.size(); };

    const unsigned int drawBuffer = drawFrameBuffer(deviceContext_);
    if (copyEnd != 0 && directChanges == copyChanges && startIsReusable(copyEnd) && frame.commonStart(copied) >= copyEnd
        && copy.restore(drawBuffer, clientWidth, clientHeight)) {
        send(0, copyEnd, copyEnd);
        send(copyEnd, frame.size(), 0);
        sentUpTo = frame.size();
        ++counts.restored;
        return;
    }

    const size_t common = frame.commonStart(shown);
    if (!startIsReusable(common)) {
        forgetCopy();
        flush();
        return;
    }
    send(0, common, cover);
    if (copy.save(drawBuffer, clientWidth, clientHeight)) {
        copied = frame;
        copyEnd = common;
        copyChanges = directChanges;
    } else {
        copyEnd = 0;
    }
    send(common, frame.size(), cover);
    sentUpTo = frame.size();
}

bool GLRenderer::presentHook(void* owner, bool windowDamaged)
{
    return static_cast<GLRenderer*>(owner)->presentFrame(windowDamaged);
}

} // namespace vlo
