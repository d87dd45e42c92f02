// The demo show the build makes passes its own check.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tools/PackRunner.h"

namespace vlo {
namespace {

using test::describeRun;
using test::PackResult;
using test::runPack;

TEST(DemoShowCheckTest, DemoShowHasNoErrors)
{
    const std::string demo = VLO_BINARY_DIR "/demo-show";
    ASSERT_TRUE(std::filesystem::exists(demo + "/data.zuo"))
        << "the demo show is missing at " << demo << ": configure with -DVLO_DEMO=ON and build demo_show";
    const std::vector<std::string> arguments = {"check", demo};
    const PackResult result = runPack(arguments);
    EXPECT_EQ(0, result.status) << describeRun(arguments, result) << "\n" << result.out;
    std::vector<std::string> lines;
    std::istringstream in(result.out);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_FALSE(lines.empty()) << describeRun(arguments, result);
    for (const std::string& line : lines)
        EXPECT_NE(0u, line.rfind("error:", 0)) << "unexpected " << line;
    EXPECT_EQ(0u, lines.back().rfind("0 errors, ", 0)) << result.out;
}

} // namespace
} // namespace vlo
