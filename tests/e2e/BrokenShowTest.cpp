// Shows that are broken or incomplete: a missing or unreadable configuration
// stops the program with its message and status 255 before the window is
// shown; missing pictures, music that cannot be played and an empty play
// list leave it running until the user quits; so do pictures that declare
// more than the program decodes, or that no decoder reads, within a bound on
// its memory and without leaving extraction files.
#include <gtest/gtest.h>

#include <png.h>

#include "support/E2eProgram.h"
#include "support/E2eShow.h"
#include "support/ImageFixtures.h"
#include "support/MemoryBound.h"

namespace vlo {
namespace {

using namespace e2e;

const char* const configMessage = "Error reading main config file: Vellumo.ini!";

class BrokenShow : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (displayName().empty())
            GTEST_SKIP() << "no X display (DISPLAY is not set)";
    }

    // Runs the show in `content` and expects the configuration message: on
    // standard error, and in a message box, which is closed with Return. The
    // show's window never appears.
    void expectConfigurationFailure(const show::ShowContent& content)
    {
        writeShow(folder, content);
        Program program(VLO_BINARY_DIR "/vellumo", folder.path(), {"SDL_AUDIODRIVER=dummy"});
        const WindowInfo box = program.waitForWindow("Orrin Tide Vellumo", 30.0);
        // The window exists by now (it is created before the configuration
        // is read) but is never shown, and never gets the show's title.
        EXPECT_FALSE(findWindow("Emberfall II").found) << "the show's window got its title";
        const WindowInfo hidden = findWindow("VLO Window");
        EXPECT_FALSE(hidden.found && isViewable(hidden.id)) << "the program's window was shown";
        if (box.found)
            run("xdotool key --window " + box.id + " Return");
        ASSERT_TRUE(program.waitExit(10.0)) << "the program did not end; message box found: " << box.found;
        EXPECT_TRUE(box.found) << "no message box was shown";
        EXPECT_EQ(program.exitStatus(), 255);
        EXPECT_NE(program.errorOutput().find(configMessage), std::string::npos)
            << "standard error: " << program.errorOutput();
        EXPECT_EQ(leftoverExtractionFiles(folder), "");
    }

    // Runs the show written to the folder, checks it is still running
    // `seconds` after its window appeared, then ends it with Escape twice
    // (the second ends the closing sequence; during the title the first one
    // already ends the program).
    void expectKeepsRunning(double seconds)
    {
        Program program(VLO_BINARY_DIR "/vellumo", folder.path(), {"SDL_AUDIODRIVER=dummy"});
        const WindowInfo window = program.waitForWindow("Emberfall II", 30.0);
        ASSERT_TRUE(window.found) << program.errorOutput();
        sleepSeconds(seconds);
        ASSERT_TRUE(program.running()) << "ended by itself; stderr: " << program.errorOutput();
        keyTo(window.id, "Escape");
        sleepSeconds(0.5);
        if (program.running())
            keyTo(window.id, "Escape");
        ASSERT_TRUE(program.waitExit(5.0));
        EXPECT_FALSE(program.crashed());
        EXPECT_EQ(program.exitStatus(), 0) << program.errorOutput();
        EXPECT_EQ(leftoverExtractionFiles(folder), "");
    }

    test::ScratchDir folder{"e2e-broken"};
};

TEST_F(BrokenShow, MissingConfigurationStopsWithTheMessage)
{
    show::ShowContent content = show::standardShow(2);
    content.writeIni = false;
    expectConfigurationFailure(content);
}

TEST_F(BrokenShow, UnknownSectionStopsWithTheMessage)
{
    show::ShowContent content = show::standardShow(2);
    content.writeIni = false;
    content.rawEntries["Vellumo.ini"] = "[vloData]\ntitle: title.png\n[end]\n[vloPictures]\n";
    expectConfigurationFailure(content);
}

TEST_F(BrokenShow, MissingPicturesAndUnplayableMusicKeepRunning)
{
    show::ShowContent content = show::standardShow(3);
    content.pictures.clear(); // not one picture in the archive, GUI graphics included
    writeShow(folder, content);
    // Replace the music by files that are no audio at all.
    for (const show::Track& track : content.tracks)
        folder.write(track.music, "this is not music\n");
    // Past the title, so that the play list has tried every entry many times.
    expectKeepsRunning(10.0);
}

TEST_F(BrokenShow, EmptyPlayListKeepsRunning)
{
    writeShow(folder, show::standardShow(0));
    expectKeepsRunning(3.0);
}

// A 1 MB PNG and a 300-byte truncated JPEG, both declaring 16384 x 16384
// (805 MB of pixels each), a picture no decoder knows, and no "mask:" at all
// (an empty name): the program starts, shows its window and quits on Escape
// as usual, well within a memory bound that one of those pictures decoded
// would break, and leaves no extraction file.
TEST_F(BrokenShow, PicturesItCannotDecodeAreSkippedWithinAMemoryBound)
{
    show::ShowContent content = show::standardShow(1);
    ASSERT_TRUE(show::declareHugeTitleAndCredits(content));
    content.pictures.erase(content.tracks[0].picture);
    content.tracks[0].picture = "pictures/track1.gif";
    content.rawEntries[content.tracks[0].picture] = "GIF89a";
    // The configuration without its "mask:" line.
    content.writeIni = false;
    std::string ini = content.ini();
    const size_t mask = ini.find("mask: ");
    ASSERT_NE(std::string::npos, mask);
    ini.erase(mask, ini.find('\n', mask) + 1 - mask);
    content.rawEntries["Vellumo.ini"] = ini;
    writeShow(folder, content);

    test::MemoryBound bound(600);
    Program program(VLO_BINARY_DIR "/vellumo", folder.path(), {"SDL_AUDIODRIVER=dummy", bound.sanitizerOptions()});
    bound.release();
    const WindowInfo window = program.waitForWindow("Emberfall II", 30.0);
    ASSERT_TRUE(window.found) << "status " << program.exitStatus() << "; stderr: " << program.errorOutput();
    sleepSeconds(1.0);
    ASSERT_TRUE(program.running()) << "status " << program.exitStatus() << "; stderr: " << program.errorOutput();
    // The first Escape ends the program during the title; otherwise it
    // starts the closing sequence, which a second one ends (two Escapes
    // taken together make one quit, so the second waits for the first).
    keyTo(window.id, "Escape");
    if (!program.waitExit(2.0))
        keyTo(window.id, "Escape");
    ASSERT_TRUE(program.waitExit(15.0)) << "still running after Escape";
    EXPECT_NE(program.exitStatus(), test::kMemoryBoundExitStatus) << "outgrew 600 MB: " << program.errorOutput();
    EXPECT_EQ(program.exitStatus(), 0) << program.errorOutput();
    EXPECT_EQ(leftoverExtractionFiles(folder), "");
}

} // namespace
} // namespace vlo
