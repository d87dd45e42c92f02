// Escape while the title overlay runs ends the program at once, status 0; a
// close request while the pictures still load ends it too.
#include <gtest/gtest.h>

#include <png.h>
#include <signal.h>

#include <filesystem>

#include "support/E2eProgram.h"
#include "support/E2eShow.h"
#include "support/ImageFixtures.h"

namespace vlo {
namespace {

using namespace e2e;

TEST(Quit, EscapeDuringTheTitleEndsAtOnce)
{
    if (displayName().empty())
        GTEST_SKIP() << "no X display (DISPLAY is not set)";
    test::ScratchDir folder("e2e-quit");
    writeShow(folder, show::standardShow(2));
    Program program(VLO_BINARY_DIR "/vellumo", folder.path(), {"SDL_AUDIODRIVER=dummy"});
    const WindowInfo window = program.waitForWindow("Emberfall II", 30.0);
    ASSERT_TRUE(window.found) << program.errorOutput();
    sleepSeconds(2.0);
    const double escaped = program.secondsSinceStart();
    keyTo(window.id, "Escape");
    ASSERT_TRUE(program.waitExit(5.0)) << "still running after Escape during the title";
    EXPECT_LT(program.exitTime() - escaped, 2.0);
    EXPECT_EQ(program.exitStatus(), 0) << program.errorOutput();
    EXPECT_EQ(leftoverExtractionFiles(folder), "");
}

// A show whose every picture is large: loading them all takes many seconds.
// A close request (here SIGTERM, which the window system turns into one)
// while they load is answered between two pictures: the program ends within
// one picture's load, status 0, without ever showing its window, and leaves
// no extraction file. The time bound is loose (a loaded machine with the
// sanitizers takes seconds per large picture); the window that never shows
// is what tells that the remaining pictures were not loaded.
TEST(Quit, CloseRequestWhileThePicturesLoadEndsAtOnce)
{
    if (displayName().empty())
        GTEST_SKIP() << "no X display (DISPLAY is not set)";
    test::ScratchDir folder("e2e-quit-loading");
    show::ShowContent content = show::standardShow(1);
    // 2048 x 2048 RGB, 12 MiB decoded; flat, so the file itself is small.
    fixtures::PngSpec spec;
    spec.width = 2048;
    spec.height = 2048;
    spec.colourType = PNG_COLOR_TYPE_RGB;
    spec.rows.assign(size_t(spec.width) * spec.height * 3, 90);
    const fixtures::Bytes large = fixtures::pngFile(spec);
    ASSERT_FALSE(large.empty());
    const std::string largePng(large.begin(), large.end());
    for (const auto& entry : content.pictures)
        content.rawEntries[entry.first] = largePng;
    content.pictures.clear();
    writeShow(folder, content);

    Program program(VLO_BINARY_DIR "/vellumo", folder.path(), {"SDL_AUDIODRIVER=dummy"});
    // The first picture is being read while its extraction file is there.
    const std::string extraction = folder.path("data.zuo.temp.png");
    const double giveUp = 30.0;
    while (program.running() && program.secondsSinceStart() < giveUp && !std::filesystem::exists(extraction))
        sleepSeconds(0.005);
    ASSERT_TRUE(program.running()) << program.errorOutput();
    ASSERT_TRUE(std::filesystem::exists(extraction)) << "no picture was loading after " << giveUp << " s";
    sleepSeconds(0.3);
    const WindowInfo early = findWindowOf("Emberfall II", program.processId());
    ASSERT_FALSE(early.found && isViewable(early.id))
        << "the window is already shown: the pictures load too fast for this test";

    const double asked = program.secondsSinceStart();
    program.sendSignal(SIGTERM);
    bool shown = false;
    while (program.running() && program.secondsSinceStart() - asked < 20.0) {
        const WindowInfo now = findWindowOf("Emberfall II", program.processId());
        shown = shown || (now.found && isViewable(now.id));
        sleepSeconds(0.02);
    }
    ASSERT_FALSE(program.running()) << "still loading pictures 20 s after the close request";
    EXPECT_FALSE(shown) << "the start-up went on to show the window after the close request";
    EXPECT_LT(program.exitTime() - asked, 4.0) << "seconds from the close request to the end";
    EXPECT_FALSE(program.crashed()) << "ended by the signal itself, not by answering it";
    EXPECT_EQ(program.exitStatus(), 0) << program.errorOutput();
    EXPECT_EQ(leftoverExtractionFiles(folder), "");
}

} // namespace
} // namespace vlo
