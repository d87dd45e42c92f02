#include "ShowArchive.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace vlo::pack {

namespace {

std::string lowerCase(std::string text)
{
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

bool ShowArchive::open(const std::string& path, std::string& error)
{
    if (!archive.open(path, error))
        return false;
    data.open(std::filesystem::u8path(path), std::ios::in | std::ios::binary);
    return true;
}

std::string ShowArchive::bytesOf(const ArchiveRecord& record)
{
    const int64_t size = archive.fileSize();
    if (record.offset < 0 || record.size <= 0 || record.offset >= size)
        return std::string();
    const int64_t count = std::min<int64_t>(record.size, size - record.offset);
    std::string bytes(size_t(count), '\0');
    data.clear();
    data.seekg(record.offset, std::ios::beg);
    data.read(&bytes[0], std::streamsize(count));
    bytes.resize(size_t(data.gcount()));
    return bytes;
}

std::string ShowArchive::nameDifferingInCase(const std::string& name) const
{
    const std::string wanted = lowerCase(name);
    for (const ArchiveRecord& record : archive.directory().records) {
        if (record.name != name && lowerCase(record.name) == wanted)
            return record.name;
    }
    return std::string();
}

std::vector<std::string> ShowArchive::unusedNames() const
{
    std::vector<std::string> names;
    for (const ArchiveRecord& record : archive.directory().records) {
        if (used.count(record.name) == 0 && std::find(names.begin(), names.end(), record.name) == names.end())
            names.push_back(record.name);
    }
    return names;
}

} // namespace vlo::pack
