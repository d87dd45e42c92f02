// vellumo-pack create ARCHIVE DIR: packs every regular file under DIR, named
// by its path relative to DIR with "/" between folders.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "ArchiveLayout.h"
#include "Commands.h"
#include "Diagnostics.h"
#include "OutputFile.h"
#include "PackFolder.h"

namespace fs = std::filesystem;

namespace vlo::pack {

namespace {

// Whether path lies inside folder (both absolute and free of "." and "..").
bool isInside(const fs::path& path, const fs::path& folder)
{
    auto p = path.begin();
    for (auto f = folder.begin(); f != folder.end(); ++f, ++p) {
        if (f->empty())
            continue; // the trailing "" of a folder path that ends in "/"
        if (p == path.end() || *p != *f)
            return false;
    }
    return true;
}

// Collects the regular files under folder, named relative to root (symbolic
// links to files count as the files they point at; linked folders are not
// entered). Each folder is listed on its own, so that a failure names the
// very folder or file that could not be read.
bool collect(const fs::path& root, const fs::path& folder, ArchiveLayout& layout, std::string& error)
{
    std::error_code status;
    fs::directory_iterator walk(folder, status);
    for (; !status && walk != fs::directory_iterator(); walk.increment(status)) {
        const fs::directory_entry& entry = *walk;
        const std::string source = entry.path().string();
        std::error_code typeStatus;
        const bool isFolder = entry.is_directory(typeStatus);
        if (!typeStatus && isFolder && !entry.is_symlink(typeStatus)) {
            if (!collect(root, entry.path(), layout, error))
                return false;
            continue;
        }
        const bool isFile = !typeStatus && entry.is_regular_file(typeStatus);
        if (typeStatus) {
            error = inQuotes(source) + ": cannot read: " + typeStatus.message();
            return false;
        }
        if (!isFile)
            continue;
        const uint64_t size = entry.file_size(typeStatus);
        if (typeStatus) {
            error = inQuotes(source) + ": cannot read its size: " + typeStatus.message();
            return false;
        }
        if (!layout.add(entry.path().lexically_relative(root).generic_string(), source, size, error))
            return false;
    }
    if (status) {
        error = inQuotes(folder.string()) + ": cannot list the folder: " + status.message();
        return false;
    }
    return true;
}

// Appends one file's bytes; the file must still hold the size it had when the
// layout was made, or the offsets after it would be wrong.
bool appendFile(const PackEntry& entry, std::FILE* out, std::vector<char>& chunk, std::string& error)
{
    std::ifstream in(fs::u8path(entry.source), std::ios::in | std::ios::binary);
    if (!in.is_open()) {
        error = inQuotes(entry.source) + ": cannot open: " + std::strerror(errno);
        return false;
    }
    uint64_t copied = 0;
    bool grew = false;
    for (;;) {
        in.read(chunk.data(), std::streamsize(chunk.size()));
        const std::size_t got = std::size_t(in.gcount());
        if (got == 0)
            break;
        if (got > entry.size - copied) {
            grew = true;
            break;
        }
        if (std::fwrite(chunk.data(), 1, got, out) != got) {
            error = "cannot write the archive: " + std::string(std::strerror(errno));
            return false;
        }
        copied += got;
    }
    if (in.bad() || grew || copied != entry.size) {
        error = inQuotes(entry.source) + ": changed while packing (expected " + std::to_string(entry.size) + " bytes)";
        return false;
    }
    return true;
}

} // namespace

bool packFolder(const std::string& archive, const std::string& folder, PackedFolder& packed, std::string& error)
{
    ArchiveLayout layout;
    const fs::path root = fs::u8path(folder);
    if (!collect(root, root, layout, error) || !layout.place(error))
        return false;

    OutputFile file;
    if (!file.open(archive, error))
        return false;
    const std::string directory = layout.directoryBytes();
    if (std::fwrite(directory.data(), 1, directory.size(), file.stream()) != directory.size()) {
        error = "cannot write " + inQuotes(archive) + ": " + std::strerror(errno);
        return false;
    }
    std::vector<char> chunk(std::size_t(1) << 20);
    uint64_t total = 0;
    for (const PackEntry& entry : layout.entries()) {
        if (!appendFile(entry, file.stream(), chunk, error))
            return false;
        total += entry.size;
    }
    if (!file.commit(error))
        return false;
    packed.files = layout.entries().size();
    packed.bytes = total;
    return true;
}

int runCreate(const Arguments& arguments)
{
    if (arguments.size() != 2)
        return reportUsage("create: expected ARCHIVE DIR, got " + std::to_string(arguments.size()) + " arguments");
    const std::string& archive = arguments[0];
    const std::string& folder = arguments[1];
    const fs::path archivePath = fs::u8path(archive);
    const fs::path folderPath = fs::u8path(folder);

    std::error_code status;
    if (!fs::exists(folderPath, status))
        return reportError("create: " + inQuotes(folder) + ": no such folder");
    if (!fs::is_directory(folderPath, status))
        return reportError("create: " + inQuotes(folder) + ": not a folder");
    if (fs::is_directory(archivePath, status))
        return reportError("create: " + inQuotes(archive) + ": is a folder, not an archive file");
    // Only a file can lie inside the folder; a pipe or a device (such as
    // /dev/stdout) is written as it is.
    const fs::file_status archiveType = fs::status(archivePath, status);
    if (status || !fs::exists(archiveType) || fs::is_regular_file(archiveType)) {
        const fs::path canonicalFolder = fs::canonical(folderPath, status);
        const fs::path canonicalArchive = fs::weakly_canonical(fs::absolute(archivePath), status);
        if (status)
            return reportError("create: " + inQuotes(archive) + ": cannot resolve the path: " + status.message());
        if (isInside(canonicalArchive, canonicalFolder))
            return reportError("create: " + inQuotes(archive) + ": lies inside " + inQuotes(folder)
                + ", the folder being packed; put the archive elsewhere");
    }

    PackedFolder packed;
    std::string error;
    if (!packFolder(archive, folder, packed, error))
        return reportError("create: " + error);
    std::printf("packed %zu files (%llu bytes) into %s\n", packed.files, static_cast<unsigned long long>(packed.bytes),
        archive.c_str());
    return kExitSuccess;
}

} // namespace vlo::pack
