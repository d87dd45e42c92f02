#include "frontend/PictureFade.h"

#include "frontend/ShowScreen.h"
#include "widgets/StaticWidget.h"

namespace vlo {

namespace {

// Alpha per second at fade speed 1.
constexpr float baseRate = 0.2f;

void beginRamp(PictureFadeState& state, float from, bool down)
{
    state.fadeStart = from;
    state.fadeTimer.start();
    state.fadingDown = down;
}

void endRamp(PictureFadeState& state, float target)
{
    state.fadeTimer.pause();
    state.fadeStart = target;
}

} // namespace

bool PictureFade::invoke(Widget*, const WidgetEvent&)
{
    PictureFadeState& state = screen->fadeState;
    const float alpha = screen->picture->backgroundColor.a;
    const float target = screen->pictureAlphaTarget;
    const float rate = baseRate * screen->pictureFadeSpeed;

    float value = alpha;
    if (alpha > target) {
        if (!(state.fadeTimer.running && state.fadingDown))
            beginRamp(state, alpha, true);
        value = state.fadeStart - state.fadeTimer.seconds() * rate;
        if (!(value > target)) {
            endRamp(state, target);
            value = target;
        }
    } else if (alpha < target) {
        if (!(state.fadeTimer.running && !state.fadingDown))
            beginRamp(state, alpha, false);
        value = state.fadeStart + state.fadeTimer.seconds() * rate;
        if (!(value < target)) {
            endRamp(state, target);
            value = target;
        }
    }
    screen->picture->setBackgroundAlpha(value);
    return true;
}

} // namespace vlo
