#pragma once
#include <string>

namespace vlo::pack {

// Finds the font file for a font name or pattern ("DejaVu Serif:bold",
// "sans-serif") as the system's own font list has it: fontconfig on POSIX
// systems (posix/FontLookup.cpp), the registry's list of installed fonts on
// Windows (windows/FontLookup.cpp). An empty pattern asks for a bold
// sans-serif face. Like fontconfig, an unknown family falls back to the
// system's sans-serif face. Fills error when the system has no font at all.
bool findFontFile(const std::string& pattern, std::string& file, std::string& error);

} // namespace vlo::pack
