// Reading a drawn frame back from the back buffer, on a real OpenGL renderer
// over a hidden 700 x 600 window.
#include <gtest/gtest.h>

#include "render/FrameCapture.h"
#include "support/GLRendererHarness.h"

namespace vlo {
namespace {

using test::GLRendererHarness;

class FrameCaptureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gl.ready()) << "no usable GL renderer on a 700 x 600 window (is DISPLAY=:99 running?)";
        r = gl.renderer.get();
        r->clear(Color(0.0f, 0.0f, 1.0f, 1.0f));
        r->loadIdentity();
    }

    void fillRect(float x1, float y1, float x2, float y2, Color color)
    {
        r->bindTexture(0);
        r->setColor(color);
        r->drawRect(Vector2(x1, y1), Vector2(x2, y2), Vector2(0.0f, 0.0f));
    }

    // Red, green and blue of window pixel (x, y), origin top-left.
    static std::string rgbAt(const CapturedFrame& frame, int x, int y)
    {
        const uint8_t* p = frame.rgba.data() + (size_t(y) * size_t(frame.width) + size_t(x)) * 4;
        return std::to_string(p[0]) + " " + std::to_string(p[1]) + " " + std::to_string(p[2]);
    }

    GLRendererHarness gl;
    GLRenderer* r = nullptr;
};

TEST_F(FrameCaptureTest, ReadsTheWholeViewportTopRowFirst)
{
    // Red over the top-left unit square (pixels 0..99), green over the
    // bottom-right one (600..699 x 500..599), blue elsewhere.
    fillRect(0.0f, 0.0f, 1.0f, 1.0f, Color(1.0f, 0.0f, 0.0f, 1.0f));
    fillRect(6.0f, 5.0f, 7.0f, 6.0f, Color(0.0f, 1.0f, 0.0f, 1.0f));
    CapturedFrame frame;
    ASSERT_TRUE(captureFrame(frame));
    ASSERT_EQ(700, frame.width);
    ASSERT_EQ(600, frame.height);
    ASSERT_EQ(size_t(700 * 600 * 4), frame.rgba.size());
    EXPECT_EQ("255 0 0", rgbAt(frame, 0, 0)) << "top-left corner";
    EXPECT_EQ("255 0 0", rgbAt(frame, 99, 99)) << "last pixel of the red square";
    EXPECT_EQ("0 0 255", rgbAt(frame, 100, 100)) << "first pixel past it";
    EXPECT_EQ("0 255 0", rgbAt(frame, 699, 599)) << "bottom-right corner";
    EXPECT_EQ("0 255 0", rgbAt(frame, 600, 500));
    EXPECT_EQ("0 0 255", rgbAt(frame, 599, 499));
    EXPECT_EQ("0 0 255", rgbAt(frame, 0, 599)) << "bottom-left corner";
}

TEST_F(FrameCaptureTest, AgreesWithTheHarnessReadBackAndLeavesNoGLError)
{
    fillRect(2.5f, 1.5f, 4.0f, 3.0f, Color(0.2f, 0.4f, 0.6f, 1.0f));
    // An error left by someone else is not the read's own.
    glEnable(GLenum(0xFFFF));
    CapturedFrame frame;
    ASSERT_TRUE(captureFrame(frame));
    EXPECT_EQ(GLenum(GL_NO_ERROR), GLRendererHarness::takeGLError());
    const test::Frame reference = gl.frame();
    for (int y = 0; y < 600; y += 37) {
        for (int x = 0; x < 700; x += 41) {
            const test::Rgb expected = reference.at(x, y);
            const std::string wanted
                = std::to_string(expected.r) + " " + std::to_string(expected.g) + " " + std::to_string(expected.b);
            ASSERT_EQ(wanted, rgbAt(frame, x, y)) << "pixel (" << x << ", " << y << ")";
        }
    }
}

TEST_F(FrameCaptureTest, AnEmptyViewportGivesNothing)
{
    glViewport(0, 0, 0, 0);
    CapturedFrame frame;
    frame.width = 3;
    frame.rgba.resize(12);
    EXPECT_FALSE(captureFrame(frame));
    EXPECT_EQ(0, frame.width);
    EXPECT_EQ(0, frame.height);
    EXPECT_TRUE(frame.rgba.empty());
}

} // namespace
} // namespace vlo
