#pragma once
// Builds content archives byte by byte for tests: magic "VFS\0", records of a
// 4-byte tag ("DAT\0": name, zero byte, 32-bit size, 32-bit offset; "END\0"),
// then entry data, all integers little-endian.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vlo::test {

class ArchiveBytes {
public:
    ArchiveBytes& magic() { return raw(std::string("VFS\0", 4)); }
    // A 4-byte tag: the text padded with zero bytes (or cut) to 4 bytes.
    ArchiveBytes& tag(const std::string& text)
    {
        std::string field = text.substr(0, 4);
        field.resize(4, '\0');
        return raw(field);
    }
    ArchiveBytes& name(const std::string& text) { return raw(text + std::string(1, '\0')); }
    ArchiveBytes& le32(uint32_t value)
    {
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(char((value >> shift) & 0xFF));
        return *this;
    }
    ArchiveBytes& record(const std::string& entryName, uint32_t size, uint32_t offset)
    {
        return tag("DAT").name(entryName).le32(size).le32(offset);
    }
    ArchiveBytes& end() { return tag("END"); }
    ArchiveBytes& raw(const std::string& data)
    {
        bytes += data;
        return *this;
    }
    uint32_t size() const { return uint32_t(bytes.size()); }

    std::string bytes;
};

// A well-formed archive: magic, one DAT record per entry in the given order,
// END, then each entry's data in the same order.
inline std::string archiveOf(const std::vector<std::pair<std::string, std::string>>& entries)
{
    uint32_t directorySize = 4 + 4;
    for (const auto& entry : entries)
        directorySize += 4 + uint32_t(entry.first.size()) + 1 + 8;
    ArchiveBytes archive;
    archive.magic();
    uint32_t offset = directorySize;
    for (const auto& entry : entries) {
        archive.record(entry.first, uint32_t(entry.second.size()), offset);
        offset += uint32_t(entry.second.size());
    }
    archive.end();
    for (const auto& entry : entries)
        archive.raw(entry.second);
    return archive.bytes;
}

} // namespace vlo::test
