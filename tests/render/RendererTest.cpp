// The shared part of every renderer: the view size, the tables and the
// bodies of the abstract class's own operations.

#include <gtest/gtest.h>

#include "render/GLRenderer.h"
#include "support/GLRendererHarness.h"

namespace vlo {
namespace {

class RendererTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(gl.ready()) << "no usable GL renderer (is DISPLAY=:99 running?)"; }

    test::GLRendererHarness gl;
};

TEST_F(RendererTest, EmptyTablesAnswerNothingForAnyNumber)
{
    Renderer& renderer = *gl.renderer;
    for (int number : {0, 1, 2, -1, 1000}) {
        EXPECT_EQ(renderer.textureInfo(number), nullptr) << "texture " << number;
        const Vector2 extent = renderer.textureExtent(number);
        EXPECT_EQ(extent.x, 0.0f) << "texture " << number;
        EXPECT_EQ(extent.y, 0.0f) << "texture " << number;
        EXPECT_EQ(renderer.imageInfo(number), nullptr) << "image " << number;
        EXPECT_EQ(renderer.fontInfo(number), nullptr) << "font " << number;
    }
}

TEST_F(RendererTest, SetLogicalSizeRecomputesUnitsPerPixelAndTheProjection)
{
    Renderer& renderer = *gl.renderer;
    renderer.setLogicalSize(14.0f, 3.0f);
    float w = 0.0f;
    float h = 0.0f;
    renderer.logicalSize(w, h);
    EXPECT_FLOAT_EQ(w, 14.0f);
    EXPECT_FLOAT_EQ(h, 3.0f);
    float x = 0.0f;
    float y = 0.0f;
    renderer.unitsPerPixel(x, y);
    EXPECT_FLOAT_EQ(x, 14.0f / 700.0f);
    EXPECT_FLOAT_EQ(y, 3.0f / 600.0f);
    const Vector2 corner = renderer.unproject(700, 600);
    EXPECT_NEAR(corner.x, 14.0f, 1e-4) << "the projection follows the new view";
    EXPECT_NEAR(corner.y, 3.0f, 1e-4);
}

TEST_F(RendererTest, BaseBodiesOfTheAbstractClassRefuse)
{
    Renderer& renderer = *gl.renderer;
    EXPECT_FALSE(renderer.Renderer::isUsable()) << "the abstract renderer cannot draw";
    EXPECT_TRUE(renderer.isUsable()) << "the GL renderer can";
    EXPECT_FALSE(renderer.Renderer::createContext(gl.window()));
    EXPECT_EQ(renderer.status, RendererContextFailed) << "the base createContext reports failure";
    renderer.status = RendererReady;
    renderer.Renderer::releaseContext();
    EXPECT_EQ(renderer.status, RendererReady) << "the base releaseContext does nothing";
}

} // namespace
} // namespace vlo
