// The OpenGL renderer's view, primitives and state, drawn with real OpenGL
// and read back from the back buffer.

#include <gtest/gtest.h>

#include <GL/gl.h>

#include "render/GLRenderer.h"
#include "support/GLRendererHarness.h"

namespace vlo {
namespace {

using test::GLRendererHarness;
using test::pixelIs;
using test::Rgb;

class GLRendererTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gl.ready()) << "no usable GL renderer on a 700 x 600 window (is DISPLAY=:99 running?)";
        r = gl.renderer.get();
        r->clear(Color(0.0f, 0.0f, 0.0f, 1.0f));
        r->loadIdentity();
    }

    // An untextured opaque rectangle in GUI units.
    void fillRect(float x1, float y1, float x2, float y2, Color color)
    {
        r->bindTexture(0);
        r->setColor(color);
        r->drawRect(Vector2(x1, y1), Vector2(x2, y2), Vector2(0.0f, 0.0f));
    }

    GLRendererHarness gl;
    GLRenderer* r = nullptr;
};

TEST_F(GLRendererTest, ConstructionSetsTheViewAndTheFixedPipelineState)
{
    EXPECT_EQ(r->status, RendererReady);
    EXPECT_TRUE(r->isUsable());
    EXPECT_NE(r->context, nullptr);
    EXPECT_NE(r->deviceContext(), nullptr);

    float w = 0.0f;
    float h = 0.0f;
    r->logicalSize(w, h);
    EXPECT_FLOAT_EQ(w, 7.0f);
    EXPECT_FLOAT_EQ(h, 6.0f);
    float ux = 0.0f;
    float uy = 0.0f;
    r->unitsPerPixel(ux, uy);
    EXPECT_FLOAT_EQ(ux, 0.01f) << "7 units over 700 pixels";
    EXPECT_FLOAT_EQ(uy, 0.01f) << "6 units over 600 pixels";

    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 700);
    EXPECT_EQ(viewport[3], 600);
    GLint matrixMode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    EXPECT_EQ(matrixMode, GL_MODELVIEW);

    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D)) << "texturing stays on for the whole run";
    EXPECT_FALSE(glIsEnabled(GL_BLEND)) << "blending is off until the first setBlendFunc";
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    GLint shade = 0;
    glGetIntegerv(GL_SHADE_MODEL, &shade);
    EXPECT_EQ(shade, GL_FLAT);
    GLboolean depthMask = GL_TRUE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask);
    EXPECT_EQ(depthMask, GL_FALSE);
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 1) << "pixel buffers are handed over without row padding";
}

TEST_F(GLRendererTest, ClearFillsTheWholeViewWithTheColourAndKeepsIt)
{
    r->clear(Color(0.2f, 0.4f, 0.6f, 1.0f));
    const test::Frame frame = gl.frame();
    for (auto [x, y] : {std::pair{0, 0}, {699, 0}, {0, 599}, {699, 599}, {350, 300}}) {
        EXPECT_TRUE(pixelIs(frame.at(x, y), Rgb{51, 102, 153}, 1)) << "at (" << x << ", " << y << ")";
    }
    GLfloat clearColour[4] = {};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
    EXPECT_FLOAT_EQ(clearColour[0], 0.2f);
    EXPECT_FLOAT_EQ(clearColour[3], 1.0f) << "the clear colour stays set afterwards";

    r->clear(Color(1.0f, 1.0f, 1.0f, 0.5f));
    EXPECT_NEAR(gl.frame().alphaAt(10, 10), 128, 1) << "the frame loop's clear alpha 0.5";
}

TEST_F(GLRendererTest, DrawRectCoversExactlyItsGuiUnitArea)
{
    // 1 unit = 100 pixels, origin top-left, y down: (1, 1)-(2, 1.5) is
    // pixels x 100..199, y 100..149.
    fillRect(1.0f, 1.0f, 2.0f, 1.5f, Color(1.0f, 0.0f, 0.0f, 1.0f));
    const test::Frame frame = gl.frame();
    const Rgb red{255, 0, 0};
    const Rgb black{0, 0, 0};
    for (auto [x, y] : {std::pair{100, 100}, {199, 100}, {100, 149}, {199, 149}, {150, 125}}) {
        EXPECT_TRUE(pixelIs(frame.at(x, y), red)) << "inside at (" << x << ", " << y << ")";
    }
    for (auto [x, y] : {std::pair{99, 125}, {200, 125}, {150, 99}, {150, 150}, {650, 550}}) {
        EXPECT_TRUE(pixelIs(frame.at(x, y), black)) << "outside at (" << x << ", " << y << ")";
    }
}

