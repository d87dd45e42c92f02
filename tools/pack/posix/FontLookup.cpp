#include "FontLookup.h"

#include <fontconfig/fontconfig.h>

namespace vlo::pack {

namespace {

std::string matchFont(const std::string& pattern)
{
    std::string found;
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (config == nullptr)
        return found;
    FcPattern* wanted = FcNameParse(reinterpret_cast<const FcChar8*>(pattern.c_str()));
    if (wanted != nullptr) {
        FcConfigSubstitute(config, wanted, FcMatchPattern);
        FcDefaultSubstitute(wanted);
        FcResult result = FcResultNoMatch;
        FcPattern* match = FcFontMatch(config, wanted, &result);
        FcChar8* path = nullptr;
        if (match != nullptr && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch)
            found = reinterpret_cast<const char*>(path);
        if (match != nullptr)
            FcPatternDestroy(match);
        FcPatternDestroy(wanted);
    }
    FcConfigDestroy(config);
    return found;
}

} // namespace

bool findFontFile(const std::string& pattern, std::string& file, std::string& error)
{
    const std::string wanted = pattern.empty() ? "sans-serif:bold" : pattern;
    file = matchFont(wanted);
    if (file.empty()) {
        error = "fontconfig finds no font for '" + wanted + "'";
        return false;
    }
    return true;
}

} // namespace vlo::pack
