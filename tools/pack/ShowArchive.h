#pragma once
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "ArchiveReader.h"

namespace vlo::pack {

// A show's archive as the viewer sees it: the directory (later records win),
// the bytes each entry extracts to, and which entries the show uses.
class ShowArchive {
public:
    // Opens the archive; fills error only when it cannot be read at all.
    bool open(const std::string& path, std::string& error);

    const ArchiveReader& reader() const { return archive; }
    // The record that counts for a name, or null.
    const ArchiveRecord* find(const std::string& name) const { return archive.find(name); }
    // The bytes the viewer's extraction writes for an entry: those of its
    // data that the file holds (all of them in a sound archive).
    std::string bytesOf(const ArchiveRecord& record);
    // An entry whose name differs from name only in letter case; empty when
    // there is none.
    std::string nameDifferingInCase(const std::string& name) const;

    void markUsed(const std::string& name) { used.insert(name); }
    // The names the directory holds that nothing marked as used, in
    // directory order, each once.
    std::vector<std::string> unusedNames() const;

private:
    ArchiveReader archive;
    std::ifstream data;
    std::set<std::string> used;
};

} // namespace vlo::pack
