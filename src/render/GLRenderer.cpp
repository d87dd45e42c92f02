#include "render/GLRenderer.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include "platform/Platform.h"
#include "render/GLConstants.h"

namespace vlo {

namespace {

// Double-buffered 32-bit RGBA on the window; every other field 0: no alpha,
// accumulation, depth, stencil or auxiliary buffers (the show is flat 2D),
// main plane.
PIXELFORMATDESCRIPTOR makePixelFormat()
{
    PIXELFORMATDESCRIPTOR descriptor = {};
    descriptor.nSize = 40;
    descriptor.nVersion = 1;
    descriptor.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    descriptor.iPixelType = PFD_TYPE_RGBA;
    descriptor.cColorBits = 32;
    descriptor.iLayerType = PFD_MAIN_PLANE;
    return descriptor;
}

const PIXELFORMATDESCRIPTOR pixelFormat = makePixelFormat();

// Blend factor codes 0..9 in their interface order.
const GLenum blendFactors[10] = {GL_ZERO, GL_ONE, GL_SRC_COLOR, GL_SRC_ALPHA, GL_DST_COLOR, GL_DST_ALPHA,
    GL_ONE_MINUS_SRC_COLOR, GL_ONE_MINUS_SRC_ALPHA, GL_ONE_MINUS_DST_COLOR, GL_ONE_MINUS_DST_ALPHA};

// A code outside 0..9 (negative ones included) is taken as a GL factor as it is.
GLenum blendFactor(int code)
{
    return unsigned(code) < 10u ? blendFactors[code] : GLenum(code);
}

} // namespace

GLRenderer::GLRenderer(HWND window, float width, float height)
    : Renderer(window, width, height)
{
    if (!createContext(window)) {
        return;
    }
    // Pushes both stacks take; OpenGL counts the current matrix as the
    // modelview stack's first level.
    GLint attribDepth = 0;
    GLint modelviewDepth = 0;
    glGetIntegerv(GL_MAX_ATTRIB_STACK_DEPTH, &attribDepth);
    glGetIntegerv(GL_MAX_MODELVIEW_STACK_DEPTH, &modelviewDepth);
    coverState = CoverState(attribDepth < modelviewDepth - 1 ? attribDepth : modelviewDepth - 1);
    setLogicalSize(width, height);
    setInitialPipelineState();
}

// The context is not released here: the owner calls releaseContext first.
GLRenderer::~GLRenderer()
{
    if (saving)
        setPresentHook(deviceContext_, nullptr, nullptr);
}

void GLRenderer::setInitialPipelineState()
{
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glClearDepth(0.0);
    glDepthMask(GL_FALSE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glShadeModel(GL_FLAT);
    // Texturing stays on for the whole run; untextured drawing binds 0, and
    // GL_MODULATE then leaves the plain current colour.
    glEnable(GL_TEXTURE_2D);
    // Pixel buffers are packed without row padding; with the default 4-byte
    // alignment GL would read past the end of any buffer whose rows are not
    // a multiple of 4 bytes long (a 2049-wide RGB texture, an odd-width image).
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
}

bool GLRenderer::createContext(HWND)
{
    // A zero format from ChoosePixelFormat makes SetPixelFormat fail.
    const int format = ChoosePixelFormat(deviceContext_, &pixelFormat);
    if (!SetPixelFormat(deviceContext_, format, &pixelFormat)) {
        status = RendererContextFailed;
        return false;
    }
    context = wglCreateContext(deviceContext_);
    if (context == nullptr) {
        status = RendererContextFailed;
        return false;
    }
    wglMakeCurrent(deviceContext_, context);
    return true;
}

// Textures and display lists go with the context.
void GLRenderer::releaseContext()
{
    if (context != nullptr) {
        flush();
        setFrameSaving(false);
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(context);
        context = nullptr;
    }
    status = RendererReleased;
}

// GUI units over the whole client area: top 0 and bottom `height` make the
// origin the top-left corner with y growing downwards.
void GLRenderer::setupProjection(float width, float height)
{
    beforeDirectGL();
    coverState.setView(width, height, clientWidth, clientHeight);
    glViewport(0, 0, clientWidth, clientHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, width, height, 0.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
}

void GLRenderer::setPolygonMode(int mode)
{
    GLenum glMode = 0;
    switch (mode) {
    case PolygonFill:
        glMode = GL_FILL;
        break;
    case PolygonOutline:
        glMode = GL_LINE;
        break;
    case PolygonPoints:
        glMode = GL_POINT;
        break;
    default:
        return;
    }
    frame.addWords(FrameOp::PolygonMode, {glMode});
    recorded();
}

void GLRenderer::clear(Color color)
{
    frame.add(FrameOp::Clear, {color.r, color.g, color.b, color.a});
    recorded();
}

void GLRenderer::loadIdentity()
{
    frame.add(FrameOp::LoadIdentity);
    recorded();
}

void GLRenderer::translate(float x, float y)
{
    frame.add(FrameOp::Translate, {x, y});
    recorded();
}

void GLRenderer::translate(Vector2 offset)
{
    translate(offset.x, offset.y);
}

void GLRenderer::scale(float x, float y)
{
    frame.add(FrameOp::Scale, {x, y});
    recorded();
}

void GLRenderer::scale(Vector2 factor)
{
    scale(factor.x, factor.y);
}

void GLRenderer::rotate(float degrees)
{
    frame.add(FrameOp::Rotate, {degrees});
    recorded();
}

// An unknown code still counts as open, so the begin/end pairing stays
// balanced for the caller.
bool GLRenderer::begin(int primitive)
{
    if (inPrimitive) {
        return false;
    }
    uint32_t glPrimitive = FrameList::NoPrimitive;
    switch (primitive) {
    case Points:
        glPrimitive = GL_POINTS;
        break;
    case Lines:
        glPrimitive = GL_LINES;
        break;
    case Triangles:
        glPrimitive = GL_TRIANGLES;
        break;
    case Quads:
        glPrimitive = GL_QUADS;
        break;
    default:
        break;
    }
    inPrimitive = true;
    frame.addWords(FrameOp::Begin, {glPrimitive});
    recorded();
    return true;
}

bool GLRenderer::end()
{
    if (!inPrimitive) {
        return false;
    }
    inPrimitive = false;
    frame.add(FrameOp::End);
    recorded();
    return true;
}

void GLRenderer::vertex(Vector2 point)
{
    vertex(point.x, point.y);
}

void GLRenderer::vertex(float x, float y)
{
    frame.add(FrameOp::Vertex, {x, y});
    recorded();
}

void GLRenderer::texCoord(Vector2 coord)
{
    texCoord(coord.x, coord.y);
}

void GLRenderer::texCoord(float u, float v)
{
    frame.add(FrameOp::TexCoord, {u, v});
    recorded();
}

void GLRenderer::drawTriangle(Vector2 a, Vector2 b, Vector2 c)
{
    if (inPrimitive) {
        return;
    }
    frame.add(FrameOp::Triangle, {a.x, a.y, b.x, b.y, c.x, c.y});
    recorded();
}

void GLRenderer::drawQuad(Vector2 a, Vector2 b, Vector2 c, Vector2 d, Vector2 extent)
{
    if (inPrimitive) {
        return;
    }
    frame.add(FrameOp::Quad, {a.x, a.y, b.x, b.y, c.x, c.y, d.x, d.y, extent.x, extent.y});
    recorded();
}

// The caller binds the texture first; only its extent is used here.
void GLRenderer::drawTexturedRect(Vector2 topLeft, Vector2 bottomRight, int texture)
{
    drawRect(topLeft, bottomRight, textureExtent(texture));
}

void GLRenderer::drawRect(Vector2 topLeft, Vector2 bottomRight, Vector2 extent)
{
    drawQuad(topLeft, Vector2(bottomRight.x, topLeft.y), bottomRight, Vector2(topLeft.x, bottomRight.y), extent);
}

void GLRenderer::setColor(Color color)
{
    setColor(color.r, color.g, color.b, color.a);
}

void GLRenderer::setColor(float r, float g, float b, float a)
{
    frame.add(FrameOp::Color, {r, g, b, a});
    recorded();
}

void GLRenderer::setBlendFunc(int source, int destination)
{
    frame.addWords(FrameOp::BlendFunc, {blendFactor(source), blendFactor(destination)});
    recorded();
}

void GLRenderer::disableBlend()
{
    frame.add(FrameOp::DisableBlend);
    recorded();
}

void GLRenderer::setPointSize(float pixels)
{
    frame.add(FrameOp::PointSize, {pixels});
    recorded();
}

void GLRenderer::setLineWidth(float pixels)
{
    frame.add(FrameOp::LineWidth, {pixels});
    recorded();
}

void GLRenderer::pushState()
{
    frame.add(FrameOp::PushState);
    recorded();
}

void GLRenderer::popState()
{
    frame.add(FrameOp::PopState);
    recorded();
}

// The pixel y goes to GLU as it comes (origin top), so GLU's answer is
// mirrored; y is flipped back by subtracting it from the view height.
Vector2 GLRenderer::unproject(int x, int y)
{
    // The matrices are read from OpenGL, so it must have them all.
    flush();
    GLdouble modelview[16];
    GLdouble projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLdouble ox = 0.0;
    GLdouble oy = 0.0;
    GLdouble oz = 0.0;
    gluUnProject(GLdouble(x), GLdouble(y), 0.0, modelview, projection, viewport, &ox, &oy, &oz);
    return Vector2(float(ox), logicalHeight - float(oy));
}

// GL window y grows upwards; the result is turned back to origin top-left.
void GLRenderer::project(Vector2 point, int& x, int& y)
{
    flush();
    GLdouble modelview[16];
    GLdouble projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLdouble wx = 0.0;
    GLdouble wy = 0.0;
    GLdouble wz = 0.0;
    gluProject(point.x, point.y, 0.0, modelview, projection, viewport, &wx, &wy, &wz);
    x = int(wx);
    y = clientHeight - int(wy);
}

bool GLRenderer::isUsable()
{
    return true;
}

} // namespace vlo
