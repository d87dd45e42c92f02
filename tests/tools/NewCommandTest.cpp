// vellumo-pack new, run as the built program on album folders the tests make.
#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>

#include <gtest/gtest.h>

#include "render/codecs/ImageCodecRegistry.h"
#include "support/AlbumFixture.h"
#include "support/ScratchDir.h"
#include "tools/PackRunner.h"

namespace vlo {
namespace {

namespace fs = std::filesystem;
using test::describeRun;
using test::readFile;
using test::runPack;
using test::ScratchDir;

// Every file under the folder by its relative path, with its bytes.
std::map<std::string, std::string> contentOf(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[entry.path().lexically_relative(folder).generic_string()] = readFile(entry.path().string());
    return files;
}

struct Picture {
    int width = 0;
    int height = 0;
    int channels = 0;
    std::vector<unsigned char> pixels;

    // Pixels darker than half grey.
    int darkPixels() const
    {
        int dark = 0;
        for (size_t i = 0; i + 2 < pixels.size(); i += channels)
            dark += pixels[i] + pixels[i + 1] + pixels[i + 2] < 3 * 128;
        return dark;
    }
    // The mean of one channel (0 red, 1 green, 2 blue).
    double mean(int channel) const
    {
        double sum = 0.0;
        for (size_t i = channel; i < pixels.size(); i += channels)
            sum += pixels[i];
        return sum / (double(width) * height);
    }
};

Picture decode(const std::string& path)
{
    Picture picture;
    int bits = 0;
    unsigned char* pixels = nullptr;
    ImageCodecRegistry registry;
    registry.load(path.c_str(), &picture.width, &picture.height, &bits, &pixels);
    const std::unique_ptr<unsigned char[]> owned(pixels);
    picture.channels = bits / 8;
    if (owned)
        picture.pixels.assign(owned.get(), owned.get() + size_t(picture.width) * picture.height * picture.channels);
    return picture;
}

// The lines of the file's music section.
std::vector<std::string> musicLines(const std::string& ini)
{
    std::vector<std::string> lines;
    const size_t start = ini.find("[vloMusic]\n");
    size_t at = start == std::string::npos ? ini.size() : start + 11;
    while (at < ini.size()) {
        const size_t end = ini.find('\n', at);
        const std::string line = ini.substr(at, end - at);
        if (line == "[end]")
            break;
        lines.push_back(line);
        at = end == std::string::npos ? ini.size() : end + 1;
    }
    return lines;
}

class NewCommandTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(dir.path("album")); }
    // Three tagged tones whose track numbers run against their file names,
    // the FLAC one with a blue picture of its own, a red cover.jpg and a
    // text file.
    void makeAlbum()
    {
#ifndef VLO_HAVE_MP3_ENCODER
        GTEST_SKIP() << "the MP3 encoder (LAME) is not installed";
#else
        ASSERT_TRUE(test::writeOgg(dir.path("album/a.ogg"), test::sineTone(1.0, 440.0, 0.5)));
        ASSERT_TRUE(test::writeMp3(dir.path("album/b.mp3"), test::sineTone(1.0, 550.0, 0.5)));
        ASSERT_TRUE(test::writeFlac(dir.path("album/c.flac"), test::sineTone(1.0, 660.0, 0.5)));
        ASSERT_TRUE(test::tagFile(dir.path("album/a.ogg"), {"Night Drive", "The Tide", "Harbour Lights", 3, 2021}));
        ASSERT_TRUE(test::tagFile(dir.path("album/b.mp3"), {"Salt & Iron", "The Tide", "Harbour Lights", 1, 2021}));
        ASSERT_TRUE(test::tagFile(dir.path("album/c.flac"), {"Über Alles", "Guest", "Harbour Lights", 2, 2021}));
        ASSERT_TRUE(test::embedFlacPicture(dir.path("album/c.flac"), test::solidJpeg(64, 64, 20, 40, 220)));
        dir.write("album/cover.jpg", test::solidJpeg(80, 60, 220, 30, 30));
        dir.write("album/notes.txt", "liner notes\n");
#endif
    }
    test::PackResult makeShow(const std::string& show, const std::string& album = "album")
    {
        lastArguments = {"new", dir.path(show), dir.path(album)};
        return runPack(lastArguments);
    }

    ScratchDir dir{"packnew"};
    std::vector<std::string> lastArguments;
};

