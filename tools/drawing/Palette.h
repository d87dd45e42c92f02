#pragma once
#include "Rgba.h"

namespace vlo::demo::palette {

// The Emberfall colours: a late, warm sunset over dark violet hills, and the
// cream of old vellum for the player's own surfaces.
const Rgba night = straight(0.10f, 0.05f, 0.12f);
const Rgba dusk = straight(0.31f, 0.11f, 0.26f);
const Rgba wine = straight(0.55f, 0.13f, 0.19f);
const Rgba ember = straight(0.89f, 0.35f, 0.12f);
const Rgba flame = straight(0.99f, 0.60f, 0.20f);
const Rgba gold = straight(1.00f, 0.83f, 0.46f);
const Rgba cream = straight(0.99f, 0.95f, 0.86f);
const Rgba vellum = straight(0.95f, 0.89f, 0.77f);
const Rgba ink = straight(0.22f, 0.10f, 0.06f);
const Rgba umber = straight(0.45f, 0.22f, 0.10f);
const Rgba ash = straight(0.40f, 0.33f, 0.33f);
const Rgba deepSea = straight(0.13f, 0.10f, 0.22f);

} // namespace vlo::demo::palette
