// The player buttons' slide: they wait out of view during the title, come in
// one after another at 3 units per second when it ends, snap exactly onto
// their place, leave while credits run and come back afterwards.
#include <gtest/gtest.h>

#include <array>

#include "support/ShowScreenHarness.h"
#include "widgets/PushButtonWidget.h"

namespace vlo {
namespace {

using test::ShowScreenHarness;

constexpr float eps = 1e-3f;
constexpr float waitingY = 6.35f;
constexpr float restingY = 4.85f;

std::array<float, 4> buttonYs(ShowScreen& s)
{
    std::array<float, 4> ys{};
    for (int i = 0; i < 4; ++i)
        ys[size_t(i)] = s.playerButton(i)->position().y;
    return ys;
}

class PanelSlideTest : public ::testing::Test {
protected:
    // Steps frames of 10 ms until the page logic has moved the target
    // (the frame on which the title's end is reported); returns that time.
    float runUntilTargetMoves()
    {
        h.fastForward(8.4f);
        const float before = s.panelTargetY;
        while (s.panelTargetY == before && h.now() < 12.0f)
            h.step();
        return h.now();
    }

    ShowScreenHarness h{show::standardShow(3)};
    ShowScreen& s = *h.screen;
};

TEST_F(PanelSlideTest, ButtonsWaitBelowTheWindowDuringTheTitle)
{
    h.fastForward(8.4f);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(s.playerButton(i)->position().y, s.panelTargetY) << "button " << i << " moved during the title";
    EXPECT_NEAR(s.panelTargetY, waitingY, eps);
    EXPECT_TRUE(s.panelAway);
}

TEST_F(PanelSlideTest, ButtonsComeInOneAfterAnotherAtThreeUnitsPerSecond)
{
    const float titleEnd = runUntilTargetMoves();
    EXPECT_NEAR(titleEnd, 8.52f, 0.015f) << "the title's end is reported the frame after 8.5 s";
    EXPECT_NEAR(s.panelTargetY, restingY, eps);
    EXPECT_FALSE(s.panelAway);

    // Follow every frame: when did each button leave its waiting place, and
    // does a moving button sit where 3 units per second puts it?
    std::array<float, 4> started{-1, -1, -1, -1};
    while (h.now() < titleEnd + 1.5f) {
        h.step();
        const auto ys = buttonYs(s);
        for (size_t i = 0; i < 4; ++i) {
            if (started[i] < 0 && ys[i] < waitingY - 1e-4f)
                started[i] = h.now() - 0.01f; // its timer started on the frame before
            if (started[i] >= 0 && ys[i] != s.panelTargetY) {
                const float expected = waitingY - (h.now() - started[i]) * 3.0f;
                EXPECT_NEAR(ys[i], expected, 0.002f) << "button " << i << " at " << h.now() << " s";
                EXPECT_GT(ys[i], s.panelTargetY) << "button " << i << " overshot";
            }
        }
    }
    EXPECT_NEAR(started[0], titleEnd, 0.001f) << "the play button starts at once";
    for (size_t i = 1; i < 4; ++i)
        EXPECT_NEAR(started[i] - started[i - 1], 0.2f, 0.0101f) << "stagger before button " << i;

    // Each snapped exactly onto the target.
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(s.playerButton(i)->position().y, s.panelTargetY) << "button " << i;
    EXPECT_FALSE(s.slideStates[3].timer.running);
    EXPECT_EQ(s.slideStates[3].timer.seconds(), 0.0f) << "an arrived button's timer stops at zero";
    // x never changes.
    EXPECT_NEAR(s.playButton->position().x, 1.35f, eps);
    EXPECT_NEAR(s.nextButton->position().x, 4.6f, eps);
}

TEST_F(PanelSlideTest, MoveTakesHalfASecondPerButton)
{
    const float titleEnd = runUntilTargetMoves();
    h.runUntil(titleEnd + 0.49f);
    EXPECT_GT(s.playButton->position().y, s.panelTargetY) << "the play button is still moving";
    h.runUntil(titleEnd + 0.51f);
    EXPECT_EQ(s.playButton->position().y, s.panelTargetY) << "the play button has arrived";
    EXPECT_GT(s.nextButton->position().y, s.panelTargetY) << "the next button is still on its way";
}

// A frame that comes long after the one before (a stalled machine, a window
// being dragged) lets the first button arrive before its follower started;
// the follower must still come in.
TEST_F(PanelSlideTest, LongPauseBetweenFramesStrandsNoButton)
{
    runUntilTargetMoves();
    h.step(10);
    h.step(10);
    ASSERT_LT(s.playButton->position().y, waitingY) << "the play button is under way";
    ASSERT_EQ(s.stopButton->position().y, waitingY) << "the stop button waits for its turn";
    h.step(700);
    EXPECT_EQ(s.playButton->position().y, s.panelTargetY) << "the play button arrived during the pause";
    h.runUntil(h.now() + 2.0f);
    const auto ys = buttonYs(s);
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(ys[i], s.panelTargetY) << "button " << i << " did not come in, y = " << ys[i];
}

TEST_F(PanelSlideTest, CreditsMoveTheButtonsOutAndBackToTheSamePlaces)
{
    h.fastForward(10.0f);
    ASSERT_EQ(s.nextButton->position().y, s.panelTargetY);
    const float rest = s.panelTargetY;

    for (int run = 0; run < 2; ++run) {
        ASSERT_TRUE(h.config->startCreditsOverlay(false)) << "run " << run;
        h.step();
        EXPECT_TRUE(s.panelAway) << "run " << run;
        EXPECT_NEAR(s.panelTargetY, rest + 1.5f, eps) << "run " << run;
        const float down = s.panelTargetY;
        h.fastForward(h.now() + 1.5f);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(s.playerButton(i)->position().y, down) << "run " << run << " button " << i << " left";

        // The show-only run ends after 10 s; the buttons come back.
        h.fastForward(h.now() + 9.0f);
        EXPECT_FALSE(s.panelAway) << "run " << run;
        EXPECT_EQ(s.panelTargetY, rest) << "run " << run << ": same resting place";
        h.fastForward(h.now() + 1.5f);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(s.playerButton(i)->position().y, rest) << "run " << run << " button " << i << " back";
        EXPECT_EQ(s.pageState.panelDownY, down);
    }
}

} // namespace
} // namespace vlo
