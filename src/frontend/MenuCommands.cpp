#include "frontend/MenuCommands.h"

#include "content/ShowConfig.h"
#include "frontend/ShowScreen.h"
#include "platform/Win32.h"
#include "shell/MainWindow.h"
#include "widgets/PopupMenuWidget.h"

namespace vlo {

namespace {

// Closes the sender's menu and restores the picture. False when the menu is
// not open: then the command must not run.
bool closeMenu(ShowScreen& screen, Widget* sender)
{
    auto* menu = dynamic_cast<PopupMenuWidget*>(sender ? sender->parent() : nullptr);
    if (!menu || menu->hidden)
        return false;
    menu->close();
    screen.pictureAlphaTarget = 1.0f;
    screen.pictureFadeSpeed = 1.0f;
    return true;
}

} // namespace

bool MinimiseCommand::invoke(Widget* sender, const WidgetEvent&)
{
    if (!closeMenu(*screen, sender))
        return false;
    screen->window->minimize();
    return true;
}

bool CreditsCommand::invoke(Widget* sender, const WidgetEvent&)
{
    if (!closeMenu(*screen, sender))
        return false;
    screen->config->startCreditsOverlay(false);
    return true;
}

bool ExitCommand::invoke(Widget* sender, const WidgetEvent&)
{
    if (!closeMenu(*screen, sender))
        return false;
    PostQuitMessage(0);
    return true;
}

} // namespace vlo