TEST_F(GLRendererTest, AlphaBlendingMixesOverTheBackground)
{
    r->clear(Color(0.0f, 0.0f, 1.0f, 1.0f));
    r->setBlendFunc(BlendSrcAlpha, BlendOneMinusSrcAlpha);
    const float alpha = 0.25f;
    fillRect(0.0f, 0.0f, 7.0f, 6.0f, Color(1.0f, 0.0f, 0.0f, alpha));
    // source x alpha + destination x (1 - alpha), per channel
    const Rgb expected{int(255 * alpha + 0.5f), 0, int(255 * (1.0f - alpha) + 0.5f)};
    EXPECT_TRUE(pixelIs(gl.pixel(350, 300), expected, 2));

    r->disableBlend();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    fillRect(0.0f, 0.0f, 7.0f, 6.0f, Color(1.0f, 0.0f, 0.0f, alpha));
    EXPECT_TRUE(pixelIs(gl.pixel(350, 300), Rgb{255, 0, 0})) << "unblended, the colour replaces the background";
}

TEST_F(GLRendererTest, BlendCodesMapToTheirFactorsAndOthersPassThrough)
{
    const GLenum factors[10] = {GL_ZERO, GL_ONE, GL_SRC_COLOR, GL_SRC_ALPHA, GL_DST_COLOR, GL_DST_ALPHA,
        GL_ONE_MINUS_SRC_COLOR, GL_ONE_MINUS_SRC_ALPHA, GL_ONE_MINUS_DST_COLOR, GL_ONE_MINUS_DST_ALPHA};
    for (int code = 0; code < 10; ++code) {
        r->setBlendFunc(code, 9 - code);
        GLint source = 0;
        GLint destination = 0;
        glGetIntegerv(GL_BLEND_SRC, &source);
        glGetIntegerv(GL_BLEND_DST, &destination);
        EXPECT_EQ(GLenum(source), factors[code]) << "source code " << code;
        EXPECT_EQ(GLenum(destination), factors[9 - code]) << "destination code " << 9 - code;
    }
    EXPECT_TRUE(glIsEnabled(GL_BLEND));

    GLint source = 0;
    GLint destination = 0;
    r->setBlendFunc(0x302, 7);
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(source, 0x302) << "a code outside 0..9 is a GL factor as it is";
    EXPECT_EQ(GLenum(destination), GLenum(GL_ONE_MINUS_SRC_ALPHA));

    r->setBlendFunc(3, 0x303);
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(GLenum(source), GLenum(GL_SRC_ALPHA));
    EXPECT_EQ(destination, 0x303);
}

TEST_F(GLRendererTest, UnprojectAndProjectConvertBetweenPixelsAndGuiUnits)
{
    struct Case {
        int px;
        int py;
        float ux;
        float uy;
    };
    for (const Case& c :
        {Case{0, 0, 0.0f, 0.0f}, Case{350, 300, 3.5f, 3.0f}, Case{700, 600, 7.0f, 6.0f}, Case{120, 45, 1.2f, 0.45f}}) {
        const Vector2 units = r->unproject(c.px, c.py);
        EXPECT_NEAR(units.x, c.ux, 1e-4) << "unproject(" << c.px << ", " << c.py << ").x";
        EXPECT_NEAR(units.y, c.uy, 1e-4) << "unproject(" << c.px << ", " << c.py << ").y: pixel y 0 is the top";

        int x = -1;
        int y = -1;
        r->project(Vector2(c.ux, c.uy), x, y);
        EXPECT_NEAR(x, c.px, 1) << "project(" << c.ux << ", " << c.uy << ").x, truncated to whole pixels";
        EXPECT_NEAR(y, c.py, 1) << "project(" << c.ux << ", " << c.uy << ").y";
    }
    int x = -1;
    int y = -1;
    r->project(Vector2(0.0f, 0.0f), x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0) << "the top-left corner of the view is pixel (0, 0)";
}

