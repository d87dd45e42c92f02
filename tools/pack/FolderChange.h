#pragma once
#include <string>

namespace vlo::pack {

// Makes a folder the process's working folder for the object's life and
// returns to the caller's folder afterwards.
class FolderChange {
public:
    FolderChange() = default;
    ~FolderChange();
    FolderChange(const FolderChange&) = delete;
    FolderChange& operator=(const FolderChange&) = delete;

    // On failure fills error and stays where it was.
    bool enter(const std::string& folder, std::string& error);

private:
    std::string previous;
};

} // namespace vlo::pack
