#pragma once
#include <string>
#include <vector>

#include "AlbumTrack.h"

namespace vlo::pack {

// What an album folder holds, as `vellumo-pack new` uses it.
struct Album {
    // The playable files in show order: by disc number (none counts as the
    // first disc), then track number, then file name; files without a track
    // number come last, by file name.
    std::vector<AlbumTrack> tracks;
    // Files the viewer cannot play (the cover file excepted), by name.
    std::vector<std::string> skipped;
    // The bytes of the folder's cover file ("cover", "folder" or "front",
    // .jpg, .jpeg or .png, any letter case), empty when there is none.
    std::string coverFile;
    std::string coverFileName;
};

// Reads the folder's top level (sub-folders are not entered). Tags and
// embedded pictures are read with TagLib; whether a file plays is asked of
// the viewer's own audio back end. Fills error only when the folder cannot
// be listed.
bool readAlbum(const std::string& folder, Album& album, std::string& error);

// A title made from a file name: the extension, a leading track number and
// the separators after it dropped, underscores read as spaces.
std::string titleFromFileName(const std::string& fileName);

} // namespace vlo::pack