TEST_F(GLRendererTest, BeginAndEndPairUpAndRefuseMisuse)
{
    EXPECT_FALSE(r->end()) << "end without begin";
    EXPECT_TRUE(r->begin(Points));
    EXPECT_FALSE(r->begin(Lines)) << "begin while a primitive is open";
    r->setColor(0.0f, 1.0f, 0.0f, 1.0f);
    r->vertex(Vector2(3.505f, 3.005f));
    EXPECT_TRUE(r->end()) << "the first primitive is still open";
    EXPECT_FALSE(r->end());
    EXPECT_EQ(GLRendererHarness::takeGLError(), GLenum(GL_NO_ERROR));
    EXPECT_TRUE(pixelIs(gl.pixel(350, 300), Rgb{0, 255, 0})) << "the point of the open primitive is drawn";

    // An unknown code opens no GL primitive but still counts as open.
    EXPECT_TRUE(r->begin(7));
    EXPECT_FALSE(r->begin(Quads));
    EXPECT_TRUE(r->end());
    GLRendererHarness::takeGLError();
}

TEST_F(GLRendererTest, ShapesDrawNothingWhileAPrimitiveIsOpen)
{
    // Code 7 opens no GL primitive, so any GL drawing the shapes did would
    // show up in full.
    ASSERT_TRUE(r->begin(7));
    fillRect(1.0f, 1.0f, 3.0f, 3.0f, Color(1.0f, 0.0f, 0.0f, 1.0f));
    r->drawTriangle(Vector2(4.0f, 1.0f), Vector2(6.0f, 1.0f), Vector2(5.0f, 3.0f));
    r->drawTexturedRect(Vector2(1.0f, 4.0f), Vector2(3.0f, 5.0f), 0);
    ASSERT_TRUE(r->end());
    GLRendererHarness::takeGLError();
    const test::Frame frame = gl.frame();
    EXPECT_TRUE(pixelIs(frame.at(200, 200), Rgb{0, 0, 0})) << "rectangle";
    EXPECT_TRUE(pixelIs(frame.at(500, 150), Rgb{0, 0, 0})) << "triangle";
    EXPECT_TRUE(pixelIs(frame.at(200, 450), Rgb{0, 0, 0})) << "textured rectangle";

    // Inside a real GL primitive a nested glBegin would be a GL error.
    r->bindTexture(0);
    ASSERT_TRUE(r->begin(Points));
    r->drawRect(Vector2(1.0f, 1.0f), Vector2(3.0f, 3.0f), Vector2(0.0f, 0.0f));
    r->drawTriangle(Vector2(4.0f, 1.0f), Vector2(6.0f, 1.0f), Vector2(5.0f, 3.0f));
    ASSERT_TRUE(r->end());
    EXPECT_EQ(GLRendererHarness::takeGLError(), GLenum(GL_NO_ERROR));

    fillRect(1.0f, 1.0f, 3.0f, 3.0f, Color(1.0f, 0.0f, 0.0f, 1.0f));
    EXPECT_TRUE(pixelIs(gl.pixel(200, 200), Rgb{255, 0, 0})) << "after end the rectangle draws";
}

TEST_F(GLRendererTest, TriangleCoversItsCorners)
{
    r->bindTexture(0);
    r->setColor(0.0f, 0.0f, 1.0f, 1.0f);
    r->drawTriangle(Vector2(1.0f, 1.0f), Vector2(5.0f, 1.0f), Vector2(1.0f, 5.0f));
    const test::Frame frame = gl.frame();
    EXPECT_TRUE(pixelIs(frame.at(110, 110), Rgb{0, 0, 255}));
    EXPECT_TRUE(pixelIs(frame.at(200, 200), Rgb{0, 0, 255}));
    EXPECT_TRUE(pixelIs(frame.at(400, 400), Rgb{0, 0, 0})) << "beyond the hypotenuse";
}

TEST_F(GLRendererTest, PolygonModeOutlineDrawsOnlyTheEdges)
{
    r->setPolygonMode(PolygonOutline);
    fillRect(1.0f, 1.0f, 3.0f, 3.0f, Color(1.0f, 0.0f, 0.0f, 1.0f));
    const test::Frame frame = gl.frame();
    EXPECT_TRUE(pixelIs(frame.at(200, 200), Rgb{0, 0, 0})) << "the inside stays empty";
    // The left edge lies on the boundary between pixel columns 99 and 100.
    const bool leftEdge = frame.at(99, 200) == Rgb{255, 0, 0} || frame.at(100, 200) == Rgb{255, 0, 0};
    const bool topEdge = frame.at(200, 99) == Rgb{255, 0, 0} || frame.at(200, 100) == Rgb{255, 0, 0};
    EXPECT_TRUE(leftEdge) << "left edge at x 99/100: " << frame.at(99, 200) << " " << frame.at(100, 200);
    EXPECT_TRUE(topEdge) << "top edge at y 99/100: " << frame.at(200, 99) << " " << frame.at(200, 100);

    GLint modes[2] = {};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_LINE);
    EXPECT_EQ(modes[1], GL_LINE) << "both faces";
    r->setPolygonMode(3);
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_LINE) << "an unknown code changes nothing";
    r->setPolygonMode(PolygonPoints);
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_POINT);
    r->setPolygonMode(PolygonFill);
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_FILL);
}

