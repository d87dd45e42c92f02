#include "content/ShowConfig.h"

#include <fstream>
#include <locale>

#include "content/ArchiveFS.h"

namespace vlo {

// Tokens are read with operator>>: a read that finds only white space up to the
// end of the file leaves its variable unchanged and the stream at its end, and
// a token that ends at the end of the file leaves the stream at its end too.
// The loops below depend on both.

ShowConfig::ShowConfig(const char* fileName)
{
    const std::string path = ArchiveFS::extract(fileName);
    std::ifstream in(path);
    if (in.is_open()) {
        // White space is exactly space, tab, line feed, carriage return,
        // vertical tab and form feed, whatever locale the process runs in.
        in.imbue(std::locale::classic());
        loadFailed = parseSections(in) ? 0 : 1;
        in.close();
    } else {
        loadFailed = 1;
    }
    // Also when the file could not be opened: an extraction file that was
    // written but cannot be read must not stay behind.
    ArchiveFS::removeExtracted();
}

ShowConfig::~ShowConfig() = default;

// The file is a run of sections; the end of the file where a header is due
// ends it successfully, but only after at least one header was read.
bool ShowConfig::parseSections(std::istream& in)
{
    std::string header;
    while (!in.eof()) {
        in >> header;
        if (header == "[vloData]") {
            if (!parseDataSection(in))
                return false;
        } else if (header == "[vloMusic]") {
            parseMusicSection(in);
        } else {
            return false;
        }
    }
    return true;
}

// Key and value pairs up to "[end]". A value is stored whatever it says, so
// "title: [end]" sets the title and the section goes on.
bool ShowConfig::parseDataSection(std::istream& in)
{
    std::string key;
    while (!in.eof()) {
        in >> key;
        if (key == "credits:") {
            in >> credits;
        } else if (key == "fade:") {
            in >> fade;
        } else if (key == "title:") {
            in >> title;
        } else if (key == "mask:") {
            in >> mask;
        } else if (key == "[end]") {
            return true;
        } else {
            return false;
        }
        if (in.eof())
            break;
    }
    return true;
}

// Lines of three tokens up to a line whose first token is "[end]"; the token
// after "[end]" is read and discarded. A section that the end of the file
// closes keeps only its complete lines: a read that found nothing would leave
// the previous line's tokens in place and repeat them.
bool ShowConfig::parseMusicSection(std::istream& in)
{
    std::string file;
    std::string picture;
    std::string caption;
    while (!in.eof()) {
        in >> file;
        if (in.fail())
            return true;
        in >> picture;
        if (file == "[end]")
            return true;
        if (in.fail())
            return true;
        in >> caption;
        if (in.fail())
            return true;
        tracks.push_back(TrackEntry{file, picture});
        trackCaptions.push_back(caption);
        if (in.eof())
            break;
    }
    return true;
}

} // namespace vlo
