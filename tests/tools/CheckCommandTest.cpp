// vellumo-pack check, run as the built program on the demo show and on show
// folders the tests write themselves: the standard test show, and broken
// variants of it, each with one known fault.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <set>
#include <sstream>

#include <sys/stat.h>

#include "content/ArchiveDirectory.h"
#include "content/ShowConfig.h"
#include "support/ImageFixtures.h"
#include "support/ScratchDir.h"
#include "support/ShowFixture.h"
#include "tools/PackRunner.h"

namespace vlo {
namespace {

using test::describeRun;
using test::PackResult;
using test::runPack;
using test::ScratchDir;

// Half a second of tone: enough for the audio back end to open it.
std::string shortTone()
{
    return show::wavOf(0.5, 440.0, {0.5});
}

// The lines of the check's output, one string each.
std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// "Vellumo.ini:L:C" of the n-th occurrence (from 0) of a whole token in the
// configuration text; lines and columns count from 1.
std::string placeOf(const std::string& ini, const std::string& token, int occurrence = 0)
{
    const auto space = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    int line = 1;
    int column = 1;
    int seen = 0;
    for (size_t i = 0; i < ini.size();) {
        if (space(ini[i])) {
            line += ini[i] == '\n' ? 1 : 0;
            column = ini[i] == '\n' ? 1 : column + 1;
            ++i;
            continue;
        }
        size_t end = i;
        while (end < ini.size() && !space(ini[end]))
            ++end;
        if (ini.compare(i, end - i, token) == 0 && seen++ == occurrence)
            return "Vellumo.ini:" + std::to_string(line) + ":" + std::to_string(column);
        column += int(end - i);
        i = end;
    }
    return "(no token '" + token + "')";
}

// A JPEG with an Exif segment right after its start marker whose first
// directory holds the given entries (tag, type, count, value; a SHORT value
// in the first two bytes of its field), little-endian unless asked.
std::string jpegWithExif(
    const std::string& jpeg, const std::vector<std::array<uint32_t, 4>>& entries, bool bigEndian = false)
{
    std::string tiff = bigEndian ? std::string("MM\0*\0\0\0\x08", 8) : std::string("II*\0\x08\0\0\0", 8);
    const auto put16 = [&tiff, bigEndian](uint32_t v) {
        tiff += char(bigEndian ? (v >> 8) & 0xFF : v & 0xFF);
        tiff += char(bigEndian ? v & 0xFF : (v >> 8) & 0xFF);
    };
    const auto put32 = [&](uint32_t v) {
        put16(bigEndian ? v >> 16 : v & 0xFFFF);
        put16(bigEndian ? v & 0xFFFF : v >> 16);
    };
    put16(uint32_t(entries.size()));
    for (const auto& e : entries) {
        put16(e[0]);
        put16(e[1]);
        put32(e[2]);
        if (e[1] == 3) {
            put16(e[3]);
            put16(0);
        } else {
            put32(e[3]);
        }
    }
    put32(0);
    const std::string contents = std::string("Exif\0\0", 6) + tiff;
    const size_t length = contents.size() + 2;
    const std::string segment = std::string("\xFF\xE1", 2) + char(length >> 8) + char(length & 0xFF) + contents;
    return jpeg.substr(0, 2) + segment + jpeg.substr(2);
}

class CheckCommandTest : public ::testing::Test {
protected:
    // Track pictures of one size, so that none is stretched to another's
    // size (tests that want that make it so).
    CheckCommandTest()
    {
        for (size_t i = 0; i < content.tracks.size(); ++i)
            content.pictures[content.tracks[i].picture] = show::Canvas(680, 300, show::trackColour(i));
    }

    // The standard test show with two tracks, as content() says at the time of
    // the call, with every track's music beside it unless left out.
    PackResult check(const std::vector<std::string>& extra = {}, const std::set<size_t>& withoutMusic = {})
    {
        dir.write("data.zuo", archiveBytes.empty() ? content.archive() : archiveBytes);
        for (size_t i = 0; i < content.tracks.size(); ++i) {
            if (withoutMusic.count(i) == 0)
                dir.write(content.tracks[i].music, shortTone());
        }
        arguments = {"check", dir.path()};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return runPack(arguments);
    }

    // Replaces the configuration with the given text.
    void useIni(const std::string& text)
    {
        content.writeIni = false;
        content.rawEntries["Vellumo.ini"] = text;
        iniText = text;
    }

    void expectLine(const PackResult& result, const std::string& line)
    {
        const auto lines = linesOf(result.out);
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end())
            << "expected the line\n  " << line << "\ngot:\n"
            << result.out << describeRun(arguments, result);
    }

    void expectSummary(const PackResult& result, int errors, int warnings, int status)
    {
        const std::string summary = std::to_string(errors) + (errors == 1 ? " error, " : " errors, ")
            + std::to_string(warnings) + (warnings == 1 ? " warning" : " warnings");
        const auto lines = linesOf(result.out);
        ASSERT_FALSE(lines.empty()) << describeRun(arguments, result);
        EXPECT_EQ(summary, lines.back()) << "output:\n" << result.out;
        EXPECT_EQ(status, result.status) << describeRun(arguments, result);
    }

