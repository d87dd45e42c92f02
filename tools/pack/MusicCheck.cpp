#include "MusicCheck.h"

#include <filesystem>

#include "Diagnostics.h"
#include "audio/MusicFiles.h"

namespace vlo::pack {

std::string MusicCheck::problemWith(const std::string& showFolder, const std::string& path) const
{
    if (path.empty())
        return "the path is empty";
    const std::filesystem::path full = std::filesystem::u8path(showFolder) / std::filesystem::u8path(path);
    // Asks by name only: a FIFO or a device is never opened.
    std::error_code status;
    if (!std::filesystem::exists(full, status))
        return "there is no such file (looked for " + inQuotes(full.string()) + ")";
    const std::string problem = musicFileProblem(full.string());
    // A folder, a device, a FIFO or a socket is named as what it is.
    if (problem.empty() || !std::filesystem::is_regular_file(full, status))
        return problem;
    return "the audio back end cannot open it: " + problem;
}

} // namespace vlo::pack
