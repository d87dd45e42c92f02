#include "content/ExtractionName.h"

namespace vlo {

std::string extractionExtension(const std::string& name)
{
    for (std::size_t i = name.size(); i-- > 1;) {
        if (name[i] == '.')
            return name.substr(i);
    }
    return name;
}

bool isSafeExtractionSuffix(const std::string& suffix)
{
    if (suffix.find("..") != std::string::npos)
        return false;
    for (unsigned char c : suffix) {
        if (c == '/' || c == '\\' || c < 0x20 || c == 0x7F)
            return false;
    }
    return true;
}

} // namespace vlo
