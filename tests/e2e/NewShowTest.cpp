// A show made by `vellumo-pack new` from an album folder runs in the viewer
// at once: the window opens and, once the title has faded, the first track's
// picture (the album's cover) and its caption are on the screen.
#include <signal.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "support/AlbumFixture.h"
#include "support/E2eProgram.h"
#include "support/ScratchDir.h"
#include "tools/PackRunner.h"

namespace vlo {
namespace {

using namespace e2e;

TEST(NewShow, RunsInTheViewerAsMade)
{
    if (displayName().empty())
        GTEST_SKIP() << "no X display (DISPLAY is not set)";
    test::ScratchDir dir("e2e-new-show");
    std::filesystem::create_directories(dir.path("album"));
    ASSERT_TRUE(test::writeOgg(dir.path("album/one.ogg"), test::sineTone(30.0, 440.0, 0.5)));
    ASSERT_TRUE(test::writeFlac(dir.path("album/two.flac"), test::sineTone(5.0, 550.0, 0.5)));
    ASSERT_TRUE(test::tagFile(dir.path("album/one.ogg"), {"Open Water", "The Tide", "Harbour Lights", 1, 2021}));
    ASSERT_TRUE(test::tagFile(dir.path("album/two.flac"), {"Low Tide", "The Tide", "Harbour Lights", 2, 2021}));
    dir.write("album/cover.jpg", test::solidJpeg(64, 64, 40, 160, 60));
    const std::vector<std::string> arguments = {"new", dir.path("show"), dir.path("album")};
    const test::PackResult made = test::runPack(arguments);
    ASSERT_EQ(0, made.status) << test::describeRun(arguments, made);

    Program program(
        VLO_BINARY_DIR "/vellumo", dir.path("show"), {"SDL_AUDIODRIVER=dummy"}, true, {}, dir.path("stderr.txt"));
    const WindowInfo window = program.waitForOwnWindow("Emberfall II", 30.0);
    ASSERT_TRUE(window.found) << program.errorOutput();
    sleepSeconds(11.0);
    const Screenshot shot = screenshot(window, dir.path("shot.rgb"));
    EXPECT_TRUE(near(shot.at(180, 285), Rgb{40, 160, 60}, 24)) << "the cover: " << describe(shot.at(180, 285));
    // The caption's title lettering darkens the caption band somewhere.
    int dark = 0;
    for (int x = 20; x < 400; ++x)
        for (int y = 20; y < 60; ++y)
            dark += shot.at(x, y).r + shot.at(x, y).g + shot.at(x, y).b < 3 * 100;
    EXPECT_GT(dark, 200) << "no caption lettering on the screen";

    program.sendSignal(SIGTERM);
    sleepSeconds(1.0);
    program.sendSignal(SIGTERM);
    ASSERT_TRUE(program.waitExit(20.0));
    EXPECT_EQ(0, program.exitStatus()) << program.errorOutput();
}

} // namespace
} // namespace vlo
