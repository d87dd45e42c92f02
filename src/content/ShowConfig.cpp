#include "content/ShowConfig.h"

#include <fstream>

#include "content/ArchiveFS.h"
#include "content/ConfigListener.h"
#include "content/ConfigSyntax.h"
#include "content/ConfigTokens.h"

namespace vlo {

// Tokens are read with ConfigTokens: a read that finds only white space up to
// the end of the file leaves its variable unchanged and the reader at its
// end, and a token that ends at the end of the file leaves the reader at its
// end too. The loops below depend on both.

ShowConfig::ShowConfig(const char* fileName, ConfigListener* listener)
{
    const std::string path = ArchiveFS::extract(fileName);
    std::ifstream in(path);
    if (in.is_open()) {
        ConfigListener quiet;
        ConfigTokens tokens(in);
        loadFailed = parseSections(tokens, listener != nullptr ? *listener : quiet) ? 0 : 1;
        in.close();
    } else {
        loadFailed = 1;
        refusal.reason = ConfigRefusal::Reason::CannotOpen;
    }
    // Also when the file could not be opened: an extraction file that was
    // written but cannot be read must not stay behind.
    ArchiveFS::removeExtracted();
}

ShowConfig::~ShowConfig() = default;

bool ShowConfig::refuse(ConfigRefusal::Reason reason, const ConfigToken& token)
{
    refusal.reason = reason;
    refusal.token = token;
    return false;
}

// The file is a run of sections; the end of the file where a header is due
// ends it successfully, but only after at least one header was read.
bool ShowConfig::parseSections(ConfigTokens& in, ConfigListener& listener)
{
    ConfigToken header;
    while (!in.atEnd()) {
        // A read that finds nothing leaves the last header in place; its
        // section would read nothing either, as the file has ended.
        if (!in.read(header) && header.place.line != 0)
            break;
        if (header.text == kDataHeader) {
            listener.sectionOpened(header);
            if (!parseDataSection(in, header, listener))
                return false;
        } else if (header.text == kMusicHeader) {
            listener.sectionOpened(header);
            parseMusicSection(in, header, listener);
        } else {
            return refuse(
                header.place.line == 0 ? ConfigRefusal::Reason::NoSection : ConfigRefusal::Reason::NotASection, header);
        }
    }
    return true;
}

// Key and value pairs up to "[end]". A value is stored whatever it says, so
// "title: [end]" sets the title and the section goes on.
bool ShowConfig::parseDataSection(ConfigTokens& in, const ConfigToken& header, ConfigListener& listener)
{
    ConfigToken key;
    while (!in.atEnd()) {
        const bool gotKey = in.read(key);
        if (isDataKey(key.text)) {
            // A key left from the last read when this one found nothing has
            // no value to read either.
            if (gotKey)
                readValue(in, key, listener);
        } else if (key.text == kSectionEnd) {
            listener.sectionClosed(header, true);
            return true;
        } else if (gotKey) {
            return refuse(ConfigRefusal::Reason::UnknownKey, key);
        } else {
            return refuse(ConfigRefusal::Reason::NoKey, header);
        }
        if (in.atEnd())
            break;
    }
    listener.sectionClosed(header, false);
    return true;
}

void ShowConfig::readValue(ConfigTokens& in, const ConfigToken& key, ConfigListener& listener)
{
    ConfigToken value;
    if (!in.read(value)) {
        listener.valueMissing(key);
        return;
    }
    if (key.text == "credits:")
        credits = value.text;
    else if (key.text == "fade:")
        fade = value.text;
    else if (key.text == "title:")
        title = value.text;
    else
        mask = value.text;
    listener.valueRead(key, value);
}

// Lines of three tokens up to a line whose first token is "[end]"; the token
// after "[end]" is read and discarded. A section that the end of the file
// closes keeps only its complete lines: a read that found nothing would leave
// the previous line's tokens in place and repeat them.
bool ShowConfig::parseMusicSection(ConfigTokens& in, const ConfigToken& header, ConfigListener& listener)
{
    ConfigToken file;
    ConfigToken picture;
    ConfigToken caption;
    while (!in.atEnd()) {
        if (!in.read(file))
            break;
        const bool gotPicture = in.read(picture);
        if (file.text == kSectionEnd) {
            if (gotPicture)
                listener.tokenDiscarded(picture);
            listener.sectionClosed(header, true);
            return true;
        }
        if (!gotPicture || !in.read(caption)) {
            listener.trackCut(file, gotPicture ? 2 : 1);
            break;
        }
        tracks.push_back(TrackEntry{file.text, picture.text});
        trackCaptions.push_back(caption.text);
        listener.trackRead(file, picture, caption);
        if (in.atEnd())
            break;
    }
    listener.sectionClosed(header, false);
    return true;
}

} // namespace vlo
