// The track picture's alpha ramps: 0.2 x pictureFadeSpeed alpha per second,
// in a straight line from where the ramp began, ending exactly on the target.
#include <gtest/gtest.h>

#include "support/ShowScreenHarness.h"
#include "widgets/StaticWidget.h"

namespace vlo {
namespace {

using test::ShowScreenHarness;

class PictureFadeTest : public ::testing::Test {
protected:
    float alpha() const { return s.picture->backgroundColor.a; }

    ShowScreenHarness h{show::standardShow(3)};
    ShowScreen& s = *h.screen;
};

TEST_F(PictureFadeTest, PictureFadesInOverFiveSecondsFromTheCaptionReveal)
{
    h.fastForward(3.35f);
    h.runUntil(3.4f);
    EXPECT_EQ(alpha(), 0.0f) << "invisible before the caption appears";
    h.runUntil(3.41f);
    ASSERT_TRUE(s.pageState.captionRevealed);
    const float began = h.now();
    EXPECT_EQ(alpha(), 0.0f) << "a ramp starts from where the picture is";
    // The alpha depends on the time only, not on how many frames were drawn.
    h.runUntil(began + 1.0f, 50);
    EXPECT_NEAR(alpha(), 0.2f, 1e-3f);
    h.runUntil(began + 2.5f, 50);
    EXPECT_NEAR(alpha(), 0.5f, 1e-3f);
    h.runUntil(began + 4.95f, 50);
    h.runUntil(began + 4.99f);
    EXPECT_LT(alpha(), 1.0f);
    h.runUntil(began + 5.01f);
    EXPECT_EQ(alpha(), 1.0f) << "the ramp ends exactly on the target";
    EXPECT_FALSE(s.fadeState.fadeTimer.running);
    EXPECT_EQ(s.fadeState.fadeStart, 1.0f);
}

TEST_F(PictureFadeTest, TrackChangeFadesOutAndInAtPointSevenPerSecond)
{
    h.fastForward(10.0f);
    ASSERT_EQ(alpha(), 1.0f);
    h.audio.finish(h.stream());
    h.step();
    const float changed = h.now();
    h.runUntil(changed + 0.5f);
    EXPECT_NEAR(alpha(), 1.0f - 0.35f, 2e-3f);
    h.runUntil(changed + 1.0f);
    EXPECT_NEAR(alpha(), 0.3f, 2e-3f);
    h.runUntil(changed + 1.45f);
    EXPECT_EQ(alpha(), 0.0f) << "a full fade out takes about 1.43 s";
    // The new picture is set 1.5 s after the change and fades in.
    while (s.trackSwapPending && h.now() < changed + 2.0f)
        h.step();
    ASSERT_FALSE(s.trackSwapPending);
    const float swapped = h.now();
    // Due once more than 1.5 s has passed: on the frame at 1.5 s or the next
    // (ticks times 0.001 rounds 1500 ms a hair above 1.5).
    EXPECT_NEAR(swapped - changed, 1.505f, 0.006f);
    h.runUntil(swapped + 0.5f);
    EXPECT_NEAR(alpha(), 0.35f, 2e-3f);
    h.runUntil(swapped + 1.5f);
    EXPECT_EQ(alpha(), 1.0f);
}

TEST_F(PictureFadeTest, AlphaOnTargetStartsNoRamp)
{
    h.fastForward(10.0f);
    ASSERT_EQ(alpha(), s.pictureAlphaTarget);
    const FrameTimer before = s.fadeState.fadeTimer;
    h.fastForward(12.0f);
    EXPECT_EQ(alpha(), 1.0f);
    EXPECT_EQ(s.fadeState.fadeTimer.running, before.running);
    EXPECT_EQ(s.fadeState.fadeTimer.startTick, before.startTick) << "the fade timer was touched";
    EXPECT_EQ(s.fadeState.fadeTimer.pauseTick, before.pauseTick) << "the fade timer was touched";
}

TEST_F(PictureFadeTest, TargetChangeMidRampTurnsTheRampAround)
{
    h.fastForward(10.0f);
    s.pictureAlphaTarget = 0.0f;
    s.pictureFadeSpeed = 5.0f; // one alpha per second
    h.runUntil(10.5f);
    // The ramp began on the frame at 10.01 s.
    EXPECT_NEAR(alpha(), 0.51f, 2e-3f);
    EXPECT_TRUE(s.fadeState.fadingDown);
    s.pictureAlphaTarget = 1.0f;
    h.step();
    EXPECT_FALSE(s.fadeState.fadingDown) << "a new ramp upwards began";
    const float turned = h.now();
    const float from = s.fadeState.fadeStart;
    EXPECT_NEAR(from, 0.51f, 2e-3f);
    h.runUntil(turned + 0.25f);
    EXPECT_NEAR(alpha(), from + 0.25f, 2e-3f);
    h.runUntil(turned + 0.6f);
    EXPECT_EQ(alpha(), 1.0f);
}

} // namespace
} // namespace vlo
