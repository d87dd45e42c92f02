// One run of the real program for the window controls: the menu on the
// track picture (not during the title; to the left near the right edge;
// closed by a left press), the credits command with the buttons leaving and
// coming back, dragging the window by its background, and Escape twice
// during the closing sequence.
#include <gtest/gtest.h>

#include "support/E2eProgram.h"
#include "support/E2eShow.h"

namespace vlo {
namespace {

using namespace e2e;

constexpr Rgb white{255, 255, 255};
constexpr Rgb green{0, 255, 0};
Rgb rgbOf(show::Rgba c)
{
    return Rgb{c.r, c.g, c.b};
}

// The minimise item (90, 90, 200) multiplies the picture under it: over the
// first track's yellow picture it shows as (90, 90, b), b growing from 0 as
// the picture is more transparent over the white background.
bool looksLikeMenuItem(Rgb c)
{
    return std::abs(c.r - 90) < 30 && std::abs(c.g - 90) < 30 && c.b < 130;
}

class WindowControls : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (displayName().empty())
            GTEST_SKIP() << "no X display (DISPLAY is not set)";
        writeShow(folder, show::standardShow(3));
    }

    void waitUntil(double seconds)
    {
        const double now = sinceShown();
        if (seconds > now)
            sleepSeconds(seconds - now);
    }
    double sinceShown() const { return program->secondsSinceStart() - shownAt; }
    Screenshot shot() { return screenshot(window, folder.path("shot.rgb")); }
    void clickClient(int x, int y, int button) { clickAt(window.x + x, window.y + y, button); }

    test::ScratchDir folder{"e2e-controls"};
    std::unique_ptr<Program> program;
    WindowInfo window;
    double shownAt = 0.0;
};

TEST_F(WindowControls, MenuCreditsDragAndEscapeTwice)
{
    program = std::make_unique<Program>(
        VLO_BINARY_DIR "/vellumo", folder.path(), std::vector<std::string>{"SDL_AUDIODRIVER=dummy"});
    window = program->waitForWindow("Emberfall II", 30.0);
    ASSERT_TRUE(window.found) << "no window; stderr: " << program->errorOutput();
    shownAt = program->secondsSinceStart();

    // A right press during the title opens nothing: after the title the
    // picture is still whole where the menu would be.
    waitUntil(2.0);
    clickClient(150, 150, 3);
    waitUntil(10.5);
    Screenshot s = shot();
    EXPECT_TRUE(near(s.at(235, 175), rgbOf(show::trackColour(0))))
        << "menu opened during the title? " << describe(s.at(235, 175));

    // A right press opens it at the pointer; the picture dims to half alpha.
    clickClient(150, 150, 3);
    sleepSeconds(0.4);
    s = shot();
    EXPECT_TRUE(looksLikeMenuItem(s.at(235, 175))) << "no menu item at the pointer: " << describe(s.at(235, 175));
    sleepSeconds(2.8);
    s = shot();
    const Rgb dimmed = s.at(500, 300);
    EXPECT_TRUE(near(dimmed, Rgb{255, 255, 128}, 15)) << "picture at half alpha over white: " << describe(dimmed);

    // A left press on the picture closes it.
    clickClient(500, 300, 1);
    sleepSeconds(0.4);
    s = shot();
    EXPECT_FALSE(looksLikeMenuItem(s.at(235, 175))) << "menu still shown: " << describe(s.at(235, 175));
    EXPECT_GT(s.at(235, 175).r, 200);

    // Near the right edge it opens to the left of the pointer.
    clickClient(650, 150, 3);
    sleepSeconds(0.4);
    s = shot();
    EXPECT_TRUE(looksLikeMenuItem(s.at(555, 175))) << "no item left of the pointer: " << describe(s.at(555, 175));
    EXPECT_FALSE(looksLikeMenuItem(s.at(660, 175))) << "menu right of the pointer: " << describe(s.at(660, 175));
    clickClient(300, 300, 1);
    sleepSeconds(0.4);
    EXPECT_FALSE(looksLikeMenuItem(shot().at(555, 175)));

    // Credits: the credits picture fades in and out over 10 s; the buttons
    // leave meanwhile and come back after.
    clickClient(150, 150, 3);
    sleepSeconds(0.3);
    const double creditsClicked = sinceShown();
    clickClient(235, 225, 1);
    waitUntil(creditsClicked + 1.6);
    s = shot();
    for (show::PixelPoint p :
        {show::playButtonPoint, show::stopButtonPoint, show::prevButtonPoint, show::nextButtonPoint}) {
        const Rgb c = s.at(p.x, p.y);
        EXPECT_TRUE(c.r > 100 && c.g > 230 && c.b > 100)
            << "a button is still at (" << p.x << ", " << p.y << ") under the credits: " << describe(c);
    }
    waitUntil(creditsClicked + 5.0);
    EXPECT_TRUE(near(shot().at(600, 450), green, 25)) << "credits picture at full alpha";
    waitUntil(creditsClicked + 12.5);
    s = shot();
    EXPECT_TRUE(near(s.at(600, 450), white)) << "credits still shown: " << describe(s.at(600, 450));
    EXPECT_TRUE(
        near(s.at(show::nextButtonPoint.x, show::nextButtonPoint.y), rgbOf(show::guiColours().at("gui/next_off.png"))))
        << "the next button did not come back";

    // Dragging by the background moves the window by the pointer's motion.
    mouseTo(window.x + 600, window.y + 450);
    sleepSeconds(0.2);
    mouseDown(1);
    sleepSeconds(0.2);
    mouseTo(window.x + 600 + 37, window.y + 450 + 23);
    sleepSeconds(0.2);
    mouseUp(1);
    sleepSeconds(0.3);
    const WindowInfo moved = findWindow("Emberfall II");
    ASSERT_TRUE(moved.found);
    EXPECT_EQ(moved.x, window.x + 37);
    EXPECT_EQ(moved.y, window.y + 23);
    window = moved;
    EXPECT_TRUE(near(shot().at(600, 450), white)) << "the show is drawn at the new place";

    // Escape starts the closing sequence; a second Escape ends it at once.
    keyTo(window.id, "Escape");
    sleepSeconds(1.5);
    ASSERT_TRUE(program->running()) << "the first Escape must not end the program";
    const double second = program->secondsSinceStart();
    keyTo(window.id, "Escape");
    ASSERT_TRUE(program->waitExit(5.0));
    EXPECT_LT(program->exitTime() - second, 2.0);
    EXPECT_EQ(program->exitStatus(), 0) << program->errorOutput();
    EXPECT_EQ(leftoverExtractionFiles(folder), "");
}

} // namespace
} // namespace vlo
