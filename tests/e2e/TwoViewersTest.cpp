// Two viewers on one show folder, started 0.3 s apart: each reads only its
// own extraction files, so each shows its own complete screen through the
// title and the first track change, and neither leaves a file behind.
#include <signal.h>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/E2eProgram.h"
#include "support/E2eShow.h"

namespace vlo {
namespace {

using namespace e2e;

constexpr Rgb white{255, 255, 255};
constexpr Rgb red{255, 0, 0};
Rgb rgbOf(show::Rgba c)
{
    return Rgb{c.r, c.g, c.b};
}

// The windows are moved apart so that both can be seen: the first to the
// screen's top-left corner, the second so that it covers only the first's
// bottom-right corner (x >= 580, y >= 424 of the first), where no point
// below looks.
constexpr int secondX = 580, secondY = 424;
constexpr int bgX = 50, bgY = 460;
constexpr int pictureX = 200, pictureY = 250;
constexpr int captionX = 350, captionY = 50;

// The points of one viewer's window, checked in a screenshot of the whole
// screen.
void expectScreen(const Screenshot& screen, const WindowInfo& window, Rgb background, Rgb picture, Rgb caption,
    int tolerance, const char* moment)
{
    const std::pair<const char*, std::pair<int, Rgb>> points[]
        = {{"background", {0, background}}, {"track picture", {1, picture}}, {"caption", {2, caption}}};
    const int xs[] = {bgX, pictureX, captionX};
    const int ys[] = {bgY, pictureY, captionY};
    for (const auto& [what, which] : points) {
        const Rgb got = screen.at(window.x + xs[which.first], window.y + ys[which.first]);
        EXPECT_TRUE(near(got, which.second, tolerance))
            << moment << ", window at (" << window.x << ", " << window.y << "), " << what << ": expected "
            << describe(which.second) << ", got " << describe(got);
    }
}

TEST(TwoViewers, EachShowsItsOwnPicturesAndNeitherLeavesFiles)
{
    if (displayName().empty())
        GTEST_SKIP() << "no X display (DISPLAY is not set)";
    test::ScratchDir folder("e2e-two");
    test::ScratchDir runtime("e2e-two-runtime");
    test::ScratchDir logs("e2e-two-logs");
    writeShow(folder, show::standardShow(3));
    const std::string before = folder.listing();
    const std::vector<std::string> environment = {"SDL_AUDIODRIVER=dummy", "XDG_RUNTIME_DIR=" + runtime.path()};

    mouseTo(1270, 1015);
    Program first(VLO_BINARY_DIR "/vellumo", folder.path(), environment, true, {}, logs.path("first.txt"));
    sleepSeconds(0.3);
    Program second(VLO_BINARY_DIR "/vellumo", folder.path(), environment, true, {}, logs.path("second.txt"));
    WindowInfo a = first.waitForOwnWindow("Emberfall II", 30.0);
    WindowInfo b = second.waitForOwnWindow("Emberfall II", 30.0);
    ASSERT_TRUE(a.found) << first.errorOutput();
    ASSERT_TRUE(b.found) << second.errorOutput();
    const double shown = first.secondsSinceStart();
    a = moveWindow(a.id, 0, 0);
    b = moveWindow(b.id, secondX, secondY);
    ASSERT_EQ(0, a.x);
    ASSERT_EQ(secondX, b.x);
    ASSERT_EQ(secondY, b.y);
    auto waitUntil = [&](double seconds) {
        const double now = first.secondsSinceStart() - shown;
        if (seconds > now)
            sleepSeconds(seconds - now);
    };
    auto screen = [&]() {
        WindowInfo whole;
        whole.width = 1280;
        whole.height = 1024;
        return screenshot(whole, logs.path("screen.rgb"));
    };

    // The title at its full strength (near 4.25 s) in both windows.
    waitUntil(4.3);
    const Screenshot title = screen();
    ASSERT_TRUE(title.valid());
    expectScreen(title, a, red, red, red, 40, "first viewer, title");
    expectScreen(title, b, red, red, red, 40, "second viewer, title");

    // The first track's screen in both.
    waitUntil(11.0);
    const Screenshot firstTrack = screen();
    expectScreen(firstTrack, a, white, rgbOf(show::trackColour(0)), rgbOf(show::captionColour(0)), 12,
        "first viewer, first track");
    expectScreen(firstTrack, b, white, rgbOf(show::trackColour(0)), rgbOf(show::captionColour(0)), 12,
        "second viewer, first track");

    // "Next" in each: both change to the second track, loading its picture
    // (a Targa) and caption while the other may be loading its own.
    clickAt(a.x + show::nextButtonPoint.x, a.y + show::nextButtonPoint.y, 1);
    clickAt(b.x + show::nextButtonPoint.x, b.y + show::nextButtonPoint.y, 1);
    waitUntil(16.5);
    const Screenshot secondTrack = screen();
    expectScreen(secondTrack, a, white, rgbOf(show::trackColour(1)), rgbOf(show::captionColour(1)), 12,
        "first viewer, second track");
    expectScreen(secondTrack, b, white, rgbOf(show::trackColour(1)), rgbOf(show::captionColour(1)), 12,
        "second viewer, second track");

    // Two close requests each: the second ends the closing sequence at once.
    first.sendSignal(SIGTERM);
    second.sendSignal(SIGTERM);
    sleepSeconds(1.0);
    first.sendSignal(SIGTERM);
    second.sendSignal(SIGTERM);
    ASSERT_TRUE(first.waitExit(20.0));
    ASSERT_TRUE(second.waitExit(20.0));
    EXPECT_EQ(0, first.exitStatus()) << first.errorOutput();
    EXPECT_EQ(0, second.exitStatus()) << second.errorOutput();
    EXPECT_EQ(before, folder.listing()) << "files were left in the show folder";
    EXPECT_EQ("", runtime.listing()) << "a private folder was left behind";
}

} // namespace
} // namespace vlo
