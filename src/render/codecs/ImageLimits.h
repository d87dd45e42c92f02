#pragma once
// The size limits every image decoder applies to the picture a header
// declares, before it allocates anything for the pixels.
#include <cstdint>
#include <cstdio>

namespace vlo {

// Pictures wider or taller than this many pixels are refused by every decoder.
constexpr int kMaxImageSide = 16384;

// Pictures with more pixels than this in all are refused too: 32 megapixels
// (for example 8192 x 4096) is far more than a 700 x 600 window shows, and it
// keeps the largest decoded buffer at 128 MiB (32 bits per pixel), where the
// side limit alone would allow 1 GiB.
constexpr int64_t kMaxImagePixels = int64_t(32) * 1024 * 1024;

// Whether a decoder may decode a picture of this declared size: both sides
// above 0 and within kMaxImageSide, and at most kMaxImagePixels in all.
bool imageSizeAccepted(int64_t width, int64_t height);

// The most pixel bytes a bitmap or Targa file may declare per byte it
// holds: 1032, what the densest deflate stream of a PNG gives. A file cut
// short still decodes (its missing pixels are zero), but one holding less
// than that share of its pixels cannot be right, and is refused before
// anything is allocated for them.
constexpr int64_t kMaxPixelBytesPerFileByte = 1032;
// Bytes counted on top of what a file holds in that test, so that a
// picture of a few pixels cut short to nothing still decodes.
constexpr int64_t kShortFileAllowance = 64;

// Whether a file with fileBytes bytes after its header can be right for
// pixelBytes bytes of pixels; a file that cannot tell its length (-1) is.
bool pixelsFitFile(int64_t pixelBytes, int64_t fileBytes);

// The bytes from the file's current position to its end, or -1 when the
// file cannot tell (not seekable). The position is left where it was.
int64_t bytesLeftInFile(FILE* file);

} // namespace vlo
