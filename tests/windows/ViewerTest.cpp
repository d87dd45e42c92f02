// The real vellumo.exe of the Windows zip under Wine, watched and driven on
// the session's own X server (Wine draws its windows as X windows): one run
// of a show the test writes, a run without the archive, and a run on a
// desktop of twice the density.
//
// Run it with the zip (or a folder laid out like it) named by
// VLO_WINDOWS_ZIP, for example:
//   VLO_WINDOWS_ZIP=$PWD/build-windows/Vellumo-VERSION-win64.zip build-test/tests/test_windows
// Without VLO_WINDOWS_ZIP, Wine or Xvfb the tests skip.
#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "support/E2eProgram.h"
#include "support/E2eShow.h"
#include "support/E2eWatch.h"
#include "windows/WineRun.h"

namespace vlo {
namespace {

using namespace e2e;

constexpr Rgb white{255, 255, 255};
constexpr Rgb green{0, 255, 0};
Rgb rgbOf(show::Rgba c)
{
    return Rgb{c.r, c.g, c.b};
}

// Window pixels of the standard show at scale 1.
constexpr int bgX = 600, bgY = 450;           // background, below the picture
constexpr int pictureX = 200, pictureY = 250; // track picture
constexpr int captionX = 350, captionY = 50;  // caption

// The window menu's minimise item (90, 90, 200) over the first track's
// yellow picture, which shows through it.
bool looksLikeMenuItem(Rgb c)
{
    return std::abs(c.r - 90) < 30 && std::abs(c.g - 90) < 30 && c.b < 130;
}

class Viewer : public WineRun {
protected:
    // Starts the viewer on the show folder and waits for its window.
    void start(const std::vector<std::string>& environment = {})
    {
        mouseTo(1900, 1400);
        program = session->startViewer(folder.path(), logs.path("stderr.txt"), environment);
        ASSERT_TRUE(program->startedOk());
        window = program->waitForWindow("Emberfall II", 60.0);
        ASSERT_TRUE(window.found) << "no window titled Emberfall II; status " << program->exitStatus()
                                  << "; stderr: " << program->errorOutput();
        ASSERT_TRUE(program->waitUntilShown(window, 60.0)) << "the window was not shown: " << program->errorOutput();
        shownAt = program->secondsSinceStart();
    }

    void waitUntil(double seconds)
    {
        const double now = sinceShown();
        if (seconds > now)
            sleepSeconds(seconds - now);
    }
    double sinceShown() const { return program->secondsSinceStart() - shownAt; }
    Screenshot shot() { return screenshot(window, logs.path("shot.rgb")); }
    void clickClient(int x, int y, int button = 1) { clickAt(window.x + x, window.y + y, button); }

    // Escape during the title ends the program at once; after it, it starts
    // the closing sequence, which a second Escape ends.
    void escapeTwice()
    {
        keyTo(window.id, "Escape");
        if (!program->waitExit(1.5))
            keyTo(window.id, "Escape");
        EXPECT_TRUE(program->waitExit(20.0)) << "the program did not end after Escape";
        EXPECT_EQ(program->exitStatus(), 0) << program->errorOutput();
    }

