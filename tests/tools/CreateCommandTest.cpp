// vellumo-pack create, run as the built program.
#include <algorithm>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "content/ArchiveFS.h"
#include "support/ArchiveBytes.h"
#ifndef _WIN32
#include "support/OtherUser.h"
#include "support/RunProgram.h"
#endif
#include "support/ScratchDir.h"
#include "tools/PackRunner.h"

namespace vlo {
namespace {

using test::archiveOf;
using test::describeRun;
using test::readFile;
using test::runPack;
using test::ScratchDir;

using Entries = std::vector<std::pair<std::string, std::string>>;

// Every byte value once, so that no text translation can go unnoticed.
std::string allBytes()
{
    std::string bytes;
    for (int value = 0; value < 256; ++value)
        bytes += char(value);
    return bytes;
}

class CreateCommandTest : public ::testing::Test {
protected:
    // Writes the entries as files under content/ and returns them sorted by
    // name, the order the archive must hold them in.
    Entries writeTree(Entries entries)
    {
        for (const auto& [name, bytes] : entries)
            dir.write("content/" + name, bytes);
        std::sort(entries.begin(), entries.end());
        return entries;
    }
    test::PackResult create(const std::string& archive, const std::string& folder = "content")
    {
        lastArguments = {"create", dir.path(archive), dir.path(folder)};
        return runPack(lastArguments);
    }

