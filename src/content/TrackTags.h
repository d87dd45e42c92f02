#pragma once
#include <cstdint>
#include <string>

namespace vlo {

// What a music file says about itself: the title, artist and album tags (UTF-8)
// and its length. The title falls back to the file's name without folder
// and extension, so it is never empty for a named file.
class TrackTags {
public:
    // Reads the tags of the file at path; a file with no tags or of a kind
    // without a tag reader keeps the fallbacks.
    explicit TrackTags(const std::string& path);

    std::string title;
    std::string artist;
    std::string album;
    // Milliseconds; negative when unknown.
    int64_t lengthMs = -1;
};

} // namespace vlo
