#pragma once
// The whole-number scales a window of the program may be shown at: every
// program pixel becomes scale x scale screen pixels, never a fraction, so a
// dense display shows the frame sharp. Each window-system back end asks its
// desktop for the density; the rules are these.

namespace vlo {

// The largest scale the program draws at.
constexpr int LargestScale = 8;

// The whole number a scale variable gives (VELLUMO_SCALE=2), 0 when the
// text is missing or no whole number from 1 to LargestScale.
int scaleFromText(const char* text);

// The scale of a density in dots per inch: 96 is 1, 192 is 2 (a density
// between gives the smaller); 0 for none.
int scaleFromDpi(double dpi);

// The scale shrunk until a window of width x height program pixels fits a
// usable area of this many screen pixels (never below 1).
int scaleThatFits(int scale, int width, int height, int usableWidth, int usableHeight);

} // namespace vlo
