#include "Diagnostics.h"

#include <cstdio>

namespace vlo::pack {

int reportError(const std::string& line)
{
    std::fprintf(stderr, "vellumo-pack: %s\n", line.c_str());
    return kExitFailure;
}

int reportUsage(const std::string& line)
{
    std::fprintf(stderr, "vellumo-pack: %s (see 'vellumo-pack --help')\n", line.c_str());
    return kExitUsage;
}

std::string escaped(const std::string& text)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (c < 0x20 || c == 0x7F) {
            out += "\\x";
            out += digits[c >> 4];
            out += digits[c & 15];
        } else {
            out += char(c);
        }
    }
    return out;
}

std::string inQuotes(const std::string& text)
{
    return "'" + escaped(text) + "'";
}

} // namespace vlo::pack
