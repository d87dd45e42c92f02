#pragma once
#include <string>

namespace vlo::pack {

// The tool's narrow strings are UTF-8 on Windows too (the program's manifest
// makes UTF-8 its code page); the system's wide calls take UTF-16.
std::wstring wideText(const std::string& utf8);
std::string utf8Text(const std::wstring& wide);

// What a Windows error code means, in the words strerror() would use for
// the errors both systems share ("Permission denied", "No such file or
// directory"), so that messages read the same on either system.
std::string systemReason(unsigned long code);
// systemReason() of GetLastError().
std::string lastReason();

} // namespace vlo::pack
