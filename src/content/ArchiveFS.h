#pragma once
#include <cstdint>
#include <map>
#include <string>

namespace vlo {

// The content archive ("data.zuo"): a directory of named entries over raw
// bytes. Process-wide state with free operations. extract() copies one entry
// to an extraction file beside the archive (or, when that folder cannot take
// a new file, under the same name in the process's private folder) and
// returns its path; the caller reads it and calls removeExtracted() before
// the next extract(). An entry that cannot be written out whole (a full disk)
// leaves no file and gives an empty path, which no reader opens.
namespace ArchiveFS {

bool init(const std::string& name);
std::string extract(std::string name);
void removeExtracted();
void shutdown();

bool isInitialised();
// The directory as read: offset and size of each entry (later records win).
const std::map<std::string, int32_t>& entryOffsets();
const std::map<std::string, int32_t>& entrySizes();

} // namespace ArchiveFS
} // namespace vlo
