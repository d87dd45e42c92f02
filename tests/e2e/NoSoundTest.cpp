// The show without a sound card (SDL_AUDIODRIVER naming a driver that does
// not exist) and with nothing playable: the screen behaves as with sound.
// Without a device the tracks last their real length and then advance; with
// no playable entry the list stops after one pass, and picture and caption
// stay put instead of being reloaded every frame.
#include <gtest/gtest.h>

#include "support/E2eProgram.h"
#include "support/E2eShow.h"

namespace vlo {
namespace {

using namespace e2e;

constexpr int pictureX = 200, pictureY = 250; // track picture
constexpr int captionX = 350, captionY = 50;  // caption
Rgb rgbOf(show::Rgba c) { return Rgb{c.r, c.g, c.b}; }

class NoSound : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (displayName().empty())
            GTEST_SKIP() << "no X display (DISPLAY is not set)";
    }

    void start(const std::string& driver)
    {
        program = std::make_unique<Program>(VLO_BINARY_DIR "/vellumo", folder.path(),
                                            std::vector<std::string>{"SDL_AUDIODRIVER=" + driver});
        window = program->waitForWindow("Emberfall II", 30.0);
        ASSERT_TRUE(window.found) << "no window; stderr: " << program->errorOutput();
        shownAt = program->secondsSinceStart();
    }

    void waitUntil(double seconds)
    {
        const double now = program->secondsSinceStart() - shownAt;
        if (seconds > now)
            sleepSeconds(seconds - now);
    }

    void expectEntryShown(const Screenshot& shot, size_t entry, const std::string& when)
    {
        EXPECT_TRUE(near(shot.at(pictureX, pictureY), rgbOf(show::trackColour(entry))))
            << when << ": expected entry " << entry << "'s picture, got " << describe(shot.at(pictureX, pictureY));
        EXPECT_TRUE(near(shot.at(captionX, captionY), rgbOf(show::captionColour(entry))))
            << when << ": expected entry " << entry << "'s caption, got " << describe(shot.at(captionX, captionY));
    }

    void quit()
    {
        keyTo(window.id, "Escape");
        sleepSeconds(0.5);
        if (program->running())
            keyTo(window.id, "Escape");
        ASSERT_TRUE(program->waitExit(15.0));
        EXPECT_EQ(program->exitStatus(), 0) << program->errorOutput();
        EXPECT_EQ(leftoverExtractionFiles(folder), "");
    }

    Screenshot shot() { return screenshot(window, folder.path("shot.rgb")); }

    test::ScratchDir folder{"e2e-nosound"};
    std::unique_ptr<Program> program;
    WindowInfo window;
    double shownAt = 0.0;
};

TEST_F(NoSound, WithoutADeviceTracksLastTheirLengthAndTheScreenFollows)
{
    show::ShowContent content = show::standardShow(3);
    writeShow(folder, content);
    // The first track lasts 14 s from the start of the program, a little
    // before the window shows.
    folder.write(content.tracks[0].music, show::wavOf(14.0, 440.0, {0.5}));
    start("no-such-driver");
    waitUntil(12.0);
    expectEntryShown(shot(), 0, "12 s, the first track playing");
    EXPECT_TRUE(program->running());
    // The track ends by itself at 14 s; the page has faded over by 18 s.
    waitUntil(18.5);
    expectEntryShown(shot(), 1, "18.5 s, the second track playing");
    quit();
}

TEST_F(NoSound, NothingPlayableLeavesPictureAndCaptionInPlace)
{
    show::ShowContent content = show::standardShow(3);
    writeShow(folder, content);
    for (const show::Track& track : content.tracks)
        folder.write(track.music, "this is not music\n");
    start("dummy");
    // Every entry tried once: the list stays on the last.
    waitUntil(11.0);
    const Screenshot first = shot();
    expectEntryShown(first, 2, "11 s");
    waitUntil(14.0);
    const Screenshot later = shot();
    expectEntryShown(later, 2, "14 s");
    EXPECT_EQ(leftoverExtractionFiles(folder), "") << "extraction files are gone between reads";
    quit();
}

} // namespace
} // namespace vlo
