#pragma once
#include <cstdio>
#include <fstream>
#include <string>

#include "content/ArchiveDirectory.h"

namespace vlo::pack {

// An archive opened for listing and extracting: its directory, read once,
// and its length, against which every entry's data is checked.
class ArchiveReader {
public:
    // Opens the archive and reads its directory; fails (filling error) only
    // when the file cannot be read at all. A damaged directory still opens:
    // see directory().complete().
    bool open(const std::string& path, std::string& error);

    const ArchiveDirectory& directory() const { return dir; }
    int64_t fileSize() const { return size; }
    // The record that counts for a name: the last one that carries it.
    const ArchiveRecord* find(const std::string& name) const;
    // Copies an entry's bytes, which must lie inside the file, to out.
    bool copyEntry(const ArchiveRecord& record, std::FILE* out, std::string& error);
    // One line on why the entry's data is not in the file; empty when it is.
    std::string dataProblem(const ArchiveRecord& record) const;

private:
    std::string archivePath;
    std::ifstream in;
    int64_t size = 0;
    ArchiveDirectory dir;
};

} // namespace vlo::pack
