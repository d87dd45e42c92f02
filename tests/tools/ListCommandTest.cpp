// vellumo-pack list, run as the built program on archives built byte by byte.
#include <gtest/gtest.h>

#include "support/ArchiveBytes.h"
#include "support/ScratchDir.h"
#include "tools/PackRunner.h"

namespace vlo {
namespace {

using test::ArchiveBytes;
using test::describeRun;
using test::runPack;
using test::ScratchDir;

class ListCommandTest : public ::testing::Test {
protected:
    test::PackResult list(const std::string& bytes)
    {
        dir.write("data.zuo", bytes);
        lastArguments = {"list", dir.path("data.zuo")};
        return runPack(lastArguments);
    }
    // The failure line must name the archive and carry the given text.
    void expectError(const test::PackResult& result, const std::string& text)
    {
        EXPECT_EQ(1, result.status) << describeRun(lastArguments, result);
        EXPECT_NE(std::string::npos, result.err.find("vellumo-pack: list: '" + dir.path("data.zuo") + "': " + text))
            << "expected the error \"" << text << "\", got: " << result.err;
    }

    ScratchDir dir{"packlist"};
    std::vector<std::string> lastArguments;
};

TEST_F(ListCommandTest, ListsRecordsInDirectoryOrder)
{
    ArchiveBytes archive;
    archive.magic().record("gui/a.png", 5, 52).record("gui/a.png", 0, 57).end().raw("ABCDE");
    ASSERT_EQ(57u, archive.size());
    const auto result = list(archive.bytes);
    EXPECT_EQ(0, result.status) << describeRun(lastArguments, result);
    EXPECT_EQ("gui/a.png\t5\t52\ngui/a.png\t0\t57\n", result.out);
    EXPECT_EQ("", result.err);
}

TEST_F(ListCommandTest, ShowsControlCharactersInNamesEscaped)
{
    ArchiveBytes archive;
    archive.magic().record("two\nlines", 0, 0).end();
    const auto result = list(archive.bytes);
    EXPECT_EQ(0, result.status) << describeRun(lastArguments, result);
    EXPECT_EQ("two\\x0Alines\t0\t0\n", result.out);
}

TEST_F(ListCommandTest, ReportsDamageAfterListingWhatWasRead)
{
    const std::string first = ArchiveBytes().magic().record("a.txt", 3, 0).bytes; // 22 bytes

    auto result = list(std::string("VFX\0", 4));
    expectError(result, "bad magic \"VFX\\x00\" at byte 0");
    EXPECT_EQ("", result.out);

    result = list("VF");
    expectError(result, "file too short for the magic: 2 bytes, need 4");

    result = list(first + std::string("BAD\0", 4) + ArchiveBytes().record("b.txt", 1, 0).end().bytes);
    expectError(result, "unknown tag \"BAD\\x00\" at byte 22; 1 record listed before it");
    EXPECT_EQ("a.txt\t3\t0\n", result.out) << "the records before the damage are listed";

    result = list(first);
    expectError(result, "directory cut short: file ends at byte 22 where a record should start, no END record");
    EXPECT_EQ("a.txt\t3\t0\n", result.out);

    result = list(first + std::string("DAT\0", 4) + "half");
    expectError(result, "directory cut short: file ends at byte 30 inside the name of the DAT record at byte 22");
    EXPECT_EQ("a.txt\t3\t0\n", result.out);

    result = list(first + ArchiveBytes().record(std::string(256, 'x'), 1, 0).end().bytes);
    expectError(result, "name longer than 255 bytes in the DAT record at byte 22");
}

TEST_F(ListCommandTest, ReportsEntryDataOutsideTheFile)
{
    ArchiveBytes archive;
    archive.magic().record("fits", 4, 58).record("past", 5, 58).record("neg", 0xFFFFFFFFu, 0).end().raw("DATA");
    ASSERT_EQ(62u, archive.size());
    const auto result = list(archive.bytes);
    expectError(result,
        "entry 'past' (record at byte 21): data at offset 58 with size 5 ends at byte 63, past the "
        "end of the file (62 bytes)");
    expectError(result, "entry 'neg' (record at byte 38): negative size -1");
    EXPECT_EQ(std::string::npos, result.err.find("'fits'")) << result.err;
    EXPECT_EQ("fits\t4\t58\npast\t5\t58\nneg\t-1\t0\n", result.out);
}

TEST_F(ListCommandTest, RefusesMissingArchivesAndBadArguments)
{
    lastArguments = {"list", dir.path("absent.zuo")};
    const auto missing = runPack(lastArguments);
    EXPECT_EQ(1, missing.status) << describeRun(lastArguments, missing);
    EXPECT_NE(std::string::npos, missing.err.find("absent.zuo': cannot open: No such file or directory"))
        << missing.err;

    lastArguments = {"list", dir.path()};
    const auto folder = runPack(lastArguments);
    EXPECT_EQ(1, folder.status) << describeRun(lastArguments, folder);
    EXPECT_NE(std::string::npos, folder.err.find("is a folder, not an archive")) << folder.err;

    lastArguments = {"list"};
    const auto none = runPack(lastArguments);
    EXPECT_EQ(2, none.status) << describeRun(lastArguments, none);
    EXPECT_NE(std::string::npos, none.err.find("list: expected ARCHIVE, got 0 arguments")) << none.err;
}

} // namespace
} // namespace vlo
