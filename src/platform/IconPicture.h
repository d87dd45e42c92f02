#pragma once
// The program's icon as pixels, for the window-system back ends that hand
// a window its icon: the picture of the installed org.vellumo.Vellumo icon.
#include <cstdint>
#include <vector>

namespace vlo {

// size x size ARGB words (alpha in the top byte, not premultiplied), rows
// top first, sampled at pixel centres.
std::vector<uint32_t> iconPixels(int size);

} // namespace vlo
