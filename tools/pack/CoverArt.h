#pragma once
#include <string>

#include "Canvas.h"
#include "Lettering.h"

namespace vlo::pack {

// Decodes a JPEG or PNG picture's bytes with the viewer's own decoders (in a
// file under scratchFolder, removed again) and turns it upright by its EXIF
// orientation. False when the bytes are no picture the decoders read.
bool decodeCover(const std::string& bytes, const std::string& scratchFolder, demo::Canvas& out);

// Turns a picture as EXIF orientation 1 to 8 says (2 to 8 mirror or turn
// it; anything else leaves it as it is).
demo::Canvas orientUpright(const demo::Canvas& picture, int orientation);

// The picture scaled to fill width x height, its centre kept and what
// overhangs cut off; each pixel is the average of the source pixels under it.
demo::Canvas fillSize(const demo::Canvas& picture, int width, int height);

// A cover drawn when the album has none: a field of two colours taken from
// the album's name, rings, and the name and artist in white, 600 x 600.
demo::Canvas drawGeneratedCover(const std::string& album, const std::string& artist, Lettering& lettering);

} // namespace vlo::pack
