#include "MusicNames.h"

#include <algorithm>

namespace vlo::pack {

namespace {

// The plain letters of the accented Latin letters U+00C0 to U+00FF (their
// UTF-8 second byte minus 0x80), lower case; empty for signs.
const char* const kLatinLetters[64]
    = {"a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i", "d", "n", "o", "o", "o", "o",
        "o", "", "o", "u", "u", "u", "u", "y", "th", "ss", "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e",
        "i", "i", "i", "i", "d", "n", "o", "o", "o", "o", "o", "", "o", "u", "u", "u", "u", "y", "th", "y"};

} // namespace

std::string portableTitle(const std::string& title)
{
    // Words first ("&" reads "and", accented letters lose their accents),
    // then one hyphen between words.
    std::string words;
    for (size_t i = 0; i < title.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(title[i]);
        if (c == 0xC3 && i + 1 < title.size() && (static_cast<unsigned char>(title[i + 1]) & 0xC0) == 0x80) {
            words += kLatinLetters[static_cast<unsigned char>(title[++i]) - 0x80];
        } else if (c == '&') {
            words += " and ";
        } else if (c != '\'') { // an apostrophe joins a word: "don't" gives "dont"
            words += char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
    }
    std::string name;
    bool gap = false;
    for (char c : words) {
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            if (gap && !name.empty())
                name += '-';
            name += c;
            gap = false;
        } else {
            gap = true;
        }
    }
    return name;
}

std::string musicFileName(int position, int count, const std::string& title, const std::string& extension)
{
    std::string number = std::to_string(position);
    const size_t width = std::max<size_t>(2, std::to_string(count).size());
    if (number.size() < width)
        number.insert(0, width - number.size(), '0');
    const std::string name = portableTitle(title);
    std::string lowerExtension = extension;
    for (char& c : lowerExtension)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return (name.empty() ? number : number + "-" + name) + lowerExtension;
}

} // namespace vlo::pack