    test::ScratchDir folder{"wine-show"};
    test::ScratchDir logs{"wine-logs"};
    std::unique_ptr<Program> program;
    WindowInfo window;
    double shownAt = 0.0;
};

TEST_F(Viewer, ShowRunWithTitleNextMenuDragAndClosingSequence)
{
    writeShow(folder, show::standardShow(3));
    start();
    EXPECT_EQ(window.width, 700);
    EXPECT_EQ(window.height, 600);

    // The title fades in and out over the whole window, opaque near 4.25 s.
    const TitleWatch title = watchTitle([this] { return shot(); }, [this] { return sinceShown(); },
        {{bgX, bgY}, {pictureX, pictureY}, {captionX, captionY}}, 9.5);
    EXPECT_EQ(title.fault, "") << "the title's fade, " << title.shots << " screenshots, best fit started "
                               << title.offset << " s before the window showed";
    EXPECT_TRUE(title.opaque) << "the title was never seen opaque over the whole window";

    // After it: background, the first track's picture and caption.
    waitUntil(10.5);
    Screenshot s = shot();
    EXPECT_TRUE(near(s.at(bgX, bgY), white)) << "background " << describe(s.at(bgX, bgY));
    EXPECT_TRUE(near(s.at(pictureX, pictureY), rgbOf(show::trackColour(0))))
        << "track picture " << describe(s.at(pictureX, pictureY));
    EXPECT_TRUE(near(s.at(captionX, captionY), rgbOf(show::captionColour(0))))
        << "caption " << describe(s.at(captionX, captionY));

    // The menu opens at a right press on the picture; a left press closes it.
    clickClient(150, 150, 3);
    sleepSeconds(0.5);
    s = shot();
    EXPECT_TRUE(looksLikeMenuItem(s.at(235, 175))) << "no menu item at the pointer: " << describe(s.at(235, 175));
    clickClient(500, 300, 1);
    sleepSeconds(0.5);
    s = shot();
    EXPECT_FALSE(looksLikeMenuItem(s.at(235, 175))) << "menu still shown: " << describe(s.at(235, 175));

    // Next: the caption changes at once after the track change (half a
    // second), the picture after its cross-fade.
    const double clicked = sinceShown();
    clickClient(show::nextButtonPoint.x, show::nextButtonPoint.y);
    const auto sinceClick = [&] { return sinceShown() - clicked; };
    const auto [captionSwap, pictureFade] = watchTrackChange([this] { return shot(); }, sinceClick,
        [](const Screenshot& s) { return near(s.at(captionX, captionY), rgbOf(show::captionColour(1))); },
        [](const Screenshot& s) { return near(s.at(pictureX, pictureY), rgbOf(show::trackColour(1))); }, 5.0);
    EXPECT_GT(captionSwap.seen, 0.25) << "caption changed too early";
    EXPECT_LT(captionSwap.notYet, 1.5) << "caption changed late";
    EXPECT_GE(captionSwap.seen, 0.0) << "caption never changed";
    EXPECT_GT(pictureFade.seen, 1.5) << "picture changed too early";
    EXPECT_LT(pictureFade.notYet, 4.0) << "picture changed late";
    EXPECT_GE(pictureFade.seen, 0.0) << "picture never changed";

    // A drag by the background of five equal (10, 6) steps, one X command
    // each: the window follows by exactly the pointer's (50, 30).
    const WindowInfo before = settledWindow("Emberfall II");
    ASSERT_TRUE(before.found);
    const int grabX = before.x + 350;
    const int grabY = before.y + 300;
    mouseTo(grabX - 20, grabY - 20);
    sleepSeconds(0.1);
    mouseTo(grabX, grabY);
    sleepSeconds(0.3);
    mouseDown(1);
    for (int step = 1; step <= 5; ++step)
        mouseTo(grabX + 10 * step, grabY + 6 * step);
    mouseUp(1);
    window = settledWindow("Emberfall II");
    ASSERT_TRUE(window.found);
    EXPECT_EQ(window.x - before.x, 50) << "window moved " << window.x - before.x << "," << window.y - before.y;
    EXPECT_EQ(window.y - before.y, 30) << "window moved " << window.x - before.x << "," << window.y - before.y;
    mouseTo(1900, 1400);

    // Escape: the credits fade in and stay, and the program ends with 0
    // about 10 s later, leaving no extraction file.
    ASSERT_TRUE(program->running()) << program->errorOutput();
    const double escaped = program->secondsSinceStart();
    keyTo(window.id, "Escape");
    sleepSeconds(6.0);
    const Rgb credits = shot().at(bgX, bgY);
    EXPECT_TRUE(near(credits, green, 25)) << "credits 6 s into the closing sequence: " << describe(credits);
    ASSERT_TRUE(program->waitExit(20.0)) << "the program did not end after the closing sequence";
    EXPECT_EQ(program->exitStatus(), 0) << program->errorOutput();
    EXPECT_GT(program->exitTime() - escaped, 9.0);
    EXPECT_LT(program->exitTime() - escaped, 14.0);
    EXPECT_EQ(leftoverExtractionFiles(folder), "");
}

TEST_F(Viewer, WithoutTheArchiveTheMessageBoxShowsAndNothingIsWritten)
{
    const std::string message = "Error initializing OrbVFS! :-(";
    program = session->startViewer(folder.path(), logs.path("stderr.txt"), session->messageTraceEnvironment());
    ASSERT_TRUE(program->startedOk());
    const WindowInfo box = program->waitForWindow("Orrin Tide Vellumo", 60.0);
    EXPECT_TRUE(box.found) << "no message box captioned Orrin Tide Vellumo; status " << program->exitStatus();
    EXPECT_FALSE(findWindow("Emberfall II").found) << "the show's window was made";
    if (box.found)
        keyTo(box.id, "Return");
    ASSERT_TRUE(program->waitExit(10.0)) << "the program did not end once the message box was closed";
    EXPECT_EQ(program->exitStatus(), 255);
    EXPECT_NE(program->errorOutput().find(session->messageTrace(message)), std::string::npos)
        << "the message box's text is not \"" << message << "\"; standard error:\n"
        << program->errorOutput();
    EXPECT_EQ(folder.listing(), "") << "written into the show's folder";
}

// Puts the desktop back to scale 1 when the test ends, however it ends.
struct DensityReset {
    const e2e::WineSession& session;
    ~DensityReset() { session.setDensity(96); }
};

TEST_F(Viewer, AtTwiceTheDensityTheWindowIsDoubledAndTakesClicksAtTheDoubledPlaces)
{
    writeShow(folder, show::standardShow(2));
    const DensityReset reset{*session};
    ASSERT_TRUE(session->setDensity(192));
    start();
    EXPECT_EQ(window.width, 1400);
    EXPECT_EQ(window.height, 1200);
    if (window.width != 1400) {
        escapeTwice();
        return;
    }

    waitUntil(10.5);
    Screenshot s = shot();
    EXPECT_TRUE(near(s.at(2 * captionX, 2 * captionY), rgbOf(show::captionColour(0))))
        << "caption at the doubled place " << describe(s.at(2 * captionX, 2 * captionY));
    EXPECT_TRUE(near(s.at(2 * bgX + 1, 2 * bgY + 1), white)) << describe(s.at(2 * bgX + 1, 2 * bgY + 1));

    // A click on "next" at twice its place changes the track.
    const double clicked = sinceShown();
    clickClient(2 * show::nextButtonPoint.x, 2 * show::nextButtonPoint.y);
    mouseTo(1900, 1400);
    bool changed = false;
    while (!changed && sinceShown() < clicked + 3.0)
        changed = near(shot().at(2 * captionX, 2 * captionY), rgbOf(show::captionColour(1)));
    EXPECT_TRUE(changed) << "the click at the doubled place of next did not change the caption";
    escapeTwice();
}

// Explorer shows the program file's first icon and its version details:
// the program's own drawing (a golden label at the centre of a dark record)
// at the sizes Windows asks for, and each program's own name and version.
TEST_F(Viewer, TheProgramFilesCarryTheirOwnIconAndDetails)
{
    if (session->native)
        GTEST_SKIP() << "the Linux programs have no resources";
    for (const char* tool : {"wrestool", "icotool", "convert", "strings"})
        if (!run(std::string("command -v ") + tool + " >/dev/null"))
            GTEST_SKIP() << "needs " << tool << " (icoutils, imagemagick, binutils)";
    const std::string icon = logs.path("vellumo.ico");
    ASSERT_TRUE(run("wrestool -x --type=group_icon -o '" + icon + "' '" + session->viewerFile() + "' 2>/dev/null")
        && std::filesystem::exists(icon))
        << "no icon in " << session->viewerFile();
    const std::string listing = capture("icotool -l '" + icon + "' 2>&1");
    for (int size : {16, 24, 32, 48, 256}) {
        const std::string entry = "--width=" + std::to_string(size) + " --height=" + std::to_string(size);
        EXPECT_NE(listing.find(entry), std::string::npos) << "no " << size << " x " << size << " icon:\n" << listing;
    }
    // The 48 x 48 picture (the fourth): label, record, and the clear corner.
    const std::string pixels
        = capture("convert '" + icon + "[3]' -format '%[pixel:p{29,24}] %[pixel:p{38,24}] %[pixel:p{0,0}]' info: 2>&1");
    EXPECT_EQ(pixels, "srgba(217,166,47,1) srgba(42,36,32,1) srgba(0,0,0,0)") << "the 48 x 48 icon";

    // One version block each, the program's own (a library linked in once
    // brought its own along).
    for (const auto& [file, description] : {std::pair{session->viewerFile(), "Vellumo show player"},
             std::pair{session->packFile(), "Vellumo show packer"}}) {
        const std::string blocks = capture("wrestool -l --type=16 '" + file + "' 2>&1");
        EXPECT_EQ(std::count(blocks.begin(), blocks.end(), '\n'), 1) << file << ":\n" << blocks;
        const std::string details = capture("wrestool -x --raw --type=16 '" + file + "' 2>/dev/null | strings -el");
        for (const std::string& expected : {std::string(description), std::string(VLO_VERSION), std::string("Vellumo")})
            EXPECT_NE(details.find(expected), std::string::npos) << file << " lacks \"" << expected << "\":\n"
                                                                 << details;
    }
}

} // namespace
} // namespace vlo
