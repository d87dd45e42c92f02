#pragma once
#include <string>
#include <vector>

namespace vlo::pack {

// What the bytes of a picture file are, judged by their first bytes: "png",
// "jpg", "bmp", "gif", "webp", or empty when unknown (Targa files have no
// signature).
std::string sniffPictureFormat(const std::string& bytes);

// Why the viewer's decoder for the extension (lower case, without the dot)
// refuses these bytes, in plain words.
std::string refusalReason(const std::string& extension, const std::string& bytes);

// How a picture the decoder accepted will still look different from what
// other viewers show (a pixel-data offset the viewer cannot use, an 8-bit
// bitmap without a colour table, an upside-down Targa, a JPEG's EXIF
// orientation, data cut short...). Empty when nothing.
std::vector<std::string> formatWarnings(const std::string& extension, const std::string& bytes);

} // namespace vlo::pack
