#include "content/ArchiveFS.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "support/ArchiveBytes.h"
#include "support/LargestAllocation.h"
#include "support/ScratchDir.h"

namespace vlo {
namespace {

using test::ArchiveBytes;
using test::archiveOf;
using test::readFile;
using test::ScratchDir;

class ArchiveFSTest : public ::testing::Test {
protected:
    void TearDown() override { ArchiveFS::shutdown(); }

    // Writes the archive as data.zuo in the scratch folder and opens it.
    void open(const std::string& bytes)
    {
        dir.write("data.zuo", bytes);
        ASSERT_TRUE(ArchiveFS::init(archivePath())) << "init of " << archivePath() << " failed";
    }
    std::string archivePath() const { return dir.path("data.zuo"); }
    std::string extractionPath(const std::string& suffix) const { return dir.path("data.zuo.temp" + suffix); }

    // Extracts an entry and returns the extraction file's bytes.
    std::string extractBytes(const std::string& name)
    {
        const std::string path = ArchiveFS::extract(name);
        EXPECT_TRUE(std::filesystem::exists(path)) << "extraction of \"" << name << "\" gave no file at " << path;
        return readFile(path);
    }

    ScratchDir dir{"archivefs"};
};

TEST_F(ArchiveFSTest, ExtractsTheSmallestExampleArchiveByteForByte)
{
    ArchiveBytes archive;
    archive.raw(std::string("VFS\0", 4));
    archive.raw(std::string("DAT\0", 4));
    archive.raw(std::string("gui/a.png\0", 10));
    archive.raw(std::string("\x05\x00\x00\x00", 4));
    archive.raw(std::string("\x1E\x00\x00\x00", 4));
    archive.raw(std::string("END\0", 4));
    archive.raw("ABCDE");
    ASSERT_EQ(35u, archive.size()) << "the example archive is 35 bytes";
    open(archive.bytes);

    EXPECT_EQ(5, ArchiveFS::entrySizes().at("gui/a.png"));
    EXPECT_EQ(30, ArchiveFS::entryOffsets().at("gui/a.png"));
    const std::string path = ArchiveFS::extract("gui/a.png");
    EXPECT_EQ(extractionPath(".png"), path);
    EXPECT_EQ("ABCDE", readFile(path));

    ArchiveFS::removeExtracted();
    EXPECT_FALSE(std::filesystem::exists(path)) << "removeExtracted left " << path;
}

TEST_F(ArchiveFSTest, ExtensionDecidesTheExtractionFile)
{
    open(archiveOf({{"readme", "r"}, {".config", "c"}, {"Vellumo.ini", "i"}, {"a.png", "first"}, {"b.png", "2nd"},
        {"dir.v2/file.tar.gz", "g"}}));

    EXPECT_EQ(extractionPath("readme"), ArchiveFS::extract("readme")) << "no '.' after the first character";
    EXPECT_EQ(extractionPath(".config"), ArchiveFS::extract(".config")) << "a leading '.' is not an extension";
    EXPECT_EQ(extractionPath(".ini"), ArchiveFS::extract("Vellumo.ini"));
    EXPECT_EQ(extractionPath(".gz"), ArchiveFS::extract("dir.v2/file.tar.gz")) << "only the last '.' counts";

    const std::string first = ArchiveFS::extract("a.png");
    EXPECT_EQ("first", readFile(first));
    const std::string second = ArchiveFS::extract("b.png");
    EXPECT_EQ(first, second) << "two .png entries share one extraction file";
    EXPECT_EQ("2nd", readFile(second)) << "the second extraction replaces the first one's bytes";
}

TEST_F(ArchiveFSTest, EmptyAndMissingEntriesGiveEmptyFiles)
{
    open(archiveOf({{"empty.txt", ""}, {"full.dat", "xyz"}}));

    EXPECT_EQ("xyz", extractBytes("full.dat"));
    EXPECT_EQ("", extractBytes("empty.txt")) << "a size-0 entry";
    EXPECT_EQ("", extractBytes("missing.dat")) << "a name the directory does not hold";
    EXPECT_EQ(0u, ArchiveFS::entrySizes().count("missing.dat")) << "a lookup must not add the name";
    EXPECT_EQ("xyz", extractBytes("full.dat")) << "after the empty extractions";
}

TEST_F(ArchiveFSTest, PassesNamesThroughWhenNotInitialised)
{
    EXPECT_FALSE(ArchiveFS::isInitialised());
    EXPECT_EQ("gui/a.png", ArchiveFS::extract("gui/a.png")) << "before init";
    ArchiveFS::removeExtracted();

    open(archiveOf({{"a.png", "12345"}}));
    EXPECT_TRUE(ArchiveFS::isInitialised());
    const std::string path = ArchiveFS::extract("a.png");
    ArchiveFS::shutdown();
    EXPECT_FALSE(ArchiveFS::isInitialised());

    EXPECT_EQ("a.png", ArchiveFS::extract("a.png")) << "after shutdown";
    ArchiveFS::removeExtracted();
    EXPECT_EQ("12345", readFile(path)) << "removeExtracted after shutdown must delete nothing";
    EXPECT_EQ(5, ArchiveFS::entrySizes().at("a.png")) << "shutdown keeps the directory";
    EXPECT_EQ("data.zuo data.zuo.temp.png ", dir.listing()) << "nothing else may be written";
}

TEST_F(ArchiveFSTest, InitRefusesASecondInitAndUnreadablePaths)
{
    EXPECT_FALSE(ArchiveFS::init(dir.path("absent.zuo"))) << "a missing archive";
    EXPECT_FALSE(ArchiveFS::init(dir.path())) << "a folder is not an archive";
    EXPECT_FALSE(ArchiveFS::isInitialised());

    open(archiveOf({{"one.txt", "1"}}));
    dir.write("other.zuo", archiveOf({{"two.txt", "2"}}));
    EXPECT_FALSE(ArchiveFS::init(dir.path("other.zuo"))) << "a second init must be refused";
    EXPECT_EQ(1u, ArchiveFS::entrySizes().count("one.txt")) << "the refused init changed the directory";
    EXPECT_EQ(0u, ArchiveFS::entrySizes().count("two.txt"));
    EXPECT_EQ(extractionPath(".txt"), ArchiveFS::extract("one.txt")) << "the refused init changed the base";
}

TEST_F(ArchiveFSTest, ReopeningForgetsTheEntriesOfTheFormerArchive)
{
    open(archiveOf({{"old.txt", "old bytes"}, {"both.txt", "aaaa"}}));
    ArchiveFS::shutdown();
    dir.write("next.zuo", archiveOf({{"both.txt", "bb"}}));
    ASSERT_TRUE(ArchiveFS::init(dir.path("next.zuo")));

    EXPECT_EQ(0u, ArchiveFS::entrySizes().count("old.txt")) << "a size survived from the former archive";
    EXPECT_EQ(0u, ArchiveFS::entryOffsets().count("old.txt"));
    const std::string path = ArchiveFS::extract("old.txt");
    EXPECT_EQ(dir.path("next.zuo.temp.txt"), path);
    EXPECT_EQ("", readFile(path)) << "an entry of the former archive must read as missing";
    EXPECT_EQ("bb", readFile(ArchiveFS::extract("both.txt")));
}

TEST_F(ArchiveFSTest, LaterRecordsWin)
{
    ArchiveBytes archive;
    archive.magic().record("a.txt", 3, 0).record("a.txt", 2, 0).end();
    const uint32_t data = archive.size();
    archive = ArchiveBytes();
    archive.magic().record("a.txt", 3, data).record("a.txt", 2, data + 3).end().raw("oldnw");
    open(archive.bytes);

    EXPECT_EQ(2, ArchiveFS::entrySizes().at("a.txt"));
    EXPECT_EQ(int32_t(data + 3), ArchiveFS::entryOffsets().at("a.txt"));
    EXPECT_EQ("nw", extractBytes("a.txt"));
}

// The directory's damage stops its read; every record before it stays
// extractable with its real bytes. The entry "first.txt" points at the magic,
// which every archive holds whatever follows.
class DamagedDirectoryTest : public ArchiveFSTest {
protected:
    ArchiveBytes start()
    {
        ArchiveBytes archive;
        archive.magic().record("first.txt", 3, 0);
        return archive;
    }
    void expectFirstEntryOnly(const ArchiveBytes& archive, const char* damage)
    {
        SCOPED_TRACE(damage);
        open(archive.bytes);
        EXPECT_EQ(1u, ArchiveFS::entrySizes().size()) << "records after the damage must not be kept";
        EXPECT_EQ("VFS", extractBytes("first.txt")) << "the entry before the damage lost its bytes";
        EXPECT_EQ("", extractBytes("missing.txt"));
        EXPECT_EQ("VFS", extractBytes("first.txt")) << "a second extraction after the damage";
    }
};

TEST_F(DamagedDirectoryTest, EndsInsideAName)
{
    ArchiveBytes archive = start();
    archive.tag("DAT").raw("cut");
    expectFirstEntryOnly(archive, "file ends inside a name");
}

TEST_F(DamagedDirectoryTest, EndsInsideSizeAndOffset)
{
    ArchiveBytes archive = start();
    archive.tag("DAT").name("second.txt").le32(3).raw("\x01");
    expectFirstEntryOnly(archive, "file ends inside the offset");
}

TEST_F(DamagedDirectoryTest, EndsWithoutAnEndRecord)
{
    expectFirstEntryOnly(start(), "no END record");
}

TEST_F(DamagedDirectoryTest, EndsInsideATag)
{
    ArchiveBytes archive = start();
    archive.raw("EN");
    expectFirstEntryOnly(archive, "file ends inside a tag");
}

TEST_F(DamagedDirectoryTest, StopsAtANameLongerThan255)
{
    ArchiveBytes archive = start();
    archive.record(std::string(256, 'n'), 3, 0).record("after.txt", 3, 0).end();
    expectFirstEntryOnly(archive, "256-byte name");
}

TEST_F(DamagedDirectoryTest, StopsAtAnUnknownOrMagicTag)
{
    ArchiveBytes unknown = start();
    unknown.tag("XYZ").record("after.txt", 3, 0).end();
    expectFirstEntryOnly(unknown, "unknown tag");
    ArchiveFS::shutdown();

    ArchiveBytes magic = start();
    magic.tag("VFS").record("after.txt", 3, 0).end();
    expectFirstEntryOnly(magic, "VFS tag inside the directory");
}

TEST_F(ArchiveFSTest, AcceptsANameOf255Bytes)
{
    const std::string longName = std::string(251, 'n') + ".bin";
    ASSERT_EQ(255u, longName.size());
    open(archiveOf({{longName, "long"}, {"after.bin", "next"}}));
    EXPECT_EQ("long", extractBytes(longName));
    EXPECT_EQ("next", extractBytes("after.bin"));
}

TEST_F(ArchiveFSTest, BadMagicGivesAnEmptyDirectory)
{
    ArchiveBytes archive;
    archive.raw(std::string("VFX\0", 4)).record("a.txt", 1, 0).end();
    open(archive.bytes);
    EXPECT_TRUE(ArchiveFS::entrySizes().empty()) << "records behind a bad magic were read";
}

// Sizes and offsets that the file cannot back: the extraction receives the
// bytes that exist and the next extraction is unaffected.
TEST_F(ArchiveFSTest, EntriesBeyondTheArchiveGiveOnlyTheBytesThatExist)
{
    ArchiveBytes layout;
    layout.magic()
        .record("past.end", 10, 0)
        .record("neg.size", 0xFFFFFFFFu, 0)
        .record("neg.offset", 3, 0x80000000u)
        .record("huge.size", 0x7FFFFFFFu, 0)
        .record("far.offset", 3, 0x7FFFFFF0u)
        .record("good.txt", 4, 0)
        .end();
    const uint32_t data = layout.size();
    ArchiveBytes archive;
    archive.magic()
        .record("past.end", 10, data + 4)
        .record("neg.size", 0xFFFFFFFFu, data)
        .record("neg.offset", 3, 0x80000000u)
        .record("huge.size", 0x7FFFFFFFu, data)
        .record("far.offset", 3, 0x7FFFFFF0u)
        .record("good.txt", 4, data)
        .end()
        .raw("GOODtail");
    ASSERT_EQ(data + 8, archive.size());
    open(archive.bytes);

    EXPECT_EQ("tail", extractBytes("past.end")) << "data running past the end of the file";
    EXPECT_EQ("GOOD", extractBytes("good.txt")) << "after a short read";
    EXPECT_EQ("", extractBytes("neg.size")) << "negative size";
    EXPECT_EQ("", extractBytes("neg.offset")) << "negative offset";
    EXPECT_EQ("GOOD", extractBytes("good.txt")) << "after a negative offset";
    EXPECT_EQ("GOODtail", extractBytes("huge.size")) << "a size near 2^31 in a small archive";
    EXPECT_EQ("", extractBytes("far.offset")) << "offset past the end of the file";
    EXPECT_EQ("GOOD", extractBytes("good.txt")) << "after an offset past the end";
}

// A large entry is copied in pieces: the extraction file gets every byte,
// in order, while no allocation comes near the entry's size.
TEST_F(ArchiveFSTest, LargeEntriesAreCopiedWithoutHoldingThemInMemory)
{
    const size_t entryBytes = size_t(48) << 20;
    std::string data(entryBytes, '\0');
    for (size_t i = 0; i < entryBytes; ++i)
        data[i] = char((i * 7 + i / 65521) & 0xFF);
    open(archiveOf({{"big.png", data}, {"after.txt", "END"}}));

    test::LargestAllocation probe;
    if (test::LargestAllocation::available())
        probe.start();
    const std::string path = ArchiveFS::extract("big.png");
    probe.stop();
    ASSERT_FALSE(path.empty());
    const std::string copied = readFile(path);
    ArchiveFS::removeExtracted();
    ASSERT_EQ(entryBytes, copied.size());
    EXPECT_TRUE(copied == data) << "the extraction file differs from the entry's bytes";
    EXPECT_EQ("END", extractBytes("after.txt"));
    if (test::LargestAllocation::available())
        EXPECT_LT(probe.largest(), size_t(1) << 20) << "largest allocation while copying a 48 MiB entry";
}

// An extension that would reach into a folder, or carry control characters,
// writes nothing anywhere; the caller's open of the returned path fails.
TEST_F(ArchiveFSTest, UnsafeExtensionsWriteNothing)
{
    open(archiveOf({{"safe.png", "ok"}, {"pics.old/cover", "slash"}, {"pics.old\\cover", "backslash"},
        {"line.a\nb", "newline"}, {"/abs", "whole name with a slash"}}));
    // A folder that the naive extraction path would reach into.
    std::filesystem::create_directory(dir.path("data.zuo.temp.old"));
    const std::string before = dir.listing();

    for (const char* name : {"pics.old/cover", "pics.old\\cover", "line.a\nb", "/abs"}) {
        const std::string path = ArchiveFS::extract(name);
        EXPECT_FALSE(std::filesystem::exists(path)) << "extraction of \"" << name << "\" returned " << path;
        EXPECT_TRUE(std::ifstream(path).fail()) << "the returned path opens: " << path;
        ArchiveFS::removeExtracted();
    }
    EXPECT_EQ(before, dir.listing()) << "files appeared beside the archive";
    EXPECT_TRUE(std::filesystem::is_empty(dir.path("data.zuo.temp.old"))) << "a file was written into the folder";
    EXPECT_FALSE(std::filesystem::exists(dir.path("data.zuo.temp.old/cover")));

    EXPECT_EQ("ok", extractBytes("safe.png")) << "a safe entry after the refused ones";
}

TEST_F(ArchiveFSTest, InitRefusesPathsThatAreNoRegularFile)
{
    // The FIFO has a writer (this test) holding four bytes, so that an init
    // that opened it would not block but go on and succeed, and fail here.
    const std::string fifo = dir.path("fifo.zuo");
    ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
    const int both = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(both, 0);
    ASSERT_EQ(4, ::write(both, "VFS", 4));
    EXPECT_FALSE(ArchiveFS::init(fifo)) << "a FIFO";
    ::close(both);

    EXPECT_FALSE(ArchiveFS::init("/dev/zero")) << "a device that never ends";
    EXPECT_FALSE(ArchiveFS::init("/dev/null")) << "a device that is always empty";

    const std::string socketPath = dir.path("socket.zuo");
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::strcpy(address.sun_path, socketPath.c_str());
    ASSERT_EQ(0, ::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address));
    EXPECT_FALSE(ArchiveFS::init(socketPath)) << "a socket";
    ::close(listener);
    EXPECT_FALSE(ArchiveFS::isInitialised());

