// The real program as a native Wayland client of a real compositor: weston
// with its X11 back end, whose output is one window on the test's X server,
// and xdotool's input on that window, which weston hands to its clients. A
// Wayland client cannot place its own window, so a drag of the background
// must be handed to the compositor, and the buttons must still take clicks.
#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "support/E2eProgram.h"
#include "support/E2eShow.h"
#include "support/ScratchDir.h"
#include "support/ShowFixture.h"

namespace vlo {
namespace {

namespace fs = std::filesystem;
using namespace e2e;

// The top-left corner of the box of pixels of this colour in the compositor's
// output; x is INT_MAX when there is none.
show::PixelPoint cornerOf(const Screenshot& shot, show::Rgba colour)
{
    show::PixelPoint corner{INT_MAX, INT_MAX};
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            if (near(shot.at(x, y), Rgb{colour.r, colour.g, colour.b}, 8)) {
                corner.x = std::min(corner.x, x);
                corner.y = std::min(corner.y, y);
            }
        }
    }
    return corner;
}

// Waits until the track picture of `track` shows in the output (at
// `expected` when given), and returns the top-left corner of the show's
// window where it was last seen (the picture sits 105 pixels below it, at its
// left edge); x is INT_MAX when it was not seen.
show::PixelPoint waitForShow(const WindowInfo& output, size_t track, const std::string& scratch, double seconds,
    const show::PixelPoint* expected = nullptr)
{
    const auto until = Clock::now() + std::chrono::duration<double>(seconds);
    show::PixelPoint seen{INT_MAX, INT_MAX};
    while (Clock::now() < until) {
        const show::PixelPoint picture = cornerOf(screenshot(output, scratch), show::trackColour(track));
        if (picture.x != INT_MAX) {
            seen = show::PixelPoint{picture.x, picture.y - 105};
            if (expected == nullptr || (seen.x == expected->x && seen.y == expected->y))
                return seen;
        }
        sleepSeconds(0.2);
    }
    return seen;
}

// A point of the X screen outside weston's output window; x is INT_MAX when
// the output reaches the screen's right and bottom edges.
show::PixelPoint outsideOf(const WindowInfo& output)
{
    int width = 0;
    int height = 0;
    std::istringstream(capture("xdotool getdisplaygeometry 2>/dev/null")) >> width >> height;
    if (output.x + output.width < width)
        return show::PixelPoint{width - 1, output.y};
    if (output.y + output.height < height)
        return show::PixelPoint{output.x, height - 1};
    return show::PixelPoint{INT_MAX, INT_MAX};
}

// Waits until the program has ended or its closing sequence shows: the
// green credits picture fading in over the white background at (600, 450) of
// the show's window, whose top-left corner is at `show` in the output. True
// when either came.
bool waitForClosing(
    Program& program, const WindowInfo& output, show::PixelPoint show, const std::string& scratch, double seconds)
{
    const auto until = Clock::now() + std::chrono::duration<double>(seconds);
    while (Clock::now() < until) {
        if (!program.running())
            return true;
        const Rgb c = screenshot(output, scratch).at(show.x + 600, show.y + 450);
        if (c.g > 230 && c.r < 200 && c.b < 200)
            return true;
        sleepSeconds(0.2);
    }
    return !program.running();
}

