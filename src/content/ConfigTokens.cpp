#include "content/ConfigTokens.h"

#include <string>
#include <utility>

#include "content/ConfigSyntax.h"

namespace vlo {

namespace {

using Traits = std::char_traits<char>;

bool isEnd(Traits::int_type c)
{
    return Traits::eq_int_type(c, Traits::eof());
}

} // namespace

ConfigTokens::ConfigTokens(std::istream& in)
    : source(in.rdbuf())
{
}

void ConfigTokens::advance(char c)
{
    if (c == '\n') {
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
    Traits::int_type c = source != nullptr ? source->sgetc() : Traits::eof();
    while (!isEnd(c) && isConfigSpace(Traits::to_char_type(c))) {
        advance(Traits::to_char_type(c));
        c = source->snextc();
    }
    if (isEnd(c)) {
        ended = true;
        return false;
    }
    ConfigToken found;
    found.place = here;
    found.offset = offset;
    while (!isEnd(c) && !isConfigSpace(Traits::to_char_type(c))) {
        found.text += Traits::to_char_type(c);
        advance(Traits::to_char_type(c));
        c = source->snextc();
    }
    ended = isEnd(c);
    token = std::move(found);
    return true;
}

} // namespace vlo
