#pragma once
#include <string>

namespace vlo::pack {

// Where a token of Vellumo.ini starts: 1-based line and column, counted in
// bytes. Line 0 means no place in the file.
struct ConfigPlace {
    int line = 0;
    int column = 0;
};

struct ConfigToken {
    std::string text;
    ConfigPlace place;
    // Byte offset of the token's first character.
    size_t offset = 0;
};

// The white space that separates tokens: space, tab, line feed, carriage
// return, vertical tab and form feed, as the viewer's reader has it.
bool isConfigSpace(char c);

// Reads the text token by token exactly as the viewer's stream reader does,
// keeping each token's place. A read that finds only white space up to the
// end fails and leaves the reader at its end; a token that ends at the end
// of the text also leaves it at its end (the viewer's loops depend on both).
class ConfigTokens {
public:
    explicit ConfigTokens(const std::string& text);

    // Fills token and returns true, or returns false (token untouched) when
    // only white space is left or the end was already reached.
    bool read(ConfigToken& token);
    bool atEnd() const { return ended; }

private:
    void advance();

    const std::string& text;
    size_t offset = 0;
    ConfigPlace here{1, 1};
    bool ended = false;
};

} // namespace vlo::pack
