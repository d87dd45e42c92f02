#include "ConfigLint.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "Diagnostics.h"
#include "content/ConfigListener.h"
#include "content/ConfigSyntax.h"
#include "content/ConfigTokens.h"
#include "content/ShowConfig.h"

namespace vlo::pack {

namespace {

const char kKeyList[] = "keys are title:, mask:, fade:, credits:";
const char kRefused[] = "; the viewer refuses the file";
const char kUnreadable[] = "the check cannot read it: no copy could be written for the viewer's reader";

std::string lowerCase(std::string text)
{
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
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
    for (const char* key : kDataKeys) {
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
    if (isDataKey(token))
        return " (a key outside a data section: a data section starts with [vloData])";
    if (token == kSectionEnd)
        return " (an [end] with no section open)";
    return std::string();
}

// Listens to the viewer's reader as it loads the file and notes every place
// where the file is refused or reads differently from how it looks.
class ConfigLint : public ConfigListener {
public:
    explicit ConfigLint(const std::string& source)
        : text(source)
    {
        countTokensPerLine();
    }

    ConfigLintResult run(const std::string& path)
    {
        const ShowConfig viewer(path.c_str(), this);
        result.loads = viewer.loadFailed == 0;
        if (!result.loads) {
            refused(viewer.refusal);
            return result;
        }
        if (swallowed.place.line != 0)
            noteSwallowed();
        checkCompleteness();
        return result;
    }

    void sectionOpened(const ConfigToken& header) override
    {
        if (swallowed.place.line != 0)
            noteSwallowed();
        openHeader = header;
    }

    void sectionClosed(const ConfigToken& header, bool closed) override
    {
        if (closed)
            return;
        const bool data = header.text == kDataHeader;
        problem(Severity::Warning, header.place,
            std::string(data ? "the data section" : "the music section") + " is not closed with [end]");
    }

    void valueRead(const ConfigToken& key, const ConfigToken& value) override
    {
        ConfigValue* target = field(key.text);
        if (target->isSet())
            problem(Severity::Warning, key.place,
                inQuotes(key.text) + " is given again (first at " + placeText(firstSet[key.text])
                    + "); the last value wins");
        else
            firstSet[key.text] = key.place;
        if (isDataKey(value.text) || isSectionHeader(value.text) || value.text == kSectionEnd)
            problem(Severity::Warning, value.place,
                "the value of " + inQuotes(key.text) + " is " + inQuotes(value.text)
                    + ", which looks like a key or a section marker: is the value missing?");
        target->text = value.text;
        target->place = value.place;
    }

    void valueMissing(const ConfigToken& key) override
    {
        problem(Severity::Warning, key.place, inQuotes(key.text) + " has no value: the file ends after it");
    }

    void trackRead(const ConfigToken& file, const ConfigToken& picture, const ConfigToken& caption) override
    {
        noteTrack(file, caption);
        result.tracks.push_back(ConfigTrack{file, picture, caption});
    }

    void trackCut(const ConfigToken& file, int count) override
    {
        if (musicShifted)
            return;
        problem(Severity::Error, file.place,
            "the last music line has only " + std::to_string(count) + (count == 1 ? " token" : " tokens")
                + " before the end of the file; a track needs three: music file, picture and caption. "
                  "The line is dropped");
    }

    void tokenDiscarded(const ConfigToken& token) override
    {
        if (isSectionHeader(token.text)) {
            swallowed = token;
            return;
        }
        problem(Severity::Warning, token.place,
            inQuotes(token.text) + " after the music section's [end] is read and discarded");
    }

private:
    void problem(Severity severity, ConfigPlace place, const std::string& line)
    {
        result.problems.push_back(ConfigProblem{severity, place, line});
    }

    void countTokensPerLine()
    {
        std::istringstream in(text);
        ConfigTokens all(in);
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

    // A header taken as the discarded token after a music section's [end],
    // when the file still loads.
    void noteSwallowed()
    {
        problem(Severity::Warning, swallowed.place,
            "the section header " + inQuotes(swallowed.text)
                + " right after the music section's [end] is read and discarded");
        swallowed = ConfigToken();
    }

    void refused(const ConfigRefusal& refusal)
    {
        const ConfigToken& token = refusal.token;
        switch (refusal.reason) {
        case ConfigRefusal::Reason::Accepted:
            break;
        case ConfigRefusal::Reason::CannotOpen:
            problem(Severity::Error, ConfigPlace(), kUnreadable);
            break;
        case ConfigRefusal::Reason::NoSection:
            problem(Severity::Error, ConfigPlace{1, 1},
                std::string("the file holds no section: expected [vloData] or [vloMusic]") + kRefused);
            break;
        case ConfigRefusal::Reason::NotASection:
            refuseHeader(token);
            break;
        case ConfigRefusal::Reason::NoKey:
            problem(Severity::Error, token.place,
                std::string("the file ends right after [vloData]; expected a key or [end]") + kRefused);
            break;
        case ConfigRefusal::Reason::UnknownKey:
            refuseKey(token);
            break;
        }
    }

    void refuseHeader(const ConfigToken& header)
    {
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

    void refuseKey(const ConfigToken& key)
    {
        if (isSectionHeader(key.text)) {
            problem(Severity::Error, key.place,
                inQuotes(key.text) + " where a key or [end] is expected: the data section opened at "
                    + placeText(openHeader.place) + " is not closed with [end]" + kRefused);
        } else {
            problem(Severity::Error, key.place,
                "unknown key " + inQuotes(key.text) + "; " + kKeyList + keyHint(key.text) + kRefused);
        }
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

    // Tracks are read three tokens at a time whatever the lines say; a line
    // of the wrong length shifts every later track.
    void noteTrack(const ConfigToken& file, const ConfigToken& caption)
    {
        if (musicShifted || (file.place.line == caption.place.line && startsTriple(file)))
            return;
        musicShifted = true;
        const int count = tokensOnLineFrom(file.place.line, openHeader.offset + 1);
        problem(Severity::Error, file.place,
            "music line with " + std::to_string(count) + (count == 1 ? " token" : " tokens")
                + "; each track needs three on its line: music file, picture and caption (the viewer "
                  "reads them three at a time, so from here on every track is shifted)");
    }

    // Whether the token is the first of a group of three on its line.
    bool startsTriple(const ConfigToken& file) const
    {
        const int before
            = tokensOnLineFrom(file.place.line, openHeader.offset + 1) - tokensOnLineFrom(file.place.line, file.offset);
        return before % 3 == 0;
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
    ConfigLintResult result;
    std::map<int, std::vector<size_t>> lineTokens;
    std::map<std::string, ConfigPlace> firstSet;
    // The header of the section being read.
    ConfigToken openHeader;
    ConfigToken swallowed;
    bool musicShifted = false;
};

} // namespace

ConfigLintResult lintConfig(const std::string& text, const std::string& scratchFolder)
{
    const std::string path = scratchFolder + "/Vellumo.ini";
    std::ofstream out(std::filesystem::u8path(path), std::ios::binary | std::ios::trunc);
    out.write(text.data(), std::streamsize(text.size()));
    out.close();
    ConfigLintResult result;
    if (out.fail()) {
        // A partial copy would be judged as if it were the file.
        result.problems.push_back(ConfigProblem{Severity::Error, ConfigPlace(), kUnreadable});
    } else {
        // The archive module is not open here, so the reader takes the path
        // as it is given.
        result = ConfigLint(text).run(path);
    }
    std::remove(path.c_str());
    return result;
}

} // namespace vlo::pack
