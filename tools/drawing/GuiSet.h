#pragma once
#include <string>
#include <vector>

#include "Canvas.h"
#include "GuiGraphics.h"
#include "StrokeFont.h"

namespace vlo::demo {

// One GUI graphic the show screen loads: its archive name and what to draw.
struct GuiGraphic {
    enum class Kind { Button, MenuItem, MenuPanel };
    std::string path;
    Kind kind;
    ButtonSymbol symbol; // for buttons
    MenuIcon icon;       // for menu items
    std::string label;   // for menu items
    bool pressed;
};

// The 17 GUI graphics of the default theme, in the order the screen loads
// them: the five player buttons (pressed, then normal), the three menu items
// (normal, then pressed) and the menu's panel "gui/polygon.png".
std::vector<GuiGraphic> defaultGuiGraphics();

// Draws one GUI graphic; saved premultiplied, as the screen multiplies it.
Canvas drawGuiGraphic(const GuiGraphic& graphic, const StrokeFont& font);

} // namespace vlo::demo
