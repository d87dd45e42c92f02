#pragma once
#include <string>
#include <vector>

#include "Canvas.h"
#include "StrokeFont.h"

namespace vlo::demo {

// The show-wide pictures, each 700 x 600 like the window.

// Drawn over the whole window while it fades in and out at the start.
Canvas drawTitlePicture(const StrokeFont& font);

// The background ("mask") the whole screen sits on. Light where the caption
// and the player buttons multiply onto it: the top band and the bottom right.
Canvas drawBackdropPicture(const StrokeFont& font);

// Shown by the credits command and while the program closes; lists the
// track titles in order.
Canvas drawCreditsPicture(const StrokeFont& font, const std::vector<std::string>& trackTitles);

// Lettering with a warm halo: the blurred letters are added as light, then
// the letters are shaded from `top` to `bottom` over their cap height.
void paintGlowingText(Canvas& canvas, const Mask& letters, float baseline, float capHeight, Rgba top, Rgba bottom,
    Rgba halo, int haloRadius);

} // namespace vlo::demo
