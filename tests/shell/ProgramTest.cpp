// The built program, run as a user would start it, in an empty folder of its
// own. Without DISPLAY no message box can appear, so the runs cannot block.

#include <string>
#include <utility>
#include <vector>

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
    EXPECT_TRUE(contains(run.standardError, "Error initializing OrbVFS! :-(")) << "standard error was:\n"
                                                                               << run.standardError;
    // Had it tried to open its window (impossible without a display), it
    // would have said so.
    EXPECT_FALSE(contains(run.standardError, "Cannot open the window.")) << "the program went on to create its window";
    EXPECT_EQ(folder.listing(), "") << "the program left files behind";
}

TEST(ProgramTest, NoDisplayMeansNoWindowOnceTheConfigurationHasLoaded)
{
    vlo::test::ScratchDir folder("program");
    folder.write("data.zuo", vlo::test::archiveOf({{"Vellumo.ini", "[vloData] [end]\n"}}));
    const vlo::test::ProgramRun run
        = vlo::test::runProgram(Program, folder.path(), {"DISPLAY", "WAYLAND_DISPLAY"}, {}, 120);
    ASSERT_TRUE(run.started);
    ASSERT_FALSE(run.timedOut) << "the program did not end; standard error:\n" << run.standardError;
    EXPECT_EQ(run.exitStatus, 255) << "standard error:\n" << run.standardError;
    EXPECT_TRUE(contains(run.standardError, "Cannot open the window.")) << "standard error was:\n" << run.standardError;
    EXPECT_FALSE(contains(run.standardError, "Error reading main config file"));
    EXPECT_EQ(folder.listing(), "data.zuo ") << "extraction files were left behind";
}

TEST(ProgramTest, BrokenConfigurationIsReportedEvenWithoutADisplay)
{
    vlo::test::ScratchDir folder("program");
    folder.write("data.zuo", vlo::test::archiveOf({{"readme.txt", "not a configuration"}}));
    const vlo::test::ProgramRun run
        = vlo::test::runProgram(Program, folder.path(), {"DISPLAY", "WAYLAND_DISPLAY"}, {}, 120);
    ASSERT_TRUE(run.started);
    ASSERT_FALSE(run.timedOut) << "the program did not end; standard error:\n" << run.standardError;
    EXPECT_EQ(run.exitStatus, 255) << "standard error:\n" << run.standardError;
    EXPECT_TRUE(contains(run.standardError, "Error reading main config file: Vellumo.ini!")) << "standard error was:\n"
                                                                                             << run.standardError;
    EXPECT_FALSE(contains(run.standardError, "Cannot open the window."))
        << "a broken show must say so before anything about the window";
    EXPECT_EQ(folder.listing(), "data.zuo ") << "extraction files were left behind";
}

// `vellumo DIR` from somewhere else runs the show in DIR: the archive is
// found there and the extraction files go there, none into the working
// folder.
TEST(ProgramTest, AShowFolderArgumentIsUsedFromAnotherWorkingFolder)
{
    vlo::test::ScratchDir show("program-show");
    vlo::test::ScratchDir elsewhere("program-cwd");
    show.write("data.zuo", vlo::test::archiveOf({{"Vellumo.ini", "[vloData] [end]\n"}}));
    const vlo::test::ProgramRun run = vlo::test::runProgram(
        Program, elsewhere.path(), {"DISPLAY", "WAYLAND_DISPLAY"}, {}, 120, {show.path()}, show.path());
    ASSERT_FALSE(run.timedOut) << run.standardError;
    EXPECT_EQ(run.exitStatus, 255) << "standard error:\n" << run.standardError;
    EXPECT_TRUE(contains(run.standardError, "Cannot open the window."))
        << "the show's configuration was not found in the folder; standard error:\n"
        << run.standardError;
    EXPECT_EQ(show.listing(), "data.zuo ");
    EXPECT_EQ(elsewhere.listing(), "") << "the working folder was written";
}

TEST(ProgramTest, HelpAndVersionPrintAndExitWithoutAWindow)
{
    vlo::test::ScratchDir folder("program");
    const vlo::test::ProgramRun help = vlo::test::runProgram(Program, folder.path(), {}, {}, 60, {"--help"});
    EXPECT_EQ(help.exitStatus, 0) << help.standardError;
    EXPECT_TRUE(contains(help.standardOutput, "usage: vellumo [SHOW-FOLDER]")) << help.standardOutput;
    EXPECT_TRUE(contains(help.standardOutput, "--version")) << help.standardOutput;
    EXPECT_EQ(help.standardError, "");

    const vlo::test::ProgramRun version = vlo::test::runProgram(Program, folder.path(), {}, {}, 60, {"--version"});
    EXPECT_EQ(version.exitStatus, 0) << version.standardError;
    EXPECT_EQ(version.standardOutput, std::string("vellumo ") + VLO_VERSION + "\n");
    EXPECT_EQ(folder.listing(), "");
}

// A bad argument stops the program before anything else: no archive is
// looked for (the folder has none, which would be reported) and no window.
TEST(ProgramTest, BadArgumentsSayWhyAndExitWithStatus2)
{
    vlo::test::ScratchDir folder("program");
    folder.write("notes.txt", "a file, not a folder");
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{folder.path("notes.txt")}, "is not a folder"},
        {{folder.path("absent")}, "does not exist"},
        {{"--fullscreen"}, "unknown option '--fullscreen'"},
        {{folder.path(), folder.path()}, "more than one argument"},
    };
    for (const auto& [arguments, says] : cases) {
        SCOPED_TRACE(arguments[0]);
        const vlo::test::ProgramRun run = vlo::test::runProgram(Program, folder.path(), {}, {}, 60, arguments);
        ASSERT_FALSE(run.timedOut);
        EXPECT_EQ(run.exitStatus, 2) << run.standardError;
        EXPECT_TRUE(contains(run.standardError, "vellumo: ")) << run.standardError;
        EXPECT_TRUE(contains(run.standardError, says)) << "expected \"" << says << "\" in:\n" << run.standardError;
        EXPECT_FALSE(contains(run.standardError, "OrbVFS")) << "the program went on to open the archive";
        EXPECT_EQ(run.standardOutput, "");
    }
    EXPECT_EQ(folder.listing(), "notes.txt ");
}

} // namespace
