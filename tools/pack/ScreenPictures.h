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
// 700 x 600 window (a title, credits or background picture smaller than the
// window is stretched over it); empty when it fits. Sizes in pixels.
std::string sizeProblem(PictureRole role, int width, int height);

// A picture the screen loads, with the size it decoded to (pixels).
struct ShownPicture {
    PictureUse use;
    int width = 0;
    int height = 0;
};

// For each picture, a warning when the screen draws it larger than it is
// because it shares its place with larger pictures, else empty (one entry
// per picture, in order). The track picture's and the caption's places grow
// to the largest picture shown in them so far and never shrink; a player
// button or menu item is as large as the largest of its pictures. Each place
// is at least 40 x 40 pixels, a menu item's excepted.
std::vector<std::string> stretchProblems(const std::vector<ShownPicture>& shown);

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
