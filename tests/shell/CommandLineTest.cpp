#include "shell/CommandLine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/ScratchDir.h"

namespace vlo {
namespace {

using Action = CommandLine::Action;

TEST(CommandLineTest, NoArgumentRunsInTheCurrentFolder)
{
    const CommandLine line = parseCommandLine({});
    EXPECT_EQ(Action::Run, line.action);
    EXPECT_EQ("", line.folder);
}

TEST(CommandLineTest, AFolderArgumentIsTheShowFolder)
{
    test::ScratchDir dir("cmdline");
    std::filesystem::create_directory(dir.path("-dashed"));
    const CommandLine absolute = parseCommandLine({dir.path()});
    EXPECT_EQ(Action::Run, absolute.action) << absolute.error;
    EXPECT_EQ(dir.path(), absolute.folder);
    EXPECT_EQ(Action::Run, parseCommandLine({"."}).action);

    const CommandLine dashed = parseCommandLine({"--", dir.path("-dashed")});
    EXPECT_EQ(Action::Run, dashed.action) << dashed.error;
    EXPECT_EQ(dir.path("-dashed"), dashed.folder);

    // The archive itself, as a double click on it passes it, names its folder.
    dir.write("data.zuo", "archive");
    const CommandLine archive = parseCommandLine({dir.path("data.zuo")});
    EXPECT_EQ(Action::Run, archive.action) << archive.error;
    EXPECT_EQ(std::filesystem::path(dir.path()), std::filesystem::path(archive.folder));

    // Arguments are UTF-8 on every system: a folder named "Émile — show".
    const std::string accented = dir.path("\xC3\x89mile \xE2\x80\x94 show");
    ASSERT_TRUE(std::filesystem::create_directory(std::filesystem::u8path(accented)));
    const CommandLine named = parseCommandLine({accented});
    EXPECT_EQ(Action::Run, named.action) << named.error;
    std::ofstream(std::filesystem::u8path(accented + "/data.zuo")) << "archive";
    const CommandLine inside = parseCommandLine({accented + "/data.zuo"});
    EXPECT_EQ(Action::Run, inside.action) << inside.error;
    EXPECT_EQ(accented, inside.folder);
}

TEST(CommandLineTest, HelpAndVersion)
{
    EXPECT_EQ(Action::Help, parseCommandLine({"--help"}).action);
    EXPECT_EQ(Action::Help, parseCommandLine({"-h"}).action);
    EXPECT_EQ(Action::Version, parseCommandLine({"--version"}).action);
    EXPECT_NE(std::string::npos, usageText().find("usage: vellumo [SHOW-FOLDER]"));
    EXPECT_EQ(std::string("vellumo ") + VLO_VERSION + "\n", versionText());
}

TEST(CommandLineTest, AnythingElseIsAnErrorThatSaysWhy)
{
    test::ScratchDir dir("cmdline");
    dir.write("show.zuo", "not a folder");
    struct Case {
        std::vector<std::string> arguments;
        const char* says;
    };
    const Case cases[] = {
        {{dir.path("show.zuo")}, "is not a folder"},
        {{dir.path("absent")}, "does not exist"},
        {{"--colour"}, "unknown option '--colour'"},
        {{"-x"}, "unknown option '-x'"},
        {{""}, "empty name"},
        {{dir.path(), dir.path()}, "more than one argument"},
        {{"--help", "extra"}, "more than one argument"},
        {{"--"}, "no show folder after '--'"},
        {{"--", "--help"}, "does not exist"},
    };
    for (const Case& c : cases) {
        const CommandLine line = parseCommandLine(c.arguments);
        SCOPED_TRACE(c.arguments.empty() ? std::string() : c.arguments[0]);
        EXPECT_EQ(Action::Error, line.action);
        EXPECT_NE(std::string::npos, line.error.find(c.says)) << "expected \"" << c.says << "\" in: " << line.error;
    }
}

} // namespace
} // namespace vlo
