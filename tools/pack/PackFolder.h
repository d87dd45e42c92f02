#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace vlo::pack {

struct PackedFolder {
    std::size_t files = 0;
    uint64_t bytes = 0;
};

// Packs every regular file under folder into the archive, as
// `vellumo-pack create ARCHIVE FOLDER` does (its checks of the two paths
// aside): entries named by their paths relative to folder, in name order,
// the archive replaced only once complete. Fills error with one line on
// failure.
bool packFolder(const std::string& archive, const std::string& folder, PackedFolder& packed, std::string& error);

} // namespace vlo::pack
