// The state that decides whether a quad overwrites the whole window.

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "render/CoverState.h"

namespace vlo {
namespace {

constexpr uint32_t GlOne = 1;
constexpr uint32_t GlZero = 0;
constexpr uint32_t GlSrcAlpha = 0x0302;
constexpr uint32_t GlLine = 0x1B01;
constexpr uint32_t GlFill = 0x1B02;

class CoverStateTest : public ::testing::Test {
protected:
    void SetUp() override { state.setView(7.0f, 6.0f, 700, 600); }

    // Adds an operation and follows it.
    void run(FrameOp op, std::initializer_list<float> args = {})
    {
        const size_t pos = list.size();
        list.add(op, args);
        state.apply(list, pos);
    }
    void runWords(FrameOp op, std::initializer_list<uint32_t> args)
    {
        const size_t pos = list.size();
        list.addWords(op, args);
        state.apply(list, pos);
    }

    // Whether a rectangle from (x1, y1) to (x2, y2), as drawRect gives its
    // corners, would cover the window now.
    bool covers(float x1, float y1, float x2, float y2)
    {
        const size_t pos = list.size();
        list.add(FrameOp::Quad, {x1, y1, x2, y1, x2, y2, x1, y2, 1, 1});
        return state.coversWindow(list, pos);
    }

