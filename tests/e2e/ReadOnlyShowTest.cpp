// The demo show in a folder the program cannot write: run by an unprivileged
// user on a copy that root owns. It must look exactly as it does from a
// writable folder, write nothing into its folder, and leave no private
// folder behind, whether it ends normally or by SIGTERM.
#include <signal.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/DemoWatch.h"
#include "support/E2eProgram.h"
#include "support/E2eShow.h"
#include "support/FolderTree.h"
#include "support/OtherUser.h"

namespace vlo {
namespace {

namespace fs = std::filesystem;
using namespace e2e;

class ReadOnlyShow : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (displayName().empty())
            GTEST_SKIP() << "no X display (DISPLAY is not set)";
        if (!fs::exists(DemoShow + "/data.zuo"))
            GTEST_SKIP() << "the demo show was not built (" << DemoShow << ")";
        const std::string why = test::whyNobodyCannotRun(Vellumo);
        if (!why.empty())
            GTEST_SKIP() << why;
        // A copy that root owns (mode 0755): nobody can read it, not write it.
        fs::copy(DemoShow, show.path(), fs::copy_options::recursive);
        fs::remove(show.path("stderr.txt"));
        ASSERT_TRUE(test::giveToNobody(runtime.path()));
        ASSERT_TRUE(test::giveToNobody(home.path()));
        ASSERT_TRUE(test::giveToNobody(logs.path()));
    }

    // The leak check is off as nobody: LeakSanitizer stops the process by
    // attaching to its threads, and its tracer has crashed in this run
    // ("Tracer caught signal 11"). The same paths are run leak-checked as
    // root by the writable run and the other tests.
    std::vector<std::string> nobodyEnvironment() const
    {
        return {"SDL_AUDIODRIVER=dummy", "XDG_RUNTIME_DIR=" + runtime.path(), "HOME=" + home.path(),
            "XDG_CACHE_HOME=" + home.path(), "MESA_SHADER_CACHE_DISABLE=true",
            "ASAN_OPTIONS=detect_leaks=0:abort_on_error=0:strict_string_checks=1"};
    }

    // Starts the program as nobody on the read-only copy, from the folder
    // `logs` (the show is given on the command line).
    std::unique_ptr<Program> startAsNobody()
    {
        return std::make_unique<Program>(test::Setpriv, logs.path(), nobodyEnvironment(), true,
            test::asNobody(Vellumo, {show.path()}), logs.path("stderr.txt"));
    }

    // The private folder the program made, checked to be nobody's own and
    // closed to others; empty when there is none or more than one.
    std::string privateFolder() const
    {
        std::vector<fs::path> found;
        for (const auto& entry : fs::directory_iterator(runtime.root))
            found.push_back(entry.path());
        if (found.size() != 1)
            return "";
        struct stat info;
        if (lstat(found[0].c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
            return "";
        EXPECT_EQ(0700u, info.st_mode & 0777u) << found[0];
        EXPECT_EQ(test::NobodyId, info.st_uid) << found[0];
        return found[0].string();
    }

    test::ScratchDir show{"e2e-readonly-show"};
    test::ScratchDir runtime{"e2e-readonly-runtime"};
    test::ScratchDir home{"e2e-readonly-home"};
    test::ScratchDir logs{"e2e-readonly-logs"};
    test::ScratchDir reference{"e2e-readonly-reference"};
};

TEST_F(ReadOnlyShow, RunsAsFromAWritableFolderAndWritesNothingThere)
{
    // The same show from a writable folder, as root: what it must look like.
    fs::copy(DemoShow, reference.path(), fs::copy_options::recursive);
    Program writable(Vellumo, reference.path(), {"SDL_AUDIODRIVER=dummy"}, true, {}, logs.path("reference.txt"));
    const DemoPictures expected = watchDemo(writable, logs.path("reference.rgb"));
    ASSERT_EQ(0, writable.exitStatus()) << writable.errorOutput();
    ASSERT_TRUE(expected.title.valid() && expected.first.valid() && expected.second.valid());
    // The three moments really differ, so that matching them means something.
    ASSERT_GT(differingShare(expected.title, expected.first), 0.3);
    ASSERT_GT(differingShare(expected.first, expected.second), 0.05);

    const std::string before = treeOf(show.path());
    std::unique_ptr<Program> program = startAsNobody();
    ASSERT_TRUE(program->startedOk());
    const WindowInfo window = program->waitForOwnWindow("Emberfall II", 30.0);
    ASSERT_TRUE(window.found) << program->errorOutput();
    const std::string folder = privateFolder();
    EXPECT_FALSE(folder.empty()) << "no private folder under XDG_RUNTIME_DIR: " << runtime.listing();

    const DemoPictures got = watchDemo(*program, logs.path("readonly.rgb"));
    EXPECT_EQ(0, program->exitStatus()) << program->errorOutput();
    EXPECT_LT(differingShare(expected.title, got.title), 0.03) << "the title differs from the writable run";
    EXPECT_LT(differingShare(expected.first, got.first), 0.03) << "the first track differs";
    EXPECT_LT(differingShare(expected.second, got.second), 0.03) << "the second track differs";
    EXPECT_EQ(before, treeOf(show.path())) << "the read-only folder changed";
    EXPECT_TRUE(fs::is_empty(runtime.path())) << "left in the runtime folder: " << runtime.listing();
}

TEST_F(ReadOnlyShow, SigtermRemovesThePrivateFolder)
{
    const std::string before = treeOf(show.path());
    std::unique_ptr<Program> program = startAsNobody();
    ASSERT_TRUE(program->startedOk());
    const WindowInfo window = program->waitForOwnWindow("Emberfall II", 30.0);
    ASSERT_TRUE(window.found) << program->errorOutput();
    sleepSeconds(1.0);
    const std::string folder = privateFolder();
    ASSERT_FALSE(folder.empty()) << "no private folder under XDG_RUNTIME_DIR: " << runtime.listing();

    // During the title the close request ends the program at once.
    program->sendSignal(SIGTERM);
    ASSERT_TRUE(program->waitExit(15.0)) << "still running after SIGTERM";
    EXPECT_EQ(0, program->exitStatus()) << program->errorOutput();
    EXPECT_FALSE(fs::exists(folder)) << "the private folder outlived SIGTERM";
    EXPECT_TRUE(fs::is_empty(runtime.path())) << runtime.listing();
    EXPECT_EQ(before, treeOf(show.path()));
}

} // namespace
} // namespace vlo