    // A link to a regular file is that file.
    dir.write("real.zuo", archiveOf({{"one.txt", "1"}}));
    std::filesystem::create_symlink(dir.path("real.zuo"), dir.path("link.zuo"));
    EXPECT_TRUE(ArchiveFS::init(dir.path("link.zuo")));
    EXPECT_EQ(1u, ArchiveFS::entrySizes().count("one.txt"));
}

} // namespace
} // namespace vlo

namespace vlo {
namespace {

// Extraction files are made new: a name that something else holds (a link
// planted under it, another viewer's file) is never written through, and
// the extraction goes to the process's private folder under the same name.
TEST_F(ArchiveFSTest, TakenExtractionNamesAreLeftAloneAndTheEntryStillArrives)
{
    ScratchDir user{"archivefs-user"};
    user.write("photo.png", "the user's photo");
    std::filesystem::create_symlink(user.path("photo.png"), extractionPath(".png"));
    dir.write("data.zuo.temp.ini", "another viewer's Vellumo.ini");
    open(archiveOf({{"gui/a.png", "PNGDATA"}, {"Vellumo.ini", "[vloData] [end]"}, {"b.jpg", "JPG"}}));

    const std::string png = ArchiveFS::extract("gui/a.png");
    EXPECT_NE(extractionPath(".png"), png);
    EXPECT_EQ("data.zuo.temp.png", std::filesystem::path(png).filename().string());
    EXPECT_EQ("PNGDATA", readFile(png));
    ArchiveFS::removeExtracted();
    EXPECT_FALSE(std::filesystem::exists(png)) << "removeExtracted left " << png;

    const std::string ini = ArchiveFS::extract("Vellumo.ini");
    EXPECT_NE(extractionPath(".ini"), ini);
    EXPECT_EQ("[vloData] [end]", readFile(ini));
    ArchiveFS::removeExtracted();

    EXPECT_EQ(extractionPath(".jpg"), ArchiveFS::extract("b.jpg")) << "a free name is used beside the archive";
    ArchiveFS::removeExtracted();

    EXPECT_EQ("the user's photo", readFile(user.path("photo.png"))) << "the link was written through";
    EXPECT_TRUE(std::filesystem::is_symlink(extractionPath(".png"))) << "the planted link was removed";
    EXPECT_EQ("another viewer's Vellumo.ini", readFile(extractionPath(".ini")));
    EXPECT_EQ("data.zuo data.zuo.temp.ini data.zuo.temp.png ", dir.listing());
}

} // namespace
} // namespace vlo
