#include "ConfigTokens.h"

namespace vlo::pack {

bool isConfigSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

ConfigTokens::ConfigTokens(const std::string& source)
    : text(source)
{
}

void ConfigTokens::advance()
{
    if (text[offset] == '\n') {
        ++here.line;
        here.column = 1;
    } else {
        ++here.column;
    }
    ++offset;
}

bool ConfigTokens::read(ConfigToken& token)
{
    if (ended)
        return false;
    while (offset < text.size() && isConfigSpace(text[offset]))
        advance();
    if (offset == text.size()) {
        ended = true;
        return false;
    }
    ConfigToken found;
    found.place = here;
    found.offset = offset;
    while (offset < text.size() && !isConfigSpace(text[offset])) {
        found.text += text[offset];
        advance();
    }
    if (offset == text.size())
        ended = true;
    token = found;
    return true;
}

} // namespace vlo::pack
