// The title and credits overlays of the show: the calls drawOverlays makes,
// on a recording renderer, and what they look like on real OpenGL (a hidden
// window; needs the X server). Time comes from a fake tick count.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "content/ShowConfig.h"
#include "render/GLRenderer.h"
#include "support/FakeClock.h"
#include "support/GLRendererHarness.h"
#include "support/ImageFixtures.h"
#include "support/RecordingRenderer.h"
#include "support/ScratchDir.h"

namespace vlo {
namespace {

using test::pixelIs;
using test::RendererCall;
using test::Rgb;

constexpr double kPi = 3.14159265358979;

// A configuration with no file behind it: the overlays need none.
std::unique_ptr<ShowConfig> emptyConfig()
{
    return std::make_unique<ShowConfig>("");
}

class OverlayCallsTest : public ::testing::Test {
protected:
    // The calls of one drawOverlays at `ms` after the overlays started.
    std::vector<RendererCall> drawAt(uint32_t ms)
    {
        clock.set(start + ms);
        renderer.clearCalls();
        config->drawOverlays(renderer);
        return renderer.calls;
    }

    // The alpha of the one overlay drawn at `ms`.
    float alphaAt(uint32_t ms)
    {
        const std::vector<RendererCall> calls = drawAt(ms);
        std::vector<float> alphas;
        for (const RendererCall& call : calls)
            if (call.op == "setColor")
                alphas.push_back(call.floats[3]);
        EXPECT_EQ(alphas.size(), 1u) << renderer.transcript();
        return alphas.empty() ? -1.0f : alphas[0];
    }

