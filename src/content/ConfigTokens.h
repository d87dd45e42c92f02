#pragma once
#include <istream>

#include "content/ConfigToken.h"

namespace vlo {

// Reads the configuration token by token, keeping each token's place. A
// token is a maximal run of bytes that are not white space (isConfigSpace).
// A read that finds only white space up to the end fails and leaves the
// reader at its end; a token that ends at the end of the text leaves it at
// its end too. These are the rules of a stream's >> into a string, which the
// configuration's grammar was first written against; its loops depend on
// both.
class ConfigTokens {
public:
    explicit ConfigTokens(std::istream& in);

    // Fills token and returns true, or returns false (token untouched) when
    // only white space is left or the end was already reached.
    bool read(ConfigToken& token);
    bool atEnd() const { return ended; }

private:
    void advance(char c);

    std::streambuf* source;
    ConfigPlace here{1, 1};
    size_t offset = 0;
    bool ended = false;
};

} // namespace vlo