    ScratchDir dir{"check"};
    show::ShowContent content = show::standardShow(2);
    std::string iniText = content.ini();
    // When set, written as data.zuo instead of the show's own archive.
    std::string archiveBytes;
    std::vector<std::string> arguments;
};

TEST_F(CheckCommandTest, SoundShowIsCleanAndVerboseListsEveryPicture)
{
    const PackResult quiet = check();
    EXPECT_EQ("0 errors, 0 warnings\n", quiet.out);
    expectSummary(quiet, 0, 0, 0);

    const PackResult verbose = check({"-v"});
    expectSummary(verbose, 0, 0, 0);
    // Sizes and depths as the test drew and encoded them: PNG and Targa keep
    // alpha (32 bits), the 32-bit bitmap too.
    expectLine(verbose,
        "info: " + placeOf(iniText, "title.png")
            + ": 'title.png' (title picture): Portable Network Graphics, 700 x 600, 32 bits");
    expectLine(verbose,
        "info: " + placeOf(iniText, "mask.bmp")
            + ": 'mask.bmp' (background picture): Windows Bitmap, 700 x 600, 32 bits");
    expectLine(verbose,
        "info: " + placeOf(iniText, "pictures/track2.tga")
            + ": 'pictures/track2.tga' (track 2's picture): TrueVision Targa, 680 x 300, 32 bits");
    expectLine(verbose,
        "info: data.zuo: 'gui/polygon.png' (window menu background): Portable Network Graphics, "
        "170 x 150, 32 bits");
    expectLine(
        verbose, "info: " + placeOf(iniText, "music/track1.wav") + ": 'music/track1.wav' (track 1's music) opens");
}

TEST_F(CheckCommandTest, MisspeltKeyIsNamedWithItsPlaceAndTheKeysThatExist)
{
    useIni("[vloData]\ntitle: title.png\nTitle: title.png\nmask: mask.bmp\ncredits: credits.tga\n[end]\n"
           "[vloMusic]\nmusic/track1.wav pictures/track1.png captions/track1.png\n[end]\n");
    content.tracks.resize(1);
    const PackResult result = check();
    expectLine(result,
        "error: Vellumo.ini:3:1: unknown key 'Title:'; keys are title:, mask:, fade:, credits: "
        "(did you mean 'title:'?); the viewer refuses the file");
    EXPECT_EQ(1, result.status) << describeRun(arguments, result);
    // Which entries are used is not known from a file the viewer refuses.
    EXPECT_EQ(std::string::npos, result.out.find("is not used")) << result.out;
}

TEST_F(CheckCommandTest, MusicSectionBeforeDataSwallowsTheHeader)
{
    useIni("[vloMusic]\nmusic/track1.wav pictures/track1.png captions/track1.png\n[end]\n"
           "[vloData]\ntitle: title.png\nmask: mask.bmp\ncredits: credits.tga\n[end]\n");
    content.tracks.resize(1);
    const PackResult result = check();
    expectLine(result,
        "error: Vellumo.ini:4:1: the section '[vloData]' follows the music section: the token after "
        "the music section's [end] is read and discarded, so this header is lost and 'title:' at 5:1 "
        "is read where a section header is expected; put the music section last; the viewer refuses "
        "the file");
    expectSummary(result, 1, 0, 1);
}

TEST_F(CheckCommandTest, MissingPictureIsReportedWhereTheConfigurationNamesIt)
{
    content.pictures.erase("pictures/track1.png");
    content.pictures.erase("gui/next_on.png");
    content.pictures["Gui/next_on.png"] = show::Canvas(100, 90, {1, 2, 3, 255});
    const PackResult result = check();
    expectLine(result,
        "error: " + placeOf(iniText, "pictures/track1.png")
            + ": 'pictures/track1.png' (track 1's picture) is not in data.zuo");
    expectLine(result,
        "error: data.zuo: 'gui/next_on.png' (next-track button, held down) is not in data.zuo "
        "(there is 'Gui/next_on.png': names are case-sensitive)");
    // The wrongly named entry is then used by nothing.
    expectLine(result, "warning: data.zuo: entry 'Gui/next_on.png' is not used by the show");
    expectSummary(result, 2, 1, 1);
}

TEST_F(CheckCommandTest, PicturesThatDoNotDecodeSayWhy)
{
    content.pictures.erase("captions/track1.png");
    content.rawEntries["captions/track1.png"] = show::jpegOf(show::Canvas(8, 8, {9, 9, 9, 255}));
    content.pictures.erase("mask.bmp");
    content.rawEntries["mask.bmp"] = show::toString(fixtures::bmpFile(700, 600, 24, 1, fixtures::Bytes(16, 0)));
    content.pictures.erase("pictures/track2.tga");
    content.rawEntries["pictures/track2.tga"] = show::toString(fixtures::tgaFile(10, 4, 4, 24, fixtures::Bytes(8, 0)));
    content.rawEntries["gui/stop_on.png"] = "";
    content.pictures.erase("gui/stop_on.png");
    const PackResult result = check();
    expectLine(result,
        "error: " + placeOf(iniText, "captions/track1.png")
            + ": 'captions/track1.png' (track 1's caption) cannot be shown: the file is a JPEG picture, but its name "
              "ends in '.png' and the viewer picks the decoder by the name");
    expectLine(result,
        "error: " + placeOf(iniText, "mask.bmp")
            + ": 'mask.bmp' (background picture) cannot be shown: a compressed bitmap (compression 1: run-length "
              "8-bit); "
              "the viewer reads only uncompressed ones: save it uncompressed (ImageMagick: BMP3:name.bmp)");
    expectLine(result,
        "error: " + placeOf(iniText, "pictures/track2.tga")
            + ": 'pictures/track2.tga' (track 2's picture) cannot be shown: Targa image type 10 (run-length "
              "compressed); the viewer reads only uncompressed true-colour files (type 2): save it uncompressed, in "
              "true "
              "colour");
    expectLine(result,
        "error: data.zuo: 'gui/stop_on.png' (stop button, held down) cannot be shown: the entry is "
        "empty");
    expectSummary(result, 4, 0, 1);
}

TEST_F(CheckCommandTest, RefusedBitmapsAndTargasNameTheirCompression)
{
    // 32-bit bitmaps with bit-field masks, as ImageMagick writes them with
    // alpha, and a run-length colour-mapped Targa.
    content.pictures.erase("mask.bmp");
    content.rawEntries["mask.bmp"] = show::toString(fixtures::bmpFile(700, 600, 32, 3, fixtures::Bytes(16, 0)));
    content.pictures.erase("credits.tga");
    content.rawEntries["credits.tga"] = show::toString(fixtures::tgaFile(9, 4, 4, 8, fixtures::Bytes(8, 0)));
    const PackResult result = check();
    expectLine(result,
        "error: " + placeOf(iniText, "mask.bmp")
            + ": 'mask.bmp' (background picture) cannot be shown: a compressed bitmap (compression 3: bit fields); the "
              "viewer reads only uncompressed ones: save it uncompressed (ImageMagick: BMP3:name.bmp)");
    expectLine(result,
        "error: " + placeOf(iniText, "credits.tga")
            + ": 'credits.tga' (credits picture) cannot be shown: Targa image type 9 (run-length compressed, "
              "colour-mapped); the viewer reads only uncompressed true-colour files (type 2): save it uncompressed, in "
              "true colour");
    expectSummary(result, 2, 0, 1);
}

TEST_F(CheckCommandTest, PicturesThatDecodeButShowWrongAreWarnedAbout)
{
    // A Targa stored bottom row first (the Targa default).
    content.pictures.erase("credits.tga");
    content.rawEntries["credits.tga"]
        = show::toString(fixtures::tgaFile(2, 700, 600, 24, fixtures::Bytes(700 * 600 * 3, 0)));
    // A photo whose camera was turned: Exif orientation 6.
    content.pictures.erase("pictures/track1.png");
    content.tracks[0].picture = "pictures/track1.jpg";
    content.rawEntries["pictures/track1.jpg"] = jpegWithExif(
        show::jpegOf(show::Canvas(680, 300, {200, 100, 0, 255})), {{0x010F, 2, 1, 0}, {0x0112, 3, 1, 6}});
    // A bitmap whose data offset lies past its end, and an 8-bit one with
    // no colour table.
    content.pictures.erase("pictures/track2.tga");
    content.tracks[1].picture = "pictures/track2.bmp";
    fixtures::Bytes farOffset = fixtures::bmpFile(680, 300, 32, 0, fixtures::Bytes(680 * 300 * 4, 0x80));
    farOffset[12] = 0x10; // offset 54 + 0x100000
    content.rawEntries["pictures/track2.bmp"] = show::toString(farOffset);
    content.pictures.erase("captions/track1.png");
    content.tracks[0].caption = "captions/track1.bmp";
    content.rawEntries["captions/track1.bmp"]
        = show::toString(fixtures::bmpFile(700, 100, 8, 0, fixtures::Bytes(70000, 9)));
    iniText = content.ini();
    const PackResult result = check();
    expectLine(result,
        "warning: " + placeOf(iniText, "credits.tga")
            + ": 'credits.tga' (credits picture): stored bottom row first, so it shows upside down: save it with its "
              "origin at the top left");
    expectLine(result,
        "warning: " + placeOf(iniText, "pictures/track1.jpg")
            + ": 'pictures/track1.jpg' (track 1's picture): its EXIF orientation is 6: other viewers turn it 90 "
              "degrees "
              "clockwise, but this one ignores the tag, so it shows unrotated; turn the pixels themselves (for example "
              "'exiftran -ai' or ImageMagick's -auto-orient)");
    expectLine(result,
        "warning: " + placeOf(iniText, "pictures/track2.bmp")
            + ": 'pictures/track2.bmp' (track 2's picture): its pixel-data offset, byte 1048630, lies past the end of "
              "the "
              "file, so the viewer reads the pixels from byte 54: the picture shows shifted or garbled");
    expectLine(result,
        "warning: " + placeOf(iniText, "captions/track1.bmp")
            + ": 'captions/track1.bmp' (track 1's caption): an 8-bit bitmap without a colour table shows as grey "
              "levels");
    expectSummary(result, 0, 4, 0);
}

TEST_F(CheckCommandTest, BitmapsAndTargasAsWritersWriteThemPassQuietly)
{
    // Padded rows with the pixels at byte 138 (ImageMagick's default
    // header), an 8-bit bitmap with a colour table, a top-down one, and a
    // Targa with an identification field and a top-left origin.
    fixtures::BmpLayout v5;
    v5.width = 699;
    v5.height = 600;
    v5.infoSize = 124;
    v5.pixels = fixtures::Bytes(size_t(2100) * 600, 0x40); // 699 x 3 = 2097, padded to 2100
    content.pictures.erase("mask.bmp");
    content.rawEntries["mask.bmp"] = show::toString(fixtures::bmpFile(v5));
    fixtures::BmpLayout palette;
    palette.width = 700;
    palette.height = -100;
    palette.bitCount = 8;
    palette.colourTable = {0, 0, 0, 0, 255, 255, 255, 0};
    palette.pixels = fixtures::Bytes(70000, 1);
    content.pictures.erase("captions/track1.png");
    content.tracks[0].caption = "captions/track1.bmp";
    content.rawEntries["captions/track1.bmp"] = show::toString(fixtures::bmpFile(palette));
    fixtures::Bytes tga = fixtures::tgaFile(2, 680, 300, 24, fixtures::Bytes(680 * 300 * 3, 7));
    tga[0] = 25;
    tga[17] |= 0x20;
    tga.insert(tga.begin() + 18, 25, 'i');
    content.pictures.erase("pictures/track2.tga");
    content.rawEntries["pictures/track2.tga"] = show::toString(tga);
    iniText = content.ini();
    const PackResult result = check({"-v"});
    expectLine(result,
        "info: " + placeOf(iniText, "captions/track1.bmp")
            + ": 'captions/track1.bmp' (track 1's caption): Windows Bitmap, 700 x 100, 24 bits");
    // Only the background's one missing column is worth a word.
    expectLine(result,
        "warning: " + placeOf(iniText, "mask.bmp")
            + ": 'mask.bmp' (background picture): it is 699 x 600, but the background should be 700 x 600: the screen "
              "stretches it to the window's 700-pixel width");
    expectSummary(result, 0, 1, 0);
}

TEST_F(CheckCommandTest, SmallPicturesTheScreenStretchesAreWarnedAbout)
{
    content.pictures["title.png"] = show::Canvas(350, 300, {255, 0, 0, 255});
    content.pictures["mask.bmp"] = show::Canvas(600, 500, {255, 255, 255, 255});
    content.pictures["pictures/track2.tga"] = show::Canvas(340, 300, {0, 255, 255, 255});
    content.pictures["captions/track2.png"] = show::Canvas(700, 30, {128, 0, 0, 255});
    content.pictures["gui/pause_on.png"] = show::Canvas(90, 90, {0, 120, 200, 255});
    content.pictures["gui/exit_on.png"] = show::Canvas(150, 40, {160, 60, 60, 255});
    const PackResult result = check();
    expectLine(result,
        "warning: " + placeOf(iniText, "title.png")
            + ": 'title.png' (title picture): it is 350 x 300, smaller than the 700 x 600 window: the screen stretches "
              "it "
              "over the whole window, so it shows enlarged; make it 700 x 600");
    expectLine(result,
        "warning: " + placeOf(iniText, "mask.bmp")
            + ": 'mask.bmp' (background picture): it is 600 x 500, but the background should be 700 x 600: the screen "
              "stretches it over the whole window");
    expectLine(result,
        "warning: " + placeOf(iniText, "pictures/track2.tga")
            + ": 'pictures/track2.tga' (track 2's picture): it is 340 x 300, but the track pictures' place grows to "
              "the "
              "largest track picture shown so far and never shrinks (here up to 680 x 300, at least 40 x 40): once a "
              "larger one has been shown, this one is stretched to fill it; give all track pictures one size");
    expectLine(result,
        "warning: " + placeOf(iniText, "captions/track2.png")
            + ": 'captions/track2.png' (track 2's caption): it is 700 x 30, but the captions' place grows to the "
              "largest "
              "caption shown so far and never shrinks (here up to 700 x 100, at least 40 x 40): once a larger one has "
              "been shown, this one is stretched to fill it; give all captions one size");
    // The play button carries the play and the pause pictures.
    expectLine(result,
        "warning: data.zuo: 'gui/pause_on.png' (play/pause button while music plays, held down): it "
        "is 90 x 90, but its button is as large as the largest of its pictures (100 x 90, at least "
        "40 x 40): the screen stretches it to that size; give the button's pictures one size");
    expectLine(result,
        "warning: data.zuo: 'gui/exit_on.png' (menu item 'exit', held down): it is 150 x 40, but its "
        "menu item is as large as the larger of its two pictures (160 x 40): the screen stretches it to "
        "that size; give both pictures one size");
    expectSummary(result, 0, 6, 0);
}

TEST_F(CheckCommandTest, DamagedExifSegmentsAreReadSafelyAndIgnored)
{
    const std::string jpeg = show::jpegOf(show::Canvas(680, 300, {200, 100, 0, 255}));
    // A directory offset far past the segment, an entry count larger than
    // the segment holds, an orientation of the wrong type, and one of 9.
    std::string farDirectory = jpegWithExif(jpeg, {{0x0112, 3, 1, 6}});
    farDirectory[2 + 4 + 6 + 4] = '\xF0';
    std::string manyEntries = jpegWithExif(jpeg, {{0x0112, 3, 1, 6}});
    manyEntries[2 + 4 + 6 + 8] = '\x40';
    manyEntries[2 + 4 + 6 + 8 + 2 + 0] = '\x01'; // first tag is no longer the orientation
    const std::string wrongType = jpegWithExif(jpeg, {{0x0112, 4, 1, 6}});
    const std::string outOfRange = jpegWithExif(jpeg, {{0x0112, 3, 1, 9}});
    std::string cutSegment = jpegWithExif(jpeg, {{0x0112, 3, 1, 6}});
    cutSegment.resize(2 + 4 + 12);
    const std::string cases[] = {farDirectory, manyEntries, wrongType, outOfRange};
    content.pictures.erase("pictures/track1.png");
    content.tracks[0].picture = "pictures/track1.jpg";
    iniText = content.ini();
    for (const std::string& file : cases) {
        content.rawEntries["pictures/track1.jpg"] = file;
        expectSummary(check(), 0, 0, 0);
    }
    // Cut inside the segment: the picture does not decode, and the segment
    // is not read past its end.
    content.rawEntries["pictures/track1.jpg"] = cutSegment;
    const PackResult cut = check();
    EXPECT_EQ(std::string::npos, cut.out.find("EXIF")) << cut.out;
    expectSummary(cut, 1, 0, 1);
}

// Cameras write either byte order; an orientation of 1 asks for nothing.
TEST_F(CheckCommandTest, ExifOrientationIsReadInEitherByteOrder)
{
    const std::string jpeg = show::jpegOf(show::Canvas(680, 300, {200, 100, 0, 255}));
    content.pictures.erase("pictures/track1.png");
    content.tracks[0].picture = "pictures/track1.jpg";
    content.rawEntries["pictures/track1.jpg"] = jpegWithExif(jpeg, {{0x010F, 2, 1, 0}, {0x0112, 3, 1, 8}}, true);
    content.pictures.erase("pictures/track2.tga");
    content.tracks[1].picture = "pictures/track2.jpg";
    content.rawEntries["pictures/track2.jpg"] = jpegWithExif(jpeg, {{0x0112, 3, 1, 1}});
    iniText = content.ini();
    const PackResult result = check();
    expectLine(result,
        "warning: " + placeOf(iniText, "pictures/track1.jpg")
            + ": 'pictures/track1.jpg' (track 1's picture): its EXIF orientation is 8: other viewers turn it 90 "
              "degrees anticlockwise, but this one ignores the tag, so it shows unrotated; turn the pixels themselves "
              "(for example 'exiftran -ai' or ImageMagick's -auto-orient)");
    expectSummary(result, 0, 1, 0);
}

TEST_F(CheckCommandTest, PicturesThatDoNotFitTheScreenAreWarnedAbout)
{
    content.pictures["mask.bmp"] = show::Canvas(800, 650, {255, 255, 255, 255});
    content.pictures["pictures/track1.png"] = show::Canvas(720, 300, {255, 255, 0, 255});
    content.pictures["pictures/track2.tga"] = show::Canvas(720, 300, {0, 255, 255, 255});
    content.pictures["gui/stop_off.png"] = show::Canvas(130, 90, {1, 1, 1, 255});
    content.pictures["gui/polygon.png"] = show::Canvas(150, 100, {230, 230, 230, 255});
    const PackResult result = check();
    expectLine(result,
        "warning: " + placeOf(iniText, "mask.bmp")
            + ": 'mask.bmp' (background picture): it is 800 x 650, but the background should be 700 x 600: it is drawn "
              "at its own width against the window's right edge, so its leftmost 100 pixels are cut off; it is drawn "
              "at "
              "its own height against the window's bottom edge, so its top 50 pixels are cut off");
    expectLine(result,
        "warning: " + placeOf(iniText, "pictures/track1.png")
            + ": 'pictures/track1.png' (track 1's picture): it is 720 pixels wide, wider than the 700-pixel window: it "
              "is cut off at the right");
    expectLine(result,
        "warning: data.zuo: 'gui/stop_off.png' (stop button): it is 130 x 90, larger than a player "
        "button's slot of 127 x 95: the buttons overlap or run out of the window");
    expectLine(result,
        "warning: data.zuo: 'gui/stop_on.png' (stop button, held down): it is 100 x 90, but its button "
        "is as large as the largest of its pictures (130 x 90, at least 40 x 40): the screen stretches "
        "it to that size; give the button's pictures one size");
    // Items of 160 x 40 stacked 10 px apart need 160 x 140; a 150 x 100
    // picture makes a menu that holds 150 x 120 inside its margin.
    expectLine(result,
        "warning: data.zuo: 'gui/polygon.png' (window menu background): the three menu items need "
        "160 x 140 pixels (the widest item; all three stacked 10 px apart), but the menu made from it "
        "holds 150 x 120 (the picture's size plus 10 x 30, less a 5-pixel margin all round): the items "
        "stick out of the menu");
    expectSummary(result, 0, 6, 0);
}

TEST_F(CheckCommandTest, MusicThatIsMissingOrDoesNotPlayIsAnError)
{
    dir.write(content.tracks[0].music, "RIFF this is no wave file at all");
    const PackResult result = check({}, {0, 1});
    expectLine(result,
        "error: " + placeOf(iniText, "music/track1.wav")
            + ": 'music/track1.wav' (track 1's music): the audio back end cannot open it: no decoder reads "
              "it: not WAV, FLAC, Ogg (Vorbis, Opus or FLAC), MP3 or a tracker module, or the file is damaged; the "
              "viewer skips the track");
    expectLine(result,
        "error: " + placeOf(iniText, "music/track2.wav")
            + ": 'music/track2.wav' (track 2's music): there is no such file (looked for '"
            + dir.path("music/track2.wav") + "'); the viewer skips the track");
    expectSummary(result, 2, 0, 1);
}

TEST_F(CheckCommandTest, DamagedArchiveIsReported)
{
    // Cut inside the data of the last entry, whose data ends the archive;
    // the directory stays whole.
    const std::string whole = content.archive();
    std::istringstream in(whole);
    const ArchiveDirectory directory = ArchiveDirectory::read(in);
    ASSERT_TRUE(directory.complete());
    const ArchiveRecord last = directory.records.back();
    ASSERT_EQ(int64_t(whole.size()), int64_t(last.offset) + last.size) << "the last record's data ends the archive";
    archiveBytes = whole.substr(0, whole.size() - 10);
    PackResult result = check();
    expectLine(result,
        "error: data.zuo: entry '" + last.name + "' (record at byte " + std::to_string(last.position)
            + "): data at offset " + std::to_string(last.offset) + " with size " + std::to_string(last.size)
            + " ends at byte " + std::to_string(whole.size()) + ", past the end of the file ("
            + std::to_string(whole.size() - 10) + " bytes); the viewer extracts only the bytes the file holds");
    EXPECT_EQ(1, result.status) << describeRun(arguments, result);

    // Cut inside the directory, in the name of the second record: the magic
    // (4 bytes) and the record of "Vellumo.ini" (tag 4, name and zero 12,
    // size and offset 8) come first.
    ASSERT_EQ("Vellumo.ini", directory.records.front().name);
    archiveBytes = whole.substr(0, 36);
    result = check();
    expectLine(result,
        "error: data.zuo: directory cut short: file ends at byte 36 inside the name of the DAT record "
        "at byte 28; the viewer uses only the 1 record before it");
    expectLine(result,
        "error: Vellumo.ini:1:1: the file holds no section: expected [vloData] or [vloMusic]; the "
        "viewer refuses the file");
    EXPECT_EQ(1, result.status) << describeRun(arguments, result);
}

TEST_F(CheckCommandTest, UnusedAndRepeatedEntriesAreWarnings)
{
    content.rawEntries["notes/todo.txt"] = "buy strings";
    // One more record for title.png, later than the first: it wins.
    content.rawEntries["title.png"] = show::pngOf(show::Canvas(700, 600, {0, 0, 255, 255}));
    archiveBytes = content.archive();
    const PackResult result = check();
    expectLine(result, "warning: data.zuo: entry 'notes/todo.txt' is not used by the show");
    EXPECT_NE(std::string::npos,
        result.out.find("warning: data.zuo: entry 'title.png' appears again in the record at "
                        "byte "))
        << result.out;
    EXPECT_NE(std::string::npos, result.out.find("; the later record wins")) << result.out;
    expectSummary(result, 0, 2, 0);
}

TEST_F(CheckCommandTest, CouldNotRunWithoutFolderOrArchive)
{
    arguments = {"check", dir.path("nowhere")};
    PackResult result = runPack(arguments);
    EXPECT_EQ(2, result.status) << describeRun(arguments, result);
    EXPECT_EQ("vellumo-pack: check: '" + dir.path("nowhere") + "': no such folder\n", result.err);
    EXPECT_EQ("", result.out);

    arguments = {"check", dir.path()};
    result = runPack(arguments);
    EXPECT_EQ(2, result.status) << describeRun(arguments, result);
    EXPECT_EQ("vellumo-pack: check: no data.zuo in '" + dir.path() + "'\n", result.err);

    arguments = {"check", dir.path(), "--fast"};
    result = runPack(arguments);
    EXPECT_EQ(2, result.status) << describeRun(arguments, result);
    EXPECT_EQ("vellumo-pack: check: unknown option '--fast' (see 'vellumo-pack --help')\n", result.err);
}

// The check's reading of the configuration must give the viewer's verdict on
// every kind of file, including those whose verdict surprises.
TEST_F(CheckCommandTest, VerdictOnTheConfigurationAgreesWithTheViewer)
{
    const std::string data = "[vloData]\ntitle: title.png\nmask: mask.bmp\ncredits: credits.tga\n[end]\n";
    const std::string music = "[vloMusic]\nmusic/track1.wav pictures/track1.png captions/track1.png\n";
    const std::vector<std::string> files = {
        "",
        " \n\t\n",
        "[vloData]\n[end]\n",
        "[vloData]",
        "[vloData]\n",
        "[vloData]\ntitle title.png\n[end]\n",
        "[vloData] title: [end] mask: mask.bmp [end]",
        data + music + "[end]\n",
        data + music + "[end]",
        data + music,
        data + music + "[end] [vloData] [vloData] title: title.png [end]\n",
        music + "[end]\n" + data,
        data + music + "[end] stray\n",
        "[vloData] title: title.png mask:",
        "[vloData]\ntitle: title.png\n",
        music + "[end]\n[vloMusic]\n[end]\n",
        "[end]\n",
        "[vlodata]\n[end]\n",
    };
    for (const std::string& text : files) {
        useIni(text);
        const PackResult result = check();
        const std::string path = dir.path("viewer.ini");
        dir.write("viewer.ini", text);
        const ShowConfig viewer(path.c_str());
        const bool refused = result.out.find("; the viewer refuses the file") != std::string::npos;
        EXPECT_EQ(viewer.loadFailed != 0, refused)
            << "file:\n"
            << text << "\nviewer loadFailed " << viewer.loadFailed << ", check said:\n"
            << result.out;
        EXPECT_EQ(std::string::npos, result.out.find("differently from the viewer")) << text << "\n" << result.out;
        if (refused) {
            EXPECT_EQ(1, result.status) << describeRun(arguments, result);
        }
    }
}

TEST_F(CheckCommandTest, ConfigurationMistakesThatStillLoadAreWarnedAbout)
{
    useIni("[vloData]\ntitle: [end]\ntitle: title.png\nmask: mask.bmp\ncredits: credits.tga\n"
           "[vloMusic]\n");
    content.tracks.clear();
    PackResult result = check();
    expectLine(result,
        "warning: Vellumo.ini:2:8: the value of 'title:' is '[end]', which looks like a key or a "
        "section marker: is the value missing?");
    expectLine(result, "warning: Vellumo.ini:3:1: 'title:' is given again (first at 2:1); the last value wins");
    expectLine(result,
        "error: Vellumo.ini:6:1: '[vloMusic]' where a key or [end] is expected: the data section "
        "opened at 1:1 is not closed with [end]; the viewer refuses the file");

    useIni("[vloData]\ntitle: title.png\nmask: mask.bmp\n[end]\n[vloMusic]\n"
           "music/track1.wav pictures/track1.png\ncaptions/track1.png\n");
    content.tracks.resize(1);
    result = check();
    expectLine(result,
        "error: Vellumo.ini:6:1: music line with 2 tokens; each track needs three on its line: music "
        "file, picture and caption (the viewer reads them three at a time, so from here on every track "
        "is shifted)");
    expectLine(result, "warning: Vellumo.ini:5:1: the music section is not closed with [end]");
    expectLine(result,
        "error: Vellumo.ini: no 'credits:' key: the credits and the closing sequence would show no "
        "picture");
    EXPECT_EQ(1, result.status) << describeRun(arguments, result);
}

// Every fault in the configuration that the check names, each in a file of
// its own, with the line the check gives for it.
TEST_F(CheckCommandTest, EveryConfigurationFaultIsNamedWithItsPlace)
{
    const std::string data = "[vloData]\ntitle: title.png\nmask: mask.bmp\ncredits: credits.tga\n[end]\n";
    const std::string music = "[vloMusic]\nmusic/track1.wav pictures/track1.png captions/track1.png\n";
    const std::string refused = "; the viewer refuses the file";
    const std::string cutShort = data + music + "music/track2.wav pictures/track2.tga\n";
    const std::string unclosedData = "[vloData]\ntitle: title.png\nfade:\n";
    const std::string swallowed = data + music + "[end] [vloData]\n";
    const std::string stray = data + music + "[end] stray\n";
    const std::pair<std::string, std::string> cases[] = {
        {"[VLOMUSIC]\n",
            "error: Vellumo.ini:1:1: expected a section header, [vloData] or [vloMusic], got '[VLOMUSIC]' (did you "
            "mean '[vloMusic]'? names are case-sensitive)"
                + refused},
        {"[vloData]\n[end]\n[end]\n",
            "error: Vellumo.ini:3:1: expected a section header, [vloData] or [vloMusic], got '[end]' (an [end] with no "
            "section open)"
                + refused},
        {"[vloData] [end]\n\ttitle: title.png\n",
            "error: Vellumo.ini:2:2: expected a section header, [vloData] or [vloMusic], got 'title:' (a key outside a "
            "data section: a data section starts with [vloData])"
                + refused},
        {"[vloData]\ntitle title.png\n[end]\n",
            "error: Vellumo.ini:2:1: unknown key 'title'; keys are title:, mask:, fade:, credits: (did you mean "
            "'title:'?)"
                + refused},
        {"[vloData]\ntitle: title.png [end]\n[vloData]\n",
            "error: Vellumo.ini:3:1: the file ends right after [vloData]; expected a key or [end]" + refused},
        {unclosedData, "warning: Vellumo.ini:3:1: 'fade:' has no value: the file ends after it"},
        {unclosedData, "warning: Vellumo.ini:1:1: the data section is not closed with [end]"},
        {unclosedData,
            "error: Vellumo.ini: no music lines: the show has no tracks, so the screen shows no pictures and no music "
            "plays"},
        {unclosedData, "error: Vellumo.ini: no 'mask:' key: the background would stay empty"},
        {cutShort,
            "error: " + placeOf(cutShort, "music/track2.wav")
                + ": the last music line has only 2 tokens before the end of the file; a track needs three: music "
                  "file, picture and caption. The line is dropped"},
        {swallowed,
            "warning: " + placeOf(swallowed, "[vloData]", 1)
                + ": the section header '[vloData]' right after the music section's [end] is read and discarded"},
        {stray,
            "warning: " + placeOf(stray, "stray") + ": 'stray' after the music section's [end] is read and discarded"},
    };
    std::string last;
    PackResult result;
    for (const auto& [text, line] : cases) {
        if (text != last) {
            useIni(text);
            result = check();
            last = text;
        }
        expectLine(result, line);
        if (line.find(refused) != std::string::npos) {
            EXPECT_EQ(1, result.status) << describeRun(arguments, result);
        }
    }
}

// The memory the check may take in the tests of hostile files: far below
// what the declared sizes would need (805 MB for one 16384 x 16384 picture).
constexpr long kCheckMemoryMb = 700;

TEST_F(CheckCommandTest, PicturesDeclaringMoreThanTheLimitsAreRefusedWithTheirSize)
{
    // A 1 MB PNG and a 300-byte truncated JPEG, both declaring 16384 x 16384.
    ASSERT_TRUE(show::declareHugeTitleAndCredits(content));
    // Within the budget, but a 16 KB file cannot hold 5000 x 5000 RGB rows.
    content.pictures.erase("captions/track1.png");
    content.rawEntries["captions/track1.png"]
        = show::toString(fixtures::pngDeclaring(5000, 5000, 8, PNG_COLOR_TYPE_RGB, fixtures::Bytes(16 << 10, 0)));
    iniText = content.ini();

    const PackResult result = check({}, {});
    const std::string limits = "; the viewer decodes pictures of at most 16384 pixels a side and 32 megapixels in all";
    expectLine(result,
        "error: " + placeOf(iniText, "title.png") + ": 'title.png' (title picture) cannot be shown: "
            + "it declares 16384 x 16384 pixels (256 megapixels)" + limits);
    expectLine(result,
        "error: " + placeOf(iniText, "credits.jpg") + ": 'credits.jpg' (credits picture) cannot be "
            + "shown: it declares 16384 x 16384 pixels (256 megapixels)" + limits);
    expectLine(result,
        "error: " + placeOf(iniText, "captions/track1.png") + ": 'captions/track1.png' (track 1's "
            + "caption) cannot be shown: the PNG data is damaged, or cut short of what its 5000 x 5000 pixels need");
    expectSummary(result, 3, 0, 1);
}

// An uncompressed bitmap or Targa holding a sliver of the pixels its header
// declares is refused by the viewer before it allocates; check says why.
TEST_F(CheckCommandTest, BitmapsAndTargasFarTooShortForTheirPixelsAreNamedWithTheirSize)
{
    content.pictures.erase(content.credits);
    content.rawEntries[content.credits] = show::toString(fixtures::tgaFile(2, 8192, 4096, 32, fixtures::Bytes(60, 7)));
    content.pictures.erase(content.mask);
    content.rawEntries[content.mask] = show::toString(fixtures::bmpFile(8192, 4096, 32, 0, fixtures::Bytes(60, 7)));
    iniText = content.ini();

    const PackResult result = check({}, {});
    const std::string reason = "cannot be shown: it declares 8192 x 4096 pixels (134217728 bytes at 32 bits) but "
                               "holds only 60 bytes of them; the viewer refuses files holding less than one byte in "
                               "1032 of their pixels";
    for (const std::string& name : {content.credits, content.mask}) {
        const auto lines = linesOf(result.out);
        const bool named = std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.rfind("error: ", 0) == 0 && line.find("'" + name + "'") != std::string::npos
                && line.find(reason) != std::string::npos;
        });
        EXPECT_TRUE(named) << "no error naming '" << name << "' with its size; output:\n" << result.out;
    }
    EXPECT_EQ(1, result.status) << describeRun(arguments, result);
}

