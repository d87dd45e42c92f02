// One run of the real program for the window controls: the menu on the
// track picture (not during the title; to the left near the right edge;
// closed by a left press), the credits command with the buttons leaving and
// coming back, dragging the window by its background, and Escape twice
// during the closing sequence.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>

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

// The green credits picture over the white background at some alpha a shows
// as (255 (1 - a), 255, 255 (1 - a)).
bool onCreditsFade(Rgb c)
{
    return c.g > 240 && std::abs(c.r - c.b) <= 12;
}

// A button point that shows only the background under the credits while the
// credits are seen but still faint enough (red above 100, alpha below 0.6)
// that any button left there would stand out.
bool onlyFaintCredits(Rgb c)
{
    return onCreditsFade(c) && c.r > 100 && c.r < 245;
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

    // Takes pictures of the window until `seen` holds for one, for at most
    // `seconds`; returns the last picture taken.
    template <typename Condition> Screenshot shotWhen(Condition seen, double seconds = 15.0)
    {
        const auto until = Clock::now() + std::chrono::duration<double>(seconds);
        Screenshot s = shot();
        while (!seen(s) && Clock::now() < until) {
            sleepSeconds(0.05);
            s = shot();
        }
        return s;
    }

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
    ASSERT_TRUE(program->waitUntilShown(window, 30.0))
        << "the window was not shown; stderr: " << program->errorOutput();
    shownAt = program->secondsSinceStart();

    // A right press during the title (8.5 s) opens nothing: once the picture
    // has faded in it is whole where the menu would be; an open menu would
    // keep it dimmed, with the item over it.
    waitUntil(2.0);
    clickClient(150, 150, 3);
    const Rgb yellow = rgbOf(show::trackColour(0));
    Screenshot s = shotWhen([&](const Screenshot& p) { return near(p.at(235, 175), yellow); }, 30.0);
    EXPECT_TRUE(near(s.at(235, 175), yellow)) << "menu opened during the title? " << describe(s.at(235, 175));

    // After the title the buttons come in, and the menu can open: a right
    // press opens it at the pointer; the picture dims to half alpha.
    const Rgb nextOff = rgbOf(show::guiColours().at("gui/next_off.png"));
    const auto buttonsIn
        = [&](const Screenshot& p) { return near(p.at(show::nextButtonPoint.x, show::nextButtonPoint.y), nextOff); };
    ASSERT_TRUE(buttonsIn(shotWhen(buttonsIn, 30.0))) << "the buttons did not come in after the title";
    clickClient(150, 150, 3);
    s = shotWhen([](const Screenshot& p) { return looksLikeMenuItem(p.at(235, 175)); });
    EXPECT_TRUE(looksLikeMenuItem(s.at(235, 175))) << "no menu item at the pointer: " << describe(s.at(235, 175));
    const Rgb halfYellow{255, 255, 128};
    s = shotWhen([&](const Screenshot& p) { return near(p.at(500, 300), halfYellow, 15); });
    EXPECT_TRUE(near(s.at(500, 300), halfYellow, 15))
        << "picture at half alpha over white: " << describe(s.at(500, 300));

    // A left press on the picture closes it.
    clickClient(500, 300, 1);
    const auto closed
        = [](const Screenshot& p) { return !looksLikeMenuItem(p.at(235, 175)) && p.at(235, 175).r > 200; };
    s = shotWhen(closed);
    EXPECT_FALSE(looksLikeMenuItem(s.at(235, 175))) << "menu still shown: " << describe(s.at(235, 175));
    EXPECT_GT(s.at(235, 175).r, 200);

    // Near the right edge it opens to the left of the pointer.
    clickClient(650, 150, 3);
    s = shotWhen([](const Screenshot& p) { return looksLikeMenuItem(p.at(555, 175)); });
    EXPECT_TRUE(looksLikeMenuItem(s.at(555, 175))) << "no item left of the pointer: " << describe(s.at(555, 175));
    EXPECT_FALSE(looksLikeMenuItem(s.at(660, 175))) << "menu right of the pointer: " << describe(s.at(660, 175));
    clickClient(300, 300, 1);
    s = shotWhen([](const Screenshot& p) { return !looksLikeMenuItem(p.at(555, 175)); });
    EXPECT_FALSE(looksLikeMenuItem(s.at(555, 175))) << "menu still shown: " << describe(s.at(555, 175));

    // Credits: the credits picture fades in and out over 10 s (alpha
    // sin(pi t / 10)); the buttons leave meanwhile and come back after. The
    // window is watched from the click on; each picture is judged by the time
    // it was taken, so a slow picture never passes for a fast fade.
    clickClient(150, 150, 3);
    s = shotWhen([](const Screenshot& p) { return looksLikeMenuItem(p.at(235, 175)); });
    ASSERT_TRUE(looksLikeMenuItem(s.at(235, 175))) << "the menu did not open for the credits";
    const auto clicked = Clock::now();
    clickClient(235, 225, 1);
    const auto sinceClick = [&] { return std::chrono::duration<double>(Clock::now() - clicked).count(); };
    const double pi = std::acos(-1.0);
    bool buttonsAway = false;
    bool full = false;
    bool back = false;
    bool fadingOut = false;
    std::string fadeFault;
    int leastRed = 255;
    int mostRed = 0;
    while (!back && sinceClick() < 40.0) {
        s = shot();
        // The credits started after `clicked`, and the picture shows a frame
        // drawn before it was taken: at most `taken` seconds into the fade.
        const double taken = sinceClick();
        const Rgb c = s.at(600, 450);
        ASSERT_TRUE(onCreditsFade(c)) << "not between white and the green credits: " << describe(c) << " at " << taken
                                      << " s";
        const double alpha = 1.0 - c.r / 255.0;
        if (fadeFault.empty() && alpha > std::sin(pi * std::min(taken, 5.0) / 10.0) + 0.05)
            fadeFault = "faded in too fast: " + describe(c) + " at most " + std::to_string(taken) + " s in";
        // In, then out: the red falls to its least once, then only rises.
        fadingOut = fadingOut || c.r > leastRed + 6;
        if (fadeFault.empty() && fadingOut && c.r < mostRed - 6)
            fadeFault = "faded in again: " + describe(c) + " at " + std::to_string(taken) + " s";
        leastRed = std::min(leastRed, c.r);
        mostRed = fadingOut ? std::max(mostRed, c.r) : c.r;

        bool allAway = true;
        for (show::PixelPoint p :
            {show::playButtonPoint, show::stopButtonPoint, show::prevButtonPoint, show::nextButtonPoint})
            allAway = allAway && onlyFaintCredits(s.at(p.x, p.y));
        buttonsAway = buttonsAway || allAway;
        full = full || near(c, green, 25);
        back = full && near(c, white) && buttonsIn(s);
    }
    EXPECT_EQ("", fadeFault) << "the credits' fade";
    EXPECT_TRUE(buttonsAway) << "the buttons were never seen gone under the faint credits: "
                             << describe(s.at(show::playButtonPoint.x, show::playButtonPoint.y));
    EXPECT_TRUE(full) << "the credits picture was never seen at full alpha (least red " << leastRed << ")";
    EXPECT_TRUE(back) << "credits still shown or the next button not back: " << describe(s.at(600, 450)) << ", "
                      << describe(s.at(show::nextButtonPoint.x, show::nextButtonPoint.y));

    // Dragging by the background moves the window by the pointer's motion.
    mouseTo(window.x + 600, window.y + 450);
    sleepSeconds(0.2);
    mouseDown(1);
    sleepSeconds(0.2);
    mouseTo(window.x + 600 + 37, window.y + 450 + 23);
    sleepSeconds(0.2);
    mouseUp(1);
    WindowInfo moved = findWindow("Emberfall II");
    const auto dragDeadline = Clock::now() + std::chrono::seconds(15);
    while ((moved.x != window.x + 37 || moved.y != window.y + 23) && Clock::now() < dragDeadline) {
        sleepSeconds(0.05);
        moved = findWindow("Emberfall II");
    }
    ASSERT_TRUE(moved.found);
    EXPECT_EQ(moved.x, window.x + 37);
    EXPECT_EQ(moved.y, window.y + 23);
    window = moved;
    s = shotWhen([](const Screenshot& p) { return near(p.at(600, 450), white); });
    EXPECT_TRUE(near(s.at(600, 450), white)) << "the show is not drawn at the new place: " << describe(s.at(600, 450));

    // Escape starts the closing sequence (the credits fade in again); a
    // second Escape ends it at once, well before its own 10 s.
    const double first = program->secondsSinceStart();
    keyTo(window.id, "Escape");
    s = shotWhen(
        [&](const Screenshot& p) {
            const Rgb c = p.at(600, 450);
            return !program->running() || (onCreditsFade(c) && c.r < 200);
        },
        6.0);
    ASSERT_TRUE(program->running()) << "the first Escape must not end the program";
    ASSERT_LT(s.at(600, 450).r, 200) << "the first Escape did not start the closing sequence: "
                                     << describe(s.at(600, 450));
    keyTo(window.id, "Escape");
    ASSERT_TRUE(program->waitExit(15.0));
    EXPECT_LT(program->exitTime() - first, 9.0) << "the second Escape did not end the closing sequence at once";
    EXPECT_EQ(program->exitStatus(), 0) << program->errorOutput();
    EXPECT_EQ(leftoverExtractionFiles(folder), "");
}

} // namespace
} // namespace vlo
