#include "content/ConfigSyntax.h"

namespace vlo {

const char kDataHeader[] = "[vloData]";
const char kMusicHeader[] = "[vloMusic]";
const char kSectionEnd[] = "[end]";
const char* const kDataKeys[4] = {"title:", "mask:", "fade:", "credits:"};

bool isConfigSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool isSectionHeader(const std::string& token)
{
    return token == kDataHeader || token == kMusicHeader;
}

bool isDataKey(const std::string& token)
{
    for (const char* key : kDataKeys) {
        if (token == key)
            return true;
    }
    return false;
}

} // namespace vlo
