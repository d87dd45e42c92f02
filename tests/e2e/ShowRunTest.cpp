// One run of the real program with the standard test show: the window, the
// title overlay, the first screen, a track change, previous with wrap-around,
// stop then play (checked in the audio output), and the closing sequence
// after Escape.
#include <gtest/gtest.h>

#include "support/E2eProgram.h"
#include "support/E2eShow.h"
#include "support/E2eWatch.h"

namespace vlo {
namespace {

using namespace e2e;

// Colours the standard show puts at these window pixels.
constexpr Rgb white{255, 255, 255};
constexpr Rgb green{0, 255, 0};
Rgb rgbOf(show::Rgba c)
{
    return Rgb{c.r, c.g, c.b};
}

constexpr int bgX = 600, bgY = 450;           // background, below the picture
constexpr int pictureX = 200, pictureY = 250; // track picture
constexpr int captionX = 350, captionY = 50;  // caption

class ShowRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (displayName().empty())
            GTEST_SKIP() << "no X display (DISPLAY is not set)";
        show::ShowContent content = show::standardShow(3);
        writeShow(folder, content);
    }

    // Waits until `seconds` after the window appeared.
    void waitUntil(double seconds)
    {
        const double now = program->secondsSinceStart() - shownAt;
        if (seconds > now)
            sleepSeconds(seconds - now);
    }
    double sinceShown() const { return program->secondsSinceStart() - shownAt; }
    Screenshot shot() { return screenshot(window, folder.path("shot.rgb")); }
    void clickClient(int x, int y, int button = 1) { clickAt(window.x + x, window.y + y, button); }

    test::ScratchDir folder{"e2e-run"};
    std::unique_ptr<Program> program;
    WindowInfo window;
    double shownAt = 0.0;
};

