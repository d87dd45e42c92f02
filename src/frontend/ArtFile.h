#pragma once
#include <string>

namespace vlo {

// The current track's picture as a PNG file for the desktop's media controls,
// in a private folder of the user's runtime folder ($XDG_RUNTIME_DIR, or a
// private temporary folder without one), never beside the show. Each picture
// gets a new name, so a desktop that caches by name shows the new one; the
// folder and its file go when the object does.
class ArtFile {
public:
    ArtFile() = default;
    ~ArtFile();
    ArtFile(const ArtFile&) = delete;
    ArtFile& operator=(const ArtFile&) = delete;

    // Decodes the archive entry `picture` and writes it; returns the file's
    // file:// URL, or empty (and no file) when it cannot be read or written.
    std::string write(const std::string& picture);

private:
    bool makeFolder();
    void removeFile();

    std::string folder;
    std::string file;
    unsigned int written = 0;
};

} // namespace vlo
