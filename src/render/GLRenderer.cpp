#include "render/GLRenderer.h"

#include <GL/gl.h>
#include <GL/glu.h>

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
const GLenum blendFactors[10] = {
    GL_ZERO,      GL_ONE,           GL_SRC_COLOR,           GL_SRC_ALPHA,
    GL_DST_COLOR, GL_DST_ALPHA,     GL_ONE_MINUS_SRC_COLOR, GL_ONE_MINUS_SRC_ALPHA,
    GL_ONE_MINUS_DST_COLOR, GL_ONE_MINUS_DST_ALPHA};

// A code outside 0..9 (negative ones included) is taken as a GL factor as it is.
GLenum blendFactor(int code)
{
    return unsigned(code) < 10u ? blendFactors[code] : GLenum(code);
}

} // namespace

GLRenderer::GLRenderer(HWND window, float width, float height) : Renderer(window, width, height)
{
    if (!createContext(window)) {
        return;
    }
    setLogicalSize(width, height);
    setInitialPipelineState();
}

// The context is not released here: the owner calls releaseContext first.
GLRenderer::~GLRenderer() = default;

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
    glViewport(0, 0, clientWidth, clientHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, width, height, 0.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
}

void GLRenderer::setPolygonMode(int mode)
{
    switch (mode) {
    case PolygonFill:
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        break;
    case PolygonOutline:
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        break;
    case PolygonPoints:
        glPolygonMode(GL_FRONT_AND_BACK, GL_POINT);
        break;
    default:
        break;
    }
}

// The clear colour stays set afterwards.
void GLRenderer::clear(Color color)
{
    glClearColor(color.r, color.g, color.b, color.a);
    glClear(GL_COLOR_BUFFER_BIT);
}

void GLRenderer::loadIdentity()
{
    glLoadIdentity();
}

void GLRenderer::translate(float x, float y)
{
    glTranslatef(x, y, 0.0f);
}

void GLRenderer::translate(Vector2 offset)
{
    glTranslatef(offset.x, offset.y, 0.0f);
}

// The z scale is 0, not 1: everything is flattened onto z = 0.
void GLRenderer::scale(float x, float y)
{
    glScalef(x, y, 0.0f);
}

void GLRenderer::scale(Vector2 factor)
{
    glScalef(factor.x, factor.y, 0.0f);
}

void GLRenderer::rotate(float degrees)
{
    glRotatef(degrees, 0.0f, 0.0f, 1.0f);
}

// An unknown code opens no GL primitive but still counts as open, so the
// begin/end pairing stays balanced for the caller.
bool GLRenderer::begin(int primitive)
{
    if (inPrimitive) {
        return false;
    }
    switch (primitive) {
    case Points:
        glBegin(GL_POINTS);
        break;
    case Lines:
        glBegin(GL_LINES);
        break;
    case Triangles:
        glBegin(GL_TRIANGLES);
        break;
    case Quads:
        glBegin(GL_QUADS);
        break;
    default:
        break;
    }
    inPrimitive = true;
    return true;
}

bool GLRenderer::end()
{
    if (!inPrimitive) {
        return false;
    }
    glEnd();
    inPrimitive = false;
    return true;
}

void GLRenderer::vertex(Vector2 point)
{
    glVertex2f(point.x, point.y);
}

void GLRenderer::vertex(float x, float y)
{
    glVertex2f(x, y);
}

void GLRenderer::texCoord(Vector2 coord)
{
    glTexCoord2f(coord.x, coord.y);
}

void GLRenderer::texCoord(float u, float v)
{
    glTexCoord2f(u, v);
}

// Each texture coordinate is set after its vertex and so applies to the next
// one; the sequence ends on (0, 0), which the first vertex of the next shape
// takes: a gets (0, 0), b (0.5, 1), c (1, 0).
void GLRenderer::drawTriangle(Vector2 a, Vector2 b, Vector2 c)
{
    if (inPrimitive) {
        return;
    }
    glBegin(GL_TRIANGLES);
    glVertex2f(a.x, a.y);
    glTexCoord2f(0.5f, 1.0f);
    glVertex2f(b.x, b.y);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(c.x, c.y);
    glTexCoord2f(0.0f, 0.0f);
    glEnd();
}

// Same trailing-coordinate pattern: a (0, 0), b (e.x, 0), c (e.x, e.y),
// d (0, e.y). Texture row 0, the top row of the picture, lands on edge a-b.
void GLRenderer::drawQuad(Vector2 a, Vector2 b, Vector2 c, Vector2 d, Vector2 extent)
{
    if (inPrimitive) {
        return;
    }
    glBegin(GL_QUADS);
    glVertex2f(a.x, a.y);
    glTexCoord2f(extent.x, 0.0f);
    glVertex2f(b.x, b.y);
    glTexCoord2f(extent.x, extent.y);
    glVertex2f(c.x, c.y);
    glTexCoord2f(0.0f, extent.y);
    glVertex2f(d.x, d.y);
    glTexCoord2f(0.0f, 0.0f);
    glEnd();
}

// The caller binds the texture first; only its extent is used here.
void GLRenderer::drawTexturedRect(Vector2 topLeft, Vector2 bottomRight, int texture)
{
    drawRect(topLeft, bottomRight, textureExtent(texture));
}

void GLRenderer::drawRect(Vector2 topLeft, Vector2 bottomRight, Vector2 extent)
{
    drawQuad(topLeft, Vector2(bottomRight.x, topLeft.y), bottomRight,
             Vector2(topLeft.x, bottomRight.y), extent);
}

void GLRenderer::setColor(Color color)
{
    glColor4f(color.r, color.g, color.b, color.a);
}

void GLRenderer::setColor(float r, float g, float b, float a)
{
    glColor4f(r, g, b, a);
}

void GLRenderer::setBlendFunc(int source, int destination)
{
    const GLenum sourceFactor = blendFactor(source);
    const GLenum destinationFactor = blendFactor(destination);
    glEnable(GL_BLEND);
    glBlendFunc(sourceFactor, destinationFactor);
}

void GLRenderer::disableBlend()
{
    glDisable(GL_BLEND);
}

void GLRenderer::setPointSize(float pixels)
{
    glPointSize(pixels);
}

void GLRenderer::setLineWidth(float pixels)
{
    glLineWidth(pixels);
}

void GLRenderer::pushState()
{
    glPushAttrib(allAttribBits);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
}

void GLRenderer::popState()
{
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

// The pixel y goes to GLU as it comes (origin top), so GLU's answer is
// mirrored; y is flipped back by subtracting it from the view height.
Vector2 GLRenderer::unproject(int x, int y)
{
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
