// vellumo-pack extract, run as the built program on archives built byte by byte.
#include <cerrno>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifndef _WIN32
#include <sys/sysmacros.h>
#endif

#include <gtest/gtest.h>

#include "support/ArchiveBytes.h"
#include "support/ScratchDir.h"
#include "tools/PackRunner.h"

namespace vlo {
namespace {

using test::ArchiveBytes;
using test::archiveOf;
using test::describeRun;
using test::readFile;
using test::runPack;
using test::ScratchDir;

class ExtractCommandTest : public ::testing::Test {
protected:
    test::PackResult extract(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), {"extract", dir.path("data.zuo")});
        lastArguments = arguments;
        return runPack(lastArguments);
    }
    void expectFailure(const test::PackResult& result, int status, const std::string& text)
    {
        EXPECT_EQ(status, result.status) << describeRun(lastArguments, result);
        EXPECT_NE(std::string::npos, result.err.find(text)) << "expected \"" << text << "\", got: " << result.err;
        EXPECT_EQ("", result.out) << "a failed extraction wrote to standard output";
    }

    ScratchDir dir{"packextract"};
    std::vector<std::string> lastArguments;
};

TEST_F(ExtractCommandTest, TheLastRecordOfANameCounts)
{
    ArchiveBytes archive;
    archive.magic().record("a.txt", 3, 44).record("a.txt", 2, 47).end().raw("oldnw");
    dir.write("data.zuo", archive.bytes);
    const auto result = extract({"a.txt"});
    EXPECT_EQ(0, result.status) << describeRun(lastArguments, result);
    EXPECT_EQ("nw", result.out);
}

TEST_F(ExtractCommandTest, MissingNamesAreErrorsNotEmptyFiles)
{
    dir.write("data.zuo", archiveOf({{"a.txt", "a"}}));
    expectFailure(extract({"b.txt"}), 1, "data.zuo': no entry named 'b.txt'");
    expectFailure(extract({"b.txt", "-o", dir.path("out.txt")}), 1, "no entry named 'b.txt'");
    EXPECT_FALSE(dir.exists("out.txt")) << "an output file was created for a missing entry";
    EXPECT_EQ("data.zuo ", dir.listing());
}

TEST_F(ExtractCommandTest, EntriesBeforeADamagedDirectoryStayExtractable)
{
    // "head" points at the magic; the directory ends inside the next name.
    ArchiveBytes archive;
    archive.magic().record("head", 3, 0).tag("DAT").raw("cu");
    dir.write("data.zuo", archive.bytes);
    const auto head = extract({"head"});
    EXPECT_EQ(0, head.status) << describeRun(lastArguments, head);
    EXPECT_EQ("VFS", head.out);
    expectFailure(extract({"cut"}), 1,
        "no entry named 'cut' (the directory is damaged: directory cut short: file ends at byte 27 inside the name "
        "of the DAT record at byte 21)");
}

TEST_F(ExtractCommandTest, RefusesDataOutsideTheFileAndWritesNothing)
{
    ArchiveBytes archive;
    archive.magic().record("past", 10, 41).record("neg", 3, 0x80000000u).end().raw("1234");
    ASSERT_EQ(45u, archive.size());
    dir.write("data.zuo", archive.bytes);
    expectFailure(extract({"past", "-o", dir.path("out.bin")}), 1,
        "entry 'past' (record at byte 4): data at offset 41 with size 10 ends at byte 51, past the end of the file "
        "(45 bytes)");
    expectFailure(extract({"neg"}), 1, "entry 'neg' (record at byte 21): negative offset -2147483648");
    EXPECT_FALSE(dir.exists("out.bin"));
}

TEST_F(ExtractCommandTest, WritesFilesOnlyWhereAsked)
{
    dir.write("data.zuo", archiveOf({{"-dash", "dash"}, {"x.bin", "xx"}}));

    const auto dashed = extract({"-o", dir.path("dash.out"), "--", "-dash"});
    EXPECT_EQ(0, dashed.status) << describeRun(lastArguments, dashed);
    EXPECT_EQ("dash", readFile(dir.path("dash.out"))) << "\"--\" lets a name start with \"-\"";

    dir.write("x.out", "older and longer content");
    const auto replaced = extract({"x.bin", "-o", dir.path("x.out")});
    EXPECT_EQ(0, replaced.status) << describeRun(lastArguments, replaced);
    EXPECT_EQ("xx", readFile(dir.path("x.out")));

    const std::string archiveBytes = readFile(dir.path("data.zuo"));
    expectFailure(extract({"x.bin", "-o", dir.path("data.zuo")}), 1, "data.zuo': is the archive itself");
    EXPECT_EQ(archiveBytes, readFile(dir.path("data.zuo")));

    expectFailure(
        extract({"x.bin", "-o", dir.path("no/such/folder/x.out")}), 1, "cannot create a temporary file beside");
    EXPECT_EQ("dash.out data.zuo x.out ", dir.listing()) << "temporary files were left behind";
}

