#pragma once
#include <string>

namespace vlo {

// The extension an entry name gives its extraction file: the text from the
// last "." to the end, looking at index 1 onwards (a leading "." does not
// start an extension); a name without such a "." is used whole.
// "gui/play_on.png" gives ".png", "readme" gives "readme", ".config" gives
// ".config".
std::string extractionExtension(const std::string& name);

// Whether a suffix can be appended to the extraction base and still name a
// plain file beside the archive: no folder separator ("/", "\"), no "..", no
// control character (zero byte included).
bool isSafeExtractionSuffix(const std::string& suffix);

} // namespace vlo
