#include "content/ArchiveDirectory.h"

#include <map>

namespace vlo {

namespace {

// Text of a fixed-size field: its bytes up to the first zero byte.
std::string textUpToZero(const char* bytes, std::size_t count)
{
    std::size_t length = 0;
    while (length < count && bytes[length] != '\0')
        ++length;
    return std::string(bytes, length);
}

// Little-endian 32-bit value; the archive stores sizes and offsets this way
// whatever the machine's byte order.
int32_t littleEndian32(const unsigned char* bytes)
{
    const uint32_t value
        = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
    return static_cast<int32_t>(value);
}

// Reads up to count bytes; returns how many arrived.
std::size_t readBytes(std::istream& in, char* into, std::size_t count)
{
    in.read(into, static_cast<std::streamsize>(count));
    return static_cast<std::size_t>(in.gcount());
}

// Shows a raw tag or magic as readable text, non-printable bytes as \xNN.
std::string printable(const std::string& text)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
            out += char(c);
        } else {
            out += "\\x";
            out += digits[c >> 4];
            out += digits[c & 15];
        }
    }
    return out;
}

} // namespace

ArchiveTag archiveTagFromText(const std::string& text)
{
    static const std::map<std::string, ArchiveTag> codes
        = {{"VFS", ArchiveTag::Magic}, {"DAT", ArchiveTag::Data}, {"END", ArchiveTag::End}};
    const auto found = codes.find(text);
    return found == codes.end() ? ArchiveTag::Invalid : found->second;
}

bool ArchiveRecord::dataFits(int64_t fileSize) const
{
    return offset >= 0 && size >= 0 && int64_t(offset) + int64_t(size) <= fileSize;
}

ArchiveDirectory ArchiveDirectory::read(std::istream& in)
{
    ArchiveDirectory directory;
    // Bytes consumed so far; counted here because tellg() says nothing once
    // the stream has failed at the end of a short file.
    int64_t position = 0;

    char field[kArchiveTagSize];
    const std::size_t magicBytes = readBytes(in, field, kArchiveTagSize);
    if (magicBytes < kArchiveTagSize) {
        directory.status = DirectoryStatus::ShortMagic;
        directory.stopOffset = int64_t(magicBytes);
        return directory;
    }
    if (textUpToZero(field, kArchiveTagSize) != kArchiveMagic) {
        directory.status = DirectoryStatus::BadMagic;
        directory.badText = std::string(field, kArchiveTagSize);
        return directory;
    }
    position = kArchiveTagSize;

    for (;;) {
        const int64_t tagPosition = position;
        directory.recordOffset = tagPosition;
        const std::size_t tagBytes = readBytes(in, field, kArchiveTagSize);
        if (tagBytes < kArchiveTagSize) {
            directory.status = DirectoryStatus::MissingEnd;
            directory.stopOffset = position + int64_t(tagBytes);
            return directory;
        }
        const std::string tagText = textUpToZero(field, kArchiveTagSize);
        switch (archiveTagFromText(tagText)) {
        case ArchiveTag::End:
            directory.status = DirectoryStatus::Complete;
            directory.stopOffset = tagPosition + int64_t(kArchiveTagSize);
            return directory;
        case ArchiveTag::Magic:
            directory.status = DirectoryStatus::MisplacedMagic;
            directory.stopOffset = tagPosition;
            return directory;
        case ArchiveTag::Invalid:
            directory.status = DirectoryStatus::UnknownTag;
            directory.stopOffset = tagPosition;
            directory.badText = std::string(field, kArchiveTagSize);
            return directory;
        case ArchiveTag::Data:
            break;
        }
        position += int64_t(kArchiveTagSize);

        // The name ends at its zero byte; a name that has not ended after 255
        // bytes is refused before it can grow without bound.
        ArchiveRecord record;
        record.position = tagPosition;
        bool nameEnded = false;
        char c = 0;
        while (in.get(c)) {
            ++position;
            if (c == '\0') {
                nameEnded = true;
                break;
            }
            if (record.name.size() == kMaxArchiveNameLength) {
                directory.status = DirectoryStatus::NameTooLong;
                directory.stopOffset = position - 1;
                return directory;
            }
            record.name += c;
        }
        if (!nameEnded) {
            directory.status = DirectoryStatus::NameCutShort;
            directory.stopOffset = position;
            return directory;
        }

        unsigned char numbers[8];
        const std::size_t numberBytes = readBytes(in, reinterpret_cast<char*>(numbers), sizeof numbers);
        if (numberBytes < sizeof numbers) {
            directory.status = DirectoryStatus::NumbersCutShort;
            directory.stopOffset = position + int64_t(numberBytes);
            directory.badText = record.name;
            return directory;
        }
        position += int64_t(sizeof numbers);
        record.size = littleEndian32(numbers);
        record.offset = littleEndian32(numbers + 4);
        directory.records.push_back(std::move(record));
    }
}

std::string ArchiveDirectory::describe() const
{
    const std::string at = std::to_string(stopOffset);
    const std::string record = std::to_string(recordOffset);
    switch (status) {
    case DirectoryStatus::Complete:
        return "complete";
    case DirectoryStatus::ShortMagic:
        return "file too short for the magic: " + at + " bytes, need 4";
    case DirectoryStatus::BadMagic:
        return "bad magic \"" + printable(badText) + "\" at byte 0, expected \"VFS\\x00\"";
    case DirectoryStatus::MissingEnd:
        if (stopOffset == recordOffset)
            return "directory cut short: file ends at byte " + at + " where a record should start, no END record";
        return "directory cut short: file ends at byte " + at + " inside the tag at byte " + record + ", no END record";
    case DirectoryStatus::UnknownTag:
        return "unknown tag \"" + printable(badText) + "\" at byte " + at;
    case DirectoryStatus::MisplacedMagic:
        return "tag \"VFS\" inside the directory at byte " + at;
    case DirectoryStatus::NameCutShort:
        return "directory cut short: file ends at byte " + at + " inside the name of the DAT record at byte " + record;
    case DirectoryStatus::NameTooLong:
        return "name longer than 255 bytes in the DAT record at byte " + record + " (reading stopped at byte " + at
            + ")";
    case DirectoryStatus::NumbersCutShort:
        return "directory cut short: file ends at byte " + at + " inside the size and offset of the DAT record \""
            + printable(badText) + "\" at byte " + record;
    }
    return "unknown directory status";
}

} // namespace vlo
