#pragma once
#include <functional>
#include <string>
#include <vector>

#include "AlbumReader.h"

namespace vlo::pack {

// What the author may set on the command line of `vellumo-pack new`.
struct DraftOptions {
    // Override the album's and the artist's names the tags give.
    std::string title;
    std::string artist;
    // A font file or fontconfig pattern for the lettering; empty for a bold
    // sans-serif.
    std::string font;
};

// A show made from an album, still in memory: the files of its source
// folder (Vellumo.ini and every picture, by archive entry name) and the
// music files to copy (from the album, to a path relative to the show).
struct ShowDraft {
    struct File {
        std::string entry;
        std::string bytes;
    };
    struct Copy {
        std::string from;
        std::string to;
    };
    std::vector<File> sources;
    std::vector<Copy> music;
};

// Draws every picture the show needs and writes its Vellumo.ini, from the
// album's tracks (which must not be empty) in their order. `progress`
// receives a line per step. Fills error on failure (no font, an encoder
// failing).
bool draftShow(const Album& album, const std::string& albumFolder, const DraftOptions& options,
    const std::function<void(const std::string&)>& progress, ShowDraft& draft, std::string& error);

} // namespace vlo::pack
