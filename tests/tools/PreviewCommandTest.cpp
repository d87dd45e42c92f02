// vellumo-pack preview, run as the built program on a copy of the demo show
// and on small broken shows. The pictures it writes are compared with the
// show's own pictures, decoded from its archive by the program's decoders.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

#include "content/ArchiveDirectory.h"
#include "content/ShowConfig.h"
#include "render/codecs/ImageCodecRegistry.h"
#include "support/ArchiveBytes.h"
#include "support/ScratchDir.h"

namespace vlo {
namespace {

using test::ScratchDir;

struct PackRun {
    int status = -1;
    std::string out;
    std::string err;
    std::string command;
};

std::string describe(const PackRun& run)
{
    return run.command + "\n  exit status " + std::to_string(run.status) + "\n  stderr: " + run.err;
}

// Runs the built vellumo-pack in folder with the variables in unset removed
// and the "NAME=value" entries in set added. Leaks are checked in the child
// as in every test: what the OpenGL, SDL and D-Bus libraries keep until the
// process ends is suppressed (tests/lsan.supp) unless the caller's
// LSAN_OPTIONS say otherwise; a leak of our own makes the exit status
// non-zero.
PackRun runPackIn(const std::string& folder, const std::vector<std::string>& arguments,
    const std::vector<std::string>& unset = {}, const std::vector<std::string>& set = {})
{
    static int runs = 0;
    const std::string outPath = folder + "/.out" + std::to_string(runs);
    const std::string errPath = folder + "/.err" + std::to_string(runs++);
    const std::string program = VLO_BINARY_DIR "/vellumo-pack";
    PackRun run;
    run.command = "(in " + folder + ") vellumo-pack";
    for (const std::string& argument : arguments)
        run.command += " '" + argument + "'";

    const pid_t child = fork();
    if (child == 0) {
        if (chdir(folder.c_str()) != 0)
            _exit(127);
        if (std::getenv("LSAN_OPTIONS") == nullptr)
            setenv("LSAN_OPTIONS", "suppressions=" VLO_SOURCE_DIR "/tests/lsan.supp:print_suppressions=0", 1);
        for (const std::string& name : unset)
            unsetenv(name.c_str());
        for (const std::string& entry : set) {
            const size_t equals = entry.find('=');
            setenv(entry.substr(0, equals).c_str(), entry.substr(equals + 1).c_str(), 1);
        }
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0)
            _exit(127);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status))
        run.status = WEXITSTATUS(status);
    run.out = test::readFile(outPath);
    run.err = test::readFile(errPath);
    std::remove(outPath.c_str());
    std::remove(errPath.c_str());
    return run;
}

// A decoded picture: rows from the top, bits / 8 bytes per pixel.
struct Picture {
    int width = 0;
    int height = 0;
    int bits = 0;
    std::vector<uint8_t> pixels;

    int channel(int x, int y, int c) const
    {
        return pixels[(size_t(y) * size_t(width) + size_t(x)) * size_t(bits / 8) + size_t(c)];
    }
    int alpha(int x, int y) const { return bits == 32 ? channel(x, y, 3) : 255; }
};

Picture decode(const std::string& path)
{
    Picture picture;
    unsigned char* pixels = nullptr;
    ImageCodecRegistry registry;
    registry.load(path.c_str(), &picture.width, &picture.height, &picture.bits, &pixels);
    const std::unique_ptr<unsigned char[]> owned(pixels);
    if (owned)
        picture.pixels.assign(
            owned.get(), owned.get() + size_t(picture.width) * size_t(picture.height) * size_t(picture.bits / 8));
    return picture;
}

