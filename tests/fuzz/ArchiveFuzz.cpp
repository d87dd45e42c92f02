// Fuzz target: the archive directory reader and ArchiveFS extraction. Every
// entry the directory yields is extracted and compared with the bytes the
// input holds at its offset, so a wrong copy is caught, not only a crash.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>

#include "FuzzFolder.h"
#include "content/ArchiveDirectory.h"
#include "content/ArchiveFS.h"
#include "content/ExtractionName.h"

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void checkDirectory(const std::string& bytes, const vlo::ArchiveDirectory& directory)
{
    check(directory.stopOffset >= 0 && directory.stopOffset <= int64_t(bytes.size()));
    check(directory.recordOffset >= 0 && directory.recordOffset <= directory.stopOffset);
    check(!directory.describe().empty());
    for (const vlo::ArchiveRecord& record : directory.records) {
        check(record.name.size() <= vlo::kMaxArchiveNameLength);
        check(record.name.find('\0') == std::string::npos);
        check(record.position >= 4 && record.position < int64_t(bytes.size()));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    std::istringstream memory(bytes);
    const vlo::ArchiveDirectory directory = vlo::ArchiveDirectory::read(memory);
    checkDirectory(bytes, directory);
    std::map<std::string, vlo::ArchiveRecord> latest;
    for (const vlo::ArchiveRecord& record : directory.records)
        latest[record.name] = record;

    const std::string archivePath = (fuzzFolder("vlo-archive-fuzz") / "a.zuo").string();
    {
        std::ofstream out(archivePath, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
    }
    check(vlo::ArchiveFS::init(archivePath));
    check(vlo::ArchiveFS::entrySizes().size() == latest.size());

    int extracted = 0;
    for (const auto& [name, record] : latest) {
        if (++extracted > 64)
            break;
        check(vlo::ArchiveFS::entrySizes().at(name) == record.size);
        check(vlo::ArchiveFS::entryOffsets().at(name) == record.offset);
        const std::string path = vlo::ArchiveFS::extract(name);
        const std::string extension = vlo::extractionExtension(name);
        if (!vlo::isSafeExtractionSuffix(extension)) {
            check(path.empty());
            continue;
        }
        // A suffix too long for a file name cannot be created: nothing is
        // written then, and the path is empty.
        if (path.empty()) {
            check(std::string("a.zuo.temp").size() + extension.size() > 255);
            continue;
        }
        check(path == archivePath + ".temp" + extension);
        std::string expected;
        const int64_t offset = record.offset;
        if (offset >= 0 && record.size > 0 && offset < int64_t(bytes.size()))
            expected = bytes.substr(std::size_t(offset), std::size_t(record.size));
        check(readAll(path) == expected);
        vlo::ArchiveFS::removeExtracted();
        check(!std::filesystem::exists(path));
    }
    // A name the directory does not hold gives an empty file.
    const std::string missing = "no such entry.tmp";
    if (latest.count(missing) == 0) {
        const std::string path = vlo::ArchiveFS::extract(missing);
        check(std::filesystem::exists(path) && readAll(path).empty());
        vlo::ArchiveFS::removeExtracted();
    }
    vlo::ArchiveFS::shutdown();
    return 0;
}
