#include "frontend/PanelSlide.h"

#include "frontend/ShowScreen.h"
#include "widgets/PushButtonWidget.h"

namespace vlo {

namespace {

// GUI units per second.
constexpr float slideSpeed = 3.0f;
// Seconds the previous button must have been moving before the next starts.
constexpr float stagger = 0.2f;

// Begins a move in the given direction: the button moves off from where it
// is now; its timer starts only when the button before it has been moving
// long enough (the first button goes at once). Until then the timer stays
// as it is and the button waits for a later frame. A button whose
// predecessor has already arrived goes at once too: after a long pause
// between frames the predecessor may arrive (and zero its timer) before its
// follower ever saw it moving, which would otherwise hold the follower
// back for good.
void beginMove(ShowScreen& screen, int index, Vector2 position, bool down)
{
    ButtonSlideState* states = screen.slideStates;
    ButtonSlideState& state = states[index];
    state.startPosition = position;
    state.movingDown = down;
    if (index == 0 || states[index - 1].timer.seconds() > stagger
        || screen.playerButton(index - 1)->position().y == screen.panelTargetY)
        state.timer.start();
}

// Fixes the button on the target and stops its timer at zero.
void snap(PushButtonWidget* button, ButtonSlideState& state, float x, float target)
{
    button->setPosition(Vector2(x, target));
    state.timer.start();
    state.timer.pause();
}

} // namespace

bool PanelSlide::invoke(Widget*, const WidgetEvent&)
{
    ButtonSlideState* states = screen->slideStates;
    const float target = screen->panelTargetY;
    for (int i = 0; i < ShowScreen::playerButtonCount; ++i) {
        PushButtonWidget* button = screen->playerButton(i);
        ButtonSlideState& state = states[i];

        Vector2 position = button->position();
        if (position.y < target) {
            if (!state.timer.running || !state.movingDown)
                beginMove(*screen, i, position, true);
            const float y = state.startPosition.y + state.timer.seconds() * slideSpeed;
            button->setPosition(Vector2(state.startPosition.x, y));
            if (!(y < target))
                snap(button, state, button->position().x, target);
            position = button->position();
        }
        if (position.y > target) {
            if (!state.timer.running || state.movingDown)
                beginMove(*screen, i, position, false);
            const float y = state.startPosition.y - state.timer.seconds() * slideSpeed;
            button->setPosition(Vector2(state.startPosition.x, y));
            if (!(y > target))
                snap(button, state, button->position().x, target);
        }
    }
    return true;
}

} // namespace vlo
