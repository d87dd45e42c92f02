#include "ArchiveLayout.h"

#include <algorithm>

#include "Diagnostics.h"
#include "content/ArchiveDirectory.h"

namespace vlo::pack {

namespace {

// Sizes and offsets are read back as signed 32-bit numbers.
constexpr uint64_t kLimit = uint64_t(1) << 31;

void appendLittleEndian32(std::string& bytes, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes += char((value >> shift) & 0xFF);
}

void appendTag(std::string& bytes, const char* text)
{
    std::string field(text);
    field.resize(kArchiveTagSize, '\0');
    bytes += field;
}

} // namespace

bool ArchiveLayout::add(const std::string& name, const std::string& source, uint64_t size, std::string& error)
{
    if (name.size() > kMaxArchiveNameLength) {
        error = inQuotes(source) + ": entry name is " + std::to_string(name.size())
            + " bytes long, an archive name holds at most 255";
        return false;
    }
    if (name.find('\0') != std::string::npos) {
        error = inQuotes(source) + ": entry name contains a zero byte";
        return false;
    }
    list.push_back(PackEntry{name, source, size, 0});
    return true;
}

bool ArchiveLayout::place(std::string& error)
{
    std::sort(list.begin(), list.end(), [](const PackEntry& a, const PackEntry& b) { return a.name < b.name; });
    uint64_t offset = directorySize();
    for (PackEntry& entry : list) {
        if (entry.size >= kLimit) {
            error = inQuotes(entry.source) + ": size " + std::to_string(entry.size)
                + " bytes, an entry holds at most 2147483647";
            return false;
        }
        if (offset >= kLimit) {
            error = inQuotes(entry.source) + ": would start at byte " + std::to_string(offset)
                + ", entries must start below byte 2147483648";
            return false;
        }
        entry.offset = offset;
        offset += entry.size;
    }
    return true;
}

uint64_t ArchiveLayout::directorySize() const
{
    uint64_t size = kArchiveTagSize * 2;
    for (const PackEntry& entry : list)
        size += kArchiveTagSize + entry.name.size() + 1 + 8;
    return size;
}

std::string ArchiveLayout::directoryBytes() const
{
    std::string bytes;
    bytes.reserve(std::size_t(directorySize()));
    appendTag(bytes, kArchiveMagic);
    for (const PackEntry& entry : list) {
        appendTag(bytes, "DAT");
        bytes += entry.name;
        bytes += '\0';
        appendLittleEndian32(bytes, uint32_t(entry.size));
        appendLittleEndian32(bytes, uint32_t(entry.offset));
    }
    appendTag(bytes, "END");
    return bytes;
}

} // namespace vlo::pack
