#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "PixelImage.h"

namespace vlo::demo {

// Each encoder turns a PixelImage into the bytes of one file. They check the
// picture (size, channel count, byte count) before they allocate anything and
// return false with a one-line reason in `error` when it does not fit.

// PNG through libpng; 3 channels give an RGB file, 4 an RGBA file.
bool encodePng(const PixelImage& image, std::vector<uint8_t>& out, std::string& error);

// Baseline JPEG through libjpeg, 3 channels only; quality 1..100.
bool encodeJpeg(const PixelImage& image, int quality, std::vector<uint8_t>& out, std::string& error);

// Uncompressed Windows bitmap, 24-bit (3 channels) or 32-bit (4 channels),
// stored bottom row first as the format wants, rows padded to 4 bytes.
bool encodeBmp(const PixelImage& image, std::vector<uint8_t>& out, std::string& error);

// Uncompressed true-colour Targa (image type 2), 24- or 32-bit, stored top row
// first with the descriptor's top-left origin bit set, so viewers that honour
// the bit and readers that take rows in file order show it the same way up.
bool encodeTga(const PixelImage& image, std::vector<uint8_t>& out, std::string& error);

// Shared check: positive size within maxSide, a channel count the format
// takes and exactly width x height x channels bytes.
bool checkPixelImage(const PixelImage& image, int maxSide, bool allowRgb, bool allowRgba, std::string& error);

} // namespace vlo::demo
