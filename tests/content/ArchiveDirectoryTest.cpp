#include "content/ArchiveDirectory.h"

#include <sstream>

#include <gtest/gtest.h>

#include "support/ArchiveBytes.h"

namespace vlo {
namespace {

using test::ArchiveBytes;

ArchiveDirectory readBytes(const std::string& bytes)
{
    std::istringstream in(bytes);
    return ArchiveDirectory::read(in);
}

std::string namesOf(const ArchiveDirectory& directory)
{
    std::string names;
    for (const ArchiveRecord& record : directory.records)
        names += record.name + ";";
    return names;
}

TEST(ArchiveDirectoryTest, ReadsRecordsInOrderUpToEnd)
{
    ArchiveBytes archive;
    archive.magic().record("b.png", 5, 30).record("a.png", 0x01020304, 0x7FFFFFFF).record("b.png", 1, 2).end();
    archive.raw("trailing bytes are entry data");
    const ArchiveDirectory directory = readBytes(archive.bytes);

    EXPECT_TRUE(directory.complete()) << directory.describe();
    ASSERT_EQ(3u, directory.records.size());
    EXPECT_EQ("b.png;a.png;b.png;", namesOf(directory)) << "records keep directory order, duplicates included";
    EXPECT_EQ(0x01020304, directory.records[1].size) << "sizes are little-endian";
    EXPECT_EQ(0x7FFFFFFF, directory.records[1].offset);
    EXPECT_EQ(4, directory.records[0].position);
    EXPECT_EQ(4 + 18, directory.records[1].position) << "tag 4 + name 6 + numbers 8 bytes";
    EXPECT_EQ(4 + 18 + 18 + 18, directory.recordOffset) << "the END record's position";
    EXPECT_EQ(4 + 18 + 18 + 18 + 4, directory.stopOffset) << "reading stops after END";
}

TEST(ArchiveDirectoryTest, ReadsNegativeNumbersAsSigned)
{
    ArchiveBytes archive;
    archive.magic().record("x", 0xFFFFFFFFu, 0x80000000u).end();
    const ArchiveDirectory directory = readBytes(archive.bytes);
    ASSERT_EQ(1u, directory.records.size());
    EXPECT_EQ(-1, directory.records[0].size);
    EXPECT_EQ(INT32_MIN, directory.records[0].offset);
    EXPECT_FALSE(directory.records[0].dataFits(1000)) << "negative numbers never fit";
}

TEST(ArchiveDirectoryTest, DataFitsOnlyInsideTheFile)
{
    ArchiveRecord record;
    record.offset = 30;
    record.size = 5;
    EXPECT_TRUE(record.dataFits(35));
    EXPECT_FALSE(record.dataFits(34));
    record.size = 0;
    EXPECT_TRUE(record.dataFits(30)) << "an empty entry at the end of the file";
    record.offset = 0x7FFFFFFF;
    record.size = 0x7FFFFFFF;
    EXPECT_FALSE(record.dataFits(0x7FFFFFFF)) << "offset + size must not wrap";
}

TEST(ArchiveDirectoryTest, TagTextEndsAtTheFirstZeroByte)
{
    EXPECT_EQ(ArchiveTag::Data, archiveTagFromText("DAT"));
    EXPECT_EQ(ArchiveTag::End, archiveTagFromText("END"));
    EXPECT_EQ(ArchiveTag::Magic, archiveTagFromText("VFS"));
    EXPECT_EQ(ArchiveTag::Invalid, archiveTagFromText("dat"));
    EXPECT_EQ(ArchiveTag::Invalid, archiveTagFromText("DATA"));

    ArchiveBytes archive;
    archive.magic().raw(std::string("DAT\0", 4)).name("a").le32(1).le32(0);
    archive.raw(std::string("EN\0D", 4));
    const ArchiveDirectory directory = readBytes(archive.bytes);
    EXPECT_EQ(DirectoryStatus::UnknownTag, directory.status) << "\"EN\" is not END";
    EXPECT_EQ(std::string("EN\0D", 4), directory.badText);
}

struct DamageCase {
    const char* what;
    std::string bytes;
    DirectoryStatus status;
    int64_t stopOffset;
    int64_t recordOffset;
    size_t records;
    const char* message;
};

// Each damage stops the read at a known byte and keeps the records before it.
TEST(ArchiveDirectoryTest, ReportsWhereAndWhyReadingStopped)
{
    const std::string first = ArchiveBytes().magic().record("a.txt", 1, 0).bytes; // 4 + 18 = 22 bytes
    const std::vector<DamageCase> cases = {
        {"empty file", "", DirectoryStatus::ShortMagic, 0, 0, 0, "file too short for the magic: 0 bytes, need 4"},
        {"three bytes", "VFS", DirectoryStatus::ShortMagic, 3, 0, 0, "3 bytes"},
        {"bad magic", std::string("VFS!", 4) + first.substr(4), DirectoryStatus::BadMagic, 0, 0, 0,
            "bad magic \"VFS!\" at byte 0"},
        {"magic only", ArchiveBytes().magic().bytes, DirectoryStatus::MissingEnd, 4, 4, 0,
            "file ends at byte 4 where a record should start, no END record"},
        {"no END", first, DirectoryStatus::MissingEnd, 22, 22, 1, "no END record"},
        {"cut inside a tag", first + "EN", DirectoryStatus::MissingEnd, 24, 22, 1,
            "file ends at byte 24 inside the tag at byte 22, no END record"},
        {"unknown tag", first + std::string("ABC\0", 4), DirectoryStatus::UnknownTag, 22, 22, 1,
            "unknown tag \"ABC\\x00\" at byte 22"},
        {"VFS tag", first + std::string("VFS\0", 4), DirectoryStatus::MisplacedMagic, 22, 22, 1,
            "tag \"VFS\" inside the directory at byte 22"},
        {"cut inside a name", first + std::string("DAT\0", 4) + "pic", DirectoryStatus::NameCutShort, 29, 22, 1,
            "file ends at byte 29 inside the name of the DAT record at byte 22"},
        {"cut inside numbers", first + ArchiveBytes().tag("DAT").name("pic").le32(7).bytes + "\x01\x02",
            DirectoryStatus::NumbersCutShort, 36, 22, 1, "inside the size and offset of the DAT record \"pic\""},
        {"name too long", first + ArchiveBytes().record(std::string(300, 'x'), 1, 0).end().bytes,
            DirectoryStatus::NameTooLong, 26 + 255, 22, 1, "name longer than 255 bytes in the DAT record at byte 22"},
    };
    for (const DamageCase& c : cases) {
        SCOPED_TRACE(c.what);
        const ArchiveDirectory directory = readBytes(c.bytes);
        EXPECT_EQ(int(c.status), int(directory.status)) << directory.describe();
        EXPECT_EQ(c.stopOffset, directory.stopOffset) << directory.describe();
        EXPECT_EQ(c.recordOffset, directory.recordOffset) << directory.describe();
        EXPECT_EQ(c.records, directory.records.size());
        EXPECT_NE(std::string::npos, directory.describe().find(c.message))
            << "expected the description to contain \"" << c.message << "\", got \"" << directory.describe() << "\"";
    }
}

} // namespace
} // namespace vlo
