#pragma once
#include <string>

namespace vlo {

// The words of the configuration's grammar. Every comparison is exact and
// case-sensitive; keys include their colon.
extern const char kDataHeader[];       // "[vloData]"
extern const char kMusicHeader[];      // "[vloMusic]"
extern const char kSectionEnd[];       // "[end]"
extern const char* const kDataKeys[4]; // "title:", "mask:", "fade:", "credits:"

// The white space that separates tokens: space, tab, line feed, carriage
// return, vertical tab and form feed, whatever locale the process runs in.
bool isConfigSpace(char c);
bool isSectionHeader(const std::string& token);
bool isDataKey(const std::string& token);

} // namespace vlo
