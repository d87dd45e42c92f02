#pragma once
#include <string>

namespace vlo::pack {

// The portable part of a track's file name: the title in lower-case ASCII
// letters and digits ("&" read as "and", accents of Latin letters dropped),
// every other run of characters one hyphen ("Salt & Iron" gives
// "salt-and-iron"); empty when nothing is left.
std::string portableTitle(const std::string& title);

// The file name a track's music gets in the show: its position (1-based,
// padded to the width of count, at least two digits), a hyphen and the
// portable title, or the number alone, then the extension (with its dot)
// in lower case:
// "01-salt-and-iron.mp3". Positions differ, so the names never collide.
std::string musicFileName(int position, int count, const std::string& title, const std::string& extension);

} // namespace vlo::pack
