#include "ArchiveReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include "Diagnostics.h"

namespace vlo::pack {

namespace {

// What a path that exists but is no regular file is, in words; empty for a
// regular file (links followed) and for a path that does not exist.
std::string nonRegularKind(const std::string& path)
{
    std::error_code status;
    switch (std::filesystem::status(std::filesystem::u8path(path), status).type()) {
    case std::filesystem::file_type::directory:
        return "a folder";
    case std::filesystem::file_type::fifo:
        return "a FIFO (named pipe)";
    case std::filesystem::file_type::character:
        return "a character device";
    case std::filesystem::file_type::block:
        return "a block device";
    case std::filesystem::file_type::socket:
        return "a socket";
    case std::filesystem::file_type::unknown:
        return "not a regular file";
    default:
        return std::string();
    }
}

} // namespace

bool ArchiveReader::open(const std::string& path, std::string& error)
{
    archivePath = path;
    // Only a regular file is opened: a FIFO without a writer would block the
    // open for good and a device such as /dev/zero never ends.
    const std::string kind = nonRegularKind(path);
    if (!kind.empty()) {
        error = inQuotes(path) + ": is " + kind + ", not an archive";
        return false;
    }
    in.open(std::filesystem::u8path(path), std::ios::in | std::ios::binary);
    if (!in.is_open()) {
        error = inQuotes(path) + ": cannot open: " + std::strerror(errno);
        return false;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff end = in.tellg();
    size = end > 0 ? int64_t(end) : 0;
    in.seekg(0, std::ios::beg);
    dir = ArchiveDirectory::read(in);
    in.clear();
    return true;
}

const ArchiveRecord* ArchiveReader::find(const std::string& name) const
{
    const auto& records = dir.records;
    const auto found = std::find_if(
        records.rbegin(), records.rend(), [&name](const ArchiveRecord& record) { return record.name == name; });
    return found == records.rend() ? nullptr : &*found;
}

std::string ArchiveReader::dataProblem(const ArchiveRecord& record) const
{
    const std::string where
        = "entry " + inQuotes(record.name) + " (record at byte " + std::to_string(record.position) + ")";
    if (record.size < 0)
        return where + ": negative size " + std::to_string(record.size);
    if (record.offset < 0)
        return where + ": negative offset " + std::to_string(record.offset);
    if (!record.dataFits(size)) {
        return where + ": data at offset " + std::to_string(record.offset) + " with size " + std::to_string(record.size)
            + " ends at byte " + std::to_string(int64_t(record.offset) + record.size) + ", past the end of the file ("
            + std::to_string(size) + " bytes)";
    }
    return std::string();
}

bool ArchiveReader::copyEntry(const ArchiveRecord& record, std::FILE* out, std::string& error)
{
    const std::string problem = dataProblem(record);
    if (!problem.empty()) {
        error = inQuotes(archivePath) + ": " + problem;
        return false;
    }
    in.clear();
    in.seekg(record.offset, std::ios::beg);
    std::vector<char> chunk(std::size_t(1) << 20);
    int64_t left = record.size;
    while (left > 0) {
        const std::streamsize want = std::streamsize(std::min<int64_t>(left, int64_t(chunk.size())));
        in.read(chunk.data(), want);
        const std::streamsize got = in.gcount();
        if (got != want) {
            error = inQuotes(archivePath) + ": read of entry " + inQuotes(record.name) + " stopped at byte "
                + std::to_string(record.offset + (record.size - left) + got);
            return false;
        }
        if (std::fwrite(chunk.data(), 1, std::size_t(got), out) != std::size_t(got)) {
            error = "cannot write entry " + inQuotes(record.name) + ": " + std::strerror(errno);
            return false;
        }
        left -= got;
    }
    return true;
}

} // namespace vlo::pack
