// The vellumo-pack command dispatcher: help, and unknown or missing commands.
#include <gtest/gtest.h>

#include "tools/PackRunner.h"

namespace vlo {
namespace {

using test::describeRun;
using test::runPack;

TEST(PackMainTest, HelpListsEveryCommand)
{
    for (const std::string flag : {"--help", "-h", "help"}) {
        const auto result = runPack({flag});
        EXPECT_EQ(0, result.status) << describeRun({flag}, result);
        for (const char* line : {"vellumo-pack create ARCHIVE DIR", "vellumo-pack list ARCHIVE",
                 "vellumo-pack extract ARCHIVE NAME [-o FILE]"})
            EXPECT_NE(std::string::npos, result.out.find(line)) << "missing \"" << line << "\" in:\n" << result.out;
    }
}

TEST(PackMainTest, CommandHelpShowsItsArguments)
{
    const auto result = runPack({"extract", "--help"});
    EXPECT_EQ(0, result.status) << describeRun({"extract", "--help"}, result);
    EXPECT_EQ(0u, result.out.find("usage: vellumo-pack extract ARCHIVE NAME [-o FILE]")) << result.out;
}

TEST(PackMainTest, MissingAndUnknownCommandsAreUsageErrors)
{
    const auto none = runPack({});
    EXPECT_EQ(2, none.status) << describeRun({}, none);
    EXPECT_EQ("vellumo-pack: no command given (see 'vellumo-pack --help')\n", none.err);

    const auto unknown = runPack({"pack"});
    EXPECT_EQ(2, unknown.status) << describeRun({"pack"}, unknown);
    EXPECT_EQ("vellumo-pack: unknown command 'pack' (see 'vellumo-pack --help')\n", unknown.err);
}

} // namespace
} // namespace vlo