// A copy of the demo show in a folder of the test's own (the viewer writes
// its extraction files beside the archive, so runs must not share one), with
// its configuration and pictures read from the archive.
class DemoShow {
public:
    DemoShow()
    {
        const std::filesystem::path demo = VLO_BINARY_DIR "/demo-show";
        if (!std::filesystem::exists(demo / "data.zuo"))
            return;
        std::filesystem::copy(demo, folder.root, std::filesystem::copy_options::recursive);
        archive = test::readFile(folder.path("data.zuo"));
        std::istringstream in(archive);
        directory = ArchiveDirectory::read(in);
        const std::string configPath = folder.path("Vellumo.ini.copy");
        writeEntry("Vellumo.ini", configPath);
        config = std::make_unique<ShowConfig>(configPath.c_str());
        std::remove(configPath.c_str());
    }

    bool ready() const { return config != nullptr && config->loadFailed == 0 && !config->tracks.empty(); }

    // An archive entry decoded by the program's decoders.
    Picture picture(const std::string& name)
    {
        const std::string path = folder.path("entry" + name.substr(name.rfind('.')));
        writeEntry(name, path);
        Picture decoded = decode(path);
        std::remove(path.c_str());
        return decoded;
    }

    ScratchDir folder{"preview-demo"};
    std::unique_ptr<ShowConfig> config;

private:
    // The last record of the name counts; a name the archive lacks gives an
    // empty file.
    void writeEntry(const std::string& name, const std::string& path)
    {
        std::string bytes;
        for (const ArchiveRecord& record : directory.records) {
            if (record.name == name)
                bytes = archive.substr(size_t(record.offset), size_t(record.size));
        }
        std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    }

    std::string archive;
    ArchiveDirectory directory;
};

// Mean absolute difference per channel over a rectangle [x0, x1) x [y0, y1)
// between the preview and what the rectangle should show.
double meanDifference(
    const Picture& preview, int x0, int y0, int x1, int y1, const std::function<int(int x, int y, int c)>& expected)
{
    double sum = 0.0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            for (int c = 0; c < 3; ++c)
                sum += std::abs(preview.channel(x, y, c) - expected(x, y, c));
    return sum / (double(x1 - x0) * double(y1 - y0) * 3.0);
}

// What the screen's multiplying blend (destination colour, one minus source
// alpha) makes of a picture with premultiplied colours over the background.
int multiplied(const Picture& over, int ox, int oy, const Picture& under, int x, int y, int c)
{
    const double source = over.channel(x - ox, y - oy, c) / 255.0;
    const double alpha = over.alpha(x - ox, y - oy) / 255.0;
    const double destination = under.channel(x, y, c) / 255.0;
    return int(std::lround(std::min(1.0, source * destination + destination * (1.0 - alpha)) * 255.0));
}

// One preview of the demo show at 4.25 s and at 10 s, shared by the tests
// that look at it (a run draws a thousand frames).
struct DemoPreview {
    DemoShow show;
    ScratchDir shots{"preview-shots"};
    PackRun run;

    DemoPreview()
    {
        if (show.ready())
            run = runPackIn(shots.path(), {"preview", show.folder.path(), "--at", "10,4.25", "-o", "frame"});
    }
};

DemoPreview& demoPreview()
{
    static DemoPreview preview;
    return preview;
}

class PreviewCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(demoPreview().show.ready())
            << "the demo show is missing at " VLO_BINARY_DIR "/demo-show: configure "
               "with -DVLO_DEMO=ON and build demo_show";
    }
};

TEST_F(PreviewCommandTest, WritesOnePictureOfTheWindowPerMomentInTimeOrder)
{
    DemoPreview& preview = demoPreview();
    ASSERT_EQ(0, preview.run.status) << describe(preview.run);
    EXPECT_EQ(preview.shots.path("frame-4.25.png") + "\n" + preview.shots.path("frame-10.png") + "\n", preview.run.out);
    for (const char* name : {"frame-4.25.png", "frame-10.png"}) {
        const Picture shot = decode(preview.shots.path(name));
        EXPECT_EQ(700, shot.width) << name;
        EXPECT_EQ(600, shot.height) << name;
        EXPECT_EQ(24, shot.bits) << name;
    }
    // Nothing is left behind in the show's folder.
    for (const auto& entry : std::filesystem::directory_iterator(preview.show.folder.root))
        EXPECT_EQ(std::string::npos, entry.path().filename().string().find(".temp")) << entry.path();
}

