#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vlo::pack {

// Writes an RGBA picture (rows from the top, 8 bits per component) as an
// 8-bit RGB PNG file: the window has no transparency, so alpha is dropped.
// The file appears only complete; on failure fills error.
bool writePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba, std::string& error);

} // namespace vlo::pack
