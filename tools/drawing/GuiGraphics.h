#pragma once
#include <string>

#include "Canvas.h"
#include "StrokeFont.h"

namespace vlo::demo {

// The pictures the show screen multiplies onto what lies behind it: the
// caption banners, the player buttons and the window menu. They are painted
// on a transparent canvas and saved premultiplied (Canvas::toPremultipliedRgba8):
// transparent and white parts leave the background as it is, coloured paint
// tints it, dark paint darkens it.

// A banner across the top of the window: the track's number in a badge, its
// title in dark letters and the album line under it. 700 x 100.
Canvas drawCaptionPicture(const StrokeFont& font, int number, int count, const std::string& title);

enum class ButtonSymbol { Play, Pause, Stop, Previous, Next };

// A round player button, 110 x 90; pressed ones sit lower and darker.
const int kButtonWidth = 110;
const int kButtonHeight = 90;
Canvas drawPlayerButton(ButtonSymbol symbol, bool pressed);

enum class MenuIcon { Minimise, Credits, Exit };

// One item of the window menu: an icon and a label, 160 x 40.
const int kMenuItemWidth = 160;
const int kMenuItemHeight = 40;
Canvas drawMenuItem(const StrokeFont& font, MenuIcon icon, const std::string& label, bool pressed);

// The menu's background panel, 170 x 150: room for three items stacked
// 10 pixels apart, 5 pixels in from its corner.
const int kMenuPanelWidth = 170;
const int kMenuPanelHeight = 150;
Canvas drawMenuPanel();

} // namespace vlo::demo
