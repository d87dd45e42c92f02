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

// The show's own picture of a track, decoded from its archive.
Pixels trackPicture(const std::string& folder, size_t track)
{
    Pixels image;
    const fs::path before = fs::current_path();
    fs::current_path(folder);
    if (ArchiveFS::init("data.zuo")) {
        ShowConfig config("Vellumo.ini");
        if (!config.loadFailed && track < config.tracks.size()) {
            image = decode(ArchiveFS::extract(config.tracks[track].picture));
            ArchiveFS::removeExtracted();
        }
        ArchiveFS::shutdown();
    }
    fs::current_path(before);
    return image;
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

    const auto launched = Clock::now();
    Program program(Vellumo, show.path(),
        {"SDL_AUDIODRIVER=dummy", "DBUS_SESSION_BUS_ADDRESS=" + bus.address, "XDG_RUNTIME_DIR=" + runtime.path()});
    const WindowInfo window = program.waitForWindow("Emberfall II", 30.0);
    ASSERT_TRUE(window.found) << program.errorOutput();
    const std::string environment = "DBUS_SESSION_BUS_ADDRESS='" + bus.address + "' ";
    const auto ctl = [&](const std::string& arguments) {
        std::string out = capture(environment + "playerctl -p vellumo " + arguments + " 2>/dev/null");
        while (!out.empty() && out.back() == '\n')
            out.pop_back();
        return out;
    };
    // Waits for a property to read `expected` (commands act between frames).
    const auto reads = [&](const std::string& arguments, const std::string& expected) {
        for (int poll = 0; poll < 50 && ctl(arguments) != expected; ++poll)
            sleepSeconds(0.05);
        return ctl(arguments);
    };
    std::string players;
    for (int poll = 0; poll < 100 && players.find("vellumo") == std::string::npos; ++poll) {
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
        const Pixels picture = trackPicture(show.path(), track);
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
    sleepSeconds(3.0);
    const Screenshot second = screenshot(window, show.path("second.rgb"));
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

    // Quit after the title: the closing sequence, then the end with 0; the
    // picture file goes with the program.
    while (program.running() && std::chrono::duration<double>(Clock::now() - launched).count() < 9.0)
        sleepSeconds(0.1);
    run(environment + "dbus-send --session --type=method_call --dest=org.mpris.MediaPlayer2.vellumo "
        + "/org/mpris/MediaPlayer2 org.mpris.MediaPlayer2.Quit");
    EXPECT_FALSE(program.waitExit(5.0)) << "Quit ended the program without the closing sequence";
    ASSERT_TRUE(program.waitExit(10.0)) << "Quit did not end the program";
    EXPECT_EQ(0, program.exitStatus()) << program.errorOutput();
    EXPECT_TRUE(fs::is_empty(runtime.path())) << "the picture file was left behind";
}

} // namespace
} // namespace vlo