TEST_F(CheckCommandTest, HostilePicturesStayWithinAMemoryBound)
{
    ASSERT_TRUE(show::declareHugeTitleAndCredits(content));
    dir.write("data.zuo", content.archive());
    for (const auto& track : content.tracks)
        dir.write(track.music, shortTone());
    arguments = {"check", dir.path()};
    const PackResult result = runPack(arguments, kCheckMemoryMb);
    EXPECT_NE(test::kMemoryBoundExceeded, result.status) << "the check outgrew its memory bound\n"
                                                         << describeRun(arguments, result);
    EXPECT_EQ(std::string::npos, result.err.find("Sanitizer")) << describeRun(arguments, result);
    EXPECT_EQ(1, result.status) << describeRun(arguments, result);
    EXPECT_NE(std::string::npos,
        result.out.find("'title.png' (title picture) cannot be shown: it declares 16384 x "
                        "16384 pixels"))
        << result.out;
}

// FIFOs and /dev exist on POSIX systems only.
#ifndef _WIN32
// Music paths naming a device, a FIFO without a writer and a folder: each
// is named for what it is, none is opened (reading /dev/zero would never end,
// opening the FIFO would wait for good), and the check stays in its bound.
TEST_F(CheckCommandTest, MusicPathsThatAreNoRegularFilesAreErrorsAndNotOpened)
{
    content = show::standardShow(3);
    for (size_t i = 0; i < content.tracks.size(); ++i)
        content.pictures[content.tracks[i].picture] = show::Canvas(680, 300, show::trackColour(i));
    content.tracks[0].music = "/dev/zero";
    content.tracks[1].music = "music/pipe.wav";
    content.tracks[2].music = "music/folder.wav";
    dir.write("data.zuo", content.archive());
    std::filesystem::create_directories(dir.path("music/folder.wav"));
    ASSERT_EQ(0, mkfifo(dir.path("music/pipe.wav").c_str(), 0600));
    arguments = {"check", dir.path()};
    const PackResult result = runPack(arguments, kCheckMemoryMb);
    EXPECT_NE(test::kMemoryBoundExceeded, result.status) << "the check outgrew its memory bound\n"
                                                         << describeRun(arguments, result);
    EXPECT_EQ(1, result.status) << describeRun(arguments, result);
    const std::pair<const char*, const char*> expected[] = {
        {"'/dev/zero' (track 1's music): it is a character device, not a music file", "/dev/zero"},
        {"'music/pipe.wav' (track 2's music): it is a FIFO (named pipe), not a music file", "music/pipe.wav"},
        {"'music/folder.wav' (track 3's music): it is a folder, not a music file", "music/folder.wav"},
    };
    for (const auto& line : expected)
        EXPECT_NE(std::string::npos, result.out.find(std::string(line.first) + "; the viewer skips the track"))
            << "expected an error naming " << line.second << " and its kind\n"
            << result.out;
}

