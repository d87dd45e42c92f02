#pragma once
#include <string>

namespace vlo::pack {

// The orientation tag (1 to 8) of a JPEG file's Exif segment, as cameras
// write it for a picture taken with the camera turned; 0 when the file has
// no Exif segment before its image data, no such tag, a value outside 1 to 8,
// or a segment too damaged to read. The JPEG's segments are walked here;
// libexif reads the Exif segment, never past the segment's own length.
int exifOrientation(const std::string& bytes);

// What other viewers do with a picture of this orientation (2 to 8): "turn
// it 90 degrees clockwise"; empty for 1 and for values outside 1 to 8.
std::string orientationEffect(int orientation);

} // namespace vlo::pack