TEST_F(PreviewCommandTest, TitlePictureCoversTheWindowAtItsPeak)
{
    // The 8.5 s title overlay is fully opaque halfway through.
    DemoPreview& preview = demoPreview();
    const Picture shot = decode(preview.shots.path("frame-4.25.png"));
    const Picture title = preview.show.picture(preview.show.config->title);
    ASSERT_EQ(700, shot.width);
    ASSERT_EQ(700, title.width) << "the demo's title picture is drawn at the window's size";
    ASSERT_EQ(600, title.height);
    const double difference
        = meanDifference(shot, 0, 0, 700, 600, [&](int x, int y, int c) { return title.channel(x, y, c); });
    EXPECT_LT(difference, 1.0) << "mean difference from the title picture per channel";
    int worst = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 700; ++x)
            for (int c = 0; c < 3; ++c)
                worst = std::max(worst, std::abs(shot.channel(x, y, c) - title.channel(x, y, c)));
    EXPECT_LE(worst, 2) << "largest difference from the title picture in any channel";
}

TEST_F(PreviewCommandTest, BackgroundTrackPictureAndButtonsAreInPlaceAfterTheTitle)
{
    DemoPreview& preview = demoPreview();
    DemoShow& show = preview.show;
    const Picture shot = decode(preview.shots.path("frame-10.png"));
    ASSERT_EQ(700, shot.width);
    const Picture mask = show.picture(show.config->mask);
    const Picture track = show.picture(show.config->tracks[0].picture);
    const Picture caption = show.picture(show.config->trackCaptions[0]);
    ASSERT_EQ(700, mask.width);
    ASSERT_EQ(600, mask.height);
    ASSERT_GT(track.width, 0);
    const auto background = [&](int x, int y, int c) { return mask.channel(x, y, c); };

    // Right of the track picture, between caption and buttons: the mask alone.
    const int right = track.width + 10;
    EXPECT_LT(meanDifference(shot, right, 110, 690, 470, background), 1.0) << "background right of the picture";

    // The track picture at (0, 105), faded in completely by now (from 3.4 s
    // at 0.2 alpha per second).
    EXPECT_LT(meanDifference(shot, 2, 107, track.width - 2, 105 + track.height - 2,
                  [&](int x, int y, int c) { return track.channel(x, y - 105, c); }),
        2.0)
        << "track picture at (0, 105)";

    // The caption at (0, 0), multiplied onto the background.
    EXPECT_LT(meanDifference(shot, 0, 0, caption.width, caption.height,
                  [&](int x, int y, int c) { return multiplied(caption, 0, 0, mask, x, y, c); }),
        2.0)
        << "caption at (0, 0)";

    // The four buttons, music playing: pause, stop, previous, next. The panel
    // starts at x 120 with a 20-pixel margin, so buttons are laid out from
    // x 140, y 485, 10 pixels apart, then moved by their own offsets.
    const char* images[] = {"gui/pause_off.png", "gui/stop_off.png", "gui/prev_off.png", "gui/next_off.png"};
    const int offsets[] = {-5, -15, -10, -10};
    int laidOut = 140;
    for (int i = 0; i < 4; ++i) {
        const Picture button = show.picture(images[i]);
        ASSERT_GT(button.width, 0) << images[i];
        const int x = laidOut + offsets[i];
        const int y = 485;
        const double withButton = meanDifference(shot, x + 1, y + 1, x + button.width - 1, y + button.height - 1,
            [&](int px, int py, int c) { return multiplied(button, x, y, mask, px, py, c); });
        const double withoutButton
            = meanDifference(shot, x + 1, y + 1, x + button.width - 1, y + button.height - 1, background);
        EXPECT_LT(withButton, 2.0) << images[i] << " at (" << x << ", " << y << ")";
        EXPECT_GT(withoutButton, 10.0) << images[i] << ": the button must change the background under it";
        laidOut += button.width + 10;
    }
}

