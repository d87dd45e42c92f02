// vellumo-pack extract, run as the built program on archives built byte by byte.
#include <filesystem>

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
