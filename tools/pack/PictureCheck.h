#pragma once
#include <string>
#include <vector>

namespace vlo::pack {

// What the viewer makes of one picture entry.
struct PictureInfo {
    bool decoded = false;
    int width = 0;
    int height = 0;
    int bits = 0;
    // The decoder's name ("Portable Network Graphics").
    std::string format;
    // Why the viewer cannot show it; empty when it decodes.
    std::string failure;
    // How it will look different from what other viewers show.
    std::vector<std::string> warnings;
};

// Decodes an entry's bytes exactly as the viewer does: written to an
// extraction file named as the viewer names it ("data.zuo.temp" and the
// entry's extension) inside scratchFolder, then read by the viewer's own
// decoder registry. The file is removed again.
PictureInfo inspectPicture(const std::string& entryName, const std::string& bytes, const std::string& scratchFolder);

} // namespace vlo::pack
