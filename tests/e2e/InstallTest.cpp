// `cmake --install` of this build into a fresh prefix: both programs, their
// manual pages, the desktop entry, AppStream metainfo, show MIME type, icon,
// licence and the demo show land where a desktop looks for them, valid for
// the desktop's own tools, and the installed `vellumo` runs the installed demo show
// from another working directory, leaving its folder as it was.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "support/DemoWatch.h"
#include "support/E2eProgram.h"
#include "support/FolderTree.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"

namespace vlo {
namespace {

namespace fs = std::filesystem;
using namespace e2e;

std::string fileText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class Install : public ::testing::Test {
protected:
    void SetUp() override
    {
        const test::ProgramRun install = test::runProgram(VLO_CMAKE_COMMAND, logs.path(), {}, {}, 300,
            {"--install", VLO_BINARY_DIR, "--prefix", prefix.path()}, logs.path());
        ASSERT_TRUE(install.started);
        ASSERT_EQ(0, install.exitStatus) << install.standardError << install.standardOutput;
    }

    fs::path installed(const std::string& relative) const { return fs::path(prefix.path()) / relative; }

    test::ScratchDir prefix{"install-prefix"};
    test::ScratchDir logs{"install-logs"};
};

TEST_F(Install, PutsTheProgramsPagesDesktopEntryAndDemoInThePrefix)
{
    for (const char* program : {"bin/vellumo", "bin/vellumo-pack"}) {
        const fs::path path = installed(program);
        ASSERT_TRUE(fs::is_regular_file(path)) << program << " was not installed";
        EXPECT_NE(fs::perms::none, fs::status(path).permissions() & fs::perms::others_exec) << program;
    }
    for (const char* page : {"share/man/man1/vellumo.1", "share/man/man1/vellumo-pack.1"}) {
        const std::string text = fileText(installed(page));
        ASSERT_FALSE(text.empty()) << page << " was not installed";
        EXPECT_NE(std::string::npos, text.find(".TH ")) << page << " is no manual page";
        EXPECT_EQ(std::string::npos, text.find('@')) << page << " still holds a placeholder:\n" << text;
    }

    const fs::path entryPath = installed("share/applications/org.vellumo.Vellumo.desktop");
    const std::string entry = fileText(entryPath);
    ASSERT_FALSE(entry.empty()) << "no desktop entry";
    EXPECT_EQ(0u, entry.rfind("[Desktop Entry]\n", 0)) << entry;
    EXPECT_NE(std::string::npos, entry.find("\nExec=vellumo %f\n")) << "the entry must open a show: " << entry;
    EXPECT_NE(std::string::npos, entry.find("\nMimeType=application/x-vellumo-show;\n")) << entry;
    EXPECT_NE(std::string::npos, entry.find("\nStartupWMClass=org.vellumo.Vellumo\n")) << entry;
    EXPECT_TRUE(run("desktop-file-validate '" + entryPath.string() + "'"));
    const fs::path metainfo = installed("share/metainfo/org.vellumo.Vellumo.metainfo.xml");
    EXPECT_NE(std::string::npos, fileText(metainfo).find("<release version=\"" VLO_VERSION "\""));
    EXPECT_TRUE(run("appstreamcli validate --no-net '" + metainfo.string() + "' >/dev/null"));
    EXPECT_TRUE(fs::is_regular_file(installed("share/icons/hicolor/scalable/apps/org.vellumo.Vellumo.svg")));
    EXPECT_NE(std::string::npos, fileText(installed("share/doc/Vellumo/LICENSE")).find("MIT License"));
    // The show type, as the desktop's MIME database built from the installed
    // file resolves it: a file named data.zuo is a show.
    ASSERT_TRUE(run("update-mime-database '" + installed("share/mime").string() + "'"));
    EXPECT_NE(std::string::npos, fileText(installed("share/mime/globs2")).find(":application/x-vellumo-show:data.zuo"));

    const fs::path demo = installed("share/vellumo/demo");
    ASSERT_TRUE(fs::is_regular_file(demo / "data.zuo")) << "the demo show was not installed";
    for (const auto& file : fs::recursive_directory_iterator(demo)) {
        EXPECT_EQ(std::string::npos, file.path().filename().string().find("data.zuo.temp")) << file.path();
        if (file.is_regular_file()) {
            EXPECT_EQ(fs::perms::none, file.status().permissions() & fs::perms::others_write) << file.path();
        }
    }

    const test::ProgramRun version
        = test::runProgram(installed("bin/vellumo").string(), logs.path(), {}, {}, 30, {"--version"}, logs.path());
    EXPECT_EQ(0, version.exitStatus);
    EXPECT_NE(std::string::npos, version.standardOutput.find(VLO_VERSION)) << version.standardOutput;
}

TEST_F(Install, TheInstalledProgramRunsTheInstalledDemoFromElsewhere)
{
    if (displayName().empty())
        GTEST_SKIP() << "no X display (DISPLAY is not set)";
    const fs::path demo = installed("share/vellumo/demo");
    ASSERT_TRUE(fs::is_regular_file(demo / "data.zuo"));
    const std::string before = treeOf(demo.string());

    // Started from the logs folder, as a launcher would, with the show named;
    // it must look as the demo show of the build does.
    test::ScratchDir copy("install-built-demo");
    fs::copy(DemoShow, copy.path(), fs::copy_options::recursive);
    Program built(Vellumo, copy.path(), {"SDL_AUDIODRIVER=dummy"}, true, {}, logs.path("built.txt"));
    const DemoPictures expected = watchDemo(built, logs.path("built.rgb"));
    ASSERT_EQ(0, built.exitStatus()) << built.errorOutput();
    Program program(installed("bin/vellumo").string(), logs.path(), {"SDL_AUDIODRIVER=dummy"}, true, {demo.string()},
        logs.path("installed.txt"));
    const DemoPictures got = watchDemo(program, logs.path("installed.rgb"));
    EXPECT_EQ(0, program.exitStatus()) << program.errorOutput();
    ASSERT_TRUE(got.title.valid() && got.first.valid() && got.second.valid());
    EXPECT_GT(differingShare(got.title, got.first), 0.3) << "the show did not get past its title";
    EXPECT_LT(differingShare(expected.title, got.title), 0.03) << "the title differs from the built show's";
    EXPECT_LT(differingShare(expected.first, got.first), 0.03) << "the first track differs";
    EXPECT_LT(differingShare(expected.second, got.second), 0.03) << "the second track differs";
    EXPECT_EQ(before, treeOf(demo.string())) << "the installed show's folder changed";
}

} // namespace
} // namespace vlo