TEST_F(CheckCommandTest, AnArchivePathThatIsNoRegularFileIsNotOpened)
{
    // A FIFO without a writer would block the open for good: the run is
    // bounded so that a regression fails rather than hangs only if the check
    // does not look first; the FIFO gets a writer after a time-out below.
    const std::string archive = dir.path("data.zuo");
    ASSERT_EQ(0, mkfifo(archive.c_str(), 0600));
    arguments = {"check", dir.path()};
    PackResult result = runPack(arguments, kCheckMemoryMb);
    EXPECT_EQ(2, result.status) << describeRun(arguments, result);
    EXPECT_EQ("vellumo-pack: check: '" + archive + "': is a FIFO (named pipe), not an archive\n", result.err);
    std::filesystem::remove(archive);

    std::filesystem::create_symlink("/dev/zero", archive);
    result = runPack(arguments, kCheckMemoryMb);
    EXPECT_EQ(2, result.status) << describeRun(arguments, result);
    EXPECT_EQ("vellumo-pack: check: '" + archive + "': is a character device, not an archive\n", result.err);
    std::filesystem::remove(archive);

    std::filesystem::create_directory(archive);
    result = runPack(arguments, kCheckMemoryMb);
    EXPECT_EQ(2, result.status) << describeRun(arguments, result);
    EXPECT_EQ("vellumo-pack: check: '" + archive + "': is a folder, not an archive\n", result.err);
}

#endif

} // namespace
} // namespace vlo