    static constexpr uint32_t start = 7000;
    test::FakeClock clock{start};
    test::RecordingRenderer renderer;
    std::unique_ptr<ShowConfig> config = emptyConfig();
};

TEST_F(OverlayCallsTest, NothingIsDrawnWithoutAnOverlay)
{
    EXPECT_TRUE(drawAt(100).empty()) << renderer.transcript();
}

TEST_F(OverlayCallsTest, TheTitleIsTheTexturedViewBlendedByItsAlpha)
{
    config->titleTexture = 3;
    config->setTitleDuration(8.5f);
    ASSERT_TRUE(config->startTitleOverlay());
    const std::vector<RendererCall> calls = drawAt(2125); // a quarter of the title
    const std::vector<std::string> expected
        = {"pushState", "setBlendFunc", "setColor", "bindTexture", "drawTexturedRect", "disableBlend", "popState"};
    ASSERT_EQ(calls.size(), expected.size()) << renderer.transcript();
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(calls[i].op, expected[i]) << "call " << i << "\n" << renderer.transcript();
    EXPECT_EQ(calls[1].ints, (std::vector<int>{BlendSrcAlpha, BlendOneMinusSrcAlpha}));
    ASSERT_EQ(calls[2].floats.size(), 4u);
    EXPECT_FLOAT_EQ(calls[2].floats[0], 1.0f);
    EXPECT_FLOAT_EQ(calls[2].floats[1], 1.0f);
    EXPECT_FLOAT_EQ(calls[2].floats[2], 1.0f);
    EXPECT_NEAR(calls[2].floats[3], std::sin(kPi / 4), 1e-5) << "alpha a quarter into the title";
    EXPECT_EQ(calls[3].ints, (std::vector<int>{3}));
    EXPECT_EQ(calls[4].floats, (std::vector<float>{0.0f, 0.0f, 7.0f, 6.0f})) << calls[4].describe();
    EXPECT_EQ(calls[4].ints, (std::vector<int>{3}));
}

TEST_F(OverlayCallsTest, TheOverlayCoversTheRendererViewWhateverItsSize)
{
    test::RecordingRenderer wide(9.0f, 4.5f, 900, 450);
    ASSERT_TRUE(config->startTitleOverlay());
    clock.set(start + 1000);
    config->drawOverlays(wide);
    const std::vector<RendererCall> rects = wide.callsOf("drawTexturedRect");
    ASSERT_EQ(rects.size(), 1u) << wide.transcript();
    EXPECT_EQ(rects[0].floats, (std::vector<float>{0.0f, 0.0f, 9.0f, 4.5f})) << rects[0].describe();
}

TEST_F(OverlayCallsTest, TheTitleRisesToFullAtHalfItsTimeAndEndsAfterIt)
{
    config->setTitleDuration(8.5f);
    ASSERT_TRUE(config->startTitleOverlay());
    EXPECT_NEAR(alphaAt(0), 0.0f, 1e-6);
    EXPECT_NEAR(alphaAt(4250), 1.0f, 1e-6);
    EXPECT_NEAR(alphaAt(8500), 0.0f, 1e-5);
    EXPECT_TRUE(config->titleTimer.running) << "not past its time yet at 8.5 s";
    EXPECT_NEAR(alphaAt(8510), std::fabs(std::sin(kPi * 8.51 / 8.5)), 1e-4) << "the last frame is still drawn";
    EXPECT_FALSE(config->titleTimer.running) << "paused past 8.5 s";
    EXPECT_NEAR(config->titleTimer.seconds(), 8.51f, 1e-4) << "the time is kept";
    EXPECT_TRUE(drawAt(9000).empty()) << renderer.transcript();
}

TEST_F(OverlayCallsTest, ShowOnlyCreditsFadeOutAgain)
{
    config->creditsTexture = 5;
    config->setCreditsDuration(10.0f);
    ASSERT_TRUE(config->startCreditsOverlay(false));
    EXPECT_NEAR(alphaAt(2000), std::sin(kPi * 0.2), 1e-4);
    EXPECT_NEAR(alphaAt(5000), 1.0f, 1e-6);
    EXPECT_TRUE(config->creditsAtFull);
    EXPECT_NEAR(alphaAt(9000), std::sin(kPi * 0.9), 1e-4) << "not held outside the closing sequence";
    alphaAt(10010);
    EXPECT_FALSE(config->creditsTimer.running);
    EXPECT_FALSE(config->creditsAtFull) << "cleared at the end of a show-only run";
}

TEST_F(OverlayCallsTest, TitleIsDrawnBeforeCreditsWhenBothRun)
{
    config->titleTexture = 1;
    config->creditsTexture = 2;
    ASSERT_TRUE(config->startCreditsOverlay(false));
    ASSERT_TRUE(config->startTitleOverlay()) << "the title does not wait for the credits";
    drawAt(500);
    const std::vector<RendererCall> rects = renderer.callsOf("drawTexturedRect");
    ASSERT_EQ(rects.size(), 2u) << renderer.transcript();
    EXPECT_EQ(rects[0].ints[0], 1);
    EXPECT_EQ(rects[1].ints[0], 2);
}

TEST_F(OverlayCallsTest, AZeroDurationShowsNothingAndEndsAtOnce)
{
    config->setTitleDuration(0.0f);
    ASSERT_TRUE(config->startTitleOverlay());
    const float alpha = alphaAt(0);
    EXPECT_FALSE(std::isnan(alpha)) << "no division by a zero duration";
    EXPECT_EQ(alpha, 0.0f);
    EXPECT_TRUE(config->titleTimer.running) << "0 s is not past 0 s";
    EXPECT_EQ(alphaAt(10), 0.0f);
    EXPECT_FALSE(config->titleTimer.running);
}

// On real OpenGL: a blue view, and a red title picture over it.
class OverlayPixelsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gl.ready()) << "no OpenGL renderer (is DISPLAY set?)";
        const int side = 64;
        fixtures::Bytes pixels;
        for (int i = 0; i < side * side; ++i)
            pixels.insert(pixels.end(), {0, 0, 255}); // blue, green, red
        const fixtures::Bytes bmp = fixtures::bmpFile(side, side, 24, 0, pixels);
        folder.write("title.bmp", std::string(bmp.begin(), bmp.end()));
        config->titleTexture = gl.renderer->loadTexture(folder.path("title.bmp").c_str(), FilterLinear, false);
        ASSERT_NE(config->titleTexture, 0);
        config->setTitleDuration(8.5f);
        ASSERT_TRUE(config->startTitleOverlay());
    }

    // One frame at `ms` into the title: the blue view, then the overlays.
    void drawAt(uint32_t ms)
    {
        clock.set(start + ms);
        gl.renderer->clear(Color(0.0f, 0.0f, 1.0f, 1.0f));
        gl.renderer->loadIdentity();
        config->drawOverlays(*gl.renderer);
    }

    // Corners, edges and centre of the 700 x 600 view.
    static std::vector<std::pair<int, int>> probes()
    {
        return {{0, 0}, {699, 0}, {0, 599}, {699, 599}, {350, 300}, {350, 0}, {0, 300}, {699, 300}, {350, 599}};
    }

    static constexpr uint32_t start = 20000;
    test::FakeClock clock{start};
    test::GLRendererHarness gl;
    test::ScratchDir folder{"overlay"};
    std::unique_ptr<ShowConfig> config = emptyConfig();
};

TEST_F(OverlayPixelsTest, AtHalfItsTimeTheTitleCoversTheViewFully)
{
    drawAt(4250);
    const test::Frame frame = gl.frame();
    for (const auto& p : probes())
        EXPECT_TRUE(pixelIs(frame.at(p.first, p.second), Rgb{255, 0, 0}, 2)) << "pixel " << p.first << ", " << p.second;
}

TEST_F(OverlayPixelsTest, AtItsStartAndEndTheTitleIsInvisible)
{
    for (uint32_t ms : {0u, 8500u}) {
        drawAt(ms);
        const test::Frame frame = gl.frame();
        for (const auto& p : probes())
            EXPECT_TRUE(pixelIs(frame.at(p.first, p.second), Rgb{0, 0, 255}, 2))
                << "at " << ms << " ms, pixel " << p.first << ", " << p.second;
    }
}

TEST_F(OverlayPixelsTest, OnTheWayTheTitleBlendsWithTheView)
{
    drawAt(8500 / 6); // sin(pi / 6): half opacity
    EXPECT_TRUE(pixelIs(gl.pixel(350, 300), Rgb{128, 0, 127}, 3));
}

} // namespace
} // namespace vlo
