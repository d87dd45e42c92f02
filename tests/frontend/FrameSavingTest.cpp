// The show screen drawn with frame saving on puts on screen, frame by frame,
// exactly what it puts there with saving off, through the title with its
// caption reveal, a track change with the picture fade, the open menu, a
// credits run with the buttons sliding out and back, and idle stretches.
// What the window shows after a frame is the back buffer read at the
// moment it is presented; a frame kept off the screen leaves it showing
// the last one presented.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include <GL/gl.h>

#include "platform/Platform.h"
#include "support/ShowScreenHarness.h"

namespace vlo {
namespace {

using test::ShowScreenHarness;

// Middles of the menu's credits item with the menu opened at (150, 150).
constexpr int creditsItemX = 235;
constexpr int creditsItemY = 225;

struct Shot {
    std::string moment;
    uint64_t hash;
};

struct ShowRun {
    std::vector<Shot> shots;
    GLRenderer::FrameCounts counts;
};

// 64-bit FNV-1a of the pixels.
uint64_t hashOf(const std::vector<uint8_t>& bytes)
{
    uint64_t hash = 14695981039346656037ull;
    for (uint8_t byte : bytes) {
        hash ^= byte;
        hash *= 1099511628211ull;
    }
    return hash;
}

// Red, green and blue of every pixel of the back buffer.
uint64_t backBufferHash()
{
    std::vector<uint8_t> rgb(size_t(700) * 600 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, 700, 600, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return hashOf(rgb);
}

// Stands in the window's present path before the renderer: asks the
// renderer's decision and, for a frame that goes to the screen, notes what
// it shows.
struct ScreenWatch {
    GLRenderer* renderer = nullptr;
    uint64_t onScreen = 0;
    uint64_t presents = 0;

    static bool hook(void* owner, bool windowDamaged)
    {
        auto* watch = static_cast<ScreenWatch*>(owner);
        const bool present = watch->renderer->presentFrame(windowDamaged);
        if (present) {
            watch->onScreen = backBufferHash();
            ++watch->presents;
        }
        return present;
    }
};

ShowRun scriptedRun(bool saving)
{
    ShowRun run;
    ShowScreenHarness h{show::standardShow(3)};
    EXPECT_TRUE(h.rendererAccepted);
    if (!h.rendererAccepted)
        return run;
    h.renderer->setFrameSaving(saving);
    ScreenWatch watch;
    watch.renderer = h.renderer;
    setPresentHook(h.renderer->deviceContext(), &ScreenWatch::hook, &watch);
    auto frames = [&](const std::string& moment, float untilSeconds, uint32_t stepMs) {
        while (h.now() + 0.0005f < untilSeconds) {
            h.step(stepMs);
            run.shots.push_back({moment + " at " + std::to_string(h.now()) + " s", watch.onScreen});
        }
    };
    frames("title and caption reveal", 9.5f, 30);
    frames("idle after the title", 11.0f, 30);
    h.click(show::nextButtonPoint.x, show::nextButtonPoint.y);
    frames("track change and picture fade", 15.0f, 30);
    h.click(150, 150, RightButton);
    frames("open menu", 16.0f, 30);
    h.click(creditsItemX, creditsItemY);
    frames("credits and the buttons sliding", 28.0f, 30);
    frames("idle at the end", 29.0f, 30);
    run.counts = h.renderer->frameCounts();
    setPresentHook(h.renderer->deviceContext(), nullptr, nullptr);
    return run;
}

TEST(FrameSavingTest, TheScreenShowsTheSameFramesWithSavingOnAndOff)
{
    const ShowRun direct = scriptedRun(false);
    const ShowRun saving = scriptedRun(true);
    ASSERT_EQ(direct.shots.size(), saving.shots.size());
    ASSERT_GT(direct.shots.size(), 900u);

    size_t mismatches = 0;
    for (size_t i = 0; i < direct.shots.size(); ++i) {
        if (direct.shots[i].hash != saving.shots[i].hash) {
            if (++mismatches <= 5)
                ADD_FAILURE() << "frame " << i << " (" << direct.shots[i].moment << ") differs with saving on";
        }
    }
    EXPECT_EQ(mismatches, 0u);

    // The run shows many different pictures, so equal hashes say something.
    std::set<uint64_t> distinct;
    for (const Shot& shot : direct.shots)
        distinct.insert(shot.hash);
    EXPECT_GT(distinct.size(), 50u);

    EXPECT_EQ(direct.counts.skipped, 0u);
    EXPECT_EQ(direct.counts.droppedOperations, 0u);
    EXPECT_GT(saving.counts.skipped, 100u) << "idle frames were presented";
    EXPECT_GT(saving.counts.droppedOperations, 0u) << "the clear and the fill were drawn";
    // The title, the credits and the sliding buttons change only what is
    // drawn over a still background.
    EXPECT_EQ(direct.counts.restored, 0u);
    EXPECT_GT(saving.counts.restored, saving.counts.presented / 2)
        << "frames drawn whole though only their end changed";
    EXPECT_EQ(saving.counts.presented + saving.counts.skipped, saving.shots.size());
}

} // namespace
} // namespace vlo
