// `vellumo DIR` started from another working folder, with a symbolic link
// planted under the name of the first picture's extraction file: the show
// runs from DIR (its music too), the link's target is untouched, and no
// extraction file is left in either folder.
#include <signal.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/E2eProgram.h"
#include "support/E2eShow.h"

namespace vlo {
namespace {

using namespace e2e;

Rgb rgbOf(show::Rgba c)
{
    return Rgb{c.r, c.g, c.b};
}

TEST(ShowFolder, RunsTheGivenFolderFromElsewhereAndLeavesAPlantedLinkAlone)
{
    if (displayName().empty())
        GTEST_SKIP() << "no X display (DISPLAY is not set)";
    test::ScratchDir folder("e2e-folder-show");
    test::ScratchDir elsewhere("e2e-folder-cwd");
    test::ScratchDir user("e2e-folder-user");
    test::ScratchDir runtime("e2e-folder-runtime");
    const show::ShowContent content = show::standardShow(2);
    writeShow(folder, content);
    // The title and track 1's picture are PNG files: both go through this name.
    ASSERT_EQ(".png", std::filesystem::path(content.tracks[0].picture).extension().string());
    user.write("diary.png", "the user's own file");
    std::filesystem::create_symlink(user.path("diary.png"), folder.path("data.zuo.temp.png"));

    const std::string audio = user.path("audio.raw");
    Program program(VLO_BINARY_DIR "/vellumo", elsewhere.path(),
        {"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + audio, "XDG_RUNTIME_DIR=" + runtime.path()}, true,
        {folder.path()}, user.path("stderr.txt"));
    const WindowInfo window = program.waitForOwnWindow("Emberfall II", 30.0);
    ASSERT_TRUE(window.found) << program.errorOutput();
    sleepSeconds(11.0);
    const Screenshot first = screenshot(window, user.path("shot.rgb"));
    EXPECT_TRUE(near(first.at(200, 250), rgbOf(show::trackColour(0))))
        << "the first track's picture: " << describe(first.at(200, 250));
    EXPECT_TRUE(near(first.at(350, 50), rgbOf(show::captionColour(0))))
        << "the first track's caption: " << describe(first.at(350, 50));

    program.sendSignal(SIGTERM);
    sleepSeconds(1.0);
    program.sendSignal(SIGTERM);
    ASSERT_TRUE(program.waitExit(20.0));
    EXPECT_EQ(0, program.exitStatus()) << program.errorOutput();

    // The music, found relative to the show folder, was playing loud (its
    // first second is quiet, the rest loud).
    const std::vector<double> levels = audioLevels(audio, 0.1);
    ASSERT_GT(levels.size(), 50u) << "too little audio was written";
    double loudest = 0.0;
    for (double level : levels)
        loudest = std::max(loudest, level);
    EXPECT_GT(loudest, 0.3) << "the first track did not play";

    EXPECT_EQ("the user's own file", test::readFile(user.path("diary.png"))) << "the link was written through";
    EXPECT_TRUE(std::filesystem::is_symlink(folder.path("data.zuo.temp.png"))) << "the planted link is gone";
    EXPECT_EQ("data.zuo.temp.png ", leftoverExtractionFiles(folder)) << "only the planted link may be there";
    EXPECT_EQ("", elsewhere.listing()) << "the working folder was written";
    EXPECT_EQ("", runtime.listing()) << "the private folder was left behind";
}

} // namespace
} // namespace vlo
