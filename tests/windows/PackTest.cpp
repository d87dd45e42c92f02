// vellumo-pack.exe of the Windows zip under Wine on a show the test writes:
// create, list and check work as the Linux tool's do, and the archive is
// the Linux tool's byte for byte. VLO_WINDOWS_ZIP as for ViewerTest.cpp.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/E2eShow.h"
#include "windows/WineRun.h"

namespace vlo {
namespace {

std::string describe(const test::ProgramRun& run)
{
    return "status " + std::to_string(run.exitStatus) + (run.timedOut ? " (timed out)" : "") + "\nstdout:\n"
        + run.standardOutput + "\nstderr:\n" + run.standardError;
}

class Pack : public WineRun {
protected:
    // The Linux tool of this build, run in the show folder.
    test::ProgramRun linuxPack(const std::vector<std::string>& arguments)
    {
        return test::runProgram(e2e::WineSession::linuxPack(), folder.path(), {}, {}, 60, arguments, logs.path());
    }

    test::ScratchDir folder{"wine-pack"};
    test::ScratchDir logs{"wine-pack-logs"};
};

TEST_F(Pack, CreateListAndCheckMatchTheLinuxTool)
{
    // The show's sources (configuration and pictures) under source/, its
    // music beside the archive-to-be.
    // Track pictures of one size, so that the check has nothing to warn of.
    show::ShowContent content = show::standardShow(3);
    for (size_t i = 0; i < content.tracks.size(); ++i)
        content.pictures[content.tracks[i].picture] = show::Canvas(680, 300, show::trackColour(i));
    folder.write("source/Vellumo.ini", content.ini());
    for (const auto& [name, canvas] : content.pictures)
        folder.write("source/" + name, show::encodeFor(name, canvas));
    for (size_t i = 0; i < content.tracks.size(); ++i)
        folder.write(content.tracks[i].music, e2e::e2eTrackMusic(i));

    const test::ProgramRun linuxCreate = linuxPack({"create", "linux.zuo", "source"});
    ASSERT_EQ(linuxCreate.exitStatus, 0) << describe(linuxCreate);
    const test::ProgramRun create = session->runPack(folder.path(), {"create", "data.zuo", "source"});
    ASSERT_EQ(create.exitStatus, 0) << describe(create);
    const std::string archive = test::readFile(folder.path("data.zuo"));
    EXPECT_FALSE(archive.empty());
    EXPECT_TRUE(archive == test::readFile(folder.path("linux.zuo")))
        << "the archive differs from the Linux tool's (" << archive.size() << " bytes)";

    const test::ProgramRun linuxList = linuxPack({"list", "linux.zuo"});
    const test::ProgramRun list = session->runPack(folder.path(), {"list", "data.zuo"});
    EXPECT_EQ(list.exitStatus, 0) << describe(list);
    EXPECT_NE(list.standardOutput.find("Vellumo.ini\t"), std::string::npos) << describe(list);
    EXPECT_EQ(list.standardOutput, linuxList.standardOutput);

    // The whole show folder checked: archive, pictures and music.
    const test::ProgramRun linuxCheck = linuxPack({"check", "."});
    const test::ProgramRun check = session->runPack(folder.path(), {"check", "."});
    EXPECT_EQ(check.exitStatus, 0) << describe(check);
    EXPECT_EQ(check.standardOutput, "0 errors, 0 warnings\n") << describe(check);
    EXPECT_EQ(check.standardOutput, linuxCheck.standardOutput);
}

} // namespace
} // namespace vlo
