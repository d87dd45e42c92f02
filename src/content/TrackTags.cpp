#include "content/TrackTags.h"

#include <filesystem>

#include <fileref.h>
#include <tag.h>

namespace vlo {

TrackTags::TrackTags(const std::string& path)
{
    title = std::filesystem::u8path(path).stem().u8string();
    if (path.empty())
        return;
    const TagLib::FileRef file(path.c_str());
    if (file.isNull())
        return;
    if (const TagLib::Tag* tag = file.tag()) {
        if (!tag->title().isEmpty())
            title = tag->title().to8Bit(true);
        artist = tag->artist().to8Bit(true);
        album = tag->album().to8Bit(true);
    }
    if (const TagLib::AudioProperties* properties = file.audioProperties()) {
        if (properties->lengthInMilliseconds() > 0)
            lengthMs = properties->lengthInMilliseconds();
    }
}

} // namespace vlo