TEST_F(NewCommandTest, MakesAShowThatChecksCleanFromATaggedAlbumAndLeavesTheAlbumAlone)
{
    makeAlbum();
    if (IsSkipped())
        return;
    ASSERT_FALSE(HasFatalFailure());
    const auto album = contentOf(dir.path("album"));

    const auto made = makeShow("show");
    ASSERT_EQ(0, made.status) << describeRun(lastArguments, made);
    EXPECT_EQ("", made.out) << "progress lines only on a terminal";
    EXPECT_EQ("vellumo-pack: new: warning: skipping 'notes.txt': not a music file the viewer plays\n", made.err);
    EXPECT_EQ(album, contentOf(dir.path("album"))) << "the album folder was changed";

    // In track-number order, under portable names.
    const std::string ini = readFile(dir.path("show/source/Vellumo.ini"));
    const std::vector<std::string> expected
        = {"music/01-salt-and-iron.mp3 tracks/01-salt-and-iron.jpg captions/01-salt-and-iron.png",
            "music/02-uber-alles.flac tracks/02-uber-alles.jpg captions/02-uber-alles.png",
            "music/03-night-drive.ogg tracks/03-night-drive.jpg captions/03-night-drive.png"};
    EXPECT_EQ(expected, musicLines(ini)) << ini;
    EXPECT_EQ(readFile(dir.path("album/b.mp3")), readFile(dir.path("show/music/01-salt-and-iron.mp3")));
    EXPECT_EQ(readFile(dir.path("album/a.ogg")), readFile(dir.path("show/music/03-night-drive.ogg")));

    // Captions: white with dark lettering, each its own.
    std::vector<std::vector<unsigned char>> captions;
    for (const char* name : {"01-salt-and-iron", "02-uber-alles", "03-night-drive"}) {
        const Picture caption = decode(dir.path("show/source/captions/" + std::string(name) + ".png"));
        ASSERT_EQ(700, caption.width) << name;
        ASSERT_EQ(100, caption.height) << name;
        EXPECT_GT(caption.darkPixels(), 500) << name << ": no title lettering";
        EXPECT_GT(caption.mean(0), 200.0) << name << ": not white";
        for (const auto& earlier : captions)
            EXPECT_NE(earlier, caption.pixels) << name << " is the same as an earlier caption";
        captions.push_back(caption.pixels);
    }
    // The FLAC track shows its own blue picture, the others the red cover.
    const Picture own = decode(dir.path("show/source/tracks/02-uber-alles.jpg"));
    const Picture cover = decode(dir.path("show/source/tracks/03-night-drive.jpg"));
    EXPECT_GT(own.mean(2), 150.0);
    EXPECT_LT(own.mean(0), 80.0);
    EXPECT_GT(cover.mean(0), 150.0);
    EXPECT_LT(cover.mean(2), 80.0);

    // data.zuo is the source folder packed as `create` packs it.
    const auto packed = runPack({"create", dir.path("repacked.zuo"), dir.path("show/source")});
    ASSERT_EQ(0, packed.status) << packed.err;
    EXPECT_EQ(readFile(dir.path("repacked.zuo")), readFile(dir.path("show/data.zuo")));

    const auto checked = runPack({"check", dir.path("show")});
    EXPECT_EQ(0, checked.status) << checked.out << checked.err;
    EXPECT_NE(std::string::npos, checked.out.find("0 errors, 0 warnings")) << checked.out;

    // The same album again gives the same show, byte for byte.
    const auto again = makeShow("again");
    ASSERT_EQ(0, again.status) << describeRun(lastArguments, again);
    EXPECT_TRUE(contentOf(dir.path("show")) == contentOf(dir.path("again"))) << "the two shows differ";
}

TEST_F(NewCommandTest, TitlesUntaggedFilesByTheirNames)
{
    ASSERT_TRUE(test::writeWav(dir.path("album/01 First Light.wav"), test::sineTone(1.0, 440.0, 0.5)));
    ASSERT_TRUE(test::writeOgg(dir.path("album/02_second_wind.ogg"), test::sineTone(1.0, 550.0, 0.5)));
    ASSERT_TRUE(test::writeWav(dir.path("album/07.wav"), test::sineTone(1.0, 660.0, 0.5)));

    const auto made = makeShow("show");
    ASSERT_EQ(0, made.status) << describeRun(lastArguments, made);
    const std::vector<std::string> expected = {"music/01-first-light.wav tracks/01-first-light.jpg "
                                               "captions/01-first-light.png",
        "music/02-second-wind.ogg tracks/02-second-wind.jpg captions/02-second-wind.png",
        "music/03-07.wav tracks/03-07.jpg captions/03-07.png"};
    EXPECT_EQ(expected, musicLines(readFile(dir.path("show/source/Vellumo.ini"))));
    EXPECT_GT(decode(dir.path("show/source/captions/01-first-light.png")).darkPixels(), 500);
    const auto checked = runPack({"check", dir.path("show")});
    EXPECT_EQ(0, checked.status) << checked.out << checked.err;
    EXPECT_NE(std::string::npos, checked.out.find("0 errors, 0 warnings")) << checked.out;
}

