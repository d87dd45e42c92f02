// The show without a sound card (SDL_AUDIODRIVER naming a driver that does
// not exist) and with nothing playable: the screen behaves as with sound.
// Without a device the tracks last their real length and then advance; with
// no playable entry the list stops after one pass, and picture and caption
// stay put instead of being reloaded every frame.
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cstring>

#include "support/E2eProgram.h"
#include "support/E2eShow.h"

namespace vlo {
namespace {

using namespace e2e;

constexpr int pictureX = 200, pictureY = 250; // track picture
constexpr int captionX = 350, captionY = 50;  // caption
Rgb rgbOf(show::Rgba c)
{
    return Rgb{c.r, c.g, c.b};
}

// Counts the extraction files created in a folder since the last count,
// from the folder's inotify events.
class ExtractionWatch {
public:
    explicit ExtractionWatch(const std::string& folder)
        : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        if (fd_ >= 0)
            inotify_add_watch(fd_, folder.c_str(), IN_CREATE);
    }
    ~ExtractionWatch()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    ExtractionWatch(const ExtractionWatch&) = delete;
    ExtractionWatch& operator=(const ExtractionWatch&) = delete;

    bool ok() const { return fd_ >= 0; }

    size_t createdSinceLastCount()
    {
        size_t created = 0;
        alignas(inotify_event) char buffer[8192];
        for (ssize_t got = read(fd_, buffer, sizeof buffer); got > 0; got = read(fd_, buffer, sizeof buffer)) {
            for (ssize_t at = 0; at < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if (event->len > 0 && std::strncmp(event->name, "data.zuo.temp", 13) == 0)
                    ++created;
                at += ssize_t(sizeof(inotify_event) + event->len);
            }
        }
        return created;
    }

private:
    int fd_;
};

class NoSound : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (displayName().empty())
            GTEST_SKIP() << "no X display (DISPLAY is not set)";
        ASSERT_TRUE(watch.ok());
    }

    void start(const std::string& driver)
    {
        program = std::make_unique<Program>(
            VLO_BINARY_DIR "/vellumo", folder.path(), std::vector<std::string>{"SDL_AUDIODRIVER=" + driver});
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
    ExtractionWatch watch{folder.root.string()};
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
    waitUntil(3.0);
    watch.createdSinceLastCount();
    waitUntil(12.0);
    expectEntryShown(shot(), 0, "12 s, the first track playing");
    EXPECT_TRUE(program->running());
    // Every picture of the first screen was read before 3 s, once.
    EXPECT_EQ(watch.createdSinceLastCount(), 0u) << "extraction files written between 3 s and 12 s";
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
    // Each picture of the start and of the three entries tried, once.
    const size_t untilEleven = watch.createdSinceLastCount();
    EXPECT_GT(untilEleven, 0u) << "the watch saw no extraction file at all";
    EXPECT_LE(untilEleven, 30u) << "extraction files written in the first 11 s";
    waitUntil(14.0);
    EXPECT_EQ(watch.createdSinceLastCount(), 0u) << "extraction files written between 11 s and 14 s";
    const Screenshot later = shot();
    expectEntryShown(later, 2, "14 s");
    EXPECT_EQ(leftoverExtractionFiles(folder), "") << "extraction files are gone between reads";
    quit();
}

} // namespace
} // namespace vlo
