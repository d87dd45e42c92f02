#pragma once
#include <string>

namespace vlo::pack {

// One playable music file of an album folder, with what its tags say (or
// what its file name says when it has no tags).
struct AlbumTrack {
    // The file's path and its name inside the album folder.
    std::string path;
    std::string fileName;
    // UTF-8 texts; title is never empty (the file name stands in for it).
    std::string title;
    std::string artist;
    std::string album;
    std::string copyright;
    int year = 0;
    // 0 when the tags give none.
    int disc = 0;
    int number = 0;
    // The bytes of the picture embedded in the file (the front cover when it
    // has several), empty when none.
    std::string picture;
};

} // namespace vlo::pack