// A JPEG of two colours side by side (left red, right blue) whose Exif
// orientation 6 says it is to be turned 90 degrees clockwise: upright, red
// is on top.
std::string sidewaysCover()
{
    fixtures::Bytes pixels;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 80; ++x)
            pixels.insert(pixels.end(), {uint8_t(x < 40 ? 220 : 20), 20, uint8_t(x < 40 ? 20 : 220)});
    const fixtures::Bytes jpeg = fixtures::jpegFile(80, 40, 3, pixels);
    // An Exif segment whose first directory holds the orientation only.
    const std::string tiff = std::string("II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x06\0\0\0\0\0\0\0", 26);
    const std::string contents = std::string("Exif\0\0", 6) + tiff;
    const std::string segment = std::string("\xFF\xE1\0", 3) + char(contents.size() + 2) + contents;
    return std::string(jpeg.begin(), jpeg.begin() + 2) + segment + std::string(jpeg.begin() + 2, jpeg.end());
}

TEST_F(NewCommandTest, OrdersByDiscThenTrackAndTurnsTheCoverUpright)
{
    for (const char* name : {"a.ogg", "b.ogg", "c.ogg", "d.ogg"})
        ASSERT_TRUE(test::writeOgg(dir.path("album/") + name, test::sineTone(0.5, 440.0, 0.5)));
    ASSERT_TRUE(test::tagFile(dir.path("album/b.ogg"), {"Second Disc", "", "Pair", 1, 0}));
    ASSERT_TRUE(test::setDiscNumber(dir.path("album/b.ogg"), 2));
    ASSERT_TRUE(test::tagFile(dir.path("album/c.ogg"), {"Late", "", "Pair", 2, 0}));
    ASSERT_TRUE(test::setDiscNumber(dir.path("album/c.ogg"), 1));
    ASSERT_TRUE(test::tagFile(dir.path("album/d.ogg"), {"Early", "", "Pair", 1, 0}));
    dir.write("album/Cover.JPG", sidewaysCover());

    const auto made = makeShow("show");
    ASSERT_EQ(0, made.status) << describeRun(lastArguments, made);
    EXPECT_EQ("", made.err) << "the cover file is no skipped music";
    const std::vector<std::string> lines = musicLines(readFile(dir.path("show/source/Vellumo.ini")));
    ASSERT_EQ(4u, lines.size());
    EXPECT_EQ("music/01-early.ogg", lines[0].substr(0, lines[0].find(' ')));
    EXPECT_EQ("music/02-late.ogg", lines[1].substr(0, lines[1].find(' ')));
    EXPECT_EQ("music/03-second-disc.ogg", lines[2].substr(0, lines[2].find(' ')));
    EXPECT_EQ("music/04-a.ogg", lines[3].substr(0, lines[3].find(' ')));

    Picture picture = decode(dir.path("show/source/tracks/01-early.jpg"));
    ASSERT_EQ(360, picture.width);
    const auto at = [&](int x, int y, int channel) {
        return picture.pixels[(size_t(y) * picture.width + x) * picture.channels + channel];
    };
    EXPECT_GT(at(180, 60, 0), 150) << "the top is not red";
    EXPECT_LT(at(180, 60, 2), 80) << "the top is not red";
    EXPECT_GT(at(180, 300, 2), 150) << "the bottom is not blue";
    EXPECT_LT(at(180, 300, 0), 80) << "the bottom is not blue";
}

TEST_F(NewCommandTest, RefusesWithOneLineAndWritesNothing)
{
    dir.write("pictures/cover.jpg", test::solidJpeg(8, 8, 1, 2, 3));
    dir.write("pictures/notes.txt", "no music here\n");
    ASSERT_TRUE(test::writeWav(dir.path("album/01.wav"), test::sineTone(0.5, 440.0, 0.5)));
    dir.write("used/keep.txt", "the author's");
    dir.write("not-a-folder", "a file");

    struct Case {
        std::string show;
        std::string album;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"fresh", "pictures", "no music file the viewer plays in"},
        {"used", "album", "is not empty"},
        {"fresh", "missing", "cannot read the album folder"},
        {"fresh", "not-a-folder", "cannot read the album folder"},
        {"album/show", "album", "lies inside the album folder"},
    };
    for (const Case& c : cases) {
        const auto result = makeShow(c.show, c.album);
        EXPECT_EQ(1, result.status) << describeRun(lastArguments, result);
        EXPECT_NE(std::string::npos, result.err.find(c.message)) << result.err;
        EXPECT_EQ(1, std::count(result.err.begin(), result.err.end(), '\n')) << result.err;
        EXPECT_FALSE(dir.exists("fresh")) << c.album << ": the show folder was made";
    }
    EXPECT_FALSE(dir.exists("album/show")) << "the album folder was written";
    const std::map<std::string, std::string> used = {{"keep.txt", "the author's"}};
    EXPECT_EQ(used, contentOf(dir.path("used")));
}

} // namespace
} // namespace vlo