// Links, modes, FIFOs, /dev/stdout and device nodes: POSIX systems only
// (the Windows side has its own test, OutputFileWindowsTest).
#ifndef _WIN32
// The type and permission bits of what is at path itself (a link as a link).
mode_t modeOf(const std::string& path)
{
    struct stat info;
    return lstat(path.c_str(), &info) == 0 ? info.st_mode : 0;
}

TEST_F(ExtractCommandTest, OutputKeepsWhatItReplaces)
{
    dir.write("data.zuo", archiveOf({{"x.bin", "entry bytes"}}));
    const auto extractTo = [&](const std::string& output) {
        const auto result = extract({"x.bin", "-o", output});
        EXPECT_EQ(0, result.status) << describeRun(lastArguments, result);
        return result;
    };

    dir.write("real.txt", "old");
    ASSERT_EQ(0, symlink("real.txt", dir.path("link.txt").c_str()));
    extractTo(dir.path("link.txt"));
    EXPECT_TRUE(S_ISLNK(modeOf(dir.path("link.txt")))) << "the link was replaced by a file";
    EXPECT_EQ("entry bytes", readFile(dir.path("real.txt"))) << "the file the link names";

    dir.write("private.txt", "secret");
    ASSERT_EQ(0, chmod(dir.path("private.txt").c_str(), 0600));
    extractTo(dir.path("private.txt"));
    EXPECT_EQ(mode_t(S_IFREG | 0600), modeOf(dir.path("private.txt"))) << "a private file became readable to others";
    EXPECT_EQ("entry bytes", readFile(dir.path("private.txt")));

    // The reader is there before the writer, so that opening it never waits.
    ASSERT_EQ(0, mkfifo(dir.path("pipe").c_str(), 0600));
    const int reader = open(dir.path("pipe").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0) << std::strerror(errno);
    extractTo(dir.path("pipe"));
    char buffer[64];
    const ssize_t got = read(reader, buffer, sizeof buffer);
    close(reader);
    EXPECT_EQ("entry bytes", std::string(buffer, size_t(std::max<ssize_t>(got, 0)))) << "what the FIFO's reader got";
    EXPECT_TRUE(S_ISFIFO(modeOf(dir.path("pipe")))) << "the FIFO was replaced by a file";

    EXPECT_EQ("entry bytes", extractTo("/dev/stdout").out);
    EXPECT_TRUE(S_ISLNK(modeOf("/dev/stdout")));
    EXPECT_EQ("data.zuo link.txt pipe private.txt real.txt ", dir.listing()) << "temporary files were left behind";
}

TEST_F(ExtractCommandTest, ADeviceIsWrittenToAndStaysADevice)
{
    // A node for the null device: takes every byte, keeps none.
    const dev_t null = makedev(1, 3);
    if (mknod(dir.path("null").c_str(), S_IFCHR | 0666, null) != 0)
        GTEST_SKIP() << "cannot make a device node here (it needs root): " << std::strerror(errno);
    dir.write("data.zuo", archiveOf({{"x.bin", "entry bytes"}}));
    const auto result = extract({"x.bin", "-o", dir.path("null")});
    EXPECT_EQ(0, result.status) << describeRun(lastArguments, result);
    struct stat info;
    ASSERT_EQ(0, lstat(dir.path("null").c_str(), &info));
    EXPECT_TRUE(S_ISCHR(info.st_mode)) << "the device node was replaced";
    EXPECT_EQ(null, info.st_rdev);
    EXPECT_EQ("data.zuo null ", dir.listing());
}

#endif

TEST_F(ExtractCommandTest, BadCommandLinesAreUsageErrors)
{
    dir.write("data.zuo", archiveOf({{"x.bin", "xx"}}));
    expectFailure(extract({}), 2, "extract: expected ARCHIVE NAME [-o FILE], got 1 names");
    expectFailure(extract({"x.bin", "-o"}), 2, "extract: -o needs a FILE");
    expectFailure(extract({"x.bin", "-o", "a", "-o", "b"}), 2, "extract: -o given twice");
    expectFailure(extract({"x.bin", "--force"}), 2, "extract: unknown option '--force'");
    expectFailure(extract({"x.bin", "y.bin"}), 2, "got 3 names");
    EXPECT_FALSE(dir.exists("a"));
}

TEST_F(ExtractCommandTest, MissingArchiveIsAnError)
{
    lastArguments = {"extract", dir.path("absent.zuo"), "x"};
    expectFailure(runPack(lastArguments), 1, "extract: '" + dir.path("absent.zuo") + "': cannot open");
}

} // namespace
} // namespace vlo