// Seconds of music in an Ogg Vorbis file: the granule position (samples) of
// its last page over the sample rate of its identification header; 0 when
// the file is not one.
double oggSeconds(const std::string& bytes)
{
    const auto le = [&](size_t at, int count) {
        uint64_t value = 0;
        for (int i = count - 1; i >= 0; --i)
            value = value << 8 | uint8_t(bytes[at + size_t(i)]);
        return value;
    };
    const size_t header = bytes.find("\x01vorbis");
    const size_t last = bytes.rfind("OggS");
    if (header == std::string::npos || last == std::string::npos || last + 14 > bytes.size())
        return 0.0;
    const uint64_t rate = le(header + 7 + 4 + 1, 4);
    return rate == 0 ? 0.0 : double(le(last + 6, 8)) / double(rate);
}

TEST_F(PreviewCommandTest, TheNextTrackFollowsWhenTheMusicEnds)
{
    // The silent back end ends the first track after its real length; the
    // caption of the second track is shown at once.
    DemoShow& show = demoPreview().show;
    const double length = oggSeconds(test::readFile(show.folder.path(show.config->tracks[0].file)));
    ASSERT_GT(length, 1.0) << "the demo's first track is an Ogg Vorbis file of some length";
    ScratchDir shots("preview-advance");
    const std::string before = std::to_string(length - 0.2);
    const std::string after = std::to_string(length + 0.2);
    const PackRun run
        = runPackIn(shots.path(), {"preview", show.folder.path(), "--at", before + "," + after, "-o", "at"},
            {"DISPLAY"}, {"SDL_VIDEODRIVER=offscreen"});
    ASSERT_EQ(0, run.status) << describe(run);
    const auto lines = [&] {
        std::vector<std::string> paths;
        std::istringstream in(run.out);
        for (std::string line; std::getline(in, line);)
            paths.push_back(line);
        return paths;
    }();
    ASSERT_EQ(2u, lines.size()) << run.out;
    const Picture mask = show.picture(show.config->mask);
    const Picture first = show.picture(show.config->trackCaptions[0]);
    const Picture second = show.picture(show.config->trackCaptions[1]);
    const auto captionDifference = [&](const Picture& shot, const Picture& caption) {
        return meanDifference(shot, 0, 0, caption.width, caption.height,
            [&](int x, int y, int c) { return multiplied(caption, 0, 0, mask, x, y, c); });
    };
    const Picture early = decode(lines[0]);
    const Picture late = decode(lines[1]);
    EXPECT_LT(captionDifference(early, first), 2.0) << "first caption 0.2 s before the track ends";
    EXPECT_GT(captionDifference(early, second), 5.0) << "the two captions must differ for this test";
    EXPECT_LT(captionDifference(late, second), 2.0) << "second caption 0.2 s after the first track ended";
}

TEST_F(PreviewCommandTest, SameMomentGivesTheSamePicture)
{
    DemoPreview& preview = demoPreview();
    ScratchDir again("preview-again");
    const PackRun run = runPackIn(again.path(), {"preview", preview.show.folder.path(), "--at", "4.25"});
    ASSERT_EQ(0, run.status) << describe(run);
    const std::string first = test::readFile(preview.shots.path("frame-4.25.png"));
    const std::string second = test::readFile(again.path("preview-4.25.png"));
    ASSERT_FALSE(first.empty());
    EXPECT_TRUE(first == second) << "two previews at 4.25 s differ (" << first.size() << " and " << second.size()
                                 << " bytes)";
}

TEST_F(PreviewCommandTest, RendersWithoutADisplay)
{
    DemoPreview& preview = demoPreview();
    ScratchDir shots("preview-offscreen");
    const PackRun run = runPackIn(shots.path(), {"preview", preview.show.folder.path(), "--at", "4.25"}, {"DISPLAY"},
        {"SDL_VIDEODRIVER=offscreen"});
    ASSERT_EQ(0, run.status) << describe(run);
    const Picture shot = decode(shots.path("preview-4.25.png"));
    const Picture title = preview.show.picture(preview.show.config->title);
    ASSERT_EQ(700, shot.width);
    ASSERT_EQ(600, shot.height);
    EXPECT_LT(meanDifference(shot, 0, 0, 700, 600, [&](int x, int y, int c) { return title.channel(x, y, c); }), 1.0);
}