TEST_F(ShowRun, TitleTrackChangeStopPlayAndClosingSequence)
{
    const std::string audio = folder.path("audio.raw");
    program = std::make_unique<Program>(VLO_BINARY_DIR "/vellumo", folder.path(),
        std::vector<std::string>{"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + audio});
    ASSERT_TRUE(program->startedOk());
    window = program->waitForWindow("Emberfall II", 30.0);
    ASSERT_TRUE(window.found) << "no window titled Emberfall II; stderr: " << program->errorOutput();
    ASSERT_TRUE(program->waitUntilShown(window, 30.0)) << "the window was not shown: " << program->errorOutput();
    shownAt = program->secondsSinceStart();
    EXPECT_EQ(window.x, 100);
    EXPECT_EQ(window.y, 100);
    EXPECT_EQ(window.width, 700);
    EXPECT_EQ(window.height, 600);

    // The title picture fades in and out over the whole window, opaque
    // near 4.25 s.
    const TitleWatch title = watchTitle([this] { return shot(); }, [this] { return sinceShown(); },
        {{bgX, bgY}, {pictureX, pictureY}, {captionX, captionY}, {185, 530}}, 9.5);
    EXPECT_EQ(title.fault, "") << "the title's fade, " << title.shots << " screenshots, best fit started "
                               << title.offset << " s before the window showed";
    EXPECT_TRUE(title.opaque) << "the title was never seen opaque over the whole window";

    // After the title: background, first track's picture and caption, and
    // the four buttons in place.
    waitUntil(10.5);
    const Screenshot first = shot();
    EXPECT_TRUE(near(first.at(bgX, bgY), white)) << describe(first.at(bgX, bgY));
    EXPECT_TRUE(near(first.at(pictureX, pictureY), rgbOf(show::trackColour(0))))
        << "track picture " << describe(first.at(pictureX, pictureY));
    EXPECT_TRUE(near(first.at(captionX, captionY), rgbOf(show::captionColour(0))))
        << "caption " << describe(first.at(captionX, captionY));
    const auto gui = show::guiColours();
    const std::pair<show::PixelPoint, const char*> buttons[]
        = {{show::playButtonPoint, "gui/pause_off.png"}, {show::stopButtonPoint, "gui/stop_off.png"},
            {show::prevButtonPoint, "gui/prev_off.png"}, {show::nextButtonPoint, "gui/next_off.png"}};
    for (const auto& [point, image] : buttons)
        EXPECT_TRUE(near(first.at(point.x, point.y), rgbOf(gui.at(image))))
            << image << " at (" << point.x << ", " << point.y << "): " << describe(first.at(point.x, point.y));

    // Next: the caption changes half a second later, the picture about 1.5 s
    // after that.
    const double clicked = sinceShown();
    clickClient(show::nextButtonPoint.x, show::nextButtonPoint.y);
    const auto sinceClick = [&] { return sinceShown() - clicked; };
    const auto [captionSwap, pictureFade] = watchTrackChange([this] { return shot(); }, sinceClick,
        [](const Screenshot& s) { return near(s.at(captionX, captionY), rgbOf(show::captionColour(1))); },
        [](const Screenshot& s) {
            const Rgb p = s.at(pictureX, pictureY);
            return p.r < 200 && p.b > 200;
        },
        4.5);
    EXPECT_GT(captionSwap.seen, 0.25) << "caption changed too early";
    EXPECT_LT(captionSwap.notYet, 1.3) << "caption changed late";
    EXPECT_GE(captionSwap.seen, 0.0) << "caption never changed";
    EXPECT_GT(pictureFade.seen, 1.7) << "picture changed too early";
    EXPECT_LT(pictureFade.notYet, 3.6) << "picture changed late";
    EXPECT_GE(pictureFade.seen, 0.0) << "picture never changed";

    // Previous twice: back to the first track, then from the first to the
    // last; the caption shows the last track's.
    waitUntil(sinceShown() + 0.5);
    clickClient(show::prevButtonPoint.x, show::prevButtonPoint.y);
    clickClient(show::prevButtonPoint.x, show::prevButtonPoint.y);
    waitUntil(sinceShown() + 1.2);
    const Rgb caption = shot().at(captionX, captionY);
    EXPECT_TRUE(near(caption, rgbOf(show::captionColour(2)))) << "caption after previous twice: " << describe(caption);

    // Stop, then play/pause: the track starts over (checked in the audio).
    waitUntil(sinceShown() + 0.5);
    clickClient(show::stopButtonPoint.x, show::stopButtonPoint.y);
    waitUntil(sinceShown() + 1.5);
    clickClient(show::playButtonPoint.x, show::playButtonPoint.y);
    waitUntil(sinceShown() + 2.5);

    // Escape: the credits fade in and stay, the music fades out, and the
    // program ends about 10 s later with status 0.
    ASSERT_TRUE(program->running()) << program->errorOutput();
    const double escaped = program->secondsSinceStart();
    keyTo(window.id, "Escape");
    sleepSeconds(6.0);
    const Rgb credits = shot().at(bgX, bgY);
    EXPECT_TRUE(near(credits, green, 25)) << "credits 6 s into the closing sequence: " << describe(credits);
    ASSERT_TRUE(program->waitExit(20.0)) << "the program did not end after the closing sequence";
    EXPECT_FALSE(program->crashed());
    EXPECT_EQ(program->exitStatus(), 0) << program->errorOutput();
    EXPECT_GT(program->exitTime() - escaped, 9.0);
    EXPECT_LT(program->exitTime() - escaped, 13.0);
    EXPECT_EQ(leftoverExtractionFiles(folder), "");

    // The audio: the stop left a silence, after which the track started
    // over (its quiet first second, then loud), where before the stop it
    // was loud.
    const std::vector<double> levels = audioLevels(audio, 0.1);
    ASSERT_GT(levels.size(), 200u) << "too little audio was written";
    size_t gapStart = 0;
    size_t gapLength = 0;
    for (size_t i = 0; i < levels.size();) {
        size_t j = i;
        while (j < levels.size() && levels[j] < 0.005)
            ++j;
        if (j - i > gapLength && j < levels.size() && i > 0) {
            gapStart = i;
            gapLength = j - i;
        }
        i = j + 1;
    }
    ASSERT_GE(gapLength, 8u) << "no silence of about 1.5 s for the stop";
    ASSERT_LE(gapLength, 30u);
    ASSERT_GE(gapStart, 5u);
    const size_t after = gapStart + gapLength;
    ASSERT_LT(after + 25, levels.size());
    EXPECT_GT(levels[gapStart - 3], 0.3) << "loud before the stop";
    EXPECT_LT(levels[after + 3], 0.1) << "quiet right after play: the track started over";
    EXPECT_GT(levels[after + 15], 0.3) << "loud again a second later";

    // The closing fade: 80, 60, 40 and 20 percent of the loud level each
    // held for a second, then silence to the end.
    auto blocksNear = [&](double level) {
        size_t n = 0;
        for (size_t i = after + 20; i < levels.size(); ++i)
            n += std::abs(levels[i] - level) < 0.02 ? 1 : 0;
        return n;
    };
    for (double level : {0.4, 0.3, 0.2, 0.1})
        EXPECT_GE(blocksNear(level), 5u) << "no second at level " << level << " in the closing fade";
    for (size_t i = levels.size() - 20; i < levels.size(); ++i)
        EXPECT_LT(levels[i], 0.005) << "sound in the last two seconds, block " << i;
}

} // namespace
} // namespace vlo