    FrameList list;
    CoverState state{16};
};

TEST_F(CoverStateTest, AnUnblendedFilledQuadOverTheViewCovers)
{
    EXPECT_TRUE(covers(0, 0, 7, 6)) << "the defaults: fill, no blending, identity";
    EXPECT_TRUE(covers(7, 6, 0, 0)) << "corners in the other order";
    EXPECT_TRUE(covers(-1, -1, 8, 7)) << "beyond the view";
    EXPECT_TRUE(covers(0.002f, 0.002f, 6.998f, 5.998f)) << "a fifth of a pixel in: still past every pixel centre";
    EXPECT_FALSE(covers(0.004f, 0, 7, 6)) << "closer to the first pixel centres than the margin";
    EXPECT_FALSE(covers(0.01f, 0, 7, 6)) << "the first pixel column missed";
    EXPECT_FALSE(covers(0, 0, 7, 5.99f)) << "the last pixel row missed";
    EXPECT_FALSE(covers(0, 0, 7.0f, 6.0f / 0.0f * 0.0f)) << "NaN";

    FrameList triangle;
    triangle.add(FrameOp::Triangle, {-10, -10, 30, -10, -10, 30});
    EXPECT_FALSE(state.coversWindow(triangle, 0)) << "only quads are considered";

    FrameList skewed;
    skewed.add(FrameOp::Quad, {0, 0, 7, 0, 7.5f, 6, 0, 6, 1, 1});
    EXPECT_FALSE(state.coversWindow(skewed, 0)) << "not a rectangle";
}

TEST_F(CoverStateTest, BlendingAndPolygonModeDecide)
{
    runWords(FrameOp::BlendFunc, {GlOne, GlZero});
    EXPECT_TRUE(covers(0, 0, 7, 6)) << "ONE, ZERO";
    runWords(FrameOp::BlendFunc, {GlSrcAlpha, GlZero});
    EXPECT_FALSE(covers(0, 0, 7, 6)) << "SRC_ALPHA, ZERO";
    runWords(FrameOp::BlendFunc, {GlOne, GlOne});
    EXPECT_FALSE(covers(0, 0, 7, 6)) << "ONE, ONE";
    run(FrameOp::DisableBlend);
    EXPECT_TRUE(covers(0, 0, 7, 6)) << "blending off again";

    runWords(FrameOp::PolygonMode, {GlLine});
    EXPECT_FALSE(covers(0, 0, 7, 6)) << "outline";
    runWords(FrameOp::PolygonMode, {GlFill});
    EXPECT_TRUE(covers(0, 0, 7, 6)) << "filled again";
}

TEST_F(CoverStateTest, TheModelviewMatrixMovesTheQuad)
{
    run(FrameOp::Translate, {1, 0});
    EXPECT_FALSE(covers(0, 0, 7, 6));
    EXPECT_TRUE(covers(-1, 0, 6, 6));
    run(FrameOp::Scale, {0.5f, 0.5f});
    EXPECT_TRUE(covers(-2, 0, 12, 12));
    EXPECT_FALSE(covers(-2, 0, 11.9f, 12));
    run(FrameOp::LoadIdentity);
    EXPECT_TRUE(covers(0, 0, 7, 6));
    run(FrameOp::Rotate, {30});
    EXPECT_FALSE(covers(-100, -100, 100, 100)) << "rotated: nothing is claimed";
    run(FrameOp::LoadIdentity);
    run(FrameOp::Rotate, {0});
    EXPECT_TRUE(covers(0, 0, 7, 6)) << "a rotation by 0 leaves the matrix alone";
}

TEST_F(CoverStateTest, PopStateRestoresWhatPushStateSaved)
{
    run(FrameOp::PushState);
    runWords(FrameOp::BlendFunc, {GlSrcAlpha, GlZero});
    runWords(FrameOp::PolygonMode, {GlLine});
    run(FrameOp::Translate, {3, 3});
    EXPECT_FALSE(covers(0, 0, 7, 6));
    run(FrameOp::PopState);
    EXPECT_TRUE(covers(0, 0, 7, 6));
    // A pop of an empty stack changes nothing.
    runWords(FrameOp::BlendFunc, {GlSrcAlpha, GlZero});
    run(FrameOp::PopState);
    EXPECT_FALSE(covers(0, 0, 7, 6));
}

TEST_F(CoverStateTest, AStackThatCouldOverflowEndsAllClaims)
{
    CoverState shallow(2);
    shallow.setView(7.0f, 6.0f, 700, 600);
    FrameList ops;
    ops.add(FrameOp::PushState);
    ops.add(FrameOp::PushState);
    shallow.apply(ops, 0);
    shallow.apply(ops, 1);
    EXPECT_TRUE(shallow.known());
    // Text pushes once more on its own: a third level.
    ops.addText(1u, 0, 0, "x");
    shallow.apply(ops, 2);
    EXPECT_FALSE(shallow.known());
    FrameList quad;
    quad.add(FrameOp::Quad, {0, 0, 7, 0, 7, 6, 0, 6, 1, 1});
    EXPECT_FALSE(shallow.coversWindow(quad, 0));
}

TEST_F(CoverStateTest, AReadingOfOtherStateDoesNotMatch)
{
    // OpenGL's state after the renderer's set-up of a 7 x 6 view.
    CoverState::Reading followed;
    followed.polygonModes[0] = followed.polygonModes[1] = int(GlFill);
    followed.matrixMode = 0x1700; // GL_MODELVIEW
    followed.viewport[2] = 700;
    followed.viewport[3] = 600;
    const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    const float ortho[16] = {2.0f / 7.0f, 0, 0, 0, 0, -2.0f / 6.0f, 0, 0, 0, 0, -1, 0, -1, 1, 0, 1};
    std::copy(std::begin(identity), std::end(identity), followed.modelview);
    std::copy(std::begin(ortho), std::end(ortho), followed.projection);
    EXPECT_TRUE(state.matches(followed));

    CoverState::Reading other = followed;
    other.polygonModes[1] = int(GlLine);
    EXPECT_FALSE(state.matches(other)) << "back faces drawn as lines";
    other = followed;
    other.blend = true;
    EXPECT_FALSE(state.matches(other)) << "blending on";
    other = followed;
    other.matrixMode = 0x1701; // GL_PROJECTION
    EXPECT_FALSE(state.matches(other)) << "the projection matrix current";
    other = followed;
    other.modelview[12] = 0.01f;
    EXPECT_FALSE(state.matches(other)) << "a translated modelview matrix";
    other = followed;
    other.projection[0] = 1.0f;
    EXPECT_FALSE(state.matches(other)) << "another projection";
    other = followed;
    other.viewport[2] = 350;
    EXPECT_FALSE(state.matches(other)) << "another viewport";

    runWords(FrameOp::BlendFunc, {GlSrcAlpha, GlOne});
    other = followed;
    other.blend = true;
    other.blendSource = int(GlSrcAlpha);
    other.blendDestination = int(GlOne);
    EXPECT_TRUE(state.matches(other)) << "blending as followed";
    other.blendDestination = int(GlZero);
    EXPECT_FALSE(state.matches(other)) << "other blend factors";
}

} // namespace
} // namespace vlo
