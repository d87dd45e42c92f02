// The built program, run as a user would start it, in an empty folder of its
// own. Without DISPLAY no message box can appear, so the runs cannot block.

#include <string>

#include <gtest/gtest.h>

#include "support/ArchiveBytes.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"

namespace {

const std::string Program = VLO_BINARY_DIR "/vellumo";

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

TEST(ProgramTest, MissingArchiveReportsAndExitsWithoutAWindow)
{
    vlo::test::ScratchDir folder("program");
    const vlo::test::ProgramRun run = vlo::test::runProgram(Program, folder.path(), {"DISPLAY"}, {}, 120);
    ASSERT_TRUE(run.started);
    ASSERT_FALSE(run.timedOut) << "the program did not end; standard error:\n" << run.standardError;
    EXPECT_EQ(run.exitStatus, 255) << "-1 from WinMain; standard error:\n" << run.standardError;
    EXPECT_TRUE(contains(run.standardError, "Error initializing OrbVFS! :-("))
        << "standard error was:\n" << run.standardError;
    // Had it tried to open its window (impossible without a display), it
    // would have said so.
    EXPECT_FALSE(contains(run.standardError, "Cannot open the window."))
        << "the program went on to create its window";
    EXPECT_EQ(folder.listing(), "") << "the program left files behind";
}

TEST(ProgramTest, NoDisplayMeansNoWindowOnceTheConfigurationHasLoaded)
{
    vlo::test::ScratchDir folder("program");
    folder.write("data.zuo", vlo::test::archiveOf({{"Vellumo.ini", "[vloData] [end]\n"}}));
    const vlo::test::ProgramRun run = vlo::test::runProgram(Program, folder.path(), {"DISPLAY", "WAYLAND_DISPLAY"}, {}, 120);
    ASSERT_TRUE(run.started);
    ASSERT_FALSE(run.timedOut) << "the program did not end; standard error:\n" << run.standardError;
    EXPECT_EQ(run.exitStatus, 255) << "standard error:\n" << run.standardError;
    EXPECT_TRUE(contains(run.standardError, "Cannot open the window."))
        << "standard error was:\n" << run.standardError;
    EXPECT_FALSE(contains(run.standardError, "Error reading main config file"));
    EXPECT_EQ(folder.listing(), "data.zuo ") << "extraction files were left behind";
}

TEST(ProgramTest, BrokenConfigurationIsReportedEvenWithoutADisplay)
{
    vlo::test::ScratchDir folder("program");
    folder.write("data.zuo", vlo::test::archiveOf({{"readme.txt", "not a configuration"}}));
    const vlo::test::ProgramRun run = vlo::test::runProgram(Program, folder.path(), {"DISPLAY", "WAYLAND_DISPLAY"}, {}, 120);
    ASSERT_TRUE(run.started);
    ASSERT_FALSE(run.timedOut) << "the program did not end; standard error:\n" << run.standardError;
    EXPECT_EQ(run.exitStatus, 255) << "standard error:\n" << run.standardError;
    EXPECT_TRUE(contains(run.standardError, "Error reading main config file: Vellumo.ini!"))
        << "standard error was:\n" << run.standardError;
    EXPECT_FALSE(contains(run.standardError, "Cannot open the window."))
        << "a broken show must say so before anything about the window";
    EXPECT_EQ(folder.listing(), "data.zuo ") << "extraction files were left behind";
}

} // namespace
