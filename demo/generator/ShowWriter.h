#pragma once
#include <string>

#include "Canvas.h"
#include "ShowPlan.h"

namespace vlo::demo {

// How the show screen blends a picture, which decides how it is saved:
// Normal pictures keep straight alpha (or none, when opaque), Multiply ones
// are saved premultiplied (see Canvas).
enum class Blend { Opaque, Normal, Multiply };

// Encodes a canvas in the format and writes it to path. PNG keeps an alpha
// channel unless the picture is opaque; JPEG, BMP and TGA are written as
// 24-bit colour (a Normal or Multiply picture cannot be stored in them).
bool savePicture(const Canvas& canvas, PictureFormat format, Blend blend, const std::string& path, std::string& error);

// Writes the staging folder for the archive (Vellumo.ini and every picture,
// at their archive paths) and the music files under the show folder. The
// staging folder is emptied first when it is one this writer made before;
// any other existing folder with content is refused rather than cleared.
// `progress` receives one line per file written (may be null).
bool writeDemoShow(const ShowPlan& plan, const std::string& stagingDir, const std::string& showDir,
    void (*progress)(const std::string& line), std::string& error);

// Makes sure the folder exists and is empty, ready to be filled and packed.
// A folder that holds files is cleared only when a marker beside it (the
// folder's name followed by ".vellumo-demo-staging") says this generator
// made it; otherwise the call fails and nothing is touched.
bool prepareStagingFolder(const std::string& folder, std::string& error);

// Draws the picture of track `index` (0-based) of the demo.
Canvas drawTrackPicture(int index);

} // namespace vlo::demo
