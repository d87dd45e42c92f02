#pragma once
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace vlo {

// Layout of the content archive, all integers little-endian:
//   magic "VFS\0" at byte 0, then the directory from byte 4: records that
//   start with a 4-byte tag. "DAT\0" is followed by the entry name (at most
//   255 bytes and a zero byte), its 32-bit size and its 32-bit absolute offset;
//   "END\0" ends the directory. Entry data lies anywhere at those offsets.
constexpr char kArchiveMagic[] = "VFS";
constexpr std::size_t kArchiveTagSize = 4;
constexpr std::size_t kMaxArchiveNameLength = 255;

// The codes a tag's text (its bytes up to the first zero byte) stands for.
enum class ArchiveTag { Invalid = 0, Data = 1, End = 2, Magic = 3 };

ArchiveTag archiveTagFromText(const std::string& text);

// One "DAT" record as it stands in the directory.
struct ArchiveRecord {
    std::string name;
    int32_t size = 0;
    int32_t offset = 0;
    // Byte position of the record's tag in the archive file.
    int64_t position = 0;

    // Whether the entry's bytes lie wholly inside a file of fileSize bytes.
    bool dataFits(int64_t fileSize) const;
};

// Why the directory read ended.
enum class DirectoryStatus {
    Complete,        // the END record was reached
    ShortMagic,      // the file holds fewer than 4 bytes
    BadMagic,        // the first 4 bytes are not "VFS\0"
    MissingEnd,      // the file ends where a tag should start, or inside one
    UnknownTag,      // a tag text that is neither DAT nor END
    MisplacedMagic,  // the tag VFS inside the directory
    NameCutShort,    // the file ends inside a name, before its zero byte
    NameTooLong,     // a name runs past 255 bytes without its zero byte
    NumbersCutShort, // the file ends inside a record's size or offset
};

// The directory of one archive, read once from the start of a stream. Reading
// stops at the first record that cannot be read completely; the records before
// it are kept, so a damaged archive still yields what it holds.
class ArchiveDirectory {
public:
    // Reads from the stream's start. The stream may be left failed or at its
    // end; callers that go on reading clear it.
    static ArchiveDirectory read(std::istream& in);

    bool complete() const { return status == DirectoryStatus::Complete; }
    // One line on where and why reading stopped ("unknown tag "XYZ" at byte
    // 26"); "complete" for a directory that ended at its END record.
    std::string describe() const;

    std::vector<ArchiveRecord> records;
    DirectoryStatus status = DirectoryStatus::ShortMagic;
    // Byte position where reading stopped: the end of the file for a record
    // cut short, else the start of the offending tag or name byte.
    int64_t stopOffset = 0;
    // Byte position of the tag (or magic) of the record that could not be read.
    int64_t recordOffset = 0;
    // The offending text of a bad magic or an unknown tag.
    std::string badText;
};

} // namespace vlo
