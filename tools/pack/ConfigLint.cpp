#include "ConfigLint.h"

#include <cctype>
#include <map>

#include "Diagnostics.h"

namespace vlo::pack {

namespace {

const char kDataHeader[] = "[vloData]";
const char kMusicHeader[] = "[vloMusic]";
const char kEnd[] = "[end]";
const char* const kKeys[] = {"title:", "mask:", "fade:", "credits:"};
const char kKeyList[] = "keys are title:, mask:, fade:, credits:";
const char kRefused[] = "; the viewer refuses the file";

std::string lowerCase(std::string text)
{
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool isHeader(const std::string& token)
{
    return token == kDataHeader || token == kMusicHeader;
}

bool isKey(const std::string& token)
{
    for (const char* key : kKeys) {
        if (token == key)
            return true;
    }
    return false;
}

std::string placeText(ConfigPlace place)
{
    return std::to_string(place.line) + ":" + std::to_string(place.column);
}

// " (did you mean 'title:'?)" for a token that differs from a key only in
// case or in its missing colon; empty otherwise.
std::string keyHint(const std::string& token)
{
    const std::string lower = lowerCase(token);
    for (const char* key : kKeys) {
        if (lower == key || lower + ":" == key)
            return std::string(" (did you mean '") + key + "'?)";
    }
    return std::string();
}

std::string headerHint(const std::string& token)
{
    const std::string lower = lowerCase(token);
    for (const char* header : {kDataHeader, kMusicHeader}) {
        if (lower == lowerCase(header))
            return std::string(" (did you mean '") + header + "'? names are case-sensitive)";
    }
    if (isKey(token))
        return " (a key outside a data section: a data section starts with [vloData])";
    if (token == kEnd)
        return " (an [end] with no section open)";
    return std::string();
}

// The viewer's reading of the file (parseSections, parseDataSection,
// parseMusicSection) step by step, with a note at every place where the
// file is refused or reads differently from how it looks.
class ConfigLint {
public:
    explicit ConfigLint(const std::string& source)
        : text(source)
        , tokens(source)
    {
        countTokensPerLine();
    }

    ConfigLintResult run()
    {
        result.loads = parseSections();
        if (result.loads)
            checkCompleteness();
        return result;
    }

private:
    void problem(Severity severity, ConfigPlace place, const std::string& line)
    {
        result.problems.push_back(ConfigProblem{severity, place, line});
    }

    void countTokensPerLine()
    {
        ConfigTokens all(text);
        ConfigToken token;
        while (all.read(token))
            lineTokens[token.place.line].push_back(token.offset);
    }

    // Tokens on a line from a byte offset on.
    int tokensOnLineFrom(int line, size_t offset) const
    {
        const auto found = lineTokens.find(line);
        int count = 0;
        if (found != lineTokens.end()) {
            for (size_t start : found->second)
                count += start >= offset ? 1 : 0;
        }
        return count;
    }

    bool parseSections()
    {
        ConfigToken header;
        while (!tokens.atEnd()) {
            // A read that finds nothing leaves the last header in place; its
            // section then reads nothing either, since the file has ended.
            if (!tokens.read(header) && header.place.line != 0)
                break;
            if (isHeader(header.text) && swallowed.place.line != 0)
                noteSwallowed();
            if (header.text == kDataHeader) {
                if (!parseDataSection(header))
                    return false;
            } else if (header.text == kMusicHeader) {
                parseMusicSection(header);
            } else {
                refuseHeader(header);
                return false;
            }
        }
        if (swallowed.place.line != 0)
            noteSwallowed();
        return true;
    }

    // A header taken as the discarded token after a music section's [end],
    // when the file still loads.
    void noteSwallowed()
    {
        problem(Severity::Warning, swallowed.place,
            "the section header " + inQuotes(swallowed.text)
                + " right after the music section's [end] is read and discarded");
        swallowed = ConfigToken();
    }

    void refuseHeader(const ConfigToken& header)
    {
        if (header.place.line == 0) {
            problem(Severity::Error, ConfigPlace{1, 1},
                std::string("the file holds no section: expected [vloData] or [vloMusic]") + kRefused);
            return;
        }
        if (swallowed.place.line != 0) {
            problem(Severity::Error, swallowed.place,
                "the section " + inQuotes(swallowed.text)
                    + " follows the music section: the token after the music section's [end] is read and "
                      "discarded, so this header is lost and "
                    + inQuotes(header.text) + " at " + placeText(header.place)
                    + " is read where a section header is expected; put the music section last" + kRefused);
            return;
        }
        problem(Severity::Error, header.place,
            "expected a section header, [vloData] or [vloMusic], got " + inQuotes(header.text) + headerHint(header.text)
                + kRefused);
    }

    ConfigValue* field(const std::string& key)
    {
        if (key == "title:")
            return &result.title;
        if (key == "mask:")
            return &result.mask;
        if (key == "fade:")
            return &result.fade;
        return &result.credits;
    }

    bool parseDataSection(const ConfigToken& header)
    {
        ConfigToken key;
        while (!tokens.atEnd()) {
            const bool gotKey = tokens.read(key);
            if (isKey(key.text)) {
                if (gotKey)
                    readValue(key);
            } else if (key.text == kEnd) {
                return true;
            } else {
                refuseKey(header, key);
                return false;
            }
            if (tokens.atEnd())
                break;
        }
        // A section the end of the file closes; a read that found nothing
        // left the last key in place and its value untouched.
        problem(Severity::Warning, header.place, "the data section is not closed with [end]");
        return true;
    }

    void readValue(const ConfigToken& key)
    {
        ConfigToken value;
        if (!tokens.read(value)) {
            problem(Severity::Warning, key.place, inQuotes(key.text) + " has no value: the file ends after it");
            return;
        }
        ConfigValue* target = field(key.text);
        if (target->isSet())
            problem(Severity::Warning, key.place,
                inQuotes(key.text) + " is given again (first at " + placeText(firstSet[key.text])
                    + "); the last value wins");
        else
            firstSet[key.text] = key.place;
        if (isKey(value.text) || isHeader(value.text) || value.text == kEnd)
            problem(Severity::Warning, value.place,
                "the value of " + inQuotes(key.text) + " is " + inQuotes(value.text)
                    + ", which looks like a key or a section marker: is the value missing?");
        target->text = value.text;
        target->place = value.place;
    }

    void refuseKey(const ConfigToken& header, const ConfigToken& key)
    {
        if (key.place.line == 0) {
            problem(Severity::Error, header.place,
                std::string("the file ends right after [vloData]; expected a key or [end]") + kRefused);
        } else if (isHeader(key.text)) {
            problem(Severity::Error, key.place,
                inQuotes(key.text) + " where a key or [end] is expected: the data section opened at "
                    + placeText(header.place) + " is not closed with [end]" + kRefused);
        } else {
            problem(Severity::Error, key.place,
                "unknown key " + inQuotes(key.text) + "; " + kKeyList + keyHint(key.text) + kRefused);
        }
    }

    void parseMusicSection(const ConfigToken& header)
    {
        ConfigToken file;
        ConfigToken picture;
        ConfigToken caption;
        while (!tokens.atEnd()) {
            if (!tokens.read(file))
                break;
            const bool gotPicture = tokens.read(picture);
            if (file.text == kEnd) {
                if (gotPicture)
                    noteDiscarded(picture);
                return;
            }
            if (!gotPicture || !tokens.read(caption)) {
                noteCutLine(file, gotPicture ? 2 : 1);
                break;
            }
            noteTrack(header, file, caption);
            result.tracks.push_back(ConfigTrack{file, picture, caption});
            if (tokens.atEnd())
                break;
        }
        problem(Severity::Warning, header.place, "the music section is not closed with [end]");
    }

    void noteDiscarded(const ConfigToken& token)
    {
        if (isHeader(token.text)) {
            swallowed = token;
            return;
        }
        problem(Severity::Warning, token.place,
            inQuotes(token.text) + " after the music section's [end] is read and discarded");
    }

    // Tracks are read three tokens at a time whatever the lines say; a line
    // of the wrong length shifts every later track.
    void noteTrack(const ConfigToken& header, const ConfigToken& file, const ConfigToken& caption)
    {
        if (musicShifted || (file.place.line == caption.place.line && startsTriple(header, file)))
            return;
        musicShifted = true;
        const int count = tokensOnLineFrom(file.place.line, header.offset + 1);
        problem(Severity::Error, file.place,
            "music line with " + std::to_string(count) + (count == 1 ? " token" : " tokens")
                + "; each track needs three on its line: music file, picture and caption (the viewer "
                  "reads them three at a time, so from here on every track is shifted)");
    }

    // Whether the token is the first of a group of three on its line.
    bool startsTriple(const ConfigToken& header, const ConfigToken& file) const
    {
        const int before
            = tokensOnLineFrom(file.place.line, header.offset + 1) - tokensOnLineFrom(file.place.line, file.offset);
        return before % 3 == 0;
    }

    void noteCutLine(const ConfigToken& file, int count)
    {
        if (musicShifted)
            return;
        problem(Severity::Error, file.place,
            "the last music line has only " + std::to_string(count) + (count == 1 ? " token" : " tokens")
                + " before the end of the file; a track needs three: music file, picture and caption. "
                  "The line is dropped");
    }

    void checkCompleteness()
    {
        if (result.tracks.empty())
            problem(Severity::Error, ConfigPlace(),
                "no music lines: the show has no tracks, so the screen shows no pictures and no music plays");
        const struct {
            const ConfigValue* value;
            const char* key;
            const char* effect;
        } pictures[] = {
            {&result.title, "title:", "the title overlay would show no picture"},
            {&result.mask, "mask:", "the background would stay empty"},
            {&result.credits, "credits:", "the credits and the closing sequence would show no picture"},
        };
        for (const auto& picture : pictures) {
            if (!picture.value->isSet())
                problem(Severity::Error, ConfigPlace(), std::string("no '") + picture.key + "' key: " + picture.effect);
        }
    }

    const std::string& text;
    ConfigTokens tokens;
    ConfigLintResult result;
    std::map<int, std::vector<size_t>> lineTokens;
    std::map<std::string, ConfigPlace> firstSet;
    ConfigToken swallowed;
    bool musicShifted = false;
};

} // namespace

ConfigLintResult lintConfig(const std::string& text)
{
    return ConfigLint(text).run();
}

} // namespace vlo::pack
