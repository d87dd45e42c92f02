#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vlo::demo {

// Writes the bytes to the file, creating its folders first. On failure
// returns false with the path and the reason in `error`.
bool writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error);
bool writeFileText(const std::string& path, const std::string& text, std::string& error);

} // namespace vlo::demo
