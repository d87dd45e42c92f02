#include "ScratchFolder.h"

#include <filesystem>
#include <vector>

#include <stdlib.h>

namespace vlo::pack {

ScratchFolder::ScratchFolder()
{
    std::error_code status;
    const std::string pattern = (std::filesystem::temp_directory_path(status) / "vellumo-pack-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!status && mkdtemp(name.data()) != nullptr)
        folder = name.data();
}

ScratchFolder::~ScratchFolder()
{
    if (!folder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
}

} // namespace vlo::pack