    ScratchDir dir{"packcreate"};
    std::vector<std::string> lastArguments;
};

TEST_F(CreateCommandTest, RoundTripsAFolderTreeByteForByte)
{
    const Entries files = writeTree({{"Vellumo.ini", "[vloData]\r\n[end]\n"}, {"gui/play_on.png", allBytes()},
        {"gui/sub folder/with space.bmp", std::string(70000, '\xAB')}, {"empty", ""}, {"B-upper.txt", "B"},
        {"a-lower.txt", "a"}});

    std::filesystem::create_directory(dir.path("show"));
    const auto created = create("show/data.zuo");
    ASSERT_EQ(0, created.status) << describeRun(lastArguments, created);
    EXPECT_TRUE(created.err.empty()) << created.err;

    // The layout is fixed: magic, records in byte order of the names, END,
    // then the data in the same order.
    const std::string archive = readFile(dir.path("show/data.zuo"));
    EXPECT_EQ(archiveOf(files), archive) << "the archive's bytes differ from the fixed layout";

    const auto listed = runPack({"list", dir.path("show/data.zuo")});
    ASSERT_EQ(0, listed.status) << listed.err;
    std::string expectedListing;
    uint32_t offset = 8;
    for (const auto& file : files)
        offset += 4 + uint32_t(file.first.size()) + 1 + 8;
    for (const auto& [name, bytes] : files) {
        expectedListing += name + "\t" + std::to_string(bytes.size()) + "\t" + std::to_string(offset) + "\n";
        offset += uint32_t(bytes.size());
    }
    EXPECT_EQ(expectedListing, listed.out);

    for (const auto& [name, bytes] : files) {
        const auto toFile = runPack({"extract", dir.path("show/data.zuo"), name, "-o", dir.path("out.bin")});
        EXPECT_EQ(0, toFile.status) << toFile.err;
        EXPECT_EQ(bytes, readFile(dir.path("out.bin"))) << "entry " << name << " written with -o";
        const auto toStdout = runPack({"extract", dir.path("show/data.zuo"), name});
        EXPECT_EQ(0, toStdout.status) << toStdout.err;
        EXPECT_EQ(bytes, toStdout.out) << "entry " << name << " written to standard output";
    }
}

TEST_F(CreateCommandTest, ArchiveOpensInTheViewer)
{
    writeTree({{"Vellumo.ini", "[vloData] [end]"}, {"gui/a.png", "PNGDATA"}});
    const auto created = create("data.zuo");
    ASSERT_EQ(0, created.status) << describeRun(lastArguments, created);

    ASSERT_TRUE(ArchiveFS::init(dir.path("data.zuo")));
    EXPECT_EQ("PNGDATA", readFile(ArchiveFS::extract("gui/a.png")));
    ArchiveFS::removeExtracted();
    ArchiveFS::shutdown();
}

TEST_F(CreateCommandTest, SameInputGivesIdenticalArchives)
{
    writeTree({{"z.png", "zz"}, {"a/b/c.txt", "abc"}, {"m.jpg", "mmm"}});
    ASSERT_EQ(0, create("first.zuo").status);
    // The same files written again in another order, with new times.
    std::filesystem::remove_all(dir.path("content"));
    writeTree({{"m.jpg", "mmm"}, {"a/b/c.txt", "abc"}, {"z.png", "zz"}});
    ASSERT_EQ(0, create("second.zuo").status);

    // The same folder spelt with a trailing "/" and through "..".
    lastArguments = {"create", dir.path("third.zuo"), dir.path("content/")};
    ASSERT_EQ(0, runPack(lastArguments).status);
    lastArguments = {"create", dir.path("fourth.zuo"), dir.path("content/a/../")};
    ASSERT_EQ(0, runPack(lastArguments).status);

    const std::string first = readFile(dir.path("first.zuo"));
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(first, readFile(dir.path("second.zuo"))) << "two runs over the same files differ";
    EXPECT_EQ(first, readFile(dir.path("third.zuo"))) << "a trailing '/' changed the names";
    EXPECT_EQ(first, readFile(dir.path("fourth.zuo"))) << "a path through '..' changed the names";
}

TEST_F(CreateCommandTest, RefusesBadFoldersAndAnArchiveInsideTheFolder)
{
    writeTree({{"a.txt", "a"}});
    dir.write("plain.txt", "not a folder");

    const auto missing = create("out.zuo", "absent");
    EXPECT_EQ(1, missing.status) << describeRun(lastArguments, missing);
    EXPECT_NE(std::string::npos, missing.err.find("absent': no such folder")) << missing.err;

    const auto notFolder = create("out.zuo", "plain.txt");
    EXPECT_EQ(1, notFolder.status) << describeRun(lastArguments, notFolder);
    EXPECT_NE(std::string::npos, notFolder.err.find("plain.txt': not a folder")) << notFolder.err;

    const auto inside = create("content/sub/data.zuo");
    EXPECT_EQ(1, inside.status) << describeRun(lastArguments, inside);
    EXPECT_NE(std::string::npos, inside.err.find("lies inside")) << inside.err;
    EXPECT_FALSE(dir.exists("content/sub")) << "nothing may be written into the packed folder";

    // The same folder reached through "..".
    lastArguments = {"create", dir.path("content/../content/x.zuo"), dir.path("content")};
    const auto dotted = runPack(lastArguments);
    EXPECT_EQ(1, dotted.status) << describeRun(lastArguments, dotted);

    const auto noParent = create("nofolder/out.zuo");
    EXPECT_EQ(1, noParent.status) << describeRun(lastArguments, noParent);
    EXPECT_NE(std::string::npos, noParent.err.find("cannot create a temporary file beside")) << noParent.err;

    const auto archiveIsFolder = create("content");
    EXPECT_EQ(1, archiveIsFolder.status) << describeRun(lastArguments, archiveIsFolder);

    EXPECT_FALSE(dir.exists("out.zuo"));
    EXPECT_EQ("content plain.txt ", dir.listing()) << "a failed create left files behind";
}

// Another user and POSIX modes: POSIX systems only.
#ifndef _WIN32
TEST_F(CreateCommandTest, NamesTheSubfolderThatCannotBeRead)
{
    // Root reads every folder: the tool runs as another user.
    const std::string pack = VLO_BINARY_DIR "/vellumo-pack";
    const std::string why = test::whyNobodyCannotRun(pack);
    if (!why.empty())
        GTEST_SKIP() << why;
    writeTree({{"a.txt", "a"}, {"locked/b.txt", "b"}});
    for (const char* folder : {"", "content", "content/locked"})
        ASSERT_TRUE(test::giveToNobody(dir.path(folder)));
    ASSERT_EQ(0, chmod(dir.path("content/locked").c_str(), 0));
    // Without the leak check: LeakSanitizer's tracer fails in a process that
    // changed its user.
    ScratchDir logs("packcreatelogs");
    const test::ProgramRun run
        = test::runProgram(test::Setpriv, dir.path(), {}, {{"ASAN_OPTIONS", "detect_leaks=0:abort_on_error=0"}}, 60,
            test::asNobody(pack, {"create", dir.path("out.zuo"), dir.path("content")}), logs.path());
    EXPECT_EQ(1, run.exitStatus) << run.standardError;
    EXPECT_EQ("vellumo-pack: create: '" + dir.path("content/locked") + "': cannot list the folder: Permission denied\n",
        run.standardError);
    EXPECT_EQ("content ", dir.listing()) << "no archive and no temporary file";
}

#endif

TEST_F(CreateCommandTest, WrongArgumentCountIsAUsageError)
{
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{"create"}, {"create", dir.path("a.zuo")},
             {"create", dir.path("a.zuo"), dir.path(), "extra"}}) {
        const auto result = runPack(arguments);
        EXPECT_EQ(2, result.status) << describeRun(arguments, result);
        EXPECT_NE(std::string::npos, result.err.find("expected ARCHIVE DIR")) << result.err;
    }
}

