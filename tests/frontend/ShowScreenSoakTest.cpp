// Half an hour of a show whose tracks last 5 s each, on the fake clock: every
// track change swaps the caption and cross-fades the picture, so textures
// are deleted and loaded and streams freed and created all the time. After
// the first minute the numbers of live textures (as the renderer keeps them
// and as OpenGL knows them), pixel images and open streams stay where they
// were, minute after minute.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "support/ShowScreenHarness.h"

namespace vlo {
namespace {

using test::ShowScreenHarness;

constexpr uint32_t trackMs = 5000;
// Frames of 100 ms: every phase of each change still gets several frames.
constexpr uint32_t frameMs = 100;

struct Alive {
    size_t textures = 0;
    size_t glTextures = 0;
    size_t images = 0;
    size_t streams = 0;
};

Alive aliveIn(const ShowScreenHarness& h)
{
    Alive alive;
    GLuint highest = 0;
    for (GLuint name : h.renderer->textureNames) {
        if (name != 0)
            ++alive.textures;
        highest = std::max(highest, name);
    }
    // OpenGL's own view: a texture the renderer forgot without deleting it
    // still answers glIsTexture, under a name below the highest one given
    // out (or a little above it, where names are handed out anew).
    for (GLuint name = 1; name <= highest + 64; ++name) {
        if (glIsTexture(name))
            ++alive.glTextures;
    }
    while (h.renderer->imageInfo(int(alive.images) + 1) != nullptr)
        ++alive.images;
    alive.streams = h.audio.streams.size();
    return alive;
}

std::string describe(const Alive& a)
{
    return std::to_string(a.textures) + " textures (" + std::to_string(a.glTextures) + " in OpenGL), "
        + std::to_string(a.images) + " images, " + std::to_string(a.streams) + " streams";
}

TEST(ShowScreenSoakTest, HalfAnHourOfTrackChangesKeepsWhatIsAliveConstant)
{
    ShowScreenHarness h{show::standardShow(3)};
    ASSERT_TRUE(h.rendererAccepted);
    // Every track, the first one included, ends after 5 s.
    h.audio.defaultLengthMs = trackMs;
    ASSERT_NE(h.audio.streams.count(h.stream()), 0u);
    h.audio.streams[h.stream()].lengthMs = trackMs;

    h.runUntil(60.0f, frameMs);
    const Alive first = aliveIn(h);
    EXPECT_GT(first.textures, 20u) << "the screen's textures are not loaded";
    EXPECT_EQ(first.glTextures, first.textures);
    EXPECT_EQ(first.streams, 1u);
    const size_t changesBefore = h.audio.count("BASS_StreamCreateFile");

    for (int minute = 2; minute <= 30; ++minute) {
        h.runUntil(60.0f * float(minute), frameMs);
        const Alive now = aliveIn(h);
        EXPECT_EQ(now.textures, first.textures) << "minute " << minute << ": " << describe(now);
        EXPECT_EQ(now.glTextures, first.glTextures) << "minute " << minute << ": " << describe(now);
        EXPECT_EQ(now.images, first.images) << "minute " << minute << ": " << describe(now);
        EXPECT_EQ(now.streams, first.streams) << "minute " << minute << ": " << describe(now);
    }

    // 29 minutes of 5-second tracks: one change every 5 s (a frame or two
    // later each time, as the end is noticed on the next frame).
    const size_t changes = h.audio.count("BASS_StreamCreateFile") - changesBefore;
    EXPECT_GE(changes, 335u);
    EXPECT_LE(changes, 348u);
}

} // namespace
} // namespace vlo
