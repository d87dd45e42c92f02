#pragma once
#include <string>

namespace vlo::pack {

// A private folder under the system's temporary folder, removed with what
// it holds when the object goes.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Empty when the folder could not be made.
    const std::string& path() const { return folder; }

private:
    std::string folder;
};

} // namespace vlo::pack