TEST(Wayland, TheBackgroundDragsTheWindowAndTheButtonsStillTakeClicks)
{
    if (displayName().empty())
        GTEST_SKIP() << "no X display (DISPLAY is not set)";
    std::string weston = capture("command -v weston 2>/dev/null");
    while (!weston.empty() && weston.back() == '\n')
        weston.pop_back();
    if (weston.empty() || !run("command -v xdotool >/dev/null 2>&1"))
        GTEST_SKIP() << "needs weston and xdotool";
    test::ScratchDir runtime("e2e-wayland-runtime");
    fs::permissions(runtime.path(), fs::perms::owner_all);
    const std::string socket = "vlo-test-" + std::to_string(getpid());
    Program compositor(weston, runtime.path(), {"XDG_RUNTIME_DIR=" + runtime.path()}, true,
        {"--backend=x11-backend.so", "--socket=" + socket, "--width=1100", "--height=800", "--idle-time=0"});
    const WindowInfo output = compositor.waitForWindow("Weston Compositor - screen0", 20.0);
    ASSERT_TRUE(output.found) << compositor.errorOutput();

    test::ScratchDir folder("e2e-wayland");
    writeShow(folder, show::standardShow(2));
    // Without DISPLAY: the program can only be a Wayland client.
    Program program(VLO_BINARY_DIR "/vellumo", folder.path(),
        {"SDL_AUDIODRIVER=dummy", "SDL_VIDEODRIVER=wayland", "WAYLAND_DISPLAY=" + socket,
            "XDG_RUNTIME_DIR=" + runtime.path()},
        false);
    const std::string scratch = folder.path("output.rgb");
    const show::PixelPoint start = waitForShow(output, 0, scratch, 30.0);
    ASSERT_NE(INT_MAX, start.x) << "the show did not appear; stderr: " << program.errorOutput();

    // Weston's X11 back end follows the X pointer by the steps between the
    // motions it is sent, and takes its absolute place only when the pointer
    // enters the output window. At its start it sometimes puts its pointer at
    // (0, 0), on the panel's launcher, though the X pointer is elsewhere in
    // the window: every later move then lands off by as much, and the drag's
    // press starts a terminal instead of a move. So the pointer leaves the
    // output first, and its move back in tells weston where it is.
    const show::PixelPoint outside = outsideOf(output);
    if (outside.x == INT_MAX)
        GTEST_SKIP() << "weston's output covers the screen: no room to move the pointer out of it";

    // A drag of the background below the picture, left of the buttons.
    const int grabX = output.x + start.x + 30;
    const int grabY = output.y + start.y + 450;
    std::string command = "xdotool mousemove " + std::to_string(outside.x) + " " + std::to_string(outside.y)
        + " mousemove " + std::to_string(grabX) + " " + std::to_string(grabY) + " sleep 0.2 mousedown 1";
    for (int i = 1; i <= 10; ++i)
        command += " sleep 0.05 mousemove " + std::to_string(grabX + 12 * i) + " " + std::to_string(grabY + 7 * i);
    ASSERT_TRUE(run(command + " sleep 0.1 mouseup 1 >/dev/null 2>&1"));
    // Weston repaints its output some time after the move: until then the
    // show may still be seen where it was.
    const show::PixelPoint dragged{start.x + 120, start.y + 70};
    const show::PixelPoint moved = waitForShow(output, 0, scratch, 15.0, &dragged);
    ASSERT_NE(INT_MAX, moved.x) << "the show was not seen after the drag";
    EXPECT_EQ(dragged.x, moved.x) << "the window did not follow the drag";
    EXPECT_EQ(dragged.y, moved.y) << "the window did not follow the drag";

    // "Next" still takes its click: the second track's picture comes.
    clickAt(output.x + moved.x + show::nextButtonPoint.x, output.y + moved.y + show::nextButtonPoint.y, 1);
    const show::PixelPoint second = waitForShow(output, 1, scratch, 15.0, &moved);
    EXPECT_EQ(moved.x, second.x) << "next did not bring the second track's picture";
    EXPECT_EQ(moved.y, second.y) << "next did not bring the second track's picture";

    // Escape twice (the closing sequence, cut short) ends it with 0. Keys
    // reach weston only while its output window has the X keyboard focus,
    // which programs run earlier on the display may have left on none. The
    // first Escape starts the closing sequence, or ends the program at once
    // while the title still shows.
    keyTo(output.id, "Escape");
    ASSERT_TRUE(waitForClosing(program, output, moved, scratch, 15.0))
        << "the first Escape neither started the closing sequence nor ended the program";
    if (program.running())
        keyTo(output.id, "Escape");
    // Well before the closing sequence's own 10 s are up.
    EXPECT_TRUE(program.waitExit(5.0)) << "the program did not end after Escape";
    EXPECT_EQ(0, program.exitStatus()) << program.errorOutput();
    compositor.sendSignal(SIGTERM);
    compositor.waitExit(5.0);
}

} // namespace
} // namespace vlo