TEST_F(GLRendererTest, PopStateRestoresColourBlendingAndMatrix)
{
    r->setColor(0.1f, 0.2f, 0.3f, 0.4f);
    r->disableBlend();
    r->translate(1.0f, 2.0f);

    r->pushState();
    r->setColor(Color(1.0f, 1.0f, 1.0f, 1.0f));
    r->setBlendFunc(BlendSrcAlpha, BlendOneMinusSrcAlpha);
    r->translate(Vector2(3.0f, 3.0f));
    r->rotate(30.0f);
    r->setLineWidth(3.0f);
    r->popState();

    GLfloat colour[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], 0.1f);
    EXPECT_FLOAT_EQ(colour[1], 0.2f);
    EXPECT_FLOAT_EQ(colour[2], 0.3f);
    EXPECT_FLOAT_EQ(colour[3], 0.4f);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLfloat lineWidth = 0.0f;
    glGetFloatv(GL_LINE_WIDTH, &lineWidth);
    EXPECT_FLOAT_EQ(lineWidth, 1.0f);
    GLdouble modelview[16] = {};
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    EXPECT_DOUBLE_EQ(modelview[0], 1.0) << "no rotation left";
    EXPECT_DOUBLE_EQ(modelview[1], 0.0);
    EXPECT_DOUBLE_EQ(modelview[12], 1.0) << "translation x";
    EXPECT_DOUBLE_EQ(modelview[13], 2.0) << "translation y";
}

TEST_F(GLRendererTest, TransformsMoveAndFlattenWhatIsDrawn)
{
    r->translate(2.0f, 1.0f);
    r->scale(2.0f, 2.0f);
    GLdouble modelview[16] = {};
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    EXPECT_DOUBLE_EQ(modelview[0], 2.0);
    EXPECT_DOUBLE_EQ(modelview[5], 2.0);
    EXPECT_DOUBLE_EQ(modelview[10], 0.0) << "the z scale is 0, not 1";

    // (0, 0)-(0.5, 0.5) scaled by 2 and moved by (2, 1): pixels 200..299, 100..199.
    fillRect(0.0f, 0.0f, 0.5f, 0.5f, Color(0.0f, 1.0f, 0.0f, 1.0f));
    const test::Frame frame = gl.frame();
    EXPECT_TRUE(pixelIs(frame.at(205, 105), Rgb{0, 255, 0}));
    EXPECT_TRUE(pixelIs(frame.at(295, 195), Rgb{0, 255, 0}));
    EXPECT_TRUE(pixelIs(frame.at(305, 150), Rgb{0, 0, 0}));
    EXPECT_TRUE(pixelIs(frame.at(25, 25), Rgb{0, 0, 0})) << "nothing at the untransformed place";

    r->loadIdentity();
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    EXPECT_DOUBLE_EQ(modelview[10], 1.0);
    EXPECT_DOUBLE_EQ(modelview[12], 0.0);
}

TEST_F(GLRendererTest, ReleasingTheContextTwiceLeavesStatusReleased)
{
    r->releaseContext();
    EXPECT_EQ(r->status, RendererReleased);
    EXPECT_EQ(r->context, nullptr);
    r->releaseContext();
    EXPECT_EQ(r->status, RendererReleased) << "the second call only sets the status again";
    EXPECT_EQ(r->context, nullptr);
}

TEST(GLRendererCreation, AWindowWithoutDeviceContextGivesStatusContextFailed)
{
    GLRenderer renderer(nullptr, 7.0f, 6.0f);
    EXPECT_EQ(renderer.status, RendererContextFailed);
    EXPECT_EQ(renderer.context, nullptr);
    float w = -1.0f;
    float h = -1.0f;
    renderer.logicalSize(w, h);
    EXPECT_EQ(w, 0.0f) << "no view is set up after a failure";
    EXPECT_EQ(h, 0.0f);
}

} // namespace
} // namespace vlo
