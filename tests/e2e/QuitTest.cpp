// Escape while the title overlay runs ends the program at once, status 0.
#include <gtest/gtest.h>

#include "support/E2eProgram.h"
#include "support/E2eShow.h"

namespace vlo {
namespace {

using namespace e2e;

TEST(Quit, EscapeDuringTheTitleEndsAtOnce)
{
    if (displayName().empty())
        GTEST_SKIP() << "no X display (DISPLAY is not set)";
    test::ScratchDir folder("e2e-quit");
    writeShow(folder, show::standardShow(2));
    Program program(VLO_BINARY_DIR "/vellumo", folder.path(), {"SDL_AUDIODRIVER=dummy"});
    const WindowInfo window = program.waitForWindow("Emberfall II", 30.0);
    ASSERT_TRUE(window.found) << program.errorOutput();
    sleepSeconds(2.0);
    const double escaped = program.secondsSinceStart();
    keyTo(window.id, "Escape");
    ASSERT_TRUE(program.waitExit(5.0)) << "still running after Escape during the title";
    EXPECT_LT(program.exitTime() - escaped, 2.0);
    EXPECT_EQ(program.exitStatus(), 0) << program.errorOutput();
    EXPECT_EQ(leftoverExtractionFiles(folder), "");
}

} // namespace
} // namespace vlo
