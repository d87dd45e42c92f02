#pragma once
#include "common/FrameTimer.h"
#include "common/Vector2.h"

namespace vlo {

// State the per-frame handlers keep from one frame to the next. It lives in
// the ShowScreen so that every handler holds nothing but its screen pointer.

// Page logic: caption reveal, the delayed picture swap and the credits phase.
struct PageStepState {
    bool captionRevealed = false;
    // Runs from a track change until the new track picture is set.
    FrameTimer swapTimer;
    bool creditsLoaded = false;
    // Button rest heights while credits run and after show-only credits, in
    // GUI units; 0 means "not yet computed".
    float panelDownY = 0.0f;
    float panelUpY = 0.0f;
};

// Track picture fade: one alpha ramp at a time.
struct PictureFadeState {
    FrameTimer fadeTimer;
    float fadeStart = 0.0f;
    bool fadingDown = true;
};

// One player button's slide; all four start marked as moving down.
struct ButtonSlideState {
    Vector2 startPosition;
    FrameTimer timer;
    bool movingDown = true;
};

} // namespace vlo
