#include "frontend/DragHandlers.h"

#include "frontend/ShowScreen.h"
#include "platform/Win32.h"
#include "render/Renderer.h"
#include "shell/MainWindow.h"

namespace vlo {

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
        renderer->project(event.point, screen->dragAnchorX, screen->dragAnchorY);
        return true;
    }
    // No motion seen before the press: anchor here, which moves the window
    // by nothing on this event.
    if (screen->dragAnchorX == 0 && screen->dragAnchorY == 0)
        renderer->project(event.point, screen->dragAnchorX, screen->dragAnchorY);

    const HWND handle = screen->window->getHandle();
    RECT bounds{};
    GetWindowRect(handle, &bounds);
    int x = 0;
    int y = 0;
    renderer->project(event.point, x, y);
    // Screen pixels: the window moves by how far the pointer is from the
    // anchor inside the client area.
    SetWindowPos(handle, nullptr, bounds.left + x - screen->dragAnchorX, bounds.top + y - screen->dragAnchorY,
                 0, 0, SWP_NOSIZE | SWP_NOOWNERZORDER);
    return true;
}

} // namespace vlo
