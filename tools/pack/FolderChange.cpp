#include "FolderChange.h"

#include <filesystem>

#include "Diagnostics.h"

namespace vlo::pack {

bool FolderChange::enter(const std::string& folder, std::string& error)
{
    std::error_code status;
    const std::filesystem::path here = std::filesystem::current_path(status);
    if (status) {
        error = "cannot tell the current folder: " + status.message();
        return false;
    }
    std::filesystem::current_path(std::filesystem::u8path(folder), status);
    if (status) {
        error = inQuotes(folder) + ": cannot work in it: " + status.message();
        return false;
    }
    previous = here.string();
    return true;
}

FolderChange::~FolderChange()
{
    if (!previous.empty()) {
        std::error_code ignored;
        std::filesystem::current_path(std::filesystem::u8path(previous), ignored);
    }
}

} // namespace vlo::pack
