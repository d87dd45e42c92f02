#pragma once
// A GLRenderer with a 7 x 6 GUI-unit view on a hidden 700 x 600 window, and
// read-back of what it drew. Pixels are read from the back buffer before
// any SwapBuffers, positions are window pixels with the origin top-left (as
// the GUI units are: GUI (1, 2) is pixel (100, 200)).
//
//   vlo::test::GLRendererHarness gl;
//   ASSERT_TRUE(gl.ready());
//   gl.renderer->clear(vlo::Color(0, 0, 0, 1));
//   EXPECT_TRUE(vlo::test::pixelIs(gl.pixel(10, 20), {0, 0, 0}));

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "render/GLRenderer.h"
#include "support/TestWindow.h"

namespace vlo {
namespace test {

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
};

inline bool operator==(const Rgb& a, const Rgb& b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

inline std::ostream& operator<<(std::ostream& out, const Rgb& c)
{
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

// Every channel within `tolerance` of the expected value.
inline ::testing::AssertionResult pixelIs(const Rgb& got, const Rgb& expected, int tolerance = 0)
{
    if (std::abs(got.r - expected.r) <= tolerance && std::abs(got.g - expected.g) <= tolerance
        && std::abs(got.b - expected.b) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "expected " << expected << " (+-" << tolerance << "), got " << got;
}

// The whole colour buffer as read at one moment, top row first.
class Frame {
public:
    Frame(int width, int height)
        : width_(width)
        , height_(height)
        , rgba_(size_t(width) * size_t(height) * 4)
    {
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba_.data());
    }

    int width() const { return width_; }
    int height() const { return height_; }

    // Window pixel (x, y), origin top-left; GL rows start at the bottom.
    Rgb at(int x, int y) const
    {
        const uint8_t* p = rgba_.data() + (size_t(height_ - 1 - y) * size_t(width_) + size_t(x)) * 4;
        return Rgb{p[0], p[1], p[2]};
    }
    int alphaAt(int x, int y) const { return rgba_[(size_t(height_ - 1 - y) * size_t(width_) + size_t(x)) * 4 + 3]; }

    bool operator==(const Frame& other) const { return rgba_ == other.rgba_; }

private:
    int width_;
    int height_;
    std::vector<uint8_t> rgba_;
};

class GLRendererHarness {
public:
    static constexpr int width = 700;
    static constexpr int height = 600;

    GLRendererHarness()
        : window_(width, height)
    {
        if (window_.valid()) {
            renderer = std::make_unique<GLRenderer>(window_.handle(), 7.0f, 6.0f);
        }
    }

    // The owner releases the context before deleting the renderer.
    ~GLRendererHarness()
    {
        if (renderer) {
            renderer->releaseContext();
            renderer.reset();
        }
    }

    GLRendererHarness(const GLRendererHarness&) = delete;
    GLRendererHarness& operator=(const GLRendererHarness&) = delete;

    bool ready() const { return renderer != nullptr && renderer->status == RendererReady; }
    HWND window() const { return window_.handle(); }

    Frame frame() const { return Frame(width, height); }
    Rgb pixel(int x, int y) const
    {
        uint8_t rgba[4] = {};
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadBuffer(GL_BACK);
        glReadPixels(x, height - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        return Rgb{rgba[0], rgba[1], rgba[2]};
    }

    // Drains the GL error queue; returns the first error, GL_NO_ERROR if none.
    static GLenum takeGLError()
    {
        const GLenum first = glGetError();
        for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) { }
        return first;
    }

    std::unique_ptr<GLRenderer> renderer;

private:
    TestWindow window_;
};

} // namespace test
} // namespace vlo
