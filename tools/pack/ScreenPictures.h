#pragma once
#include <map>
#include <string>
#include <vector>

#include "ConfigLint.h"

namespace vlo::pack {

enum class PictureRole { Title, Mask, Credits, TrackPicture, Caption, PlayerButton, MenuItem, MenuPanel };

// One picture the show screen loads.
struct PictureUse {
    // The archive entry.
    std::string name;
    PictureRole role = PictureRole::Title;
    // What it is, for messages: "title picture", "track 2's caption".
    std::string what;
    // Where Vellumo.ini names it; line 0 for the fixed GUI graphics.
    ConfigPlace place;
};

// Every picture the screen loads: those Vellumo.ini names (title, mask,
// credits, each track's picture and caption), then the GUI graphics under
// "gui/", whose names are fixed.
std::vector<PictureUse> screenPictures(const ConfigLintResult& config);

// A warning when a picture of this size does not fit its place on the
// 700 x 600 window; empty when it fits. Sizes in pixels.
std::string sizeProblem(PictureRole role, int width, int height);

struct PictureSize {
    int width = 0;
    int height = 0;
};

// A warning when the window menu's three items (each as large as the larger
// of its two graphics) do not fit inside the menu made from
// "gui/polygon.png"; empty when they fit or a size is unknown. Keys are
// archive names of decoded GUI graphics.
std::string menuProblem(const std::map<std::string, PictureSize>& sizes);

} // namespace vlo::pack