TEST_F(CreateCommandTest, RefusesNamesLongerThan255Bytes)
{
    const std::string longName = std::string(200, 'd') + "/" + std::string(60, 'f'); // 261 bytes
    writeTree({{"ok.txt", "ok"}, {longName, "x"}});
    dir.write("data.zuo", "previous archive");

    const auto result = create("data.zuo");
    EXPECT_EQ(1, result.status) << describeRun(lastArguments, result);
    EXPECT_NE(std::string::npos, result.err.find(std::string(60, 'f') + "': entry name is 261 bytes long"))
        << result.err;
    EXPECT_EQ("previous archive", readFile(dir.path("data.zuo"))) << "a failed create replaced the archive";
    EXPECT_EQ("content data.zuo ", dir.listing()) << "a temporary file was left behind";

    std::filesystem::remove(dir.path("content/" + longName));
    writeTree({{std::string(251, 'n') + ".png", "255 bytes is the limit"}});
    const auto limit = create("data.zuo");
    EXPECT_EQ(0, limit.status) << describeRun(lastArguments, limit);
}

// Sparse files stand in for huge ones: only their sizes are looked at before
// the refusal, so nothing big is ever written.
TEST_F(CreateCommandTest, RefusesSizesAndOffsetsThatReach2To31)
{
    dir.write("huge/big.bin", "");
    std::filesystem::resize_file(dir.path("huge/big.bin"), uint64_t(1) << 31);
    const auto big = create("data.zuo", "huge");
    EXPECT_EQ(1, big.status) << describeRun(lastArguments, big);
    EXPECT_NE(std::string::npos, big.err.find("big.bin': size 2147483648 bytes, an entry holds at most 2147483647"))
        << big.err;

    std::filesystem::remove_all(dir.path("huge"));
    dir.write("huge/a.bin", "");
    dir.write("huge/b.bin", "");
    std::filesystem::resize_file(dir.path("huge/a.bin"), (uint64_t(1) << 31) - 1);
    const auto pastLimit = create("data.zuo", "huge");
    EXPECT_EQ(1, pastLimit.status) << describeRun(lastArguments, pastLimit);
    // The directory is 8 + 2 * 18 bytes, so b.bin would start at 2^31 - 1 + 44.
    EXPECT_NE(std::string::npos, pastLimit.err.find("b.bin': would start at byte 2147483691")) << pastLimit.err;
    EXPECT_FALSE(dir.exists("data.zuo"));
}

TEST_F(CreateCommandTest, PacksAnEmptyFolderAsAnEmptyDirectory)
{
    std::filesystem::create_directories(dir.path("content"));
    const auto result = create("data.zuo");
    EXPECT_EQ(0, result.status) << describeRun(lastArguments, result);
    EXPECT_EQ(std::string("VFS\0END\0", 8), readFile(dir.path("data.zuo")));
}

} // namespace
} // namespace vlo
