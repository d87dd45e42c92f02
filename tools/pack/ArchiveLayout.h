#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vlo::pack {

// One file to pack: its entry name, where its bytes come from, how many there
// are and (once placed) where they go in the archive.
struct PackEntry {
    std::string name;
    std::string source;
    uint64_t size = 0;
    uint64_t offset = 0;
};

// The fixed layout of a packed archive: magic, one DAT record per entry in
// name order, END, then the entries' data in the same order. The same files
// always give the same bytes.
class ArchiveLayout {
public:
    // Adds a file; refuses a name the directory cannot hold (longer than 255
    // bytes or holding a zero byte), naming the file in error.
    bool add(const std::string& name, const std::string& source, uint64_t size, std::string& error);
    // Sorts the entries by name (byte order) and gives each its offset;
    // refuses a size or offset that does not stay below 2^31.
    bool place(std::string& error);
    // Magic, records and END, for the placed entries.
    std::string directoryBytes() const;
    // Length of the directory part: where the first entry's data starts.
    uint64_t directorySize() const;

    const std::vector<PackEntry>& entries() const { return list; }

private:
    std::vector<PackEntry> list;
};

} // namespace vlo::pack
