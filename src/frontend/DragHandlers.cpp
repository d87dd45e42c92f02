#include "frontend/DragHandlers.h"

#include <cmath>

#include "frontend/ShowScreen.h"
#include "platform/Win32.h"
#include "render/Renderer.h"
#include "shell/MainWindow.h"

namespace vlo {

namespace {

// Window pixels (origin top-left) of a point in GUI units, to the nearest
// pixel. The renderer's project truncates, and a point that came from a whole
// pixel comes back a hair below it about half the time (599.99997 for 600):
// the anchor and the pointer would then be a pixel apart now and then, and
// the window would creep away from under the pointer.
void toWindowPixels(Renderer& renderer, Vector2 point, int& x, int& y)
{
    float unitsX = 0.0f;
    float unitsY = 0.0f;
    renderer.unitsPerPixel(unitsX, unitsY);
    if (unitsX <= 0.0f || unitsY <= 0.0f) {
        renderer.project(point, x, y);
        return;
    }
    x = int(std::lround(point.x / unitsX));
    y = int(std::lround(point.y / unitsY));
}

} // namespace

bool DragStart::invoke(Widget*, const WidgetEvent& event)
{
    if (event.button == LeftButton)
        screen->dragging = true;
    return true;
}

bool DragEnd::invoke(Widget*, const WidgetEvent& event)
{
    if (event.button == LeftButton)
        screen->dragging = false;
    return true;
}

bool DragMove::invoke(Widget*, const WidgetEvent& event)
{
    Renderer* renderer = screen->renderer;
    if (!renderer)
        return false;
    // Until a drag starts the anchor follows the pointer, so a press takes
    // the point under the pointer as it was on the last motion.
    if (!screen->dragging) {
        toWindowPixels(*renderer, event.point, screen->dragAnchorX, screen->dragAnchorY);
        return true;
    }
    // No motion seen before the press: anchor here, which moves the window
    // by nothing on this event.
    if (screen->dragAnchorX == 0 && screen->dragAnchorY == 0)
        toWindowPixels(*renderer, event.point, screen->dragAnchorX, screen->dragAnchorY);

    const HWND handle = screen->window->getHandle();
    RECT bounds{};
    GetWindowRect(handle, &bounds);
    int x = 0;
    int y = 0;
    toWindowPixels(*renderer, event.point, x, y);
    // Screen pixels: the window moves by how far the pointer is from the
    // anchor inside the client area.
    SetWindowPos(handle, nullptr, bounds.left + x - screen->dragAnchorX, bounds.top + y - screen->dragAnchorY, 0, 0,
        SWP_NOSIZE | SWP_NOOWNERZORDER);
    return true;
}

} // namespace vlo
