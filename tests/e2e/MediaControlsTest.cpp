// The desktop's media controls and the player keys against the real program
// under X, on a private session bus with playerctl as the client: what the
// show tells (status, title from the tags or the file name, length, the
// current picture as a file in the runtime folder) and what the commands and
// keys do, up to Quit, which runs the closing sequence and ends with 0.
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "content/ArchiveFS.h"
#include "content/ShowConfig.h"
#include "render/codecs/ImageCodecRegistry.h"
#include "support/DemoWatch.h"
#include "support/E2eProgram.h"
#include "support/ScratchDir.h"

namespace vlo {
namespace {

namespace fs = std::filesystem;
using namespace e2e;

struct Pixels {
    int width = 0;
    int height = 0;
    int bits = 0;
    std::unique_ptr<unsigned char[]> data;
    size_t bytes() const { return size_t(width) * size_t(height) * size_t(bits / 8); }
};

Pixels decode(const std::string& path)
{
    Pixels image;
    unsigned char* raw = nullptr;
    ImageCodecRegistry codecs;
    if (codecs.load(path.c_str(), &image.width, &image.height, &image.bits, &raw))
        image.data.reset(raw);
    return image;
}

// One of the show's own pictures, decoded from its archive: the picture of
// track `track`, or the credits picture when `track` is past the last.
Pixels showPicture(const std::string& folder, size_t track)
{
    Pixels image;
    const fs::path before = fs::current_path();
    fs::current_path(folder);
    if (ArchiveFS::init("data.zuo")) {
        ShowConfig config("Vellumo.ini");
        if (!config.loadFailed) {
            image = decode(
                ArchiveFS::extract(track < config.tracks.size() ? config.tracks[track].picture : config.creditsPath()));
            ArchiveFS::removeExtracted();
        }
        ArchiveFS::shutdown();
    }
    fs::current_path(before);
    return image;
}

// True when the window shows `picture` (700 x 600, rows from the top) over
// all of it: every point of a 50-pixel grid within a few levels.
bool shows(const Screenshot& shot, const Pixels& picture)
{
    if (!shot.valid() || !picture.data || picture.width != shot.width || picture.height != shot.height)
        return false;
    const int channels = picture.bits / 8;
    for (int y = 25; y < shot.height; y += 50) {
        for (int x = 25; x < shot.width; x += 50) {
            const unsigned char* p = picture.data.get() + (size_t(y) * size_t(picture.width) + size_t(x)) * channels;
            if (!near(shot.at(x, y), Rgb{p[0], p[1], p[2]}, 8))
                return false;
        }
    }
    return true;
}

// A session bus of the test's own, ended with it.
class PrivateBus {
public:
    PrivateBus()
    {
        const std::string out = capture("dbus-daemon --session --fork --print-address=1 --print-pid=1 2>/dev/null");
        const size_t newline = out.find('\n');
        if (newline == std::string::npos)
            return;
        address = out.substr(0, newline);
        pid = std::atoi(out.c_str() + newline + 1);
    }
    ~PrivateBus()
    {
        if (pid > 0)
            kill(pid, SIGTERM);
    }
    std::string address;
    pid_t pid = 0;
};

TEST(MediaControls, PlayerctlAndTheKeysDriveTheShowThroughItsButtons)
{
    if (displayName().empty())
        GTEST_SKIP() << "no X display (DISPLAY is not set)";
    if (!run("command -v playerctl dbus-daemon dbus-send xdotool >/dev/null 2>&1"))
        GTEST_SKIP() << "needs playerctl, dbus-daemon and xdotool";
    PrivateBus bus;
    ASSERT_FALSE(bus.address.empty()) << "no private session bus";
    test::ScratchDir show("e2e-mpris-show");
    fs::copy(DemoShow, show.path(), fs::copy_options::recursive);
    test::ScratchDir runtime("e2e-mpris-runtime");
    fs::permissions(runtime.path(), fs::perms::owner_all);

    Program program(Vellumo, show.path(),
        {"SDL_AUDIODRIVER=dummy", "DBUS_SESSION_BUS_ADDRESS=" + bus.address, "XDG_RUNTIME_DIR=" + runtime.path()});
    const WindowInfo window = program.waitForWindow("Emberfall II", 30.0);
    ASSERT_TRUE(window.found) << program.errorOutput();
    // The title overlay (8.5 s) starts before the window is shown, however
    // slow the start: the Quit below waits for its end from here.
    ASSERT_TRUE(program.waitUntilShown(window, 30.0)) << "the window was not shown: " << program.errorOutput();
    const auto shown = Clock::now();
    const std::string environment = "DBUS_SESSION_BUS_ADDRESS='" + bus.address + "' ";
    const auto ctl = [&](const std::string& arguments) {
        std::string out = capture(environment + "playerctl -p vellumo " + arguments + " 2>/dev/null");
        while (!out.empty() && out.back() == '\n')
            out.pop_back();
        return out;
    };
    // Waits up to 15 s for a property to read `expected` (commands act
    // between frames).
    const auto reads = [&](const std::string& arguments, const std::string& expected) {
        const auto until = Clock::now() + std::chrono::seconds(15);
        std::string got = ctl(arguments);
        while (got != expected && Clock::now() < until) {
            sleepSeconds(0.05);
            got = ctl(arguments);
        }
        return got;
    };
    std::string players;
    for (const auto until = Clock::now() + std::chrono::seconds(30);
         players.find("vellumo") == std::string::npos && Clock::now() < until;) {
        sleepSeconds(0.05);
        players = capture(environment + "playerctl -l 2>/dev/null");
    }
    EXPECT_EQ("vellumo\n", players);

    // The first track: an Ogg file tagged with its title, artist and album.
    EXPECT_EQ("Playing", ctl("status"));
    EXPECT_EQ("Kindling", ctl("metadata xesam:title"));
    EXPECT_EQ("Vellumo demo", ctl("metadata xesam:artist"));
    EXPECT_EQ("Emberfall II", ctl("metadata xesam:album"));
    EXPECT_EQ("27000000", ctl("metadata mpris:length"));
    EXPECT_EQ("'/org/vellumo/Vellumo/track/0'", ctl("metadata mpris:trackid"));
    const auto checkArt = [&](size_t track) {
        const std::string url = ctl("metadata mpris:artUrl");
        const std::string prefix = "file://" + runtime.path() + "/";
        ASSERT_EQ(0u, url.rfind(prefix, 0)) << url << " is not in the runtime folder";
        const Pixels art = decode(url.substr(7));
        const Pixels picture = showPicture(show.path(), track);
        ASSERT_TRUE(art.data && picture.data) << url;
        ASSERT_EQ(picture.width, art.width);
        ASSERT_EQ(picture.height, art.height);
        ASSERT_EQ(picture.bits, art.bits);
        EXPECT_EQ(0, std::memcmp(picture.data.get(), art.data.get(), art.bytes())) << "not track " << track;
    };
    checkArt(0);

    EXPECT_EQ("Paused", (ctl("pause"), reads("status", "Paused")));
    EXPECT_EQ("Playing", (ctl("play"), reads("status", "Playing")));
    // Next: the second track, a WAV file without tags, named by its file.
    const Screenshot first = screenshot(window, show.path("first.rgb"));
    ctl("next");
    EXPECT_EQ("02-ashen-road", reads("metadata xesam:title", "02-ashen-road"));
    checkArt(1);
    Screenshot second = screenshot(window, show.path("second.rgb"));
    for (const auto until = Clock::now() + std::chrono::seconds(15); second.rgb == first.rgb && Clock::now() < until;)
        second = screenshot(window, show.path("second.rgb"));
    ASSERT_TRUE(first.valid() && second.valid());
    EXPECT_NE(first.rgb, second.rgb) << "the screen did not change with the track";
    EXPECT_EQ("Kindling", (ctl("previous"), reads("metadata xesam:title", "Kindling")));
    EXPECT_EQ("Stopped", (ctl("stop"), reads("status", "Stopped")));

    // The keys on the window: Space plays and pauses, Right and Left step.
    keyTo(window.id, "space");
    EXPECT_EQ("Playing", reads("status", "Playing"));
    keyTo(window.id, "space");
    EXPECT_EQ("Paused", reads("status", "Paused"));
    keyTo(window.id, "Right");
    EXPECT_EQ("02-ashen-road", reads("metadata xesam:title", "02-ashen-road"));
    EXPECT_EQ("Playing", ctl("status"));
    keyTo(window.id, "Left");
    EXPECT_EQ("Kindling", reads("metadata xesam:title", "Kindling"));

    // Quit after the title: the closing sequence (the credits picture comes
    // and is held until 10 s after the Quit), then the end with 0; the
    // picture file goes with the program. During the title Quit would end
    // the program at once. The window is watched from the Quit on.
    const Pixels credits = showPicture(show.path(), size_t(-1));
    ASSERT_TRUE(credits.data) << "no credits picture in the show";
    while (program.running() && std::chrono::duration<double>(Clock::now() - shown).count() < 9.0)
        sleepSeconds(0.1);
    const auto quit = Clock::now();
    const double quitAt = program.secondsSinceStart();
    run(environment + "dbus-send --session --type=method_call --dest=org.mpris.MediaPlayer2.vellumo "
        + "/org/mpris/MediaPlayer2 org.mpris.MediaPlayer2.Quit");
    bool creditsShown = false;
    while (program.running() && Clock::now() < quit + std::chrono::seconds(40))
        creditsShown = shows(screenshot(window, show.path("closing.rgb")), credits) || creditsShown;
    ASSERT_FALSE(program.running()) << "Quit did not end the program";
    EXPECT_TRUE(creditsShown) << "Quit ended the program without showing the credits";
    EXPECT_GT(program.exitTime() - quitAt, 9.5) << "Quit ended the program before the closing sequence's 10 s";
    EXPECT_EQ(0, program.exitStatus()) << program.errorOutput();
    EXPECT_TRUE(fs::is_empty(runtime.path())) << "the picture file was left behind";
}

} // namespace
} // namespace vlo