TEST_F(PreviewCommandTest, MomentsMayComeInAnyOrderAndFilesGoWhereTheCallerIs)
{
    DemoPreview& preview = demoPreview();
    ScratchDir caller("preview-caller");
    std::filesystem::create_directories(caller.root / "shots");
    const PackRun run
        = runPackIn(caller.path(), {"preview", preview.show.folder.path(), "-o", "shots/at", "--at", "0.05,0.02,0.05"},
            {"DISPLAY"}, {"SDL_VIDEODRIVER=offscreen"});
    ASSERT_EQ(0, run.status) << describe(run);
    EXPECT_EQ(caller.path("shots/at-0.02.png") + "\n" + caller.path("shots/at-0.05.png") + "\n", run.out);
    for (const char* name : {"shots/at-0.02.png", "shots/at-0.05.png"})
        EXPECT_EQ(700, decode(caller.path(name)).width) << name;
    // The prefix is the caller's, although the show runs in its own folder.
    EXPECT_FALSE(std::filesystem::exists(preview.show.folder.root / "shots"));
}

TEST(PreviewCommandErrorsTest, ClearErrorsForWhatCannotBePreviewed)
{
    ScratchDir caller("preview-errors");
    const std::vector<std::string> offscreen = {"SDL_VIDEODRIVER=offscreen"};
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string error;
    };
    caller.write("broken/data.zuo", test::archiveOf({{"Vellumo.ini", "[vloData]\nTitle: x.png\n[end]\n"}}));
    std::filesystem::create_directories(caller.root / "empty");
    const std::string here = caller.path();
    const Case cases[] = {
        {{"preview", here + "/nowhere", "--at", "1"}, 2,
            "vellumo-pack: preview: '" + here + "/nowhere': no such folder\n"},
        {{"preview", here + "/empty", "--at", "1"}, 2, "vellumo-pack: preview: no data.zuo in '" + here + "/empty'\n"},
        {{"preview", here + "/broken", "--at", "1"}, 1,
            "vellumo-pack: preview: the viewer refuses Vellumo.ini (it stops with \"Error reading main config file: "
            "Vellumo.ini!\"); 'vellumo-pack check' tells why\n"},
        {{"preview", here + "/broken", "--at", "-1"}, 2,
            "vellumo-pack: preview: --at: '-1' is negative; moments count seconds from the show's start (see "
            "'vellumo-pack --help')\n"},
        {{"preview", here + "/broken", "--at", "1,soon"}, 2,
            "vellumo-pack: preview: --at: 'soon' is not a number of seconds (see 'vellumo-pack --help')\n"},
        {{"preview", here + "/broken", "--at", "1,,2"}, 2,
            "vellumo-pack: preview: --at: '' is not a number of seconds (see 'vellumo-pack --help')\n"},
        {{"preview", here + "/broken"}, 2,
            "vellumo-pack: preview: --at SECONDS is required (see 'vellumo-pack --help')\n"},
        {{"preview", here + "/broken", "--at", "1", "-o", here + "/missing/shot"}, 2,
            "vellumo-pack: preview: '" + here + "/missing/shot': the folder for the pictures does not exist\n"},
    };
    for (const Case& c : cases) {
        const PackRun run = runPackIn(here, c.arguments, {"DISPLAY"}, offscreen);
        EXPECT_EQ(c.status, run.status) << describe(run);
        EXPECT_EQ(c.error, run.err) << describe(run);
        EXPECT_EQ("", run.out) << describe(run);
    }
    EXPECT_FALSE(std::filesystem::exists(caller.root / "broken" / "data.zuo.temp.ini"))
        << "the refused configuration's extraction file is removed";
}

} // namespace
} // namespace vlo
