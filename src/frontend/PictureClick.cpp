#include "frontend/PictureClick.h"

#include "frontend/ShowScreen.h"
#include "render/Renderer.h"
#include "widgets/PopupMenuWidget.h"
#include "widgets/StaticWidget.h"

namespace vlo {

namespace {

// How far below the picture's height (GUI units) the menu may reach before
// it opens above the pointer instead.
constexpr float menuDropAllowance = 0.6f;
// Picture alpha while the menu is open.
constexpr float dimmedAlpha = 0.5f;

} // namespace

bool PictureClick::invoke(Widget*, const WidgetEvent& event)
{
    if (event.button != LeftButton) {
        if (!screen->panelAway)
            openMenu(event.point);
        return true;
    }
    if (screen->menu->isOpen()) {
        if (!screen->trackSwapPending) {
            screen->pictureAlphaTarget = 1.0f;
            screen->pictureFadeSpeed = 1.0f;
        }
        screen->menu->close();
    }
    return true;
}

// The point is relative to the picture's parent, which is the desktop at the
// origin, so it is in GUI units of the view.
void PictureClick::openMenu(Vector2 point)
{
    StaticWidget* picture = screen->picture;
    PopupMenuWidget* menu = screen->menu;
    Vector2 at = picture->toAbsolute(point);
    float viewWidth = 0.0f;
    float viewHeight = 0.0f;
    screen->renderer->logicalSize(viewWidth, viewHeight);
    const Vector2 menuSize = menu->size();

    // Near the right edge the menu opens to the left of the pointer, low on
    // the picture above it.
    if (point.x + menuSize.x > viewWidth)
        at.x -= menuSize.x;
    if (point.y + menuSize.y > picture->size().y + menuDropAllowance)
        at.y -= menuSize.y;
    menu->showAt(at);

    if (!screen->trackSwapPending) {
        screen->pictureAlphaTarget = dimmedAlpha;
        screen->pictureFadeSpeed = 1.0f;
    }
}

} // namespace vlo
