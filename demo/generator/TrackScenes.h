#pragma once
#include "Canvas.h"

namespace vlo::demo {

// The track pictures: small landscapes, one per track, 400 x 320 pixels so
// that they sit at (0, 105) on the screen clear of the emblem on the right
// and of the player buttons below. Each is opaque and framed.
const int kTrackPictureWidth = 400;
const int kTrackPictureHeight = 320;

Canvas drawKindlingScene();  // a campfire under the first stars
Canvas drawAshenRoadScene(); // a road through smoky amber hills
Canvas drawEmberTideScene(); // the sun going down into the sea
Canvas drawLastLightScene(); // pines against the afterglow, fireflies

// Lays the cream mount and the hairline round a track picture.
void frameTrackPicture(Canvas& canvas);

// A pine tree silhouette standing on (x, groundY), `height` pixels tall.
void addPine(Mask& mask, float x, float groundY, float height);

} // namespace vlo::demo
